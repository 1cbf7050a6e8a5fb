// The document font model of one set of files: its font references, the
// font definitions read, and the families and sizes found.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/CFontReference.h"
#include "model/CStableArray.h"
#include "model/CTextPiece.h"
#include "model/CUniqueTextList.h"

/// The model of one set of files. References are kept from the oldest to
/// the newest: GetAt(0) is the oldest, and the list's head (the newest) is
/// GetAt(Count() - 1), as if each new reference were inserted at the head.
class CFontReferenceList {
 public:
  /// An empty model: no references, highest font number "0", the four
  /// choices -1.
  CFontReferenceList() = default;
  /// A copy of every field but savedHighestFontNumber (see Assign).
  CFontReferenceList(const CFontReferenceList& other);
  CFontReferenceList& operator=(const CFontReferenceList& other);
  CFontReferenceList(CFontReferenceList&&) noexcept = default;
  CFontReferenceList& operator=(CFontReferenceList&&) noexcept = default;
  virtual ~CFontReferenceList() = default;

  /// Makes this model equal to \p other: references (copied), pieces, the
  /// four text lists in their order, and the current state. The saved
  /// highest font number is output's own and is left as it is.
  void Assign(const CFontReferenceList& other);

  // ---- references -------------------------------------------------------

  /// Resolves the reference's font against the definitions read so far,
  /// then adds it as the newest reference. Returns true.
  bool AddReference(CFontReference reference);
  /// As AddReference(CFontReference(args...)), with the reference built
  /// in its place in the model: the reader adds hundreds of thousands.
  template <class... Args>
  bool EmplaceReference(Args&&... args) {
    CFontReference& made = references_.emplace_back(std::forward<Args>(args)...);
    try {
      ResolveFont(made);
    } catch (...) {
      references_.truncate(references_.size() - 1);
      throw;
    }
    return true;
  }
  /// Adds the references of \p from, in order, as AddReference would, and
  /// leaves \p from without any; \p beforeEach(i) runs before the one that
  /// was \p from's i-th is added. A list without references takes \p
  /// from's storage as it is instead of moving each into fresh memory.
  void TakeReferences(CFontReferenceList& from, const std::function<void(int32_t)>& beforeEach);

  /// The number of references.
  int32_t Count() const noexcept { return static_cast<int32_t>(references_.size()); }
  /// The reference at \p index counted from the oldest, or null. (Inline:
  /// every pass over a model asks once per reference.)
  CFontReference* GetAt(int32_t index) {
    return index < 0 || index >= Count() ? nullptr : &references_[static_cast<size_t>(index)];
  }
  const CFontReference* GetAt(int32_t index) const {
    return index < 0 || index >= Count() ? nullptr : &references_[static_cast<size_t>(index)];
  }
  /// Deletes every reference.
  void DeleteAll();

  /// Fills in the key and the current font (family, size, bold, italic) of
  /// \p reference. A key is looked up among the definition lines that begin
  /// with it followed by a space, the most recent one winning; a key that
  /// no line begins with is read as a spelled-out name such as
  /// "Helvetica10bi". The empty key resolves to nothing. Updates the highest
  /// font number and the family and size lists.
  void ResolveFont(CFontReference& reference);

  // ---- font definitions -------------------------------------------------

  /// Appends one definition line: each non-empty part followed by a space,
  /// then a line feed.
  void AddFontDefinitionLine(std::string_view key, std::string_view family, std::string_view size,
                             std::string_view bold, std::string_view italic);
  /// Remembers (a copy of) the piece of a font definitions tag.
  void AddFontDefinitionsPiece(const CTextPiece& piece);
  const std::vector<CTextPiece>& GetFontDefinitionsPieces() const noexcept { return pieces_; }
  /// All definition lines read so far.
  const std::string& GetFontDefinitionsText() const noexcept { return fontDefinitionsText_; }

  const std::string& GetHighestFontNumber() const noexcept { return highestFontNumber_; }
  void SetHighestFontNumber(std::string_view number);
  const std::string& GetSavedHighestFontNumber() const noexcept { return savedHighestFontNumber_; }
  void SetSavedHighestFontNumber(std::string_view number) { savedHighestFontNumber_ = number; }

