// Line differences for dry runs.
#include "output/LineDiff.h"

#include <algorithm>
#include <fstream>
#include <sstream>

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    const size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    lines.push_back(text.substr(start, stop - start));
    start = next;
  }
  return lines;
}

namespace {

using Lines = std::vector<std::string_view>;

// See Note [large differences].
constexpr int32_t kExactLimit = 20000;  // lines, before and after together
constexpr int32_t kExactSteps = 2000;
constexpr int32_t kWindow = 64;

// Myers' greedy search for the shortest edit of a[0..n) into b[0..m); the
// edit as one op per line, in order, or nothing when it would take more
// than kExactSteps steps (the O(D^2) trace kept for the way back stays
// small).
std::vector<char> ShortestEdit(const std::string_view* a, int32_t n, const std::string_view* b, int32_t m) {
  const int32_t max = std::min(n + m, kExactSteps);
  std::vector<std::vector<int32_t>> trace;  // V of each step, diagonals -d..d
  std::vector<int32_t> v(2 * static_cast<size_t>(max) + 3, 0);
  const int32_t offset = max + 1;
  int32_t steps = -1;
  for (int32_t d = 0; d <= max && steps < 0; ++d) {
    for (int32_t k = -d; k <= d; k += 2) {
      int32_t x =
          (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) ? v[offset + k + 1] : v[offset + k - 1] + 1;
      int32_t y = x - k;
      while (x < n && y < m && a[x] == b[y]) ++x, ++y;
      v[offset + k] = x;
      if (x >= n && y >= m) {
        steps = d;
        break;
      }
    }
    trace.emplace_back(v.begin() + offset - d, v.begin() + offset + d + 1);
  }
  if (steps < 0) return {};
  // Back from the end, step by step.
  std::vector<char> ops;
  int32_t x = n, y = m;
  for (int32_t d = steps; d > 0; --d) {
    const std::vector<int32_t>& previous = trace[static_cast<size_t>(d - 1)];
    auto at = [&](int32_t k) { return previous[static_cast<size_t>(k + d - 1)]; };
    const int32_t k = x - y;
    const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
    const int32_t previousK = down ? k + 1 : k - 1;
    const int32_t previousX = at(previousK);
    const int32_t previousY = previousX - previousK;
    while (x > previousX && y > previousY) ops.push_back(' '), --x, --y;
    ops.push_back(down ? '+' : '-');
    x = previousX;
    y = previousY;
  }
  while (x > 0 && y > 0) ops.push_back(' '), --x, --y;
  std::reverse(ops.begin(), ops.end());
  return ops;
}

// Note [large differences]: Myers' search costs O((N + M) D) time and its
// trace O(D^2) memory, which a document whose every other paragraph changes
// font (D in the hundred thousands) cannot afford. Beyond kExactLimit lines,
// or kExactSteps steps, the edit is found greedily instead: equal lines are kept; where they
// differ, the nearest way to get in step again within kWindow lines wins
// (k lines inserted, k deleted, or k replaced), in step meaning two equal
// lines in a row so that blank lines do not pair by chance. Output changes
// lines in place and inserts definition lines, so the window finds every
// change; the edit may be longer than the shortest, never wrong.

std::vector<char> GreedyEdit(const std::string_view* a, int32_t n, const std::string_view* b, int32_t m) {
  auto inStep = [&](int32_t i, int32_t j) {
    return i < n && j < m && a[i] == b[j] && (i + 1 >= n || j + 1 >= m || a[i + 1] == b[j + 1]);
  };
  std::vector<char> ops;
  int32_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && a[i] == b[j]) {
      ops.push_back(' ');
      ++i, ++j;
      continue;
    }
    int32_t deleted = 1, inserted = 1;  // nothing in step: one line replaced
    for (int32_t k = 1; k <= kWindow; ++k) {
      if (inStep(i, j + k)) {
        deleted = 0, inserted = k;
        break;
      }
      if (inStep(i + k, j)) {
        deleted = k, inserted = 0;
        break;
      }
      if (inStep(i + k, j + k)) {
        deleted = k, inserted = k;
        break;
      }
    }
    deleted = std::min(deleted, n - i);
    inserted = std::min(inserted, m - j);
    ops.insert(ops.end(), static_cast<size_t>(deleted), '-');
    ops.insert(ops.end(), static_cast<size_t>(inserted), '+');
    i += deleted;
    j += inserted;
  }
  return ops;
}

}  // namespace

