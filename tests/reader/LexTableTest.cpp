// The generated lexer table read back byte by byte: its layout, and that it
// holds what the rules ask for.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "reader/InterleafTokens.h"
#include "reader/LexTableFormat.h"
#include "tests/support/TestSupport.h"

namespace LTF = LexTableFormat;

namespace {

struct Triple {
  uint32_t low, high, next;
};
struct State {
  int32_t token;
  uint32_t mode, flags;
  std::vector<Triple> row;
};

class LexTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string file = testsupport::ReadFile(TS_LEXTABLE_FILE);
    bytes_.assign(file.begin(), file.end());
    ASSERT_GE(bytes_.size(), LTF::kHeaderSize);
  }
  uint32_t U32(size_t at) const { return LTF::ReadU32(bytes_.data() + at); }
  bool Zero(size_t from, size_t to) const {
    return std::all_of(bytes_.begin() + from, bytes_.begin() + to, [](unsigned char b) { return b == 0; });
  }
  // Reads every list, checking the block layout on the way.
  std::vector<std::vector<State>> Lists() {
    std::vector<std::vector<State>> lists;
    size_t block = LTF::kHeaderSize;
    for (uint32_t i = 0; i < U32(LTF::kHeaderListCount); ++i) {
      SCOPED_TRACE("list " + std::to_string(i));
      EXPECT_EQ(U32(block + LTF::kListMagic), LTF::kMagic);
      const uint32_t size = U32(block + LTF::kListSize);
      EXPECT_EQ(U32(block + LTF::kListSizeAgain), size);
      EXPECT_TRUE(Zero(block + LTF::kListReservedLow, block + LTF::kListStateCount));
      EXPECT_TRUE(Zero(block + LTF::kListReservedHigh, block + LTF::kListHeaderSize));
      EXPECT_EQ(U32(block + LTF::kListStateTable), LTF::kListHeaderSize);
      const uint32_t count = U32(block + LTF::kListStateCount);
      const uint32_t rows = U32(block + LTF::kListRowTable);
      EXPECT_EQ(rows, LTF::kListHeaderSize + count * LTF::kStateEntrySize);
      std::vector<State> states;
      for (uint32_t s = 0; s < count; ++s) {
        size_t e = block + LTF::kListHeaderSize + s * LTF::kStateEntrySize;
        State st{
            static_cast<int32_t>(U32(e + LTF::kStateToken)), U32(e + LTF::kStateMode), U32(e + LTF::kStateFlags), {}};
        EXPECT_TRUE(Zero(e + LTF::kStateKeywordTable, e + LTF::kStateEntrySize));
        size_t row = block + U32(block + rows + s * LTF::kRowTableEntrySize);
        for (uint32_t t = 0; t < U32(row + LTF::kRowCount); ++t) {
          size_t at = row + LTF::kRowTriples + t * LTF::kTripleSize;
          st.row.push_back({U32(at + LTF::kTripleLow), U32(at + LTF::kTripleHigh), U32(at + LTF::kTripleNext)});
        }
        states.push_back(std::move(st));
      }
      lists.push_back(std::move(states));
      block += size;
    }
    EXPECT_EQ(block, bytes_.size());
    return lists;
  }

  std::vector<unsigned char> bytes_;
};

}  // namespace

TEST_F(LexTableTest, HeaderAndEveryModePresent) {
  EXPECT_EQ(U32(LTF::kHeaderListCount), 26u);
  EXPECT_EQ(U32(LTF::kHeaderMagic), LTF::kMagic);
  EXPECT_EQ(std::string(bytes_.begin() + LTF::kHeaderMagic, bytes_.begin() + LTF::kHeaderMagic + 4), "XLSS");
  EXPECT_EQ(U32(LTF::kHeaderKeywordTables), 0u);
  EXPECT_TRUE(Zero(LTF::kHeaderReserved, LTF::kHeaderSize));
  EXPECT_EQ(Lists().size(), 26u);
}