  // ---- parse context ----------------------------------------------------

  const std::string& GetCurrentFileName() const noexcept { return currentFileName_; }
  void SetCurrentFileName(std::string_view name) { currentFileName_ = name; }
  const std::string& GetCurrentComponent() const noexcept { return currentComponent_; }
  void SetCurrentComponent(std::string_view name) { currentComponent_ = name; }
  int32_t GetCurrentKind() const noexcept { return currentKind_; }
  void SetCurrentKind(int32_t kind) noexcept { currentKind_ = kind; }
  int32_t GetIsShiftJis() const noexcept { return isShiftJis_; }
  void SetIsShiftJis(int32_t isShiftJis) noexcept { isShiftJis_ = isShiftJis; }

  // ---- lists offered on the mapping page ---------------------------------

  /// Families named by font definitions; the newest first.
  CUniqueTextList& DefinedFamilies() noexcept { return definedFamilies_; }
  const CUniqueTextList& DefinedFamilies() const noexcept { return definedFamilies_; }
  /// Families named by spelled-out font names; the newest first.
  CUniqueTextList& NamedFamilies() noexcept { return namedFamilies_; }
  const CUniqueTextList& NamedFamilies() const noexcept { return namedFamilies_; }
  /// Sizes met; the newest first.
  CUniqueTextList& FontSizes() noexcept { return fontSizes_; }
  const CUniqueTextList& FontSizes() const noexcept { return fontSizes_; }
  /// Names of the files that receive replacements.
  const CUniqueTextList& FilesToRewrite() const noexcept { return filesToRewrite_; }
  /// Adds \p name to the files to rewrite unless it is there.
  void AddFileToRewrite(std::string_view name) { filesToRewrite_.AddAtHead(name); }

  // ---- mapping page state -----------------------------------------------

  const std::string& GetShownCategory() const noexcept { return shownCategory_; }
  void SetShownCategory(std::string_view c) { shownCategory_ = c; }
  const std::string& GetPreviousCategory() const noexcept { return previousCategory_; }
  void SetPreviousCategory(std::string_view c) { previousCategory_ = c; }
  int32_t GetDefinedFamilyChoice() const noexcept { return definedFamilyChoice_; }
  void SetDefinedFamilyChoice(int32_t v) noexcept { definedFamilyChoice_ = v; }
  int32_t GetNamedFamilyChoice() const noexcept { return namedFamilyChoice_; }
  void SetNamedFamilyChoice(int32_t v) noexcept { namedFamilyChoice_ = v; }
  int32_t GetSizeChoice() const noexcept { return sizeChoice_; }
  void SetSizeChoice(int32_t v) noexcept { sizeChoice_ = v; }
  int32_t GetOtherSizeChoice() const noexcept { return otherSizeChoice_; }
  void SetOtherSizeChoice(int32_t v) noexcept { otherSizeChoice_ = v; }

  // ---- cheap snapshots ---------------------------------------------------

  /// What RollBack needs to undo the additions that loading one file makes.
  struct Checkpoint {
    size_t references = 0, pieces = 0, definitionsText = 0, definitionLines = 0;
    size_t definedFamilies = 0, namedFamilies = 0, fontSizes = 0, filesToRewrite = 0;
    std::string currentFileName, currentComponent, highestFontNumber;
    int32_t currentKind = KindNone, isShiftJis = 0;
  };
  /// Marks the model's present state. Equivalent to taking a copy for a
  /// later Assign, as long as the model only grows meanwhile (references,
  /// definitions and pieces added, families and sizes added at the head,
  /// context changed) — which is all that parsing a file does.
  Checkpoint MakeCheckpoint() const;
  /// Brings the model back to \p checkpoint, as Assign of a copy taken then
  /// would.
  void RollBack(const Checkpoint& checkpoint);

