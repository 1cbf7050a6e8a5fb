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

// Most base names compared are one view of one text.
bool SameText(std::string_view a, std::string_view b) {
  return (a.data() == b.data() && a.size() == b.size()) || a == b;
}

// What the merge asks of a representative: its kind, and its current font
// as a number (equal fonts, equal numbers).
struct RepresentativeFacts {
  int32_t font;
  int32_t kind;
};

// The facts of every reference, by list position, and the number of
// different fonts. Gathered in one pass in list order: rows come in text
// order and would otherwise visit their representatives at random, which
// across a large model costs a cache miss per row; the facts take a small
// part of the model's room.
struct ModelFacts {
  std::vector<RepresentativeFacts> of;
  size_t fonts = 0;
};

ModelFacts FactsOf(const CFontReferenceList& references) {
  ModelFacts facts;
  facts.of.resize(static_cast<size_t>(references.Count()));
  std::unordered_map<FontKey, int32_t, FontKeyHash> numbers;
  for (int32_t item = 0; item < references.Count(); ++item) {
    const CFontReference& reference = *references.GetAt(item);
    auto found = numbers.try_emplace(KeyOf(reference), static_cast<int32_t>(numbers.size())).first;
    facts.of[static_cast<size_t>(item)] = {found->second, reference.GetKind()};
  }
  facts.fonts = numbers.size();
  return facts;
}

}  // namespace

std::vector<int32_t> FindJoiningRows(const std::vector<CBuildRow>& rows, const CFontReferenceList& references) {
  const int32_t count = static_cast<int32_t>(rows.size());
  const ModelFacts facts = FactsOf(references);
  auto factsOf = [&](int32_t row) -> const RepresentativeFacts* {
    const int32_t item = rows[static_cast<size_t>(row)].item;
    return item >= 0 && item < static_cast<int32_t>(facts.of.size()) ? &facts.of[static_cast<size_t>(item)] : nullptr;
  };
  std::vector<int32_t> joins(rows.size(), -1);
  std::vector<const RepresentativeFacts*> reps(rows.size());
  std::vector<std::string_view> bases(rows.size());
  for (int32_t i = 0; i < count; ++i) {
    reps[i] = factsOf(i);
    if (!reps[i]) continue;
    // Rows of one text come together, and one text is one view.
    const bool sameText = i > 0 && reps[i - 1] && reps[i - 1]->kind == reps[i]->kind &&
                          rows[i].text.data() == rows[i - 1].text.data() &&
                          rows[i].text.size() == rows[i - 1].text.size();
    bases[i] = sameText ? bases[i - 1] : BaseName(rows[i].text, reps[i]->kind);
  }

  // Remaining rows of the current run, by font, topmost first; the fonts
  // the run touched, to empty their lists for the next run.
  std::vector<std::vector<int32_t>> remaining(facts.fonts);
  std::vector<int32_t> touched;
  int32_t runStart = 0;
  while (runStart < count) {
    int32_t runEnd = runStart + 1;
    // A row without a representative ends the scan, as a change of base
    // name does, and joins nothing.
    if (reps[runStart]) {
      while (runEnd < count && reps[runEnd] && SameText(bases[runEnd], bases[runStart])) ++runEnd;
    }
    if (runEnd - runStart > 1) {
      for (int32_t font : touched) remaining[static_cast<size_t>(font)].clear();
      touched.clear();
      for (int32_t row = runStart; row < runEnd; ++row) {
        std::vector<int32_t>& takers = remaining[static_cast<size_t>(reps[row]->font)];
        if (takers.empty()) touched.push_back(reps[row]->font);
        for (int32_t taker : takers) {
          if (KindAccepts(reps[taker]->kind, reps[row]->kind)) {
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
