// Worker threads that write files, and the record of what each told.
#include "output/CParallelWrites.h"

#include <algorithm>
#include <limits>
#include <utility>

// What one file's write told so far; its reporter and progress.
class CParallelWrites::Record final : public CReportRecorder, public CFileProgress {
 public:
  explicit Record(CParallelWrites& owner) : owner_(owner) {}

  void RecordReport(int32_t code, std::string text) override {
    PushProgress();
    owner_.Push(*this, {Event::Kind::kReport, code, std::move(text)});
  }
  void RecordLine(std::string_view text) override {
    PushProgress();
    owner_.Push(*this, {Event::Kind::kLine, 0, std::string(text)});
  }
  // Replacements reached but not yet passed on go before anything told
  // after them.
  void PushProgress() {
    if (Done() <= pushed_) return;
    pushed_ = Done();
    owner_.Push(*this, {Event::Kind::kProgress, pushed_, {}});
  }

  // A copy takes its name only once the caller has followed everything
  // its write told: then no file is put in place that one thread would
  // not have put there, whatever the caller's observer or reporter throws.
  void BeforeCommit() override {
    PushProgress();
    owner_.AwaitCommit(*this);
  }

  CErrorReporter reporter{*this};
  // Under the owner's mutex:
  std::vector<Event> events;  // told and not yet followed
  bool finished = false;
  bool awaitingCommit = false;  // the copy is complete
  bool mayCommit = false;       // and the caller has followed all it told
  bool abandoned = false;       // the caller stopped following it
  std::exception_ptr escaped;

 protected:
  // Passed on each time the file's own percentage grows: enough for the
  // caller's figures to move, and the caller works out every count between.
  int32_t Tell(int32_t done, int32_t count) override {
    pushed_ = done;
    owner_.Push(*this, {Event::Kind::kProgress, done, {}});
    if (count <= 0) return done + 1;
    const int64_t percent = int64_t{done} * 100 / count;
    const int64_t next = ((percent + 1) * count + 99) / 100;
    return static_cast<int32_t>(std::min<int64_t>(next, std::numeric_limits<int32_t>::max()));
  }

 private:
  CParallelWrites& owner_;
  int32_t pushed_ = 0;  // the latest count passed on
};

bool CParallelWrites::Event::Retell(CErrorReporter& reporter) const {
  switch (kind) {
    case Kind::kReport:
      reporter.ReportNumbered(value, text);
      return true;
    case Kind::kLine:
      reporter.ReportLine(text);
      return true;
    case Kind::kProgress:
      break;
  }
  return false;
}

CParallelWrites::CParallelWrites(size_t count, int32_t threads, Task task) : task_(std::move(task)) {
  records_.reserve(count);
  for (size_t i = 0; i < count; ++i) records_.push_back(std::make_unique<Record>(*this));
  const size_t workers = std::min(count, static_cast<size_t>(std::max(threads, 1)));
  workers_.reserve(workers);
  try {
    for (size_t i = 0; i < workers; ++i) workers_.emplace_back([this] { Work(); });
  } catch (...) {
    Close();  // no destructor runs for a constructor that throws
    throw;
  }
}

CParallelWrites::~CParallelWrites() { Close(); }

void CParallelWrites::Close() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

namespace {
// Thrown on a worker whose copy is no longer wanted: the caller stopped
// following. No std::exception, so that no write reports it as a failure.
struct Abandoned {};
}  // namespace

void CParallelWrites::AwaitCommit(Record& record) {
  std::unique_lock lock(mutex_);
  record.awaitingCommit = true;
  changed_.notify_all();
  changed_.wait(lock, [&] { return record.mayCommit || record.abandoned || closing_; });
  if (!record.mayCommit) throw Abandoned();
}

void CParallelWrites::Work() {
  for (;;) {
    size_t index = 0;
    {
      std::lock_guard lock(mutex_);
      if (closing_ || next_ >= records_.size()) return;
      index = next_++;
    }
    Record& record = *records_[index];
    try {
      task_(index, record.reporter, record);
    } catch (...) {
      record.escaped = std::current_exception();
    }
    try {
      record.PushProgress();  // shown before what escaped, as one thread would
    } catch (...) {
      if (!record.escaped) record.escaped = std::current_exception();
    }
    {
      std::lock_guard lock(mutex_);
      record.finished = true;
    }
    changed_.notify_all();
  }
}

void CParallelWrites::Push(Record& record, Event event) {
  {
    std::lock_guard lock(mutex_);
    record.events.push_back(std::move(event));
  }
  changed_.notify_all();
}

void CParallelWrites::Follow(size_t index, const std::function<void(const Event&)>& onEvent) {
  Record& record = *records_[index];
  std::vector<Event> batch;
  for (bool finished = false; !finished;) {
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] {
        return !record.events.empty() || record.finished || (record.awaitingCommit && !record.mayCommit);
      });
      if (record.events.empty() && record.awaitingCommit && !record.mayCommit) {
        record.mayCommit = true;  // everything it told was followed
        lock.unlock();
        changed_.notify_all();
        continue;
      }
      batch.swap(record.events);
      finished = record.finished;  // set after its last event
    }
    try {
      for (const Event& event : batch) onEvent(event);
    } catch (...) {
      {
        std::lock_guard lock(mutex_);
        record.abandoned = true;
      }
      changed_.notify_all();
      throw;
    }
    batch.clear();
  }
  if (record.escaped) std::rethrow_exception(record.escaped);
}
