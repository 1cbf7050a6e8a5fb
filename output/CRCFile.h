// The file through which output reads an input document forward by line
// and column, and writes its rewritten copy.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "output/CErrorReporter.h"
#include "output/COutputFile.h"
#include "output/CTextModeInput.h"
#include "output/LineEndCopy.h"
#include "platform/CodePage.h"
#include "platform/FileException.h"

/// A document opened either for reading or for writing, in text mode.
///
/// Reading goes forward only and is addressed by line and column (both
/// from 1, columns in bytes within the line): each Read call returns the
/// text from where the file stands up to the place asked for. Every failure
/// of a read is reported and returned as false.
///
/// Writing creates the directories of the path, and writes under a
/// temporary name that only replaces the file on Commit; a file closed
/// without Commit leaves nothing behind. Open failures are reported and
/// thrown as CFileException; write failures are thrown.
class CRCFile {
 public:
  explicit CRCFile(CErrorReporter& reporter) : reporter_(reporter) {}
  CRCFile(const CRCFile&) = delete;
  CRCFile& operator=(const CRCFile&) = delete;

  /// Opens \p path for reading (text mode) or for writing (text mode when
  /// \p textMode, else bytes as given). Throws CFileException after
  /// reporting when the file, or for writing its directory, cannot be made.
  void Open(const std::string& path, bool forReading, bool textMode = true);

  /// Reads whole lines up to the start of \p line. The text read, each line
  /// with one line feed, goes to \p out.
  [[nodiscard]] bool ReadToLine(int32_t line, std::string& out);
  /// Reads within the current line up to \p column.
  [[nodiscard]] bool ReadToColumn(int32_t column, std::string& out);
  /// ReadToLine then ReadToColumn; \p out receives both texts.
  [[nodiscard]] bool ReadTo(int32_t line, int32_t column, std::string& out);
  /// Reads everything left; a last line without line end gets one.
  [[nodiscard]] bool ReadRest(std::string& out);

  /// What the copying reads hand their text to, part by part, straight
  /// from the read buffer: a stretch of a large file is never gathered
  /// into a string of its own.
  using TextSink = std::function<void(std::string_view)>;
  /// ReadTo, handing the text to \p sink instead. On failure \p sink may
  /// have received part of the text.
  [[nodiscard]] bool CopyTo(int32_t line, int32_t column, const TextSink& sink);
  /// ReadRest, handing the text to \p sink instead.
  [[nodiscard]] bool CopyRest(const TextSink& sink);
  /// CopyTo and CopyRest for any \p sink callable with a std::string_view:
  /// the output run copies every stretch between two replacements, and
  /// calls its sink directly.
  template <class Sink>
  [[nodiscard]] bool CopyTo(int32_t line, int32_t column, Sink& sink);
  template <class Sink>
  [[nodiscard]] bool CopyRest(Sink& sink);
  /// CopyTo for the output run: the text is handed to \p sink, then
  /// written straight from the read buffer into \p output (WriteText).
  /// Throws as WriteText does.
  template <class Sink>
  [[nodiscard]] bool CopyInto(int32_t line, int32_t column, CRCFile& output, Sink& sink);
  /// CopyTo, dropping the text read: the text a replacement takes the
  /// place of.
  [[nodiscard]] bool SkipTo(int32_t line, int32_t column) {
    // Mostly the few bytes of a font key, within the line: with no line
    // feed among them, no line ends there in either kind of code page, and
    // only where the next character starts is left to learn (as
    // FindLineEnd learns it).
    if (line == currentLine_ && column >= currentColumn_ && forReading_ && input_.IsOpen()) {
      const std::string_view block = input_.Available();
      const size_t columns = static_cast<size_t>(column - currentColumn_);
      if (columns <= block.size() && FindLineFeed(block.data(), columns) == nullptr) {
        if (doubleByte_ && columns > 0) {
          trailNext_ = IsTrailByteAt(leadBytes_, block.data() + (trailNext_ ? 1 : 0), block.data() + columns);
        }
        Reached(columns, line, column);
        return true;
      }
    }
    return SkipFurther(line, column);
  }

  /// Gives an output file the permission bits of the file at \p path.
  /// Throws CFileException on failure.
  void CopyPermissionsFrom(const std::string& path);
  /// Sends an output file's bytes through \p transform before they are
  /// stored (see CSafeFileWriter).
  void SetTransform(CSafeFileWriter::Transform transform) { output_.SetTransform(std::move(transform)); }

