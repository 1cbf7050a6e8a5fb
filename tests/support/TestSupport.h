// Small helpers shared by the tests: temporary directories, files, and the
// locations of sample documents.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

/// A fresh directory removed again when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  /// Writes \p bytes to \p name inside the directory and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

/// The whole content of a file, byte for byte ("" when it cannot be read).
std::string ReadFile(const std::filesystem::path& path);

/// A path below the source tree (TS_SOURCE_DIR, set by CTest).
std::filesystem::path SourcePath(const std::string& relative);

/// The names, without \p extension, of the files in \p dir that end in it,
/// sorted: the cases of a folder of golden files.
std::vector<std::string> CaseNames(const std::filesystem::path& dir, const std::string& extension);

/// A case name as a test name may spell it (letters, digits and '_').
std::string TestNameOf(const std::string& caseName);

/// The shared corpus of real-world documents, or an empty path when this
/// machine has none.
std::filesystem::path CorpusDir();

/// The corpus's documents and style files (*.doc, *.sty) in name order;
/// empty when this machine has no corpus.
std::vector<std::filesystem::path> CorpusDocuments();

/// Runs \p command through the shell and returns its standard output;
/// \p status receives the exit status.
std::string RunCommand(const std::string& command, int& status);

/// Path of a program at the root of the build tree (TS_BINARY_DIR).
std::string BuiltProgram(const std::string& name);

}  // namespace testsupport
