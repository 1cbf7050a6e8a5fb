// The output run: font keys and names, replacement lists, written copies.
#include "output/GenerateOutput.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/CWizardChoices.h"
#include "model/CFileTable.h"
#include "model/CFontReferenceList.h"
#include "output/CNewFontDefinitions.h"
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

// References given their texts go to their lists in windows of this many:
// a window is still in cache when its list takes its pieces.
constexpr int32_t kFillWindow = 2048;

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
  // One pass gives the references their texts: a reference's new text
  // depends only on the references before it. The lists take their pieces
  // in the same order, a window behind. The model outlives the run and
  // keeps its texts meanwhile.
  Stretch pending{nullptr, 0, 0};
  int32_t kept = 0;
  auto fill = [&] {
    if (pending.end > pending.begin) {
      kept += pending.list->AddStretch(translated, pending.begin, pending.end, IsReplaced, reporter);
    }
    pending.begin = pending.end;
  };
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
      fill();
      pending = {list, i, i};
    }
    pending.end = i + 1;
    if (pending.end - pending.begin >= kFillWindow) fill();
  }
  fill();
  const bool needDefinitions = allocator.Allocated();
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
