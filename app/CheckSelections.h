// The checks page A makes before it opens the load page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

/// Which of page A's three boxes a problem concerns.
enum class SelectionBox { TranslatedFiles, FontFiles, OutputDirectory };

/// The first problem found: the message to show (string id) and the box
/// that gets the focus.
struct SelectionProblem {
  int32_t message;
  SelectionBox box;
};

/// Checks the three selections in this order: each is given (136, 137,
/// 138); every field of each names something that exists (141, 142, 143);
/// no translated file (139) and then no font file (139) lies in the output
/// directory. Fields are cut at ";"; an empty field does not exist.
std::optional<SelectionProblem> CheckSelections(const std::string& translatedFiles, const std::string& fontFiles,
                                                const std::string& outputDirectory);

/// True when \p path lies directly in \p directory: its folder is that
/// folder, as the file system decides (".", "..", symbolic links seen
/// through; names that differ in case are two folders). Closing separators
/// of \p directory do not count, so that "/out/" (or "/") is caught like
/// "/out": output written there would overwrite the input files themselves.
bool LiesInDirectory(const std::string& path, const std::string& directory);

/// True when the file system knows \p path (a file or a folder of any
/// kind); false for an empty path.
bool PathExists(const std::string& path);
