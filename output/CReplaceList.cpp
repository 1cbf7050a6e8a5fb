// Ordering of replacements and the forward pass that writes one file.
#include "output/CReplaceList.h"

#include "output/CRCFile.h"
#include "output/CReplaceListList.h"
#include "output/ShiftJisToEuc.h"
#include "platform/FileIdentity.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

CReplaceList::CReplaceList(std::string fileName, CErrorReporter& reporter)
    : fileName_(std::move(fileName)), reporter_(reporter) {}

bool CReplaceList::Add(std::unique_ptr<CReplacePiece> piece) {
  if (!piece) return false;
  const std::string& newText = piece->ReplacementText();
  if (newText == piece->GetText()) return false;
  if (pieces_.empty() && fileName_.empty()) fileName_ = piece->GetFileName();
  // Pieces mostly arrive in file order, so the search starts at the end.
  for (size_t i = pieces_.size(); i-- > 0;) {
    const CReplacePiece& held = pieces_[i];
    if (!held.SamePosition(*piece)) {
      if (piece->IsAfter(held)) {
        pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(*piece));
        return true;
      }
      continue;
    }
    const std::string& heldText = held.ReplacementText();
    if (heldText != newText) {
      reporter_.ReportError(FormatText(outputtext::kDuplicateTranslations, held.GetText(), heldText, newText),
                            outputtext::kCodeDuplicate,
                            {CErrorRef(held, CErrorRef::kReplaced),
                             CErrorRef(held.GetReplacement(), CErrorRef::kReplacement),
                             CErrorRef(piece->GetReplacement(), CErrorRef::kReplacement)});
    }
    return false;
  }
  pieces_.push_front(std::move(*piece));
  return true;
}

void CReplaceList::ReportProgress(int32_t done, int32_t count) {
  if (owner_ != nullptr) owner_->ReportProgress(fileName_, done, count);
}

bool CReplaceList::WritePieces(CRCFile& input, CRCFile& output) {
  std::string text;
  const int32_t count = static_cast<int32_t>(pieces_.size());
  int32_t done = 0;
  for (const CReplacePiece& piece : pieces_) {
    ReportProgress(++done, count);
    if (!input.ReadTo(piece.GetStartLine(), piece.GetStartColumn(), text)) return false;
    OnCopiedText(text);
    output.WriteText(text);
    // The replaced text itself is dropped.
    if (!input.ReadTo(piece.GetEndLine(), piece.GetEndColumn(), text)) return false;
    output.WriteText(piece.ReplacementText());
  }
  if (!input.ReadRest(text)) return false;
  OnCopiedText(text);
  output.WriteText(text);
  OnFinished(output);
  return true;
}

bool CReplaceList::WriteFile(std::string inputName, const std::string& outputName) {
  if (inputName.empty()) inputName = fileName_;
  if (inputName.empty() || outputName.empty()) return false;
  if (SameFile(inputName, outputName)) {  // the last guard; the run checks every file first
    reporter_.ReportError(FormatText(outputtext::kSameFileName, inputName));
    return false;
  }
  CRCFile input(reporter_);
  CRCFile output(reporter_);
  try {
    input.Open(inputName, true);
    // Replacements are positions in the file as it was parsed: in a file
    // changed since, they would land in the wrong places.
    if (expectedStamp_ && StampOf(inputName) != expectedStamp_) {
      reporter_.ReportError(FormatText(LoadResString(IdsInputChanged).c_str(), inputName));
      return false;
    }
    output.Open(outputName, false, textMode_);
    output.CopyPermissionsFrom(inputName);
    if (convertToEuc_) output.SetTransform(EucTransform());
    OnStart(output);
    if (!WritePieces(input, output)) return false;  // both files close; the copy is dropped
    output.Commit();
    return true;
  } catch (const CFileException& failure) {
    reporter_.ReportError(FormatText(outputtext::kSkippingOutputFile, failure.Message(), failure.FileName()));
    return false;
  }
}
