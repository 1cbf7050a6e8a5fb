// Small helpers shared by the tests.
#include "tests/support/TestSupport.h"

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace testsupport {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device rd;
  for (;;) {
    fs::path p = fs::temp_directory_path() / ("typeswap-test-" + std::to_string(rd()));
    if (fs::create_directory(p)) {
      path_ = p;
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  fs::path p = path_ / name;
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary);
  out << bytes;
  return p.string();
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

fs::path SourcePath(const std::string& relative) {
  const char* root = std::getenv("TS_SOURCE_DIR");
  return fs::path(root ? root : ".") / relative;
}

std::vector<std::string> CaseNames(const fs::path& dir, const std::string& extension) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
    if (e.path().extension() == extension) names.push_back(e.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string TestNameOf(const std::string& caseName) {
  std::string name = caseName;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

fs::path CorpusDir() {
  fs::path p = SourcePath("../shared/corpus");
  std::error_code ec;
  return fs::is_directory(p, ec) ? p : fs::path();
}

std::vector<fs::path> CorpusDocuments() {
  std::vector<fs::path> documents;
  fs::path corpus = CorpusDir();
  if (corpus.empty()) return documents;
  for (const fs::directory_entry& e : fs::directory_iterator(corpus)) {
    const fs::path ext = e.path().extension();
    if (ext == ".doc" || ext == ".sty") documents.push_back(e.path());
  }
  std::sort(documents.begin(), documents.end());
  return documents;
}

std::string RunCommand(const std::string& command, int& status) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return out;
  }
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  int raw = ::pclose(pipe);
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return out;
}

std::string BuiltProgram(const std::string& name) {
  const char* root = std::getenv("TS_BINARY_DIR");
  return (fs::path(root ? root : ".") / name).string();
}

}  // namespace testsupport
