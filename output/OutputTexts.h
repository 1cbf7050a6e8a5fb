// The texts of output's reports and messages, in one place, and the
// printf-style formatting they are filled in with.
#pragma once

#include <cstdio>
#include <string>
#include <type_traits>

namespace outputtext {

// Reports of the line and column reader.
inline constexpr const char* kCouldNotOpenInput = "File Error! Could not open the input file %s. %s\n";
inline constexpr const char* kCouldNotOpenOutput = "Could not open output file %s\n%s\n";
inline constexpr const char* kDirectoryError = "Error: %s, %s\n";
inline constexpr const char* kLineAlreadyRead = "Line %d has already been read - current line is %d.\n";
inline constexpr const char* kEndOfFileLines = "Unexpected End of File in %s. This file does not contain %d lines!";
inline constexpr const char* kColumnAlreadyRead =
    "Character %d on line %d has already been read - current offset is %d.\n";
inline constexpr const char* kEndOfFileColumns =
    "Unexpected End of File in %s. Line %d does not contain %d characters!\n";
inline constexpr const char* kLineTooShort = "Line %d does not contain %d characters!\n";
inline constexpr const char* kFileError = "File Error! %s\n";

// Reports of the replacement lists.
inline constexpr const char* kDuplicateTranslations = "Duplicate translations! %s is translated as %s and %s.\n";
inline constexpr const char* kSameFileName = "Same filename (%s) specified for both Input and Output!\n";
inline constexpr const char* kSkippingOutputFile = "\nFile Error! %s\n- Skipping output file for %s!\n\n";
inline constexpr const char* kNotInPath = "The file %s is not in the path %s.\n\nIt will not be translated!";
inline constexpr const char* kCreatingFile = "Creating file: %s\n";
inline constexpr const char* kFilesCreated = "%d files created.\n";

// Messages of the EUC conversion.
inline constexpr const char* kCouldNotOpenFile = "Could not open file : ";
inline constexpr const char* kCouldNotReadFile = "Could not read file : ";
inline constexpr const char* kCouldNotWriteFile = "Could not write file : ";

// The frame of every numbered report and of each reference inside one.
inline constexpr const char* kNumberedReport = "\n[%d]  %s";
inline constexpr const char* kReferenceLine = "- %s\n";

// Report codes.
inline constexpr int kCodeDuplicate = 3;
inline constexpr int kCodeReader = 50;
inline constexpr int kCodeDefault = 51;

}  // namespace outputtext

namespace outputtext_detail {
template <class T>
decltype(auto) PrintfArg(const T& value) {
  if constexpr (std::is_same_v<T, std::string>) {
    return value.c_str();
  } else {
    return value;
  }
}
}  // namespace outputtext_detail

/// Fills a printf-style \p format; std::string arguments may be passed as
/// they are. Texts of any length are formatted whole.
template <class... Args>
std::string FormatText(const char* format, const Args&... args) {
  int size = std::snprintf(nullptr, 0, format, outputtext_detail::PrintfArg(args)...);
  if (size <= 0) return std::string();
  std::string text(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, outputtext_detail::PrintfArg(args)...);
  text.resize(static_cast<size_t>(size));
  return text;
}
