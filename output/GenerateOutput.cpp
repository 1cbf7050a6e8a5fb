// The output run: font keys and names, replacement lists, written copies.
#include "output/GenerateOutput.h"

#include <memory>
#include <numeric>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/CWizardChoices.h"
#include "model/CFileTable.h"
#include "model/CFontReferenceList.h"
#include "output/CNewFontDefinitions.h"
#include "output/CParallelWrites.h"
#include "output/CReplaceListList.h"
#include "output/FontAllocation.h"

namespace {

// Puts the highest font number back however the run ends, so that the
// numbers a run allocates are the same every time.
class HighestNumberRestorer {
 public:
  explicit HighestNumberRestorer(CFontReferenceList& list) : list_(list) {
    list_.SetSavedHighestFontNumber(list_.GetHighestFontNumber());
  }
  ~HighestNumberRestorer() { list_.SetHighestFontNumber(list_.GetSavedHighestFontNumber()); }
  HighestNumberRestorer(const HighestNumberRestorer&) = delete;
  HighestNumberRestorer& operator=(const HighestNumberRestorer&) = delete;

 private:
  CFontReferenceList& list_;
};

// The references of one stretch of the model that go to one list: those
// in [begin, end) with a replacement text and a font key.
struct Stretch {
  CReplaceList* list;
  int32_t begin;
  int32_t end;
};

bool IsReplaced(const CFontReference& reference) {
  return !reference.GetReplacementText().empty() && !reference.GetFontKey().empty();
}

// Adds the references of each stretch to its list, stretch by stretch;
// returns how many the lists kept. When no list has two stretches, the
// lists are filled side by side on \p threads workers and their reports
// are told again in the order of the stretches, as one thread tells them.
int32_t FillLists(const CFontReferenceList& translated, const std::vector<Stretch>& stretches, int32_t threads,
                  CErrorReporter& reporter) {
  std::vector<int32_t> kept(stretches.size(), 0);
  auto fill = [&](size_t index, CErrorReporter& to) {
    const Stretch& stretch = stretches[index];
    kept[index] = stretch.list->AddStretch(translated, stretch.begin, stretch.end, IsReplaced, to);
  };
  std::unordered_set<const CReplaceList*> lists;
  for (const Stretch& stretch : stretches) lists.insert(stretch.list);
  if (threads > 1 && stretches.size() > 1 && lists.size() == stretches.size()) {
    CParallelWrites workers(stretches.size(), threads,
                            [&](size_t index, CErrorReporter& to, CFileProgress&) { fill(index, to); });
    for (size_t index = 0; index < stretches.size(); ++index) {
      workers.Follow(index, [&](const CParallelWrites::Event& event) { event.Retell(reporter); });
    }
  } else {
    for (size_t index = 0; index < stretches.size(); ++index) fill(index, reporter);
  }
  return std::accumulate(kept.begin(), kept.end(), 0);
}

}  // namespace

GeneratedFiles GenerateOutput(CFontReferenceList& translated, const CWizardChoices& choices,
                              const COutputOptions& options, CErrorReporter& reporter, COutputObserver* observer) {
  CReplaceListList run(reporter, observer);
  run.SetInputRoot(choices.GetSourceDirectory());
  run.SetConvertToEuc(options.convertToEuc);
  if (options.writeThreads > 0) run.SetWriteThreads(options.writeThreads);
  std::vector<std::string> reads = FilesReadBy(choices);
  reads.insert(reads.end(), options.otherFilesRead.begin(), options.otherFilesRead.end());
  run.SetFilesRead(std::move(reads));
  HighestNumberRestorer restorer(translated);

  CNewFontDefinitions definitions;
  CNewFontAllocator allocator(translated, definitions);

  // Files that receive a replacement in this run. The model's files to
  // rewrite also hold those of earlier runs, which may have none now.
  std::unordered_set<std::string> rewritten;
  // A file's references come together, in the order read: its list is
  // looked up once for each stretch of them, not for every piece.
  CReplaceList* list = nullptr;
  uint32_t listFile = 0;
  std::vector<Stretch> stretches;
  // One pass gives the references their texts: a reference's new text
  // depends only on the references before it. The lists take their pieces
  // afterwards, in the same order.
  for (int32_t i = 0; i < translated.Count(); ++i) {
    CFontReference& reference = *translated.GetAt(i);
    // A text left by an earlier run names a number of that run: once its
    // reference's new font is cleared, this run may give the number to
    // another font or define it nowhere. Every changed reference gets its
    // text again here.
    if (!reference.GetReplacementText().empty()) reference.SetReplacementText({});
    allocator.Allocate(reference);
    if (!IsReplaced(reference)) continue;
    const CTextPiece& piece = reference.GetPiece();
    if (list == nullptr || piece.GetFileNumber() != listFile) {
      std::string fileName = piece.GetFileName();
      translated.AddFileToRewrite(fileName);
      list = &run.ListFor(fileName);
      listFile = piece.GetFileNumber();
      list->SetExpectedStamp(CFileTable::Process().StampOf(listFile));
      rewritten.insert(std::move(fileName));
      stretches.push_back({list, i, i});
    }
    stretches.back().end = i + 1;
  }
  const bool needDefinitions = allocator.Allocated();
  // Each list takes the pieces of its stretches, and the definitions tags
  // of its file: room for them all at once.
  std::unordered_map<CReplaceList*, size_t> room;
  for (const Stretch& stretch : stretches) room[stretch.list] += static_cast<size_t>(stretch.end - stretch.begin);
  if (needDefinitions) {
    for (const CTextPiece& tag : translated.GetFontDefinitionsPieces()) {
      if (CReplaceList* tagged = run.Find(tag.GetFileName())) ++room[tagged];
    }
  }
  for (const auto& [filled, count] : room) filled->Reserve(filled->GetCount() + count);
  // The model outlives the run and keeps its texts meanwhile.
  const int32_t kept = FillLists(translated, stretches, run.GetWriteThreads(), reporter);
  run.SetTotalPieces(run.GetTotalPieces() + kept);
  // One list per file with a replacement (the definitions below only go to
  // those files): each of them has to be written.
  GeneratedFiles result;
  result.expected = static_cast<int32_t>(run.GetCount());

  // The tag is part of the new text, so the lines follow it.
  if (needDefinitions) {
    for (const CTextPiece& tag : translated.GetFontDefinitionsPieces()) {
      if (rewritten.count(tag.GetFileName()) != 0) {
        run.Add(std::make_unique<CReplacePiece>(tag, definitions.Text()));
      }
    }
  }

  result.refused = run.WriteAll(choices.GetOutputDirectory());
  result.written = run.GetWrittenFiles();
  return result;
}
