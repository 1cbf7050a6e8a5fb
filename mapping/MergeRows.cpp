// Merging sorted rows without rescanning: see Note [merge by runs].
#include "mapping/MergeRows.h"

#include <algorithm>
#include <functional>
#include <string_view>

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

// Most base names compared are one view of one text.
bool SameText(std::string_view a, std::string_view b) {
  return (a.data() == b.data() && a.size() == b.size()) || a == b;
}

}  // namespace

std::vector<int32_t> FindJoiningRows(const std::vector<CMergeRow>& rows) {
  const int32_t count = static_cast<int32_t>(rows.size());
  std::vector<int32_t> joins(rows.size(), -1);
  std::vector<std::string_view> bases(rows.size());
  int32_t fonts = 0;
  for (int32_t i = 0; i < count; ++i) {
    const CMergeRow& row = rows[static_cast<size_t>(i)];
    if (row.font < 0) continue;
    fonts = std::max(fonts, row.font + 1);
    // Rows of one text come together, and one text is one view.
    const CMergeRow* above = i > 0 ? &rows[static_cast<size_t>(i) - 1] : nullptr;
    const bool sameText = above && above->font >= 0 && above->kind == row.kind &&
                          row.text.data() == above->text.data() && row.text.size() == above->text.size();
    bases[i] = sameText ? bases[i - 1] : BaseName(row.text, row.kind);
  }

  // Remaining rows of the current run, by font, topmost first; the fonts
  // the run touched, to empty their lists for the next run.
  std::vector<std::vector<int32_t>> remaining(static_cast<size_t>(fonts));
  std::vector<int32_t> touched;
  int32_t runStart = 0;
  while (runStart < count) {
    int32_t runEnd = runStart + 1;
    if (rows[runStart].font >= 0) {
      while (runEnd < count && rows[runEnd].font >= 0 && SameText(bases[runEnd], bases[runStart])) ++runEnd;
    }
    if (runEnd - runStart > 1) {
      for (int32_t font : touched) remaining[static_cast<size_t>(font)].clear();
      touched.clear();
      for (int32_t row = runStart; row < runEnd; ++row) {
        std::vector<int32_t>& takers = remaining[static_cast<size_t>(rows[row].font)];
        if (takers.empty()) touched.push_back(rows[row].font);
        for (int32_t taker : takers) {
          if (KindAccepts(rows[taker].kind, rows[row].kind)) {
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

size_t CFontNumbers::KeyHash::operator()(const Key& key) const noexcept {
  std::hash<const void*> hash;
  size_t h = hash(key.family);
  for (const std::string* part : {key.size, key.bold, key.italic}) h = h * 1000003u ^ hash(part);
  return h;
}

int32_t CFontNumbers::NumberOf(const CFontReference& reference) {
  const Key key{&reference.GetFamily(), &reference.GetSize(), &reference.GetBold(), &reference.GetItalic()};
  return numbers_.try_emplace(key, static_cast<int32_t>(numbers_.size())).first->second;
}

std::vector<int32_t> FindJoiningRows(const std::vector<CBuildRow>& rows, const CFontReferenceList& references) {
  CFontNumbers numbers;
  std::vector<CMergeRow> merge;
  merge.reserve(rows.size());
  for (const CBuildRow& row : rows) {
    const CFontReference* rep = references.GetAt(row.item);
    if (!rep) {
      merge.push_back({row.text, -1, KindNone});
      continue;
    }
    merge.push_back({row.text, numbers.NumberOf(*rep), rep->GetKind()});
  }
  return FindJoiningRows(merge);
}
