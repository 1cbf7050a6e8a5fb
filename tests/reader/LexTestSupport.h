// Helpers for the lexer's tests: lexing a text into readable token lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/CodePageScope.h"

namespace lextest {

using testsupport::CodePageScope;

/// One token as "IDENTIFIER text" (COMMA for the comma); the identifier
/// alone when the text is empty.
std::string Describe(int32_t id, const std::string& text);

/// The tokens of \p text (in-memory input, starting in mode 0) as Describe()
/// gives them; a thrown engine error ends the list as "ERROR <message>".
std::vector<std::string> Lex(const std::string& text, int32_t codePage = 1252);

/// As Lex(), for text after a valid header: the header's tokens are left out.
std::vector<std::string> LexBody(const std::string& body, int32_t codePage = 1252);

}  // namespace lextest
