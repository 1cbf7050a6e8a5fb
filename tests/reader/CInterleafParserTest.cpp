// The parse actions: which references each construct records, with what
// category, component, kind and piece; rejections; the stop request.
#include <gtest/gtest.h>

#include <memory>

#include "model/CFontReferenceList.h"
#include "platform/Resources.h"
#include "reader/CInterleafParser.h"
#include "reader/CParseHost.h"
#include "reader/SSLex.h"
#include "reader/SSLexConsumer.h"
#include "resources/InterleafProductions.h"
#include "tests/support/TestSupport.h"

namespace {

// Records what the parser reports; asks to stop while production stopAt
// is being reduced.
class TestParser : public CInterleafParser, public CParseHost {
 public:
  explicit TestParser(CFontReferenceList& model) : CInterleafParser(model, *this) {}
  void ReportParseError(int32_t code) override { codes.push_back(code); }
  void LogStopped() override { ++stoppedLines; }
  bool StopRequested() override { return production == stopAt; }
  SSRefPtr<SSYaccStackElement> Reduce(int32_t p, int32_t length) override {
    production = p;
    return CInterleafParser::Reduce(p, length);
  }
  std::vector<int32_t> codes;
  int32_t stoppedLines = 0, production = -1, stopAt = -1;
};

struct Parse {
  explicit Parse(const std::string& text, int32_t stopAt = -1) : parser(ModelFor()) {
    parser.stopAt = stopAt;
    Run(std::make_unique<SSLexConsumer>(text, "parse-test.doc"));
  }
  /// Parses \p text from a file, read through a window of \p window bytes.
  Parse(const std::string& text, size_t window) : parser(ModelFor()) {
    testsupport::TempDir dir;
    Run(std::make_unique<SSLexConsumer>(dir.Write("parse-test.doc", text), window));
  }
  void Run(std::unique_ptr<SSLexConsumer> input) {
    parser.LoadTable(CResourceModule::Embedded(), "TYPESWAP", "YaccTable");
    SSLex lex(CResourceModule::Embedded(), std::move(input));
    parser.SetLex(lex);
    result = parser.Parse();
  }
  CFontReferenceList& ModelFor() {
    model.SetCurrentFileName("parse-test.doc");
    return model;
  }
  // Each reference as "category|component|kind|piece text|l:c-l:c".
  std::vector<std::string> References() const {
    std::vector<std::string> out;
    for (int32_t i = 0; i < model.Count(); ++i) {
      const CFontReference& r = *model.GetAt(i);
      const CTextPiece& p = r.GetPiece();
      out.push_back(r.GetCategory() + "|" + r.GetComponent() + "|" + std::to_string(r.GetKind()) + "|" + p.GetText() +
                    "|" + std::to_string(p.GetStartLine()) + ":" + std::to_string(p.GetStartColumn()) + "-" +
                    std::to_string(p.GetEndLine()) + ":" + std::to_string(p.GetEndColumn()));
    }
    return out;
  }
  CFontReferenceList model;
  TestParser parser;
  int32_t result = -1;
};

const std::string kHeader = "<!OPS, Version = 8.0>\n\n";

// A document with every kind of reference; the lines are numbered for the
// test that expects them.
std::string EveryKindOfReference() {
  return kHeader +
         "<!Font Definitions,\n"                               // 3
         "\tF3 = Times 10 Bold,\n"                             // 4
         "\tF5 = Helvetica 12 Bold Italic,\n"                  // 5
         "\tF6 = Courier 9 Italic>\n"                          // 6
         "<!Class, \"body\", Font = F3, Alt Font = F5>\n"      // 7
         "<!Class, \"a|:b\", Font = F6>\n"                     // 8
         "<!End Declarations>\n"                               // 9
         "<\"body\">\n"                                        // 10
         "Text <F7>x<F0> y.\n"                                 // 11
         "<\"a|:b\", Font = F5>\n"                             // 12
         "<Table, Font = F3>\n"                                // 13
         "<Frame, Diagram =\nV11,\n"                           // 14-15
         "(g9,1,0,\n"                                          // 16
         " (t14,1,4,,0.5,0.4,2,7,0,0,,wst:helv10b,Caption)\n"  // 17
         " (t14,2,4,,0.5,0.9,2,7,0,0,,,Unnamed)\n"             // 18
         " (c9,1,2,3,4,5,6,7,hel12b,9)\n"                      // 19
         " (c9,1,2,3,4,5,6,7,,9)\n"                            // 20
         " (T8,1,2,3,4,5,6,7,8,9,10,11,12,13,\n"               // 21
         "<!Page, Width = 3 inches>\n"                         // 22
         "<\"body\",Font = F6>\n"                              // 23
         "Legend <F3>bold<F0>.\n"                              // 24
         "<End Text>))>\n";
}

}  // namespace

