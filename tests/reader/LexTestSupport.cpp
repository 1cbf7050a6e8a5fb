// Helpers for the lexer's tests.
#include "tests/reader/LexTestSupport.h"

#include "platform/CodePage.h"
#include "reader/InterleafTokens.h"
#include "reader/SSException.h"
#include "reader/SSLex.h"

namespace lextest {

namespace {
const std::string kHeader = "<!OPS, Version = 8.0>\n";
constexpr size_t kHeaderTokens = 7;  // OPS_START VERSION 8 . 0 OPS_END and the line feed
}  // namespace

std::string Describe(int32_t id, const std::string& text) {
  std::string out = "?" + std::to_string(id);
  for (const InterleafTokenInfo& t : InterleafTokens())
    if (t.id == id) out = t.identifier;
  if (!text.empty()) out += " " + text;
  return out;
}

std::vector<std::string> Lex(const std::string& text, int32_t codePage) {
  CodePageScope scope(codePage);
  std::vector<std::string> out;
  try {
    SSLex lex(CResourceModule::Embedded(), text, "test.doc");
    // Every call consumes input or returns an empty match, never two in a
    // row at one place: more calls than this would be a hang.
    for (size_t guard = 0; guard <= 2 * text.size() + 2; ++guard) {
      SSRefPtr<SSToken> t = lex.NextToken();
      if (!t) return out;
      out.push_back(Describe(t->Id(), std::string(t->View())));
    }
    out.push_back("HANG");
  } catch (const SSException& e) {
    out.push_back(std::string("ERROR ") + e.what());
  }
  return out;
}

std::vector<std::string> LexBody(const std::string& body, int32_t codePage) {
  std::vector<std::string> all = Lex(kHeader + body, codePage);
  if (all.size() < kHeaderTokens) return all;
  return std::vector<std::string>(all.begin() + kHeaderTokens, all.end());
}

}  // namespace lextest
