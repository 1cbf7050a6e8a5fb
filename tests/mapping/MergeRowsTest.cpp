// The merge step against a literal top-down scan, on many random tables
// with shared base names, kinds and fonts.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>

#include "mapping/MappingRules.h"
#include "mapping/MergeRows.h"
#include "tests/mapping/MappingTestSupport.h"

namespace {

// The merge as a scan: for each remaining row from the top, look at the
// rows below while their base name equals its own, taking each it accepts.
std::vector<int32_t> ScanMerge(const std::vector<CBuildRow>& rows, const CFontReferenceList& list) {
  std::vector<int32_t> joins(rows.size(), -1);
  std::vector<size_t> remaining(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) remaining[i] = i;
  auto base = [&](size_t i) { return BaseName(rows[i].text, list.GetAt(rows[i].item)->GetKind()); };
  for (size_t r = 0; r < remaining.size(); ++r) {
    const CFontReference& rep = *list.GetAt(rows[remaining[r]].item);
    for (size_t s = r + 1; s < remaining.size() && base(remaining[s]) == base(remaining[r]);) {
      const CFontReference& other = *list.GetAt(rows[remaining[s]].item);
      if (SameCurrentFont(rep, other) && KindAccepts(rep.GetKind(), other.GetKind())) {
        joins[remaining[s]] = static_cast<int32_t>(remaining[r]);
        remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(s));
      } else {
        ++s;
      }
    }
  }
  return joins;
}

}  // namespace

TEST(FindJoiningRows, AgreesWithTheTopDownScan) {
  const char* components[] = {"A", "A B", "|:A", "A+", "B"};
  std::mt19937 random(20240601);
  for (int round = 0; round < 200; ++round) {
    mappingtest::CModelBuilder model;
    model.File("merge.doc").Define("F1", "Times", "10").Define("F2", "Times", "12");
    int count = 2 + static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) {
      std::string component = components[random() % 5];
      int32_t kind = static_cast<int32_t>(random() % 4);
      if (component.rfind("|:", 0) == 0) kind |= 2;  // prefix names are prefix kinds
      if (random() % 8 == 0) {
        model.Change(random() % 2 ? "1" : "2");
      } else {
        model.Number(component, kind, random() % 2 ? "1" : "2");
      }
    }
    std::deque<std::string> texts;  // the rows view them
    std::vector<CBuildRow> rows;
    for (int32_t item = model.list.Count() - 1; item >= 0; --item) {
      const CFontReference& reference = *model.list.GetAt(item);
      texts.push_back(reference.GetComponent() + KindMarker(reference.GetKind()));
      rows.push_back({texts.back(), item});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const CBuildRow& a, const CBuildRow& b) { return a.text < b.text; });
    ASSERT_EQ(ScanMerge(rows, model.list), FindJoiningRows(rows, model.list)) << "round " << round;
  }
}