 private:
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>()(s); }
  };
  // Start offsets of the definition lines whose first word (the text before
  // the first space) is the key, in the order read.
  using LineIndex = std::unordered_map<std::string, std::vector<uint32_t>, TextHash, std::equal_to<>>;

  // How a key resolves against the definitions read so far. Texts are
  // shared copies; `number` is the key's font number when a definition
  // names it (-1 otherwise).
  struct ResolvedFont {
    const CFontTexts* font;
    const std::string* numberText;
    int64_t number = -1;
    bool addsDefinedFamily = false;  // a definition line gave family and size
    bool addsNamedFamily = false;    // read as a spelled-out name
    // The removal stamps of the family and size lists when this font's
    // texts were last put in them (0: never). See ResolveFont.
    uint64_t familiesStamp = 0;
    uint64_t sizesStamp = 0;
  };
  using ResolutionCache = std::unordered_map<std::string, ResolvedFont, TextHash, std::equal_to<>>;

  /// Offset of the most recent definition line beginning with key + " ",
  /// or npos.
  size_t FindDefinitionLine(std::string_view key) const;
  ResolvedFont Resolve(std::string_view key) const;
  ResolvedFont ResolveFromDefinition(std::string_view key, size_t lineStart) const;
  static ResolvedFont ResolveSpelledOutName(std::string_view key);

  CStableArray<CFontReference> references_;  // oldest first; addresses stay put
  std::vector<CTextPiece> pieces_;
  std::string currentFileName_;
  std::string fontDefinitionsText_;
  std::string currentComponent_;
  int32_t currentKind_ = KindNone;
  std::string highestFontNumber_ = "0";
  int64_t highestValue_ = 0;  // highestFontNumber_ as a number
  std::string savedHighestFontNumber_;
  CUniqueTextList filesToRewrite_;
  CUniqueTextList definedFamilies_;
  CUniqueTextList namedFamilies_;
  CUniqueTextList fontSizes_;
  std::string shownCategory_;
  std::string previousCategory_;
  int32_t definedFamilyChoice_ = -1;
  int32_t namedFamilyChoice_ = -1;
  int32_t sizeChoice_ = -1;
  int32_t otherSizeChoice_ = -1;
  int32_t isShiftJis_ = 0;

  LineIndex lineIndex_;
  std::vector<std::string> lineKeys_;  // first word of each definition line, in order
  // Most references repeat a few keys; the answer only changes when a
  // definition line is added or taken back.
  ResolutionCache resolved_;
  // The fonts of recent references by piece text (a shared copy) and how
  // the key follows from it. They point into resolved_, whose entries stay
  // put when it is moved; a list moved from forgets them. A large
  // document's pieces hold a thousand or more different texts, a small
  // one's a handful, so the table is sized by use: made small on first
  // use, made anew twice as large whenever it has missed half as often as
  // it has slots, and dropped, not cleared, when resolved_ empties, which
  // definition lines do one after another.
  // A slot also holds the font's texts, and the ResolveEpoch at which the
  // font's number and texts were last taken into the model: while the
  // epoch stays, a reference of the slot needs nothing but the texts, and
  // the font's entry, elsewhere in memory, is not read.
  struct RecentFont {
    uintptr_t key = 0;  // the piece text's address and the derivation
    ResolvedFont* font = nullptr;
    const CFontTexts* texts = nullptr;
    uint64_t epoch = 0;  // 0: never taken
  };
  /// Changes whenever a font taken into the model may need taking again:
  /// when the highest font number is set from outside, or a text leaves
  /// the family or size lists. Never 0.
  uint64_t ResolveEpoch() const noexcept {
    return numberEpoch_ + definedFamilies_.RemovalStamp() + namedFamilies_.RemovalStamp() + fontSizes_.RemovalStamp() +
           1;
  }
  uint64_t numberEpoch_ = 0;  // counts SetHighestFontNumber
  static constexpr unsigned kFirstRecentFontBits = 4;
  static constexpr unsigned kMaxRecentFontBits = 12;
  std::unique_ptr<RecentFont[]> recent_;
  unsigned recentBits_ = 0;  // the table has 2^recentBits_ slots
  size_t recentMisses_ = 0;  // since the table was made
  /// Empties resolved_ and what points into it.
  void ForgetResolved();
};
