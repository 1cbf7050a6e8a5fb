// Forward reading by line and column, and safe writing, of output's files.
#include "output/CRCFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "output/OutputPaths.h"
#include "platform/CodePage.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// Texts between replacements are usually short; this is where they start.
constexpr size_t kStretchRoom = 49152;
// The most a copy straight into the output buffer looks at.
constexpr size_t kCopyInBlock = 16384;
}  // namespace

// Note [line ends after lead bytes]: the lexer reads a lead byte of the
// process code page and the byte after it as one character, even when that
// byte is a line feed; the line feed then ends no line, and the columns of
// the rest of the line run on. Positions come from the lexer, so this
// reader counts the same way: a line feed right after a lead byte is part
// of the line.
//
// A byte that is no lead byte ends a character, whether it stands alone or
// is a trail byte, so a character starts right after it. Between such a
// boundary and a line feed, the line feed is a trail byte exactly when an
// odd number of lead-byte values precede it (IsTrailByteAt); that keeps
// the search at memchr's speed.
namespace {

// IsTrailByteAt by offsets into \p data.
bool IsTrailAt(const LeadByteTable& leadBytes, const char* data, size_t boundary, size_t end) {
  return IsTrailByteAt(leadBytes, data + boundary, data + end);
}

}  // namespace

const void* CRCFile::FindLineEnd(const char* data, size_t size) {
  // Always in the read buffer, which may be read past its end
  // (CTextModeInput::kReadSlack).
  if (!doubleByte_) return FindLineFeed(data, size);
  size_t boundary = 0;  // where a character starts for certain
  if (trailNext_ && size > 0) {
    boundary = 1;
    trailNext_ = false;
  }
  for (size_t from = boundary;;) {
    const void* lf = FindLineFeed(data + from, size - from);
    if (lf == nullptr) {
      trailNext_ = IsTrailAt(leadBytes_, data, boundary, size);
      return nullptr;
    }
    const size_t at = static_cast<size_t>(static_cast<const char*>(lf) - data);
    if (!IsTrailAt(leadBytes_, data, boundary, at)) return lf;
    boundary = from = at + 1;  // a trail byte: the next character starts after it
  }
}

size_t CRCFile::SkipLineEnds(const char* data, size_t size, int32_t& wanted) {
#if defined(__SSE2__)
  // Lines are a few dozen bytes: looking at the line feeds of a block of 16
  // bytes at once beats looking for them one by one. Each line feed is
  // taken as FindLineEnd would take it; see Note [line ends after lead
  // bytes].
  size_t taken = 0;
  size_t boundary = 0;  // where a character starts for certain
  if (doubleByte_ && trailNext_ && size > 0) {
    boundary = 1;
    trailNext_ = false;
  }
  auto endsLine = [&](size_t at) {
    if (doubleByte_ && IsTrailAt(leadBytes_, data, boundary, at)) {
      boundary = at + 1;
      return false;
    }
    taken = boundary = at + 1;
    return --wanted == 0;
  };
  size_t from = boundary;
  const __m128i lf = _mm_set1_epi8('\n');
  for (; size - from >= 16; from += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
    for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf))); mask != 0;
         mask &= mask - 1) {
      if (endsLine(from + static_cast<size_t>(__builtin_ctz(mask)))) return taken;
    }
  }
  for (; from < size; ++from) {
    if (data[from] == '\n' && endsLine(from)) return taken;
  }
  if (doubleByte_) trailNext_ = IsTrailAt(leadBytes_, data, boundary, size);
  return taken;
#else
  size_t taken = 0;
  while (wanted > 0) {
    const void* lf = FindLineEnd(data + taken, size - taken);
    if (lf == nullptr) break;
    taken = static_cast<size_t>(static_cast<const char*>(lf) - data) + 1;
    --wanted;
  }
  return taken;
#endif
}

size_t CRCFile::ReachInBlock(int32_t line, int32_t column) {
  if (!forReading_ || !input_.IsOpen() || line < currentLine_) return 0;
  // The calls of ReadLines and ReadColumns when the block holds it all,
  // each on the bytes it would see.
  const std::string_view block = input_.Available();
  const bool trailNext = trailNext_;
  size_t lines = 0;  // the bytes up to the line
  int32_t from = currentColumn_;
  if (line > currentLine_) {
    int32_t wanted = line - currentLine_;
    lines = SkipLineEnds(block.data(), block.size(), wanted);
    if (wanted != 0) {
      trailNext_ = trailNext;
      return 0;
    }
    from = 1;
  }
  if (column < from || static_cast<size_t>(column - from) > block.size() - lines) {
    trailNext_ = trailNext;
    return 0;
  }
  const size_t columns = static_cast<size_t>(column - from);
  if (columns != 0 && FindLineEnd(block.data() + lines, columns) != nullptr) {
    trailNext_ = trailNext;
    return 0;
  }
  return lines + columns;
}

