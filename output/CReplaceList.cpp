// Ordering of replacements and the forward pass that writes one file.
#include "output/CReplaceList.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "model/CFontReferenceList.h"
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

// Note [ordered lists]: Add looks for a piece's place from the end of the
// list backwards, and stops at the first piece held that has the same
// place or lies before the new one (IsAfter); one that overlaps it is
// passed over. When every piece held is non-empty, of one file, and ends
// no later than the next one starts, which starts later, then the pieces
// at which that search stops form a leading run of the list, whatever the
// new piece: a piece after one held is after every one before it too. The
// search then stops where halving the list finds the end of that run.
// The model gives a file's references in file order, so pieces almost
// always come last, and the list stays ordered.
namespace {

// A position as one number, ordered as the pieces compare theirs: line
// first, both as unsigned numbers.
uint64_t Key(int32_t line, int32_t column) {
  return (uint64_t{static_cast<uint32_t>(line)} << 32) | static_cast<uint32_t>(column);
}

// Whether \p next may follow \p held in an ordered list.
bool Follows(const CTextPiece& held, const CTextPiece& next) {
  const uint64_t start = Key(next.GetStartLine(), next.GetStartColumn());
  return held.GetFileNumber() == next.GetFileNumber() && !held.IsEmpty() && !next.IsEmpty() &&
         Key(held.GetStartLine(), held.GetStartColumn()) < start &&
         Key(held.GetEndLine(), held.GetEndColumn()) <= start;
}

// Whether the search of Add stops at \p held for \p added.
bool StopsAt(const CTextPiece& held, const CTextPiece& added) {
  return SamePosition(held, added) || added.IsAfter(held);
}

}  // namespace

ptrdiff_t CReplaceList::SearchPlace(const CTextPiece& added) const {
  if (ordered_) {
    size_t low = 0;                // the run where the search stops is [0, low) ...
    size_t high = pieces_.size();  // ... and ends before high
    while (low < high) {
      const size_t middle = low + (high - low) / 2;
      if (StopsAt(pieces_[middle].Replaced(), added)) {
        low = middle + 1;
      } else {
        high = middle;
      }
    }
    return static_cast<ptrdiff_t>(low) - 1;
  }
  for (size_t i = pieces_.size(); i-- > 0;) {
    if (StopsAt(pieces_[i].Replaced(), added)) return static_cast<ptrdiff_t>(i);
  }
  return -1;
}

