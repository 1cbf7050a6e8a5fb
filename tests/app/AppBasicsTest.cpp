// The wizard core's small operations: cutting selection texts, file error texts, log lines,
// the stop flag, and the choices record's source directory.
#include <gtest/gtest.h>

#include <vector>

#include "app/AppendLogLine.h"
#include "app/CMemoryLoadLog.h"
#include "app/CWizardChoices.h"
#include "app/FileErrorText.h"
#include "app/NextField.h"
#include "app/StopFlag.h"

namespace {
std::vector<std::string> Fields(std::string text) {
  std::vector<std::string> out;
  std::string field = "untouched";
  while (NextField(";", field, text)) out.push_back(field);
  EXPECT_EQ("", text);
  return out;
}
}  // namespace

TEST(NextField, CutsSelectionTexts) {
  EXPECT_EQ((std::vector<std::string>{"A", "B"}), Fields("A;B;"));
  EXPECT_EQ((std::vector<std::string>{"A", "", "B"}), Fields("A;;B"));
  EXPECT_EQ((std::vector<std::string>{"/x/a.doc"}), Fields("/x/a.doc"));
  EXPECT_TRUE(Fields("").empty());

  std::string field = "kept";
  std::string rest;
  EXPECT_FALSE(NextField(";", field, rest));
  EXPECT_EQ("kept", field);
  rest = "a;b";
  EXPECT_TRUE(NextField("", field, rest));  // no separator: one field
  EXPECT_EQ("a;b", field);
}

TEST(FileErrorText, NamesEachCause) {
  EXPECT_EQ("File Error! No error occurred.", FileErrorText(CFileException(0)));
  EXPECT_EQ("File Error! The file could not be located.", FileErrorText(CFileException(2)));
  EXPECT_EQ("File Error! SHARE.EXE was not loaded, or a shared region was locked.", FileErrorText(CFileException(11)));
  EXPECT_EQ("File Error! The disk is full.", FileErrorText(CFileException(13)));
  EXPECT_EQ("File Error! The end of file was reached.", FileErrorText(CFileException(14)));
  EXPECT_EQ("File Error! An unspecified error occurred.", FileErrorText(CFileException(15)));
  EXPECT_EQ("File Error! An unspecified error occurred.", FileErrorText(CFileException(-1)));
  for (int32_t cause = 0; cause <= 14; ++cause) {
    EXPECT_EQ(0u, FileErrorText(CFileException(cause)).rfind("File Error! ", 0)) << cause;
  }
}

TEST(LoadLog, KeepsLinesInOrderWithHowTheyWereAdded) {
  CMemoryLoadLog log;
  EXPECT_EQ(0, AppendLogLine(log, "first"));
  EXPECT_EQ(1, log.AppendPlain(""));
  EXPECT_EQ(2, log.GetLineCount());
  EXPECT_TRUE(log.Lines()[0].shown);
  EXPECT_FALSE(log.Lines()[1].shown);
  EXPECT_EQ("first", log.GetLine(0));
  EXPECT_EQ("", log.GetLine(5));
}

TEST(StopFlag, IsOneByteSetAndCleared) {
  SetStopFlag(1);
  EXPECT_EQ(1, GetStopFlag());
  SetStopFlag(0);
  EXPECT_EQ(0, GetStopFlag());
}

TEST(CWizardChoices, KeepsTheChoicesAndFindsTheSourceDirectory) {
  CWizardChoices c("C:\\DOCS\\IN\\A.DOC;C:\\X\\B.DOC;", "/f/fonts.doc;", "/out", 2);
  EXPECT_EQ("C:\\DOCS\\IN", c.GetSourceDirectory());
  EXPECT_EQ("/f/fonts.doc;", c.GetFontFiles());
  EXPECT_EQ("/out", c.GetOutputDirectory());
  EXPECT_EQ(FontFilesMapFiles, c.GetFontFileType());
  EXPECT_EQ("/docs/in", CWizardChoices::SourceDirectoryOf("/docs/in/a.doc;/x/b.doc;"));
}

// Only the first path counts: a dot in a directory name, or a first file
// without an extension, must not move the directory elsewhere.
TEST(CWizardChoices, SourceDirectoryIsTheFirstFilesDirectory) {
  EXPECT_EQ("/home/j.doe/docs", CWizardChoices::SourceDirectoryOf("/home/j.doe/docs/a.doc;"));
  EXPECT_EQ("/docs/in", CWizardChoices::SourceDirectoryOf("/docs/in/README;/x/b.doc;"));
  EXPECT_EQ("", CWizardChoices::SourceDirectoryOf("a.doc;"));
  EXPECT_EQ("", CWizardChoices::SourceDirectoryOf(""));
}
