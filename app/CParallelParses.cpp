// Worker threads that parse files ahead of the one being added.
#include "app/CParallelParses.h"

#include <utility>

#include "model/CFontReference.h"

CParallelParses::CParallelParses(std::vector<std::string> paths, int32_t threads)
    : paths_(std::move(paths)), done_(paths_.size()), window_(static_cast<size_t>(threads)) {
  workers_.reserve(static_cast<size_t>(threads));
  for (int32_t i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

CParallelParses::~CParallelParses() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

const std::string& CParallelParses::CarriedComponent() {
  // Control characters: no component name of a document holds them.
  static const std::string carried = "\x01\x02 carried over \x02\x01";
  return carried;
}

namespace {

// Whether \p reference was made with the component or kind that the parse
// found in its model at the start.
bool TookCarriedState(const CFontReference& reference) {
  if (reference.GetKind() == CParallelParses::CarriedKind()) return true;
  // A component name is kept in its normal form; the carried name's is
  // found by making a reference with it.
  static const std::string carried[2] = {
      CFontReference(CParallelParses::CarriedKind(), CParallelParses::CarriedComponent(), CTextPiece(), 0, "-")
          .GetComponent(),
      CFontReference(CParallelParses::CarriedKind(), CParallelParses::CarriedComponent(), CTextPiece(), 1, "-")
          .GetComponent()};
  return reference.GetComponent() == carried[0] || reference.GetComponent() == carried[1];
}

bool TookCarriedState(const CFontReferenceList& model) {
  for (int32_t i = 0; i < model.Count(); ++i) {
    if (TookCarriedState(*model.GetAt(i))) return true;
  }
  return false;
}

}  // namespace

void CParallelParses::Work() {
  for (;;) {
    size_t index = 0;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return closing_ || next_ >= paths_.size() || next_ < taken_ + window_; });
      if (closing_ || next_ >= paths_.size()) return;
      index = next_++;
    }
    auto parse = std::make_unique<Parse>();
    try {
      parse->model = std::make_unique<CFontReferenceList>();
      parse->model->SetCurrentComponent(CarriedComponent());
      parse->model->SetCurrentKind(CarriedKind());
      parse->outcome = ParseFile(parse->log, *parse->model, paths_[index], &parse->record);
      if (parse->outcome != ParseOutcome::Failed) parse->tookCarriedState = TookCarriedState(*parse->model);
    } catch (...) {
      parse->failure = std::current_exception();
    }
    {
      std::lock_guard lock(mutex_);
      done_[index] = std::move(parse);
    }
    changed_.notify_all();
  }
}

CParallelParses::Parse CParallelParses::Take(size_t index) {
  std::unique_ptr<Parse> parse;
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return done_[index] != nullptr; });
    parse = std::move(done_[index]);
    taken_ = index + 1;
  }
  changed_.notify_all();
  if (parse->failure) std::rethrow_exception(parse->failure);
  return std::move(*parse);
}