bool CReplaceList::Add(Held added, CErrorReporter& reporter) {
  const CTextPiece& replaced = added.Replaced();
  const std::string& newText = added.Replacement();
  if (newText == replaced.GetText()) return false;
  if (GetCount() == 0) {
    if (fileName_.empty()) fileName_ = replaced.GetFileName();
    ordered_ = !replaced.IsEmpty();
    pieces_.push_back(added);
    return true;
  }
  // Pieces mostly arrive in file order: after the last one.
  const CTextPiece& last = !pieces_.empty() ? pieces_.back().Replaced() : *lastOfStretches_;
  if (Follows(last, replaced)) {
    pieces_.push_back(added);
    return true;
  }
  // Before the first of an ordered list: the search stops nowhere.
  if (!stretches_.empty()) {
    const CTextPiece& first = !front_.empty() ? front_.back().Replaced() : *firstOfStretches_;
    if (Follows(replaced, first)) {
      front_.push_back(added);
      return true;
    }
    HoldEach();
  }
  const ptrdiff_t stop = SearchPlace(replaced);
  if (stop >= 0 && SamePosition(pieces_[static_cast<size_t>(stop)].Replaced(), replaced)) {
    const Held& held = pieces_[static_cast<size_t>(stop)];
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
  const size_t place = static_cast<size_t>(stop + 1);
  pieces_.insert(pieces_.begin() + static_cast<ptrdiff_t>(place), added);
  if (ordered_) {
    ordered_ = (place == 0 || Follows(pieces_[place - 1].Replaced(), replaced)) &&
               (place + 1 == pieces_.size() || Follows(replaced, pieces_[place + 1].Replaced()));
  }
  return true;
}

int32_t CReplaceList::AddStretch(const CFontReferenceList& model, int32_t begin, int32_t end, Takes takes,
                                 CErrorReporter& reporter) {
  int32_t kept = 0;
  int32_t i = begin;
  if (pieces_.empty() && (GetCount() == 0 || !stretches_.empty())) {
    // As long as each piece follows the last one, Add would put each at
    // the end: the stretch is held instead, with a bit for each reference
    // that says whether it is one of the pieces.
    const CTextPiece* last = lastOfStretches_;
    const size_t firstBit = bits_;
    size_t taken = 0;
    for (; i < end; ++i) {
      const CFontReference& reference = *model.GetAt(i);
      const CTextPiece& piece = reference.GetPiece();
      const bool isPiece = takes(reference) && reference.GetReplacementText() != piece.GetText();
      if (isPiece && (last == nullptr ? piece.IsEmpty() : !Follows(*last, piece))) break;
      PushBit(isPiece);
      if (!isPiece) continue;
      if (last == nullptr) {
        if (fileName_.empty()) fileName_ = piece.GetFileName();
        firstOfStretches_ = &piece;
        ordered_ = true;
      }
      last = &piece;
      ++taken;
    }
    if (taken == 0) {
      TruncateBits(firstBit);
    } else {
      Stretch* before = stretches_.empty() ? nullptr : &stretches_.back();
      if (before != nullptr && before->model == &model && before->end == begin) {
        before->end = i;  // the stretch goes on, and so do its bits
      } else {
        stretches_.push_back({&model, begin, i, firstBit});
      }
      runPieces_ += taken;
      lastOfStretches_ = last;
      kept += static_cast<int32_t>(taken);
    }
  }
  for (; i < end; ++i) {
    const CFontReference& reference = *model.GetAt(i);
    if (takes(reference) && Add(Held(reference), reporter)) ++kept;
  }
  return kept;
}

void CReplaceList::TruncateBits(size_t count) {
  bits_ = count;
  pieceBits_.resize((count + 63) / 64);
  if (count % 64 != 0) pieceBits_.back() &= (uint64_t{1} << (count % 64)) - 1;
}

template <class Visitor>
bool CReplaceList::VisitStretch(const Stretch& stretch, Visitor visit) const {
  // Word by word of the bits, from one piece straight to the next.
  const size_t endBit = stretch.firstBit + static_cast<size_t>(stretch.end - stretch.begin);
  for (size_t word = stretch.firstBit / 64; word * 64 < endBit; ++word) {
    uint64_t bits = pieceBits_[word];
    if (word * 64 < stretch.firstBit) bits &= ~uint64_t{0} << (stretch.firstBit % 64);
    if ((word + 1) * 64 > endBit && endBit % 64 != 0) bits &= (uint64_t{1} << (endBit % 64)) - 1;
    for (; bits != 0; bits &= bits - 1) {
      const size_t bit = word * 64 + static_cast<size_t>(__builtin_ctzll(bits));
      const int32_t index = stretch.begin + static_cast<int32_t>(bit - stretch.firstBit);
      if (!visit(*stretch.model->GetAt(index))) return false;
    }
  }
  return true;
}

template <class Visitor>
bool CReplaceList::VisitPieces(Visitor visit) const {
  for (auto held = front_.rbegin(); held != front_.rend(); ++held) {
    if (!visit(held->Replaced(), held->Replacement())) return false;
  }
  for (const Stretch& stretch : stretches_) {
    const bool all = VisitStretch(stretch, [&](const CFontReference& reference) {
      return visit(reference.GetPiece(), reference.GetReplacementText());
    });
    if (!all) return false;
  }
  for (const Held& held : pieces_) {
    if (!visit(held.Replaced(), held.Replacement())) return false;
  }
  return true;
}

void CReplaceList::HoldEach() {
  std::vector<Held, CHugePageAllocator<Held>> all;
  all.reserve(GetCount());
  for (auto held = front_.rbegin(); held != front_.rend(); ++held) all.push_back(*held);
  for (const Stretch& stretch : stretches_) {
    VisitStretch(stretch, [&](const CFontReference& reference) {
      all.push_back(Held(reference));
      return true;
    });
  }
  all.insert(all.end(), pieces_.begin(), pieces_.end());
  pieces_.swap(all);
  front_.clear();
  stretches_.clear();
  TruncateBits(0);
  runPieces_ = 0;
  firstOfStretches_ = lastOfStretches_ = nullptr;
}

CReplacePiece CReplaceList::GetAt(size_t index) const {
  std::optional<CReplacePiece> found;
  size_t at = 0;
  VisitPieces([&](const CTextPiece& piece, const std::string& replacement) {
    if (at++ != index) return true;
    found.emplace(piece, &replacement);
    return false;
  });
  return *found;
}

int32_t CReplaceList::ReportProgress(int32_t done, int32_t count) {
  if (owner_ == nullptr) return std::numeric_limits<int32_t>::max();
  return owner_->ReportProgress(fileName_, done, count);
}

bool CReplaceList::WritePieces(CRCFile& input, CRCFile& output, CFileProgress& progress) {
  // The input goes to the output as it is read, a block at a time.
  auto copied = [&](std::string_view part) { OnCopiedText(part); };
  const int32_t count = static_cast<int32_t>(GetCount());
  int32_t done = 0;
  const bool all = VisitPieces([&](const CTextPiece& piece, const std::string& replacement) {
    progress.Reached(++done, count);
    if (!input.CopyInto(piece.GetStartLine(), piece.GetStartColumn(), output, copied)) return false;
    if (!input.SkipTo(piece.GetEndLine(), piece.GetEndColumn())) return false;  // the replaced text itself
    output.WriteText(replacement);
    return true;
  });
  if (!all) return false;
  auto copy = [&](std::string_view part) {
    OnCopiedText(part);
    output.WriteText(part);
  };
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