TEST(CInterleafParser, RecordsEveryKindOfReference) {
  Parse p(EveryKindOfReference());
  EXPECT_EQ(0, p.result);
  EXPECT_EQ(std::vector<std::string>({
                "Font Definition|Font Definition|-1|F3|4:2-4:4",
                "Font Definition|Font Definition|-1|F5|5:2-5:4",
                "Font Definition|Font Definition|-1|F6|6:2-6:4",
                "Font Number|body|0|3|7:26-7:27",
                "Font Number|a|:b|2|6|8:26-8:27",
                "Font Change|Font Change|-1|<F7|11:6-11:9",
                "Font Number|a|:b|3|5|12:18-12:19",
                // A table tag keeps the last component and its kind.
                "Font Number|a|:b|3|3|13:17-13:18",
                "Text String Font|Text String Font|-1|wst:helv10b|17:29-17:40",
                // An empty font field: an empty piece where the field stands.
                "Diagram Font Empty|a|:b|-1||18:29-18:29",
                "Chart Font|Chart Font|-1|hel12b|19:20-19:26",
                "Chart Font Empty|Chart Font Empty|-1||20:20-20:20",
                // In a micro-document only component starts count.
                "Font Number|body|1|6|23:17-23:18",
            }),
            p.References());
  EXPECT_TRUE(p.parser.codes.empty());
  // Definitions keep the spaces the lexer gives the family, and are read
  // before their own reference, which resolves against them.
  EXPECT_EQ("F3  Times  10 Bold \nF5  Helvetica  12 Bold Italic \nF6  Courier  9 Italic \n",
            p.model.GetFontDefinitionsText());
  EXPECT_EQ("Bold", p.model.GetAt(0)->GetBold());
  ASSERT_EQ(1u, p.model.GetFontDefinitionsPieces().size());
  EXPECT_EQ("<!Font Definitions,", p.model.GetFontDefinitionsPieces()[0].GetText());
  for (int32_t i = 0; i < p.model.Count(); ++i) {
    EXPECT_TRUE(p.model.GetAt(i)->GetPiece().HasValidPosition()) << i;
    EXPECT_EQ("parse-test.doc", p.model.GetAt(i)->GetPiece().GetFileName());
  }
}

// A file is read through a window that moves on while the parse still
// holds tokens: the font definitions' start token is asked for when the
// whole list has been read, many windows later.
TEST(CInterleafParser, TokensHeldOnTheStackOutliveTheWindowTheyCameIn) {
  std::string definitions;
  for (int i = 3; i < 400; ++i) definitions += "\tF" + std::to_string(i) + " = Times " + std::to_string(i % 30) + ",\n";
  const std::string longList = kHeader + "<!Font Definitions,\n" + definitions + "\tF400 = Courier 9>\n<F7>x\n";
  for (const std::string& text : {EveryKindOfReference(), longList}) {
    const Parse whole(text);
    ASSERT_EQ(0, whole.result);
    ASSERT_GT(whole.model.Count(), 5);
    for (const size_t window : {2, 7, 64, 1000}) {
      const Parse windowed(text, window);
      EXPECT_EQ(whole.result, windowed.result) << window;
      EXPECT_EQ(whole.References(), windowed.References()) << window;
      ASSERT_EQ(1u, windowed.model.GetFontDefinitionsPieces().size()) << window;
      const CTextPiece& piece = windowed.model.GetFontDefinitionsPieces()[0];
      EXPECT_EQ("<!Font Definitions,", piece.GetText()) << window;
      EXPECT_EQ(3, piece.GetStartLine()) << window;
      EXPECT_EQ(whole.model.GetFontDefinitionsText(), windowed.model.GetFontDefinitionsText()) << window;
    }
  }
}

TEST(CInterleafParser, ShiftJisHeaderIsKept) {
  Parse p("<!OPS, Version = 8.0 Character Encoding = SJIS>\n<F2>x\n");
  EXPECT_EQ(1, p.model.GetIsShiftJis());
  EXPECT_EQ(1, p.model.Count());
  EXPECT_EQ(0, p.parser.ErrorCount());
}

TEST(CInterleafParser, UnsupportedConstructsRejectTheFile) {
  const std::pair<std::string, int32_t> cases[] = {
      {"<!OPS, Version = 8.0 Character Encoding = EUC>\n", 1070},
      {"<!OPS, Version = 8.0 Character Encoding = sjis>\n", 1070},
      {kHeader + "<!Class Defaults, Font = F2>\n", 1080},
      {kHeader + "<!Revision Tracking, Enabled = yes>\n", 1030},
      {kHeader + "<!APage, Number = 3>\n", 1040},
      {kHeader + "<!Page, A-Page>\n", 1040},
      {kHeader + "<Comment, Author = me>\n", 1090},
      {kHeader + "<!Comment, Author = me>\n", 1090},
      {kHeader + "<!Include Declarations, File = \"x.sty\">\n", 1100},
      {kHeader + "<!Include, File = \"x.doc\">\n", 1110},
      {"Just text.\n", 1000},
  };
  for (const auto& [text, code] : cases) {
    Parse p(text + "<F2>after\n");
    EXPECT_EQ(std::vector<int32_t>{code}, p.parser.codes) << text;
    EXPECT_EQ(1, p.parser.ErrorCount()) << text;
    EXPECT_TRUE(p.parser.Aborted()) << text;
    EXPECT_EQ(0, p.model.Count()) << text << ": nothing after the rejection is read";
  }
  Parse fine(kHeader + "<Comment>\n<!Class, \"x\", Alt Font = F5>\n");
  EXPECT_TRUE(fine.parser.codes.empty());
  EXPECT_EQ(0, fine.model.Count());
}

TEST(CInterleafParser, StopEndsTheParseAfterTheReductionInProgress) {
  std::string doc = kHeader + "<!Font Definitions,\n\tF2 = Times 10,\n\tF3 = Times 12>\n";
  for (int i = 0; i < 20; ++i) doc += "<F2>text<F0>\n";
  Parse p(doc, productions::kDefinition);  // stop while the first definition is reduced
  EXPECT_EQ(1, p.result);
  EXPECT_EQ(1, p.parser.stoppedLines);
  EXPECT_EQ(0, p.parser.ErrorCount());
  EXPECT_EQ(std::vector<std::string>{"Font Definition|Font Definition|-1|F2|4:2-4:4"}, p.References());
}
