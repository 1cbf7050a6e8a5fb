// Lines and columns of places in the lexer's input, asked for in any order.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "reader/SSLexConsumer.h"
#include "tests/support/CodePageScope.h"

namespace {

// Every character boundary of \p text with its place, by walking the
// characters from the start: a lead byte takes the byte after it, even a
// line feed, unless it is the last byte.
std::vector<std::pair<size_t, SSTextPlace>> Walk(const std::string& text, const LeadByteTable& lead) {
  std::vector<std::pair<size_t, SSTextPlace>> places;
  int32_t line = 1;
  size_t lineStart = 0;
  for (size_t i = 0;;) {
    places.push_back({i, {line, static_cast<int32_t>(i - lineStart) + 1}});
    if (i >= text.size()) break;
    const auto byte = static_cast<unsigned char>(text[i]);
    if (lead[byte] && i + 1 < text.size()) {
      i += 2;
    } else if (text[i++] == '\n') {
      ++line;
      lineStart = i;
    }
  }
  return places;
}

// A text of short and long lines, with runs of lead bytes (0x82 in code
// page 932) before line feeds, of odd and even length.
std::string MixedText() {
  std::mt19937 random(7);
  const std::string pieces[] = {"\n",
                                "\n\n",
                                "ab",
                                "\x82\n",
                                "\x82\x82\n",
                                "\x82\x82\x82\n",
                                "\x82\xa0",
                                std::string(40, 'x'),
                                std::string(100, 'y') + "\n",
                                "<F0>",
                                "\x82"};
  std::string text;
  while (text.size() < 20000) text += pieces[random() % std::size(pieces)];
  return text;
}

void ExpectPlacesInAnyOrder(int32_t codePage) {
  testsupport::CodePageScope scope(codePage);
  const std::string text = MixedText();
  const SSLexConsumer consumer(text, "mixed");
  auto places = Walk(text, consumer.LeadBytes());
  const auto check = [&](const std::pair<size_t, SSTextPlace>& expected) {
    const SSTextPlace got = consumer.PlaceAt(expected.first);
    ASSERT_EQ(got.line, expected.second.line) << "offset " << expected.first;
    ASSERT_EQ(got.column, expected.second.column) << "offset " << expected.first;
  };
  // In order, as the parser mostly asks; each place twice.
  for (size_t i = 0; i < places.size(); i += 3) {
    check(places[i]);
    check(places[i]);
  }
  // Backwards, then in random order: far jumps both ways.
  for (size_t i = places.size(); i-- > 0;) check(places[i]);
  std::shuffle(places.begin(), places.end(), std::mt19937(11));
  places.resize(std::min<size_t>(places.size(), 2000));
  for (const auto& place : places) check(place);
}

TEST(SSLexConsumerPlaces, SingleByteInputInAnyOrder) { ExpectPlacesInAnyOrder(1252); }

TEST(SSLexConsumerPlaces, DoubleByteInputInAnyOrder) { ExpectPlacesInAnyOrder(932); }

TEST(SSLexConsumerPlaces, EndOfInputAndEmptyInput) {
  const SSLexConsumer consumer(std::string("a\nbc\n"), "short");
  EXPECT_EQ(consumer.PlaceAt(5).line, 3);
  EXPECT_EQ(consumer.PlaceAt(5).column, 1);
  EXPECT_EQ(consumer.PlaceAt(4).column, 3);  // back over the last line end
  EXPECT_EQ(consumer.PlaceAt(0).line, 1);
  const SSLexConsumer empty(std::string(), "empty");
  EXPECT_EQ(empty.PlaceAt(0).line, 1);
  EXPECT_EQ(empty.PlaceAt(0).column, 1);
}

// Thousands of line ends between two places, as after a long gap in the
// places asked for; in double-byte input some follow a lead byte near the
// end of the input, where no whole step of sixteen bytes is left.
TEST(SSLexConsumerPlaces, ManyLineEndsAtOnceAndNearTheEnd) {
  for (const int32_t codePage : {1252, 932}) {
    testsupport::CodePageScope scope(codePage);
    const std::string text = std::string(10000, '\n') + "x\x82\nab\n";
    const SSLexConsumer consumer(text, "lines");
    EXPECT_EQ(consumer.PlaceAt(10000).line, 10001) << codePage;
    EXPECT_EQ(consumer.PlaceAt(10003).line, codePage == 932 ? 10001 : 10002) << codePage;
    EXPECT_EQ(consumer.PlaceAt(text.size()).line, codePage == 932 ? 10002 : 10003) << codePage;
    EXPECT_EQ(consumer.PlaceAt(text.size() - 1).column, codePage == 932 ? 6 : 3) << codePage;
  }
}

}  // namespace
