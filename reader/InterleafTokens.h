// The token set of the Interleaf ASCII reader: every token's id and name,
// written once here and shared by the lexer, the table generator and the
// parser.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "reader/SSTokenName.h"

/// Every token as X(identifier, id, name). The name is what traces and
/// typeswap-cli print; it differs from the identifier only for the comma.
#define TS_INTERLEAF_TOKENS(X)                                                   \
  X(EOF_TOKEN, -1, "eof")                                                        \
  X(ERROR_TOKEN, -2, "%error")                                                   \
  X(OPS_START, 51, "OPS_START")                                                  \
  X(INCORRECT_FILE, 52, "INCORRECT_FILE")                                        \
  X(JUNK, 53, "JUNK")                                                            \
  X(TEXT, 54, "TEXT")                                                            \
  X(LESS_THAN, 55, "LESS_THAN")                                                  \
  X(GREATER_THAN, 56, "GREATER_THAN")                                            \
  X(TAG_START, 57, "TAG_START")                                                  \
  X(COMPONENT_START, 58, "COMPONENT_START")                                      \
  X(FONT_CHANGE_START, 59, "FONT_CHANGE_START")                                  \
  X(FRAME_START, 60, "FRAME_START")                                              \
  X(TABLE_START, 61, "TABLE_START")                                              \
  X(MASTER_ROW_START, 62, "MASTER_ROW_START")                                    \
  X(ROW_START, 63, "ROW_START")                                                  \
  X(CELL_START, 64, "CELL_START")                                                \
  X(END_TABLE_START, 65, "END_TABLE_START")                                      \
  X(INCLUDE_DECLARATIONS_START, 66, "INCLUDE_DECLARATIONS_START")                \
  X(INCLUDE_START, 67, "INCLUDE_START")                                          \
  X(PAGE_NUMBER_STREAM_START, 68, "PAGE_NUMBER_STREAM_START")                    \
  X(DOCUMENT_START, 69, "DOCUMENT_START")                                        \
  X(PAGE_START, 70, "PAGE_START")                                                \
  X(SPLIT_DOCUMENT_START, 71, "SPLIT_DOCUMENT_START")                            \
  X(FONT_DEFINITIONS_START, 72, "FONT_DEFINITIONS_START")                        \
  X(COLOR_DEFINITIONS_START, 73, "COLOR_DEFINITIONS_START")                      \
  X(COLOR_NAME_START, 74, "COLOR_NAME_START")                                    \
  X(COLOR_TINT_START, 75, "COLOR_TINT_START")                                    \
  X(PATTERN_DEFINITIONS_START, 76, "PATTERN_DEFINITIONS_START")                  \
  X(REVISION_TRACKING_START, 77, "REVISION_TRACKING_START")                      \
  X(AUTONUMBER_STREAM_START, 78, "AUTONUMBER_STREAM_START")                      \
  X(CLASS_DEFAULTS_START, 79, "CLASS_DEFAULTS_START")                            \
  X(CLASS_START, 80, "CLASS_START")                                              \
  X(MASTER_FRAME_START, 81, "MASTER_FRAME_START")                                \
  X(MASTER_DIAGRAMMING_OBJECT_START, 82, "MASTER_DIAGRAMMING_OBJECT_START")      \
  X(MASTER_TABLE_START, 83, "MASTER_TABLE_START")                                \
  X(PAGE_HEADER_START, 84, "PAGE_HEADER_START")                                  \
  X(PAGE_FOOTER_START, 85, "PAGE_FOOTER_START")                                  \
  X(FIRST_PAGE_HEADER_START, 86, "FIRST_PAGE_HEADER_START")                      \
  X(FIRST_PAGE_FOOTER_START, 87, "FIRST_PAGE_FOOTER_START")                      \
  X(RIGHT_PAGE_HEADER_START, 88, "RIGHT_PAGE_HEADER_START")                      \
  X(RIGHT_PAGE_FOOTER_START, 89, "RIGHT_PAGE_FOOTER_START")                      \
  X(LEFT_PAGE_HEADER_START, 90, "LEFT_PAGE_HEADER_START")                        \
  X(LEFT_PAGE_FOOTER_START, 91, "LEFT_PAGE_FOOTER_START")                        \
  X(MANUAL_COMMENT_START, 92, "MANUAL_COMMENT_START")                            \
  X(TAG, 93, "TAG")                                                              \
  X(END_DECLARATIONS, 94, "END_DECLARATIONS")                                    \
  X(DQUOTED_TEXT, 95, "DQUOTED_TEXT")                                            \
  X(END_DQUOTE, 96, "END_DQUOTE")                                                \
  X(END_SQUOTE, 98, "END_SQUOTE")                                                \
  X(VERSION, 99, "VERSION")                                                      \
  X(CHARACTER_ENCODING, 100, "CHARACTER_ENCODING")                               \
  X(WORD, 101, "WORD")                                                           \
  X(INTEGER, 102, "INTEGER")                                                     \
  X(PERIOD, 103, "PERIOD")                                                       \
  X(OPS_END, 104, "OPS_END")                                                     \
  X(START_DQUOTE, 105, "START_DQUOTE")                                           \
  X(START_SQUOTE, 106, "START_SQUOTE")                                           \
  X(SUBCOMPONENT, 107, "SUBCOMPONENT")                                           \
  X(FONT, 108, "FONT")                                                           \
  X(ALT_FONT, 109, "ALT_FONT")                                                   \
  X(NUMBER, 110, "NUMBER")                                                       \
  X(A_PAGE, 111, "A_PAGE")                                                       \
  X(TAG_END, 112, "TAG_END")                                                     \
  X(FONT_DEFINITION_ELEMENT_START, 113, "FONT_DEFINITION_ELEMENT_START")         \
  X(FONT_DEFINITION_ELEMENT_EQUAL, 115, "FONT_DEFINITION_ELEMENT_EQUAL")         \
  X(FONT_DEFINITION_ELEMENT_BOLD, 116, "FONT_DEFINITION_ELEMENT_BOLD")           \
  X(FONT_DEFINITION_ELEMENT_ITALIC, 117, "FONT_DEFINITION_ELEMENT_ITALIC")       \
  X(FONT_DEFINITION_ELEMENT_UNDERLINE, 118, "FONT_DEFINITION_ELEMENT_UNDERLINE") \
  X(FONT_DEFINITION_ELEMENT_COMMA, 119, "FONT_DEFINITION_ELEMENT_COMMA")         \
  X(FONT_DEFINITION_ELEMENT_WORD, 121, "FONT_DEFINITION_ELEMENT_WORD")           \
  X(FONT_DEFINITION_ELEMENT_SIZE, 122, "FONT_DEFINITION_ELEMENT_SIZE")           \
  X(NUMBERED, 123, "NUMBERED")                                                   \
  X(FRAME_NAME, 124, "FRAME_NAME")                                               \
  X(FRAME_SHARED_CONTENTS, 125, "FRAME_SHARED_CONTENTS")                         \
  X(DIAGRAM_START, 126, "DIAGRAM_START")                                         \
  X(FRAME_END, 127, "FRAME_END")                                                 \
  X(TEXT_STRING_START, 130, "TEXT_STRING_START")                                 \
  X(MICRO_DOCUMENT_START, 131, "MICRO_DOCUMENT_START")                           \
  X(CHART_START, 132, "CHART_START")                                             \
  X(GROUP_START, 134, "GROUP_START")                                             \
  X(NAMED_OBJECT_START, 135, "NAMED_OBJECT_START")                               \
  X(GRAPHIC_OBJECT_START, 136, "GRAPHIC_OBJECT_START")                           \
  X(EQUATION_START, 137, "EQUATION_START")                                       \
  X(OUTLINE_OBJECT_START, 138, "OUTLINE_OBJECT_START")                           \
  X(OLD_STYLE_OUTLINE_OBJECT_START, 140, "OLD_STYLE_OUTLINE_OBJECT_START")       \
  X(DIAGRAM_DATA, 150, "DIAGRAM_DATA")                                           \
  X(COMMA, 152, ",")                                                             \
  X(GROUP_END, 155, "GROUP_END")                                                 \
  X(NAMED_OBJECT_END, 160, "NAMED_OBJECT_END")                                   \
  X(OLD_STYLE_OUTLINE_OBJECT_END, 166, "OLD_STYLE_OUTLINE_OBJECT_END")           \
  X(TEXT_STRING_END, 171, "TEXT_STRING_END")                                     \
  X(GRAPHIC_OBJECT_END, 174, "GRAPHIC_OBJECT_END")                               \
  X(CHART_LABEL_START, 176, "CHART_LABEL_START")                                 \
  X(CHART_END, 178, "CHART_END")                                                 \
  X(CHART_LABEL_END, 180, "CHART_LABEL_END")                                     \
  X(MICRO_DOCUMENT_END, 182, "MICRO_DOCUMENT_END")                               \
  X(END_TEXT, 183, "END_TEXT")

/// Token ids by identifier: InterleafToken::FONT is 108.
namespace InterleafToken {
#define TS_TOKEN_ENUM(ident, id, name) ident = id,
enum : int32_t { TS_INTERLEAF_TOKENS(TS_TOKEN_ENUM) };
#undef TS_TOKEN_ENUM
}  // namespace InterleafToken

/// One entry of the token table.
struct InterleafTokenInfo {
  const char* identifier;  ///< as the lexical rules and the grammar write it
  int32_t id;
  const char* name;  ///< as traces print it
};

/// The whole token table, in id order (eof and %error first).
std::span<const InterleafTokenInfo> InterleafTokens();

/// Every token's printable name, for SSLex::SetTokenNames.
std::span<const SSTokenName> InterleafTokenNames();

/// The id of the token whose identifier or name is \p text.
std::optional<int32_t> InterleafTokenId(std::string_view text);

/// The ids reserved for skip rules: their matches never leave the lexer,
/// so they have no name. The table generator hands them out in order.
std::span<const int32_t> InterleafSkipIds();
