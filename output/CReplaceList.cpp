// Ordering of replacements and the forward pass that writes one file.
#include "output/CReplaceList.h"

#include <limits>

#include "output/CRCFile.h"
#include "output/CReplaceListList.h"
#include "output/ShiftJisToEuc.h"
#include "platform/FileIdentity.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

CReplaceList::CReplaceList(std::string fileName, CErrorReporter& reporter)
    : fileName_(std::move(fileName)), reporter_(reporter) {}

bool CReplaceList::Add(std::unique_ptr<CReplacePiece> piece) {
  // Kept only when the list keeps its replacement.
  if (!piece) return false;
  const CReplacePiece& owned = owned_.emplace_back(std::move(*piece));
  if (Add(Held(owned), reporter_)) return true;
  owned_.pop_back();
  return false;
}

bool CReplaceList::Add(const CFontReference& reference) { return Add(Held(reference), reporter_); }

bool CReplaceList::Add(const CFontReference& reference, CErrorReporter& reporter) {
  return Add(Held(reference), reporter);
}

bool CReplaceList::Add(Held added, CErrorReporter& reporter) {
  const CTextPiece& replaced = added.Replaced();
  const std::string& newText = added.Replacement();
  if (newText == replaced.GetText()) return false;
  if (pieces_.empty() && fileName_.empty()) fileName_ = replaced.GetFileName();
  // Pieces mostly arrive in file order, so the search starts at the end.
  for (size_t i = pieces_.size(); i-- > 0;) {
    const Held& held = pieces_[i];
    if (!SamePosition(held.Replaced(), replaced)) {
      if (replaced.IsAfter(held.Replaced())) {
        if (i + 1 == pieces_.size()) {
          pieces_.emplace_back(added);
        } else {
          pieces_.insert(i + 1, added);
        }
        return true;
      }
      continue;
    }
    const std::string& heldText = held.Replacement();
    if (heldText != newText) {
      const CReplacePiece first = held.Piece();
      const CReplacePiece second = added.Piece();
      reporter.ReportError(
          FormatText(outputtext::kDuplicateTranslations, first.GetText(), heldText, newText),
          outputtext::kCodeDuplicate,
          {CErrorRef(first, CErrorRef::kReplaced), CErrorRef(first.GetReplacement(), CErrorRef::kReplacement),
           CErrorRef(second.GetReplacement(), CErrorRef::kReplacement)});
    }
    return false;
  }
  pieces_.insert(0, added);
  return true;
}

int32_t CReplaceList::ReportProgress(int32_t done, int32_t count) {
  if (owner_ == nullptr) return std::numeric_limits<int32_t>::max();
  return owner_->ReportProgress(fileName_, done, count);
}

bool CReplaceList::WritePieces(CRCFile& input, CRCFile& output, CFileProgress& progress) {
  // The input goes to the output as it is read, a block at a time.
  auto copy = [&](std::string_view part) {
    OnCopiedText(part);
    output.WriteText(part);
  };
  auto drop = [](std::string_view) {};  // the replaced text itself
  const int32_t count = static_cast<int32_t>(pieces_.size());
  int32_t done = 0;
  for (size_t i = 0; i < pieces_.size(); ++i) {
    const Held& held = pieces_[i];
    const CTextPiece& piece = held.Replaced();
    progress.Reached(++done, count);
    if (!input.CopyTo(piece.GetStartLine(), piece.GetStartColumn(), copy)) return false;
    if (!input.CopyTo(piece.GetEndLine(), piece.GetEndColumn(), drop)) return false;
    output.WriteText(held.Replacement());
  }
  if (!input.CopyRest(copy)) return false;
  OnFinished(output);
  return true;
}

bool CReplaceList::WriteFile(std::string inputName, const std::string& outputName) {
  OwnerProgress progress(*this);
  return WriteFile(std::move(inputName), outputName, reporter_, progress);
}

bool CReplaceList::WriteFile(std::string inputName, const std::string& outputName, CErrorReporter& reporter,
                             CFileProgress& progress) {
  if (inputName.empty()) inputName = fileName_;
  if (inputName.empty() || outputName.empty()) return false;
  if (SameFile(inputName, outputName)) {  // the last guard; the run checks every file first
    reporter.ReportError(FormatText(outputtext::kSameFileName, inputName));
    return false;
  }
  CRCFile input(reporter);
  CRCFile output(reporter);
  try {
    input.Open(inputName, true);
    // Replacements are positions in the file as it was parsed: in a file
    // changed since, they would land in the wrong places.
    if (expectedStamp_ && StampOf(inputName) != expectedStamp_) {
      reporter.ReportError(FormatText(LoadResString(IdsInputChanged).c_str(), inputName));
      return false;
    }
    output.Open(outputName, false, textMode_);
    output.CopyPermissionsFrom(inputName);
    if (convertToEuc_) output.SetTransform(EucTransform());
    OnStart(output);
    if (!WritePieces(input, output, progress)) return false;  // both files close; the copy is dropped
    progress.BeforeCommit();
    output.Commit();
    return true;
  } catch (const CFileException& failure) {
    reporter.ReportError(FormatText(outputtext::kSkippingOutputFile, failure.Message(), failure.FileName()));
    return false;
  }
}
