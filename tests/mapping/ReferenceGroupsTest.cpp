// Grouping references: by their texts, numbered as first met.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <tuple>

#include "mapping/ReferenceGroups.h"
#include "tests/mapping/MappingTestSupport.h"

using mappingtest::CModelBuilder;

namespace {

// What a group stands for, read from the texts themselves.
auto TextsOf(const CFontReference& reference) {
  return std::make_tuple(reference.GetComponent(), reference.GetKind(), reference.GetFamily(), reference.GetSize(),
                         reference.GetBold(), reference.GetItalic());
}

// Many references over a few components and kinds and forty fonts, more
// pairs of shared copies than the groups' cache has places; several
// definitions give one font, so pairs also outnumber groups.
CModelBuilder RandomModel(unsigned seed, int count) {
  const char* components[] = {"A", "B", "C", "A B", "|:A", "D+", "E", "F"};
  const char* families[] = {"Times", "Arial", "Mincho"};
  constexpr int kFonts = 40;
  std::mt19937 random(seed);
  CModelBuilder model;
  model.File("groups.doc");
  for (int font = 1; font <= kFonts; ++font) {
    model.Define("F" + std::to_string(font), families[font % 3], font % 2 ? "10" : "12", font % 5 ? "" : "Bold");
  }
  for (int i = 0; i < count; ++i) {
    const std::string number = std::to_string(1 + random() % kFonts);
    if (random() % 8 == 0) {
      model.Change(number);
    } else {
      model.Number(components[random() % 8], static_cast<int32_t>(random() % 4), number);
    }
  }
  return model;
}

}  // namespace

TEST(ReferenceGroups, GroupsByTextsInTheOrderFirstMet) {
  CModelBuilder model = RandomModel(20261210, 3000);
  const CFontReferenceList& list = model.list;
  CReferenceGroups groups;
  for (int32_t i = 0; i < list.Count(); ++i) groups.Add(*list.GetAt(i), i);

  std::set<decltype(TextsOf(*list.GetAt(0)))> seen;
  int32_t firstOfLast = -1;
  size_t total = 0;
  for (size_t group = 0; group < groups.Count(); ++group) {
    const std::vector<int32_t>& items = groups.Items(group);
    ASSERT_FALSE(items.empty());
    const auto texts = TextsOf(*list.GetAt(items.front()));
    EXPECT_TRUE(seen.insert(texts).second) << "group " << group << " repeats another's texts";
    EXPECT_GT(items.front(), firstOfLast) << "group " << group << " was met later than the one after it";
    firstOfLast = items.front();
    for (size_t k = 0; k < items.size(); ++k) {
      EXPECT_EQ(TextsOf(*list.GetAt(items[k])), texts) << "group " << group << ", item " << items[k];
      if (k > 0) {
        EXPECT_LT(items[k - 1], items[k]);
      }
    }
    total += items.size();
  }
  EXPECT_EQ(total, static_cast<size_t>(list.Count()));
}
