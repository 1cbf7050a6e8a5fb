// The output run: font keys and names, replacement lists, written copies.
#include "output/GenerateOutput.h"

#include <memory>
#include <string>
#include <unordered_set>

#include "app/CWizardChoices.h"
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
                              CErrorReporter& reporter, COutputObserver* observer) {
  CReplaceListList run(reporter, observer);
  run.SetInputRoot(choices.GetSourceDirectory());
  HighestNumberRestorer restorer(translated);

  // A text left by an earlier run names a number of that run: once its
  // reference's new font is cleared, this run may give the number to
  // another font or define it nowhere. Every changed reference gets its
  // text again below.
  for (int32_t i = 0; i < translated.Count(); ++i) {
    CFontReference& reference = *translated.GetAt(i);
    if (!reference.GetReplacementText().empty()) reference.SetReplacementText({});
  }

  CNewFontDefinitions definitions;
  const bool needDefinitions = BuildNewFontDefinitions(translated, definitions);

  // Files that receive a replacement in this run. The model's files to
  // rewrite also hold those of earlier runs, which may have none now.
  std::unordered_set<std::string> rewritten;
  // A file's references come together, in the order read: its list is
  // looked up once for each stretch of them, not for every piece.
  CReplaceList* list = nullptr;
  uint32_t listFile = 0;
  int32_t kept = 0;
  for (int32_t i = 0; i < translated.Count(); ++i) {
    const CFontReference& reference = *translated.GetAt(i);
    const std::string& replacement = reference.GetReplacementText();
    if (replacement.empty() || reference.GetFontKey().empty()) continue;
    const CTextPiece& piece = reference.GetPiece();
    if (list == nullptr || piece.GetFileNumber() != listFile) {
      std::string fileName = piece.GetFileName();
      translated.AddFileToRewrite(fileName);
      list = &run.ListFor(fileName);
      listFile = piece.GetFileNumber();
      rewritten.insert(std::move(fileName));
    }
    if (list->Add(std::make_unique<CReplacePiece>(piece, &replacement))) ++kept;  // a shared copy
  }
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

  run.WriteAll(choices.GetOutputDirectory());
  result.written = run.GetWrittenFiles();
  return result;
}
