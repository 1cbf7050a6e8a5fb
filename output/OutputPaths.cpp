// Path texts of output.
#include "output/OutputPaths.h"

#include "platform/CodePage.h"

std::string UpperCaseName(std::string_view name) {
  std::string key(name);
  for (size_t i = 0; i < key.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(key[i]);
    if (IsLeadByte(c)) {
      ++i;  // a trail byte may look like a lower-case letter
    } else if (c >= 'a' && c <= 'z') {
      key[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return key;
}

std::string DirectoryPart(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string WithTrailingSlash(std::string directory) {
  if (!directory.empty() && directory.back() != '/') directory.push_back('/');
  return directory;
}

std::string ResolveOutputDirectory(const std::string& inputRoot, const std::string& outputDirectory) {
  if (!outputDirectory.empty() && outputDirectory.front() == '/') return WithTrailingSlash(outputDirectory);
  return WithTrailingSlash(WithTrailingSlash(inputRoot) + outputDirectory);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && UpperCaseName(text.substr(0, prefix.size())) == UpperCaseName(prefix);
}

std::optional<std::string> OutputPathFor(const std::string& inputRoot, const std::string& outputRoot,
                                         const std::string& inputName) {
  if (!StartsWithIgnoringCase(inputName, inputRoot)) return std::nullopt;
  // The input's own case: on a case-sensitive file system anything else
  // would be a different file.
  return outputRoot + inputName.substr(inputRoot.size());
}
