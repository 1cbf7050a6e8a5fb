// The program's string table: every user-visible text, looked up by number.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

/// Texts by id, as read from a string table source.
using StringTableMap = std::unordered_map<int32_t, std::string>;

/// Reads string table text: one entry per line as <id><TAB><text>, where the
/// text may use the escapes \n, \r, \t and \\; blank lines and lines that
/// begin with '#' are skipped, and so is any line without a valid id.
StringTableMap ParseStringTable(std::string_view source);

/// The text with \p id from the string table built into the program, or an
/// empty string when there is none. The table is read on first use.
/// Programs that call this link ts_resources, which holds the table.
std::string LoadResString(int32_t id);

/// Every text of the built-in string table, by id: what the front ends
/// hand to the foundation library as the program's own string table.
std::map<uint32_t, std::string> StringTableTexts();