std::vector<DiffHunk> DiffLines(const Lines& before, const Lines& after, int32_t context) {
  const int32_t n = static_cast<int32_t>(before.size());
  const int32_t m = static_cast<int32_t>(after.size());
  int32_t head = 0;
  while (head < n && head < m && before[head] == after[head]) ++head;
  int32_t tail = 0;
  while (tail < n - head && tail < m - head && before[n - 1 - tail] == after[m - 1 - tail]) ++tail;

  std::vector<char> ops(static_cast<size_t>(head), ' ');
  const int32_t beforeMiddle = n - head - tail, afterMiddle = m - head - tail;
  // See Note [large differences].
  std::vector<char> middle;
  if (beforeMiddle + afterMiddle <= kExactLimit)
    middle = ShortestEdit(before.data() + head, beforeMiddle, after.data() + head, afterMiddle);
  if (middle.empty() && beforeMiddle + afterMiddle > 0)
    middle = GreedyEdit(before.data() + head, beforeMiddle, after.data() + head, afterMiddle);
  ops.insert(ops.end(), middle.begin(), middle.end());
  ops.insert(ops.end(), static_cast<size_t>(tail), ' ');

  // Line numbers before and after each op.
  std::vector<DiffHunk> hunks;
  const int32_t count = static_cast<int32_t>(ops.size());
  std::vector<int32_t> beforeAt(count + 1), afterAt(count + 1);
  for (int32_t i = 0, b = 0, a = 0; i <= count; ++i) {
    beforeAt[i] = b;
    afterAt[i] = a;
    if (i < count && ops[i] != '+') ++b;
    if (i < count && ops[i] != '-') ++a;
  }
  int32_t i = 0;
  while (i < count) {
    if (ops[i] == ' ') {
      ++i;
      continue;
    }
    // A hunk from context lines before this change to context lines after
    // the last change that lies within 2 * context of the one before it.
    const int32_t start = std::max(0, i - context);
    int32_t end = i;
    int32_t quiet = 0;
    for (int32_t j = i; j < count; ++j) {
      if (ops[j] == ' ') {
        if (++quiet > 2 * context) break;
      } else {
        quiet = 0;
        end = j + 1;
      }
    }
    const int32_t stop = std::min(count, end + context);
    DiffHunk hunk;
    hunk.beforeStart = beforeAt[start] + 1;
    hunk.afterStart = afterAt[start] + 1;
    hunk.beforeCount = beforeAt[stop] - beforeAt[start];
    hunk.afterCount = afterAt[stop] - afterAt[start];
    if (hunk.beforeCount == 0) --hunk.beforeStart;
    if (hunk.afterCount == 0) --hunk.afterStart;
    for (int32_t j = start; j < stop; ++j) {
      hunk.lines.push_back({ops[j], std::string(ops[j] == '+' ? after[afterAt[j]] : before[beforeAt[j]])});
    }
    hunks.push_back(std::move(hunk));
    i = stop;
  }
  return hunks;
}

namespace {
bool ReadWhole(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = std::move(buffer).str();
  return !in.bad();
}
}  // namespace

bool DiffFiles(const std::string& before, const std::string& after, std::vector<DiffHunk>& hunks) {
  std::string beforeText, afterText;
  if (!ReadWhole(before, beforeText) || !ReadWhole(after, afterText)) return false;
  hunks = DiffLines(SplitLines(beforeText), SplitLines(afterText));
  return true;
}

std::string HunkHeader(const DiffHunk& hunk) {
  auto range = [](int32_t start, int32_t count) {
    return count == 1 ? std::to_string(start) : std::to_string(start) + ',' + std::to_string(count);
  };
  return "@@ -" + range(hunk.beforeStart, hunk.beforeCount) + " +" + range(hunk.afterStart, hunk.afterCount) + " @@";
}
