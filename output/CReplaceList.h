// The replacements of one input file, in position order, and the forward
// pass that writes the file's rewritten copy.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/CFontReference.h"
#include "output/CErrorReporter.h"
#include "output/CFileProgress.h"
#include "output/CReplacePiece.h"
#include "platform/FileIdentity.h"
#include "platform/HugePages.h"

class CFontReferenceList;
class CRCFile;
class CReplaceListList;

/// Replacements of one input file, sorted from the first position to the
/// last. Owns its pieces.
class CReplaceList {
 public:
  /// A list for the input \p fileName (may be empty: the first piece added
  /// then names the file).
  CReplaceList(std::string fileName, CErrorReporter& reporter);
  virtual ~CReplaceList() = default;
  CReplaceList(const CReplaceList&) = delete;
  CReplaceList& operator=(const CReplaceList&) = delete;

  /// Writes \p outputName from \p inputName (this list's file when empty)
  /// with every replacement made. True when the whole file was written; on
  /// any failure the failure is reported and \p outputName is left as it
  /// was before.
  virtual bool WriteFile(std::string inputName, const std::string& outputName);
  /// WriteFile, telling \p reporter what failed and \p progress how far
  /// the file has come instead of this list's reporter and owner: a run
  /// that writes files side by side keeps what each tells until its turn.
  bool WriteFile(std::string inputName, const std::string& outputName, CErrorReporter& reporter,
                 CFileProgress& progress);

  /// Takes \p piece into the list at its place. Returns false, and drops the
  /// piece, when it changes nothing, repeats a replacement already held, or
  /// gives the place of one already held a different text (reported; the
  /// first one stays).
  virtual bool Add(std::unique_ptr<CReplacePiece> piece);
  /// Add without a copy: the replacement of \p reference's piece by its
  /// replacement text. The reference must outlive the list and keep its
  /// text. A run adds hundreds of thousands of the model's references this
  /// way.
  bool Add(const CFontReference& reference);
  /// Add of \p reference, reporting to \p reporter instead of this list's
  /// reporter: lists filled side by side keep their reports for later.
  bool Add(const CFontReference& reference, CErrorReporter& reporter);
  /// Which references of the model carry a replacement for AddStretch.
  using Takes = bool (*)(const CFontReference& reference);
  /// Add of each reference of \p model's [\p begin, \p end) that
  /// \p takes, in turn; returns how many the list kept. While they follow
  /// one another in the file, the list holds the stretch instead of each
  /// piece: the model must outlive the list, and keep its references and
  /// their texts.
  int32_t AddStretch(const CFontReferenceList& model, int32_t begin, int32_t end, Takes takes,
                     CErrorReporter& reporter);

  /// Progress told to the list's owning run as it comes.
  class OwnerProgress;

  /// Tells the owning run how far this file has come. Returns the least
  /// \p done worth telling next.
  int32_t ReportProgress(int32_t done, int32_t count);

  const std::string& GetFileName() const { return fileName_; }
  size_t GetCount() const { return front_.size() + runPieces_ + pieces_.size(); }
  /// The replacement at \p index, in position order. Walks the list up to
  /// it where the list holds stretches: not for going through all of them.
  CReplacePiece GetAt(size_t index) const;

  /// Whether the copy is converted from Shift-JIS to EUC-JP as it is
  /// written (before it takes its name).
  bool GetConvertToEuc() const { return convertToEuc_; }
  void SetConvertToEuc(bool convert) { convertToEuc_ = convert; }
  /// The state in which the input was loaded: a file that differs from it
  /// now is reported and not written. Nothing: not checked.
  void SetExpectedStamp(std::optional<CFileStamp> stamp) { expectedStamp_ = stamp; }

  void SetTextMode(bool textMode) { textMode_ = textMode; }
  void SetOwner(CReplaceListList* owner) { owner_ = owner; }

 protected:
  /// Each stretch of input text, before it is written, in one or more
  /// consecutive parts.
  virtual void OnCopiedText(std::string_view text) {}
  /// Once both files are open, before anything is written.
  virtual void OnStart(CRCFile& output) {}
  /// After the last stretch was written, before the file is put in place.
  virtual void OnFinished(CRCFile& output) {}

