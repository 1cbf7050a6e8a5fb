// Fuzz target: output's forward reader by line and column. The first byte
// gives a number of reads, three bytes each (which read, lines ahead,
// columns ahead); the rest is the file. Whatever the reads ask, no byte of
// the file may be lost or doubled: all texts handed out, then the rest,
// must make up the file as a text-mode read delivers it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzScratchFile.h"
#include "output/CErrorReporter.h"
#include "output/CRCFile.h"

namespace {

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

  CErrorReporter reporter;  // no sink: reports are formatted and dropped
  CRCFile in(reporter);
  in.Open(path, true);
  std::string all, out;
  for (size_t i = 0; i < reads; ++i, ops += 3) {
    const int32_t line = in.GetCurrentLine() + ops[1] % 8;
    const int32_t column = (ops[1] % 8 == 0 ? in.GetCurrentColumn() : 1) + ops[2] % 64;
    switch (ops[0] % 3) {
      case 0:
        (void)in.ReadTo(line, column, out);
        break;
      case 1:
        (void)in.ReadToLine(line, out);
        break;
      default:
        (void)in.ReadToColumn(column, out);
        break;
    }
    all += out;
  }
  if (!in.ReadRest(out)) std::abort();
  all += out;
  in.Close();

  const std::string expected = TextModeOf(std::string(reinterpret_cast<const char*>(file), fileSize));
  // A last line without line end may be handed out with one.
  if (all != expected && all != expected + "\n") std::abort();
  return 0;
}