  /// Writes \p text to an output file. Throws CFileException on failure
  /// (the caller reports it, naming the file it skips).
  void WriteText(std::string_view text) {
    if (int err = output_.Write(text)) Fail(err, fileName_);
  }
  /// Puts a completely written output file in place. Throws CFileException
  /// on failure; the file is then left as it was before.
  void Commit();
  /// Closes the file; an output file not committed is dropped.
  void Close();

  int32_t GetCurrentLine() const { return currentLine_; }
  int32_t GetCurrentColumn() const { return currentColumn_; }
  const std::string& GetFileName() const { return fileName_; }

  /// Delivers a numbered report through this file's reporter.
  int32_t ReportError(const std::string& message, int32_t code = outputtext::kCodeDefault,
                      std::initializer_list<CErrorRef> refs = {}) {
    return reporter_.ReportError(message, code, refs);
  }
  /// Delivers a plain log line through this file's reporter.
  void ReportLine(std::string_view text) { reporter_.ReportLine(text); }
  /// The text that tells what \p failure was, naming its file.
  static std::string GetFailureMessage(const CFileException& failure);
  /// Reports "File Error! ..." for \p failure.
  void ReportFileError(const CFileException& failure);

  /// Makes the directory part of \p path exist, with every missing parent.
  /// Reports and returns false when that is not possible.
  [[nodiscard]] bool MakeDirectories(const std::string& path);

 private:
  [[noreturn]] void Fail(int error, const std::string& path);
  // Reads more input into the buffer; false, reported, when reading fails.
  bool Refill();
  // ReadToLine, ReadToColumn and ReadRest, handing the text read to a
  // sink: a string for the Read calls, the caller's for the Copy calls.
  template <class Sink>
  bool ReadLines(int32_t line, Sink& sink);
  template <class Sink>
  bool ReadColumns(int32_t column, Sink& sink);
  template <class Sink>
  bool ReadRestTo(Sink& sink);
  // How many of the available bytes a read to \p line and \p column takes,
  // when the block holds them all and the read would succeed; otherwise
  // 0, with the reading state as it was. A copy between two replacements
  // mostly lies within one block.
  size_t ReachInBlock(int32_t line, int32_t column);
  // CopyInto, when the block holds the text and the read would succeed:
  // the text read, written into the buffer of \p output but not yet taken
  // as written there, in one pass whatever the code page. Otherwise
  // nothing, with the reading state as it was.
  std::optional<CopiedSpan> CopyInBlock(int32_t line, int32_t column, CRCFile& output);
  // SkipTo beyond a few bytes without a line feed.
  [[nodiscard]] bool SkipFurther(int32_t line, int32_t column);
  // Takes the first \p count available bytes as read up to \p line and
  // \p column (from ReachInBlock).
  void Reached(size_t count, int32_t line, int32_t column) {
    input_.Consume(count);
    currentLine_ = line;
    currentColumn_ = column;
  }
  // The first line end in \p data, counted as the lexer counts; see Note
  // [line ends after lead bytes] in CRCFile.cpp. \p data lies in the read
  // buffer.
  const void* FindLineEnd(const char* data, size_t size);
  // Where the \p wanted-th line end of \p data lies (just past it), or,
  // when there are fewer, just past the last one (0: none); \p wanted
  // goes down by the line ends passed.
  size_t SkipLineEnds(const char* data, size_t size, int32_t& wanted);

  CErrorReporter& reporter_;
  int32_t currentLine_ = 1;
  int32_t currentColumn_ = 1;
  std::string fileName_;
  bool forReading_ = false;
  bool doubleByte_ = false;    // the process code page has lead bytes
  LeadByteTable leadBytes_{};  // the process code page's, taken on Open
  bool trailNext_ = false;     // the next byte read ends a double-byte character
  CTextModeInput input_;
  COutputFile output_;
};

namespace rcfile_detail {

// Hands a Copy call's text on, remembering its last byte (ReadRest ends
// the text with a line end).
template <class Sink>
class ForwardingSink {
 public:
  explicit ForwardingSink(Sink& sink) : sink_(sink) {}
  void operator()(std::string_view part) {
    if (part.empty()) return;
    last_ = part.back();
    sink_(part);
  }
  char Last() const { return last_; }

 private:
  Sink& sink_;
  char last_ = '\n';
};

}  // namespace rcfile_detail

template <class Sink>
bool CRCFile::CopyTo(int32_t line, int32_t column, Sink& sink) {
  rcfile_detail::ForwardingSink<Sink> forward(sink);
  return ReadLines(line, forward) && ReadColumns(column, forward);
}

