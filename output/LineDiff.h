// The differences between two texts, line by line, as the hunks of a
// unified diff: what a dry run shows instead of writing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// One line of a hunk: ' ' kept, '-' only before, '+' only after.
struct DiffLine {
  char op;
  std::string text;
};

/// Lines that differ with the unchanged lines around them. Starts count
/// from 1 (0 for an empty side, as unified diffs write them).
struct DiffHunk {
  int32_t beforeStart = 0, beforeCount = 0;
  int32_t afterStart = 0, afterCount = 0;
  std::vector<DiffLine> lines;
};

/// The lines of \p text, each without its LF or CR LF; a last line without
/// a line end counts too. The views point into \p text.
std::vector<std::string_view> SplitLines(std::string_view text);

/// An edit from \p before to \p after, grouped into hunks with
/// \p context unchanged lines around each change; hunks closer than twice
/// that are joined. Empty when the two are equal. The edit is a shortest
/// one (Myers' algorithm on what is left after the common first and last
/// lines) unless that is very large; see Note [large differences].
std::vector<DiffHunk> DiffLines(const std::vector<std::string_view>& before, const std::vector<std::string_view>& after,
                                int32_t context = 3);

/// DiffLines of the files \p before and \p after, read as they are (CR LF
/// or LF). False when one cannot be read.
[[nodiscard]] bool DiffFiles(const std::string& before, const std::string& after, std::vector<DiffHunk>& hunks);

/// The hunk's header line, "@@ -1,4 +1,5 @@".
std::string HunkHeader(const DiffHunk& hunk);
