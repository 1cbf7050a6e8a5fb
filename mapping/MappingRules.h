// The small rules by which references become mapping rows: kind markers,
// base names, when two references share a font, which kinds may share a
// row, and the category tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/CFontReference.h"

/// The marker shown behind a component name for \p kind: "+", " Prefix",
/// "+ Prefix", or empty for Component, None and unknown kinds.
const std::string& KindMarker(int32_t kind);

/// The column-0 text without its kind marker: the text up to the first
/// occurrence of \p kind's marker when that occurrence is past position 0,
/// else the whole text.
std::string_view BaseName(std::string_view text, int32_t kind);

/// True when family, size, bold and italic of the two references are
/// equal, byte for byte.
bool SameCurrentFont(const CFontReference& a, const CFontReference& b);

/// Whether a reference of kind \p other may join a row of kind \p rowKind:
/// a Component row takes Subcomponents, a Component-prefix row takes
/// Subcomponent prefixes, and every kind takes its own.
bool KindAccepts(int32_t rowKind, int32_t other);

/// The category text of string \p id ("Font Definition", "Chart Font", ...).
const std::string& CategoryText(int32_t id);

/// True when \p reference's category is the text of string \p id.
bool HasCategory(const CFontReference& reference, int32_t id);

/// HasCategory of one id for many references. Categories are shared
/// copies, a handful of them: the answer for the last one met is kept by
/// its address.
class CCategoryTest {
 public:
  explicit CCategoryTest(int32_t id) : text_(CategoryText(id)) {}
  bool Has(const CFontReference& reference) {
    const std::string* category = &reference.GetCategory();
    if (category != last_) {
      last_ = category;
      answer_ = *category == text_;
    }
    return answer_;
  }

 private:
  const std::string& text_;
  const std::string* last_ = nullptr;
  bool answer_ = false;
};
