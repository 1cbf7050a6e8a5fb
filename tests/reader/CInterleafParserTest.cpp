// The parse actions: which references each construct records, with what
// category, component, kind and piece; rejections; the stop request.
#include "reader/CInterleafParser.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/CFontReferenceList.h"
#include "platform/MessagePump.h"
#include "platform/Resources.h"
#include "reader/CParseHost.h"
#include "reader/SSLex.h"

namespace {

// Records what the parser tells its host; asks to stop when stopAt is the
// production being reduced.
class FakeHost : public CParseHost {
 public:
  void ReportParseError(int32_t code) override { codes.push_back(code); }
  void LogStopped() override { ++stoppedLines; }
  bool StopRequested() override { return production == stopAt; }

  std::vector<int32_t> codes;
  int32_t stoppedLines = 0;
  int32_t production = -1;
  int32_t stopAt = -2;
};

// Tells the host which production is being reduced.
class ProbeParser : public CInterleafParser {
 public:
  ProbeParser(CFontReferenceList& model, FakeHost& host) : CInterleafParser(model, host), host_(host) {}
  SSRefPtr<SSYaccStackElement> Reduce(int32_t production, int32_t length) override {
    host_.production = production;
    return CInterleafParser::Reduce(production, length);
  }

 private:
  FakeHost& host_;
};

struct Parse {
  explicit Parse(const std::string& name = "parse-test.doc") { model.SetCurrentFileName(name); }
  int32_t Run(const std::string& text) {
    ProbeParser parser(model, host);
    parser.LoadTable(CResourceModule::Embedded(), "TYPESWAP", "YaccTable");
    SSLex lex(CResourceModule::Embedded(), text, model.GetCurrentFileName());
    parser.SetLex(lex);
    int32_t result = parser.Parse();
    errors = parser.ErrorCount();
    aborted = parser.Aborted();
    return result;
  }
  CFontReferenceList model;
  FakeHost host;
  int32_t errors = 0;
  bool aborted = false;
};

// One reference as "category|component|kind|piece text|l:c-l:c".
std::string Describe(const CFontReference& r) {
  const CTextPiece& p = r.GetPiece();
  return r.GetCategory() + "|" + r.GetComponent() + "|" + std::to_string(r.GetKind()) + "|" +
         p.GetText() + "|" + std::to_string(p.GetStartLine()) + ":" +
         std::to_string(p.GetStartColumn()) + "-" + std::to_string(p.GetEndLine()) + ":" +
         std::to_string(p.GetEndColumn());
}

std::vector<std::string> DescribeAll(const CFontReferenceList& model) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < model.Count(); ++i) out.push_back(Describe(*model.GetAt(i)));
  return out;
}

const std::string kHeader = "<!OPS, Version = 8.0>\n\n";

}  // namespace

TEST(CInterleafParser, RecordsEveryKindOfReference) {
  const std::string doc = kHeader +
      "<!Font Definitions,\n"                                    // 3
      "\tF3 = Times 10 Bold,\n"                                  // 4
      "\tF5 = Helvetica 12 Bold Italic,\n"                       // 5
      "\tF6 = Courier 9 Italic>\n"                               // 6
      "<!Class, \"body\", Font = F3, Alt Font = F5>\n"           // 7
      "<!Class, \"a|:b\", Font = F6>\n"                          // 8
      "<!End Declarations>\n"                                    // 9
      "<\"body\">\n"                                             // 10
      "Text <F7>x<F0> y.\n"                                      // 11
      "<\"a|:b\", Font = F5>\n"                                  // 12
      "<Table, Font = F3>\n"                                     // 13
      "<Frame, Diagram =\nV11,\n"                                // 14-15
      "(g9,1,0,\n"                                               // 16
      " (t14,1,4,,0.5,0.4,2,7,0,0,,wst:helv10b,Caption)\n"       // 17
      " (t14,2,4,,0.5,0.9,2,7,0,0,,,Unnamed)\n"                  // 18
      " (c9,1,2,3,4,5,6,7,hel12b,9)\n"                           // 19
      " (c9,1,2,3,4,5,6,7,,9)\n"                                 // 20
      " (T8,1,2,3,4,5,6,7,8,9,10,11,12,13,\n"                    // 21
      "<!Page, Width = 3 inches>\n"                              // 22
      "<\"body\",Font = F6>\n"                                   // 23
      "Legend <F3>bold<F0>.\n"                                   // 24
      "<End Text>))>\n";                                         // 25
  Parse p;
  EXPECT_EQ(0, p.Run(doc));
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
            DescribeAll(p.model));
  EXPECT_TRUE(p.host.codes.empty());
  EXPECT_EQ(0, p.errors);

  // Definitions keep the spaces the lexer gives the family.
  EXPECT_EQ("F3  Times  10 Bold \nF5  Helvetica  12 Bold Italic \nF6  Courier  9 Italic \n",
            p.model.GetFontDefinitionsText());
  ASSERT_EQ(1u, p.model.GetFontDefinitionsPieces().size());
  EXPECT_EQ("<!Font Definitions,", p.model.GetFontDefinitionsPieces()[0].GetText());
  EXPECT_EQ("6", p.model.GetHighestFontNumber());

  // Every piece belongs to the file and can be addressed, the empty ones too.
  for (int32_t i = 0; i < p.model.Count(); ++i) {
    const CTextPiece& piece = p.model.GetAt(i)->GetPiece();
    EXPECT_TRUE(piece.HasValidPosition()) << Describe(*p.model.GetAt(i));
    EXPECT_EQ("parse-test.doc", piece.GetFileName());
  }
  // The definition read resolves the references to it.
  const CFontReference& body = *p.model.GetAt(3);
  EXPECT_EQ("F3", body.GetFontKey());
  EXPECT_EQ("Times", body.GetFamily());
  EXPECT_EQ("Bold", body.GetBold());
}

