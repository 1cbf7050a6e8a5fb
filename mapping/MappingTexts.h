// Texts of the mapping core's messages and file dialogs that have no
// string-table number.
#pragma once

namespace mappingtext {

/// One line of the message that lists font map files without the header;
/// the path and CR LF follow.
inline constexpr const char* kNotValidMapFile = "Not a valid map file : ";
/// Titles of the Save As... and Load... file dialogs.
inline constexpr const char* kSaveFontMapTitle = "Save Font Map As";
inline constexpr const char* kLoadFontMapTitle = "Load Font Map";

}  // namespace mappingtext
