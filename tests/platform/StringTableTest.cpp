// The string table: its source format, and the texts built into the program.
#include <gtest/gtest.h>

#include "platform/StringIds.h"
#include "platform/StringTable.h"

TEST(StringTable, ParsesIdsTextsAndEscapes) {
  StringTableMap t = ParseStringTable(
      "# comment\n\n101\tplain\r\n102\ta\\nb\\tc\\rd\\\\e\\q\n103\t\n104\ttrailing \nx\tbad\n\tnoid\n");
  EXPECT_EQ("plain", t[101]);
  EXPECT_EQ("a\nb\tc\rd\\e\\q", t[102]);
  EXPECT_EQ("", t.at(103));
  EXPECT_EQ("trailing ", t[104]);
  EXPECT_EQ(4u, t.size());
}

TEST(StringTable, BuiltInTextsAreExact) {
  EXPECT_EQ("&About Typeswap...", LoadResString(IdsAboutMenuItem));
  EXPECT_EQ(" Prefix", LoadResString(IdsKindComponentPrefix));
  // Continued messages keep the space at their end.
  EXPECT_EQ("ERROR! KORVIN Typeswap does not support manually edited Interleaf ASCII files. ",
            LoadResString(IdsLogManuallyEdited));
  EXPECT_EQ("ERROR! KORVIN Typeswap does not support revision tracking. Turn off the ",
            LoadResString(IdsLogRevisionTracking));
  EXPECT_EQ("Open the document in Interleaf and save it as Interleaf ASCII. Do not make any ",
            LoadResString(IdsLogSaveAsInterleafAscii));
  EXPECT_EQ("Processing: ", LoadResString(IdsLogProcessing));
  EXPECT_EQ("File Error! The disk is full.", LoadResString(IdsFileErrorDiskFull));
  EXPECT_EQ("Select Ouput Files Directory", LoadResString(IdsTitleSelectOutputDirectory));
  EXPECT_EQ("", LoadResString(193));
  EXPECT_EQ("", LoadResString(99999));
}