template <class Sink>
bool CRCFile::CopyInto(int32_t line, int32_t column, CRCFile& output, Sink& sink) {
  auto write = [&](std::string_view part) {
    sink(part);
    output.WriteText(part);
  };
  if (const std::optional<CopiedSpan> copied = CopyInBlock(line, column, output)) {
    if (copied->read != 0) sink(input_.Available().substr(0, copied->read));
    output.output_.Wrote(copied->written);
    Reached(copied->read, line, column);
    return true;
  }
  if (const size_t reach = ReachInBlock(line, column)) {
    const std::string_view part = input_.Available().substr(0, reach);
    sink(part);
    if (int err = output.output_.WriteFollowed(part, reach + CTextModeInput::kReadSlack)) {
      output.Fail(err, output.fileName_);
    }
    Reached(reach, line, column);
    return true;
  }
  return CopyTo(line, column, write);
}

template <class Sink>
bool CRCFile::CopyRest(Sink& sink) {
  rcfile_detail::ForwardingSink<Sink> forward(sink);
  return ReadRestTo(forward);
}

template <class Sink>
bool CRCFile::ReadLines(int32_t line, Sink& sink) {
  if (!forReading_ || !input_.IsOpen()) return false;
  if (line < currentLine_) {
    ReportError(FormatText(outputtext::kLineAlreadyRead, line, currentLine_), outputtext::kCodeReader);
    return false;
  }
  bool partLine = false;  // bytes of a line whose end has not come yet
  while (line > currentLine_) {
    std::string_view block = input_.Available();
    if (block.empty()) {
      if (!Refill()) return false;
      block = input_.Available();
      if (block.empty()) {
        // A last line without line end still counts as a line read.
        if (partLine) {
          sink(std::string_view("\n"));
          partLine = false;
          ++currentLine_;
          currentColumn_ = 1;
          continue;
        }
        ReportError(FormatText(outputtext::kEndOfFileLines, fileName_, line), outputtext::kCodeReader);
        return false;
      }
    }
    const int32_t lines = line - currentLine_;
    int32_t wanted = lines;
    size_t taken = SkipLineEnds(block.data(), block.size(), wanted);
    if (wanted < lines) {
      currentLine_ += lines - wanted;
      currentColumn_ = 1;
      partLine = false;
    }
    if (line > currentLine_ && taken < block.size()) {
      taken = block.size();
      partLine = true;
    }
    sink(block.substr(0, taken));
    input_.Consume(taken);
  }
  return true;
}

template <class Sink>
bool CRCFile::ReadColumns(int32_t column, Sink& sink) {
  if (!forReading_ || !input_.IsOpen()) return false;
  if (column < currentColumn_) {
    ReportError(FormatText(outputtext::kColumnAlreadyRead, column, currentLine_, currentColumn_),
                outputtext::kCodeReader);
    return false;
  }
  const size_t wanted = static_cast<size_t>(column - currentColumn_);
  size_t read = 0;
  while (read < wanted) {
    std::string_view block = input_.Available();
    if (block.empty()) {
      if (!Refill()) return false;
      block = input_.Available();
      if (block.empty()) {
        ReportError(FormatText(outputtext::kEndOfFileColumns, fileName_, currentLine_, column),
                    outputtext::kCodeReader);
        currentColumn_ += static_cast<int32_t>(read);
        return false;
      }
    }
    size_t take = std::min(wanted - read, block.size());
    // A column is counted within its line: reaching the line's end first
    // means the position does not exist.
    if (const void* lf = FindLineEnd(block.data(), take)) {
      size_t through = static_cast<size_t>(static_cast<const char*>(lf) - block.data()) + 1;
      sink(block.substr(0, through));
      input_.Consume(through);
      ReportError(FormatText(outputtext::kLineTooShort, currentLine_, column), outputtext::kCodeReader);
      ++currentLine_;
      currentColumn_ = 1;
      return false;
    }
    sink(block.substr(0, take));
    input_.Consume(take);
    read += take;
  }
  currentColumn_ = column;
  return true;
}

template <class Sink>
bool CRCFile::ReadRestTo(Sink& sink) {
  if (!forReading_ || !input_.IsOpen()) return false;
  bool any = false;
  for (;;) {
    if (!Refill()) return false;
    std::string_view block = input_.Available();
    if (block.empty()) break;
    currentLine_ += static_cast<int32_t>(std::count(block.begin(), block.end(), '\n'));
    any = true;
    sink(block);
    input_.Consume(block.size());
  }
  if (any && sink.Last() != '\n') {
    sink(std::string_view("\n"));
    ++currentLine_;
  }
  if (any) currentColumn_ = 1;
  return true;
}
