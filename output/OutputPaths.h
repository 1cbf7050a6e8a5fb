// Path texts as output compares and builds them: keys that ignore case,
// directory parts, and where the output directory lies.
#pragma once

#include <optional>
#include <string>
#include <string_view>

/// \p name with ASCII letters upper-cased, leaving both bytes of each
/// double-byte character of the process code page alone.
std::string UpperCaseName(std::string_view name);

/// The text before the last '/' of \p path; empty when there is none.
std::string DirectoryPart(const std::string& path);

/// \p directory with a trailing '/' added when it lacks one (empty stays empty).
std::string WithTrailingSlash(std::string directory);

/// Where output goes: an absolute \p outputDirectory (beginning with '/') as
/// it is, a relative one below \p inputRoot; always with a trailing '/'.
std::string ResolveOutputDirectory(const std::string& inputRoot, const std::string& outputDirectory);

/// Where the copy of \p inputName goes: \p outputRoot (as given by
/// ResolveOutputDirectory) plus the name's path below \p inputRoot (with its
/// trailing '/'); nothing when the name does not lie below \p inputRoot.
std::optional<std::string> OutputPathFor(const std::string& inputRoot, const std::string& outputRoot,
                                         const std::string& inputName);

/// Whether \p text begins with \p prefix, ASCII case ignored.
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);