 private:
  bool WritePieces(CRCFile& input, CRCFile& output, CFileProgress& progress);

  // One replacement held, neither part copied: a reference of the model,
  // or a piece the list owns, with the text written instead. A run holds
  // one per changed reference, hundreds of thousands, beside the model:
  // the two kinds share one pointer, told apart by its lowest bit.
  class Held {
   public:
    Held() = default;
    explicit Held(const CFontReference& reference) : bits_(reinterpret_cast<uintptr_t>(&reference)) {}
    explicit Held(const CReplacePiece& owned) : bits_(reinterpret_cast<uintptr_t>(&owned) | 1u) {}
    const CTextPiece& Replaced() const {
      return (bits_ & 1u) ? static_cast<const CTextPiece&>(Owned()) : Reference().GetPiece();
    }
    const std::string& Replacement() const {
      return (bits_ & 1u) ? Owned().ReplacementText() : Reference().GetReplacementText();
    }
    CReplacePiece Piece() const { return CReplacePiece(Replaced(), &Replacement()); }

   private:
    const CFontReference& Reference() const { return *reinterpret_cast<const CFontReference*>(bits_); }
    const CReplacePiece& Owned() const { return *reinterpret_cast<const CReplacePiece*>(bits_ & ~uintptr_t{1}); }
    uintptr_t bits_;
  };
  bool Add(Held held, CErrorReporter& reporter);
  // Where the search of Add ends for \p added: the last index of pieces_
  // whose piece has its place or lies before it, or -1.
  ptrdiff_t SearchPlace(const CTextPiece& added) const;
  // Holds every piece in pieces_, the stretches' too.
  void HoldEach();
  // Calls \p visit with each piece and its replacement, in position order,
  // while it returns true; false when it stopped.
  template <class Visitor>
  bool VisitPieces(Visitor visit) const;

  // References [begin, end) of a stretch of the model held at once; bits
  // from firstBit on in pieceBits_ say which of them are pieces.
  struct Stretch {
    const CFontReferenceList* model;
    int32_t begin;
    int32_t end;
    size_t firstBit;
  };
  // Calls \p visit with each reference of \p stretch that is a piece, in
  // order, while it returns true; false when it stopped.
  template <class Visitor>
  bool VisitStretch(const Stretch& stretch, Visitor visit) const;
  void PushBit(bool on) {
    if (bits_ % 64 == 0) pieceBits_.push_back(0);
    pieceBits_.back() |= uint64_t{on} << (bits_ % 64);
    ++bits_;
  }
  void TruncateBits(size_t count);
  // The pieces in order: front_ from its end, then the stretches, then
  // pieces_. front_ and stretches_ hold pieces only while the list stays
  // ordered and pieces_ holds none before them.
  std::vector<Held> front_;
  std::vector<Stretch> stretches_;
  std::vector<uint64_t> pieceBits_;  // the stretches' bits, in order
  size_t bits_ = 0;
  size_t runPieces_ = 0;  // the stretches' pieces
  const CTextPiece* firstOfStretches_ = nullptr;
  const CTextPiece* lastOfStretches_ = nullptr;
  // A run fills megabytes of these lists: they live on huge pages.
  std::vector<Held, CHugePageAllocator<Held>> pieces_;
  // Whether each piece held lies strictly before the next (see Note
  // [ordered lists] in CReplaceList.cpp): then the place of a piece is
  // found by halving.
  bool ordered_ = true;
  // The pieces given to Add by pointer, which the list owns.
  std::deque<CReplacePiece> owned_;
  std::string fileName_;
  bool textMode_ = true;
  bool convertToEuc_ = false;
  std::optional<CFileStamp> expectedStamp_;
  CReplaceListList* owner_ = nullptr;
  CErrorReporter& reporter_;
};

class CReplaceList::OwnerProgress final : public CFileProgress {
 public:
  explicit OwnerProgress(CReplaceList& list) : list_(list) {}

 protected:
  int32_t Tell(int32_t done, int32_t count) override { return list_.ReportProgress(done, count); }

 private:
  CReplaceList& list_;
};