TEST_F(LexTableTest, RowsAreSortedAndLeadToStates) {
  for (const std::vector<State>& list : Lists()) {
    for (const State& s : list) {
      for (size_t t = 0; t < s.row.size(); ++t) {
        EXPECT_LE(s.row[t].low, s.row[t].high);
        EXPECT_LT(s.row[t].next, list.size());
        if (t > 0) {
          EXPECT_GT(s.row[t].low, s.row[t - 1].high);
        }
      }
    }
    // State 0 ends with the end-of-input triple, to a state of token -1.
    ASSERT_FALSE(list[0].row.empty());
    const Triple& eof = list[0].row.back();
    EXPECT_EQ(eof.low, LTF::kEndOfInputCode);
    EXPECT_EQ(eof.high, LTF::kEndOfInputCode);
    EXPECT_EQ(list[eof.next].token, LTF::kEndOfInputToken);
  }
}

TEST_F(LexTableTest, StatesCarryTheRulesTokensAndActions) {
  const std::vector<std::vector<State>> lists = Lists();
  const std::set<uint32_t> emptyTextModes{1, 25}, emptyQuotedModes{2, 8}, emptyDataModes{14, 15, 19, 21, 22, 23};
  std::span<const int32_t> skipIds = InterleafSkipIds();
  std::set<int32_t> produced;
  for (uint32_t m = 0; m < lists.size(); ++m) {
    SCOPED_TRACE("mode " + std::to_string(m));
    int32_t empty = emptyTextModes.count(m)     ? InterleafToken::TEXT
                    : emptyQuotedModes.count(m) ? InterleafToken::DQUOTED_TEXT
                    : emptyDataModes.count(m)   ? InterleafToken::DIAGRAM_DATA
                                                : 0;
    EXPECT_EQ(lists[m][0].token, empty);
    EXPECT_EQ(lists[m][0].flags, empty ? LTF::kFlagAccept : 0);
    for (const State& s : lists[m]) {
      const uint32_t known = LTF::kFlagAccept | LTF::kFlagPop | LTF::kFlagPush | LTF::kFlagSkip;
      EXPECT_EQ(s.flags & ~known, 0u);
      EXPECT_EQ(s.token != 0, (s.flags & LTF::kFlagAccept) != 0);
      if (s.flags & LTF::kFlagPush) {
        EXPECT_LT(s.mode, 26u);
      }
      if (s.flags & LTF::kFlagSkip) {
        EXPECT_NE(std::find(skipIds.begin(), skipIds.end(), s.token), skipIds.end()) << s.token;
      } else if (s.token > 0) {
        EXPECT_TRUE(std::any_of(InterleafTokens().begin(), InterleafTokens().end(), [&](const InterleafTokenInfo& t) {
          return t.id == s.token;
        })) << s.token;
        produced.insert(s.token);
      }
    }
  }
  // Every token of the reader comes out of some mode.
  for (const InterleafTokenInfo& t : InterleafTokens()) {
    if (t.id > 0) {
      EXPECT_TRUE(produced.count(t.id)) << t.name;
    }
  }
}

TEST_F(LexTableTest, ComplementedClassesHoldDoubleByteCodes) {
  const std::vector<std::vector<State>> lists = Lists();
  // Mode 1 begins TEXT on every code but tab, line feed, ESC, '<' and '>'.
  auto startsOn = [&](uint32_t mode, uint32_t code) {
    for (const Triple& t : lists[mode][0].row)
      if (t.low <= code && code <= t.high) return true;
    return false;
  };
  for (uint32_t code : {0x20u, 0x80u, 0x5C81u, 0x0A81u, 0xFFFFu}) EXPECT_TRUE(startsOn(1, code)) << code;
  EXPECT_FALSE(startsOn(6, 0x8140));  // font definitions take no such character
  EXPECT_TRUE(startsOn(5, 0x8140));   // tag attributes: JUNK
}
