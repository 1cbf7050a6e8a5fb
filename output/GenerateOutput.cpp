// The output run: font keys and names, replacement lists, written copies.
#include "output/GenerateOutput.h"

#include <memory>
#include <string>
#include <unordered_set>

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
  int32_t kept = 0;
  // One pass over the references: a reference's new text depends only on
  // the references before it, so each is given its text and its piece in
  // turn, as separate passes would.
  for (int32_t i = 0; i < translated.Count(); ++i) {
    CFontReference& reference = *translated.GetAt(i);
    // A text left by an earlier run names a number of that run: once its
    // reference's new font is cleared, this run may give the number to
    // another font or define it nowhere. Every changed reference gets its
    // text again here.
    if (!reference.GetReplacementText().empty()) reference.SetReplacementText({});
    allocator.Allocate(reference);
    const std::string& replacement = reference.GetReplacementText();
    if (replacement.empty() || reference.GetFontKey().empty()) continue;
    const CTextPiece& piece = reference.GetPiece();
    if (list == nullptr || piece.GetFileNumber() != listFile) {
      std::string fileName = piece.GetFileName();
      translated.AddFileToRewrite(fileName);
      list = &run.ListFor(fileName);
      listFile = piece.GetFileNumber();
      list->SetExpectedStamp(CFileTable::Process().StampOf(listFile));
      rewritten.insert(std::move(fileName));
    }
    // The model outlives the run and keeps its texts meanwhile.
    if (list->Add(reference)) ++kept;
  }
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
