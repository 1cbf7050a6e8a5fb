// One place where a document names a font: the piece of text, what kind of
// reference it is, the font it names now, and the new font chosen for it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/CFontTexts.h"
#include "model/CTextPiece.h"

/// What kind of component a reference was made in.
enum ComponentKind : int32_t {
  KindNone = -1,  ///< not made inside a component
  KindComponent = 0,
  KindSubcomponent = 1,
  KindComponentPrefix = 2,
  KindSubcomponentPrefix = 3,
};

/// One font reference. Every text field except category, component and the
/// piece starts empty; both flags start false. Texts are held as shared
/// copies (CStringPool): equal texts are one copy, so the addresses of the
/// texts returned compare as the texts do. The current and the new font are
/// each one shared CFontTexts, so that a model of hundreds of thousands of
/// references stays small and cheap to copy.
class CFontReference {
 public:
  /// A reference outside any component: kind None, and the component field
  /// equal to the category. \p category is brought into normal form.
  CFontReference(CTextPiece piece, int32_t isShiftJis, std::string_view category);

  /// A reference made inside the component \p componentName of \p kind.
  /// Category and component name are brought into normal form.
  CFontReference(int32_t kind, std::string_view componentName, CTextPiece piece, int32_t isShiftJis,
                 std::string_view category);

  /// A reference from a component name and category already in normal
  /// form (NormalText), for the reader, which makes very many with the
  /// same ones.
  CFontReference(int32_t kind, const std::string* normalComponent, const std::string* normalCategory, CTextPiece piece);

  /// The normal form of a category or component name as the constructors
  /// store it: a shared copy (CStringPool).
  static const std::string* NormalText(std::string_view text, int32_t isShiftJis);

  /// A copy of every field, merged rows and piece included.
  CFontReference(const CFontReference& other);
  CFontReference(CFontReference&& other) noexcept;
  CFontReference& operator=(const CFontReference& other);
  CFontReference& operator=(CFontReference&& other) noexcept;
  ~CFontReference() { ClearMergedRows(); }

  /// Positions (GetAt indexes) of references folded into this one's row of
  /// the mapping table, the most recently added first.
  const std::vector<int32_t>& GetMergedRows() const noexcept;
  void AddMergedRow(int32_t position);
  /// Replaces the merged rows at once (the most recently added first), as
  /// the mapping table does for rows of many thousand references.
  void SetMergedRows(std::vector<int32_t> positions);
  /// The bit is tested here: a table build clears every reference, and
  /// only its row representatives have merged rows kept aside.
  void ClearMergedRows() {
    if (HasMergedRows()) EraseMergedRows();
  }

  const CTextPiece& GetPiece() const noexcept { return piece_; }
  const std::string& GetCategory() const noexcept { return *Names()->category; }
  const std::string& GetComponent() const noexcept { return *Names()->component; }
  int32_t GetKind() const noexcept { return Names()->kind; }

  const std::string& GetFontKey() const noexcept { return *font_->key; }
  const std::string& GetFamily() const noexcept { return *font_->family; }
  const std::string& GetSize() const noexcept { return *font_->size; }
  const std::string& GetBold() const noexcept { return *font_->bold; }
  const std::string& GetItalic() const noexcept { return *font_->italic; }
  const std::string& GetReplacementText() const noexcept { return *replacementText_; }
  const std::string& GetNewFamily() const noexcept { return *GetNewFont().family; }
  const std::string& GetNewSize() const noexcept { return *GetNewFont().size; }
  const std::string& GetNewBold() const noexcept { return *GetNewFont().bold; }
  const std::string& GetNewItalic() const noexcept { return *GetNewFont().italic; }
  /// The new font's four texts at once (its key is empty).
  const CFontTexts& GetNewFont() const noexcept {
    return *reinterpret_cast<const CFontTexts*>(newFont_ & ~(kChanged | kChangedToo));
  }
  /// The shared copies behind category, component and kind, and behind
  /// the current font: references with the same two agree on all those
  /// texts (not always the other way round), which a pass over a whole
  /// model can learn from two addresses.
  const void* GetNamesIdentity() const noexcept { return Names(); }
  const void* GetFontIdentity() const noexcept { return font_; }
  bool GetChanged() const noexcept { return (newFont_ & kChanged) != 0; }
  bool GetChangedToo() const noexcept { return (newFont_ & kChangedToo) != 0; }