std::optional<CopiedSpan> CRCFile::CopyInBlock(int32_t line, int32_t column, CRCFile& output) {
  if (!forReading_ || !input_.IsOpen() || line < currentLine_) return std::nullopt;
  const int32_t lines = line - currentLine_;
  const int32_t from = lines > 0 ? 1 : currentColumn_;
  if (column < from) return std::nullopt;
  // Looked for within a part of the block that the output buffer takes
  // at once, whatever its line feeds.
  const std::string_view block = input_.Available();
  const size_t size = std::min(block.size(), kCopyInBlock);
  char* place = nullptr;
  if (int err = output.output_.Reserve(2 * size, place)) output.Fail(err, output.fileName_);
  if (place == nullptr) return std::nullopt;
  const size_t columns = static_cast<size_t>(column - from);
  if (doubleByte_) return CopyToPosition(block.data(), size, place, lines, columns, leadBytes_, trailNext_);
  return CopyToPosition(block.data(), size, place, lines, columns);
}

bool CRCFile::SkipFurther(int32_t line, int32_t column) {
  // A line feed within the line (the second byte of a character) is
  // ReachInBlock's to judge.
  if (const size_t reach = ReachInBlock(line, column)) {
    Reached(reach, line, column);
    return true;
  }
  auto drop = [](std::string_view) {};
  return CopyTo(line, column, drop);
}

void CRCFile::Fail(int error, const std::string& path) { CFileException::ThrowErrno(error, path); }

std::string CRCFile::GetFailureMessage(const CFileException& failure) { return failure.what(); }

void CRCFile::ReportFileError(const CFileException& failure) {
  ReportError(FormatText(outputtext::kFileError, GetFailureMessage(failure)));
}

void CRCFile::Open(const std::string& path, bool forReading, bool textMode) {
  Close();
  fileName_ = path;
  forReading_ = forReading;
  currentLine_ = 1;
  currentColumn_ = 1;
  trailNext_ = false;
  doubleByte_ = false;
  leadBytes_ = ProcessLeadBytes();
  for (bool lead : leadBytes_) doubleByte_ = doubleByte_ || lead;
  if (forReading) {
    if (int err = input_.Open(path)) {
      CFileException failure(CFileException::CauseFromErrno(err), err, path);
      ReportError(FormatText(outputtext::kCouldNotOpenInput, path, failure.Message()));
      throw failure;
    }
    return;
  }
  if (!MakeDirectories(path)) Fail(ENOTDIR, path);
  if (int err = output_.Open(path, textMode)) {
    CFileException failure(CFileException::CauseFromErrno(err), err, path);
    ReportError(FormatText(outputtext::kCouldNotOpenOutput, path, failure.Message()));
    throw failure;
  }
}

bool CRCFile::MakeDirectories(const std::string& path) {
  std::string directory = DirectoryPart(path);
  // Climb until a level can be made (or exists), then come back down.
  std::vector<std::string> missing;
  while (!directory.empty()) {
    if (::mkdir(directory.c_str(), 0777) == 0 || errno == EEXIST) break;
    if (errno != ENOENT) {
      ReportError(FormatText(outputtext::kDirectoryError, std::strerror(errno), directory));
      return false;
    }
    missing.push_back(directory);
    directory = DirectoryPart(directory);
  }
  for (auto level = missing.rbegin(); level != missing.rend(); ++level) {
    if (::mkdir(level->c_str(), 0777) != 0 && errno != EEXIST) {
      ReportError(FormatText(outputtext::kDirectoryError, std::strerror(errno), *level));
      return false;
    }
  }
  return true;
}

bool CRCFile::Refill() {
  if (int err = input_.Fill()) {
    ReportFileError(CFileException(CFileException::CauseFromErrno(err), err, fileName_));
    return false;
  }
  return true;
}

namespace {

// Gathers a Read call's text, with room for a long stretch reserved once.
class StringSink {
 public:
  explicit StringSink(std::string& out) : out_(out) {}
  void operator()(std::string_view part) {
    if (out_.capacity() - out_.size() < part.size()) out_.reserve(std::max(out_.size() + part.size(), kStretchRoom));
    out_.append(part);
  }
  char Last() const { return out_.empty() ? '\n' : out_.back(); }

 private:
  std::string& out_;
};

}  // namespace

bool CRCFile::ReadToLine(int32_t line, std::string& out) {
  out.clear();
  StringSink sink(out);
  return ReadLines(line, sink);
}

bool CRCFile::ReadToColumn(int32_t column, std::string& out) {
  out.clear();
  StringSink sink(out);
  return ReadColumns(column, sink);
}

bool CRCFile::ReadTo(int32_t line, int32_t column, std::string& out) {
  out.clear();
  StringSink sink(out);
  return ReadLines(line, sink) && ReadColumns(column, sink);
}

bool CRCFile::CopyTo(int32_t line, int32_t column, const TextSink& sink) {
  return CopyTo<const TextSink>(line, column, sink);
}

bool CRCFile::ReadRest(std::string& out) {
  out.clear();
  StringSink sink(out);
  return ReadRestTo(sink);
}

bool CRCFile::CopyRest(const TextSink& sink) { return CopyRest<const TextSink>(sink); }

void CRCFile::CopyPermissionsFrom(const std::string& path) {
  if (int err = output_.CopyPermissionsFrom(path)) Fail(err, fileName_);
}

void CRCFile::Commit() {
  if (int err = output_.Commit()) Fail(err, fileName_);
}

void CRCFile::Close() {
  input_.Close();
  output_.Discard();
}
