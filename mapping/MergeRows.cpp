// Merging sorted rows without rescanning: see Note [merge by runs].
#include "mapping/MergeRows.h"

#include <functional>
#include <string_view>
#include <unordered_map>

#include "mapping/MappingRules.h"
#include "model/CFontReferenceList.h"

// Note [merge by runs]
// The table merges by scanning, for each remaining row R from the top, the
// rows below R while their base name equals R's, taking every row whose
// font and kind R accepts. Done literally this is quadratic in the number
// of rows that share a base name but not a font, which real documents
// have by the thousand ("Font Change" rows of many fonts).
//
// The scan never crosses a change of base name, and the first row of each
// stretch of equal base names can only be taken by a row of its own
// stretch, so stretches ("runs") merge independently. Within a run, R
// takes a row before any remaining row below R gets to see it, so every
// row goes to the topmost remaining row above it that accepts it, and a
// row remains exactly when none above accepts it. Rows accept only rows of
// their own font, and every kind accepts itself, so each font of a run has
// at most one remaining row per kind: finding the taker is a look at no
// more than five rows.

namespace {

// A current font by its four texts. The texts of references are shared
// copies, one for each distinct text, so the copies' addresses stand for
// the texts.
struct FontKey {
  const std::string *family, *size, *bold, *italic;
  bool operator==(const FontKey&) const = default;
};

struct FontKeyHash {
  size_t operator()(const FontKey& key) const noexcept {
    std::hash<const void*> hash;
    size_t h = hash(key.family);
    for (const std::string* part : {key.size, key.bold, key.italic}) h = h * 1000003u ^ hash(part);
    return h;
  }
};

FontKey KeyOf(const CFontReference& reference) {
  return {&reference.GetFamily(), &reference.GetSize(), &reference.GetBold(), &reference.GetItalic()};
}

}  // namespace

std::vector<int32_t> FindJoiningRows(const std::vector<CBuildRow>& rows,
                                     const CFontReferenceList& references) {
  const int32_t count = static_cast<int32_t>(rows.size());
  std::vector<int32_t> joins(rows.size(), -1);
  std::vector<const CFontReference*> reps(rows.size());
  std::vector<std::string_view> bases(rows.size());
  for (int32_t i = 0; i < count; ++i) {
    reps[i] = references.GetAt(rows[i].item);
    bases[i] = reps[i] ? BaseName(rows[i].text, reps[i]->GetKind()) : std::string_view();
  }

  // Remaining rows of the current run, by font, topmost first.
  std::unordered_map<FontKey, std::vector<int32_t>, FontKeyHash> remaining;
  int32_t runStart = 0;
  while (runStart < count) {
    int32_t runEnd = runStart + 1;
    // A row without a representative ends the scan, as a change of base
    // name does, and joins nothing.
    if (reps[runStart]) {
      while (runEnd < count && reps[runEnd] && bases[runEnd] == bases[runStart]) ++runEnd;
    }
    if (runEnd - runStart > 1) {
      remaining.clear();
      for (int32_t row = runStart; row < runEnd; ++row) {
        std::vector<int32_t>& takers = remaining[KeyOf(*reps[row])];
        for (int32_t taker : takers) {
          if (KindAccepts(reps[taker]->GetKind(), reps[row]->GetKind())) {
            joins[row] = taker;
            break;
          }
        }
        if (joins[row] < 0) takers.push_back(row);
      }
    }
    runStart = runEnd;
  }
  return joins;
}
