// New font numbers and spelled-out names for the references whose font the
// user changed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/CAddressKeyIndex.h"
#include "model/CFontReference.h"
#include "output/CNewFontDefinitions.h"

class CFontReferenceList;

/// The description of \p reference's new font as a definition line names
/// it: family and size (the current ones where no new one was chosen), then
/// the new bold and italic words when given, then ",".
std::string NewFontDescription(const CFontReference& reference);

/// Gives \p reference's new font a key: the key of the new line that
/// already describes the same font, or "F" followed by the next number
/// above \p list's highest font number (which then grows), with a new line
/// added to \p definitions. False, with \p key empty, when no new font was
/// chosen.
bool AllocateFontKey(CFontReferenceList& list, const CFontReference& reference, CNewFontDefinitions& definitions,
                     std::string& key);

/// The spelled-out name of \p reference's new font, such as
/// "Helvetica12bi"; empty when no new font was chosen.
std::string MakeSpelledOutName(const CFontReference& reference);

/// BuildNewFontDefinitions one reference at a time, so that a caller that
/// walks the references anyway does it in the same pass.
class CNewFontAllocator {
 public:
  /// Allocates from \p list's highest font number into \p definitions;
  /// both must outlive the allocator.
  CNewFontAllocator(CFontReferenceList& list, CNewFontDefinitions& definitions);

  /// Gives \p reference, when changed, its key or name and replacement
  /// text, as BuildNewFontDefinitions does for each reference in turn.
  /// Every reference of a run comes here, and most are font changes of a
  /// font use met before: those are dealt with inline.
  void Allocate(CFontReference& reference) {
    if (!reference.GetChanged()) return;
    if (&reference.GetCategory() != fontChange_) return AllocateOther(reference);
    UseTexts& found = TextsOf(reference);
    if (!found.hasKey) AllocateKey(found, reference);
    if (found.key.change == nullptr) return;  // no new font
    allocated_ = true;
    reference.SetSharedReplacementText(found.key.change);
  }
  /// True once a key was allocated: \p definitions must then be written.
  bool Allocated() const noexcept { return allocated_; }

 private:
  // What the new text of a changed reference depends on. Texts are shared
  // copies, one for each distinct text, so their addresses stand for them.
  struct FontUse {
    const CFontTexts* newFont;
    const std::string* family;
    const std::string* size;
    bool operator==(const FontUse&) const = default;
    friend uint64_t HashOf(const FontUse& use) { return HashOfParts(use.newFont, use.family, use.size); }
  };
  static FontUse UseOf(const CFontReference& reference) {
    return {&reference.GetNewFont(), &reference.GetFamily(), &reference.GetSize()};
  }
  // The replacement texts of one key, a font change's and a font number's,
  // as shared copies that the references take over as they are; null
  // without a key.
  struct KeyTexts {
    const std::string* change = nullptr;
    const std::string* number = nullptr;
  };

  CFontReferenceList& list_;
  CNewFontDefinitions& definitions_;
  // Shared copies, as the references' categories are: a category is one of
  // these texts exactly when it is this copy.
  const std::string* fontDefinition_;
  const std::string* fontNumber_;
  const std::string* fontChange_;
  const std::string* chartFont_;
  const std::string* textStringFont_;
  // What is known of one font use: its key texts and its name, each
  // worked out the first time a reference asks for it.
  struct UseTexts {
    bool hasKey = false;
    bool hasName = false;
    KeyTexts key;
    const std::string* name = nullptr;  // null: no name
  };
  // The texts of the use of \p reference, made empty the first time.
  // Its new font and the shared copy of its current font decide the use:
  // most references repeat a pair met just before, which is found by
  // those two addresses alone.
  UseTexts& TextsOf(const CFontReference& reference) {
    const void* newFont = &reference.GetNewFont();
    const void* font = reference.GetFontIdentity();
    Recent& recent = recent_[HashOfParts(newFont, font) >> (64 - kRecentBits)];
    if (recent.newFont != newFont || recent.font != font) {
      const auto [number, added] = uses_.Insert(UseOf(reference));
      if (added) texts_.emplace_back();
      recent = {newFont, font, number};
    }
    return texts_[recent.use];
  }
  // Works out the key texts of \p found, the use of \p reference.
  void AllocateKey(UseTexts& found, const CFontReference& reference);
  // Allocate for a changed reference that is no font change.
  void AllocateOther(CFontReference& reference);

  // A reference's key or name follows from its new font and its current
  // family and size alone, and references repeat a handful of those: each
  // is worked out once, in the order met, which allocates the same numbers.
  CAddressKeyIndex<FontUse> uses_;
  std::vector<UseTexts> texts_;  // by the use's number
  struct Recent {
    const void* newFont = nullptr;
    const void* font = nullptr;
    uint32_t use = 0;
  };
  static constexpr unsigned kRecentBits = 8;
  std::array<Recent, size_t{1} << kRecentBits> recent_{};
  bool allocated_ = false;
};

/// Allocates keys or spelled-out names for every changed reference of
/// \p list, oldest first, and sets the replacement text of each reference
/// whose text changes: "<F13" for a font change, "13" for a component's
/// font number, the new name for a chart or text string font. A font
/// definition only contributes its line. Returns true when at least one
/// key was allocated, that is when \p definitions must be written.
bool BuildNewFontDefinitions(CFontReferenceList& list, CNewFontDefinitions& definitions);
