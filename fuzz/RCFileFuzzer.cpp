// Fuzz target: output's forward reader by line and column. The first byte
// gives a number of reads, three bytes each (which read, lines ahead,
// columns ahead); the rest is the file. Whatever the reads ask, no byte of
// the file may be lost or doubled: all texts handed out, then the rest,
// must make up the file as a text-mode read delivers it, in the code page
// the input picks (FuzzCodePage). The output run's own reads (a copy
// written straight into an output file, a skip) take ways of their own
// through the read buffer: a second reader makes the same reads the
// general way, and both must give the same texts, results and places, and
// the output file the copied texts with CR LF line ends.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "fuzz/FuzzCodePage.h"
#include "fuzz/FuzzScratchFile.h"
#include "output/CErrorReporter.h"
#include "output/CRCFile.h"
#include "platform/CodePage.h"

namespace {

// The bytes of the file at \p path.
std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// CR LF as LF, and nothing after the first 0x1A.
std::string TextModeOf(const std::string& bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\x1A') break;
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    out.push_back(bytes[i]);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t reads = data[0] % 32;
  if (size < 1 + 3 * reads) return 0;
  const uint8_t* ops = data + 1;
  const uint8_t* file = ops + 3 * reads;
  const size_t fileSize = size - 1 - 3 * reads;
  const std::string& path = WriteScratchFile("fuzz-rc.doc", file, fileSize);
  SetProcessCodePage(FuzzCodePage(data, size));  // line ends after lead bytes count differently

  CErrorReporter reporter;  // no sink: reports are formatted and dropped
  CRCFile in(reporter);
  in.Open(path, true);
  CRCFile general(reporter);
  general.Open(path, true);
  CRCFile output(reporter);
  output.Open(path + ".out", false, true);
  std::string all, out, copied;
  for (size_t i = 0; i < reads; ++i, ops += 3) {
    const int32_t line = in.GetCurrentLine() + ops[1] % 8;
    const int32_t column = (ops[1] % 8 == 0 ? in.GetCurrentColumn() : 1) + ops[2] % 64;
    bool read = false;  // by the reader under test
    std::string text;   // what the general reader handed out
    switch (ops[0] % 5) {
      case 0:
        read = in.ReadTo(line, column, out);
        (void)general.ReadTo(line, column, text);
        break;
      case 1:
        read = in.ReadToLine(line, out);
        (void)general.ReadToLine(line, text);
        break;
      case 2:
        read = in.ReadToColumn(column, out);
        (void)general.ReadToColumn(column, text);
        break;
      case 3: {
        out.clear();
        auto sink = [&](std::string_view part) { out.append(part); };
        read = in.CopyInto(line, column, output, sink);
        if (read != general.ReadTo(line, column, text)) std::abort();
        copied += out;
        break;
      }
      default:
        out.clear();
        read = in.SkipTo(line, column);
        if (read != general.ReadTo(line, column, text)) std::abort();
        out = text;  // what the skip passed over
        break;
    }
    // A failed read fails the same way on both, having read as far.
    if (out != text) std::abort();
    if (in.GetCurrentLine() != general.GetCurrentLine() || in.GetCurrentColumn() != general.GetCurrentColumn()) {
      std::abort();
    }
    all += out;
  }
  if (!in.ReadRest(out)) std::abort();
  all += out;
  in.Close();
  output.Commit();

  const std::string expected = TextModeOf(std::string(reinterpret_cast<const char*>(file), fileSize));
  // A last line without line end may be handed out with one.
  if (all != expected && all != expected + "\n") std::abort();
  std::string crlf;
  for (char c : copied) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  if (ReadWholeFile(path + ".out") != crlf) std::abort();
  return 0;
}