TEST(CInterleafParser, ShiftJisHeaderIsKeptOtherEncodingsRejected) {
  const std::string sjis = "<!OPS, Version = 8.0 Character Encoding = SJIS>\n<F2>x\n";
  Parse ok;
  ok.Run(sjis);
  EXPECT_EQ(1, ok.model.GetIsShiftJis());
  EXPECT_EQ(1, ok.model.Count());
  EXPECT_FALSE(ok.aborted);

  for (std::string word : {"EUC", "sjis", "SJIS2"}) {
    const std::string doc = "<!OPS, Version = 8.0 Character Encoding = " + word + ">\n<F2>x\n";
    Parse bad;
    bad.Run(doc);
    EXPECT_EQ(std::vector<int32_t>{1070}, bad.host.codes) << word;
    EXPECT_EQ(1, bad.errors);
    EXPECT_TRUE(bad.aborted);
    EXPECT_EQ(0, bad.model.GetIsShiftJis());
    EXPECT_EQ(0, bad.model.Count()) << "the parse ends at the header";
  }
}

TEST(CInterleafParser, UnsupportedConstructsRejectTheFile) {
  struct Case {
    std::string text;
    int32_t code;
  };
  const Case cases[] = {
      {"<!Class Defaults, Font = F2>\n", 1080},
      {"<!Revision Tracking, Enabled = yes>\n", 1030},
      {"<!APage, Number = 3>\n", 1040},
      {"<Comment, Author = me>\n", 1090},
      {"<!Comment, Author = me>\n", 1090},
      {"<!Include Declarations, File = \"x.sty\">\n", 1100},
      {"<!Include, File = \"x.doc\">\n", 1110},
      {"<!Page, A-Page>\n", 1040},
  };
  for (const Case& c : cases) {
    const std::string doc = kHeader + c.text + "<F2>after\n";
    Parse p;
    p.Run(doc);
    EXPECT_EQ(std::vector<int32_t>{c.code}, p.host.codes) << c.text;
    EXPECT_EQ(1, p.errors) << c.text;
    EXPECT_TRUE(p.aborted) << c.text;
    EXPECT_EQ(0, p.model.Count()) << c.text << ": nothing after the rejection is read";
  }
  // Not a manual comment: the plain tag, and an Alt Font setting.
  const std::string fine = kHeader + "<Comment>\n<!Class, \"x\", Alt Font = F5>\n";
  Parse p;
  EXPECT_EQ(0, p.Run(fine));
  EXPECT_TRUE(p.host.codes.empty());
  EXPECT_EQ(0, p.model.Count());
}

TEST(CInterleafParser, TextWithoutHeaderIsNotInterleaf) {
  const std::string doc = "Just text.\n";
  Parse p;
  p.Run(doc);
  EXPECT_EQ(std::vector<int32_t>{1000}, p.host.codes);
  EXPECT_EQ(1, p.errors);
}

TEST(CInterleafParser, StopEndsTheParseAfterTheReductionInProgress) {
  std::string doc = kHeader + "<!Font Definitions,\n\tF2 = Times 10,\n\tF3 = Times 12>\n";
  for (int i = 0; i < 20; ++i) doc += "<F2>text<F0>\n";
  Parse p;
  int32_t pumped = 0;
  MessagePumpHook previous = SetMessagePump([&pumped] { ++pumped; });
  p.host.stopAt = 22;  // the first font definition
  EXPECT_EQ(1, p.Run(doc));
  SetMessagePump(previous);
  EXPECT_EQ(1, p.host.stoppedLines);
  EXPECT_TRUE(p.aborted);
  EXPECT_EQ(0, p.errors);
  EXPECT_GT(pumped, 5) << "the user interface breathes at every reduction";
  // The definition being reduced is still recorded; nothing after it.
  EXPECT_EQ(std::vector<std::string>{"Font Definition|Font Definition|-1|F2|4:2-4:4"},
            DescribeAll(p.model));
  EXPECT_EQ("F2  Times  10 \n", p.model.GetFontDefinitionsText());
}