  /// Sets the family with any white space at its end removed.
  void SetFamily(std::string_view family);
  void SetSize(std::string_view size);
  void SetBold(std::string_view bold);
  void SetItalic(std::string_view italic);
  void SetFontKey(std::string_view key);
  void SetReplacementText(std::string_view text);
  void SetNewFamily(std::string_view family);
  void SetNewSize(std::string_view size);
  void SetNewBold(std::string_view bold);
  void SetNewItalic(std::string_view italic);
  /// Sets the four texts of the new font at once: \p font is a shared
  /// copy (CFontTexts::Share) with an empty key, made once for the many
  /// references that receive one font.
  void SetNewFont(const CFontTexts* font) noexcept {
    newFont_ = reinterpret_cast<uintptr_t>(font) | (newFont_ & (kChanged | kChangedToo));
  }
  /// Sets the new font and both flags at once: a store that needs nothing
  /// of the reference read first, for the mapping table, which writes
  /// hundreds of thousands of references spread over the model.
  void SetNewFont(const CFontTexts* font, bool changed, bool changedToo) noexcept {
    newFont_ = reinterpret_cast<uintptr_t>(font) | (changed ? kChanged : 0) | (changedToo ? kChangedToo : 0);
  }
  /// Sets the replacement text to \p text, a CStringPool copy, as it is:
  /// for the many references that receive one text.
  void SetSharedReplacementText(const std::string* text) noexcept { replacementText_ = text; }
  void SetChanged(bool changed) noexcept { newFont_ = (newFont_ & ~kChanged) | (changed ? kChanged : 0); }
  void SetChangedToo(bool changedToo) noexcept {
    newFont_ = (newFont_ & ~kChangedToo) | (changedToo ? kChangedToo : 0);
  }

  /// The mark shown behind the component name for this reference's kind:
  /// "+", " Prefix", "+ Prefix", or empty.
  std::string GetKindSuffix() const;

 private:
  friend class CFontReferenceList;  // fills in resolved fonts from shared copies

  // Category, component and kind: the process's one copy of each
  // combination (a document has a few hundred), made by Share.
  struct NameTexts {
    const std::string* category;
    const std::string* component;
    int32_t kind;
    bool operator==(const NameTexts&) const = default;
    static const NameTexts* Share(const std::string* category, const std::string* component, int32_t kind);
  };
  // Flags in the lowest bits of addresses, which alignment leaves free:
  // the change flags beside the new font, which the mapping table writes
  // with them; kHasMergedRows beside the names. Merged rows, which only the
  // representatives of mapping rows have, are kept aside (see
  // MergedRowsStore) while it is set.
  static constexpr uintptr_t kChanged = 1;
  static constexpr uintptr_t kChangedToo = 2;
  static constexpr uintptr_t kHasMergedRows = 1;
  static_assert(alignof(CFontTexts) > (kChanged | kChangedToo) && alignof(NameTexts) > kHasMergedRows,
                "the lowest bits of the addresses are free");
  const NameTexts* Names() const noexcept { return reinterpret_cast<const NameTexts*>(names_ & ~kHasMergedRows); }
  bool HasMergedRows() const noexcept { return (names_ & kHasMergedRows) != 0; }
  void SetHasMergedRows(bool has) noexcept { names_ = (names_ & ~kHasMergedRows) | (has ? kHasMergedRows : 0); }
  /// Gives \p from's merged rows to this reference, which has none.
  void TakeMergedRows(CFontReference& from) noexcept;
  void EraseMergedRows();

  CTextPiece piece_;
  uintptr_t names_;  // a NameTexts address and kHasMergedRows
  const CFontTexts* font_;
  uintptr_t newFont_;  // a CFontTexts address, kChanged and kChangedToo
  const std::string* replacementText_;
};

/// Removes white space (space, tab, CR, LF, vertical tab, form feed) from
/// the end of \p text.
std::string_view TrimRight(std::string_view text);
/// Removes white space from the start of \p text.
std::string_view TrimLeft(std::string_view text);
