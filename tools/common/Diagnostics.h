// Errors of the build-time generators, each reported as "file:line: message".
#pragma once

#include <cstdio>
#include <string>
#include <vector>

/// Collects the errors of every phase so that one run lists all of them;
/// any error fails the run.
class Diagnostics {
 public:
  explicit Diagnostics(std::string file) : file_(std::move(file)) {}

  void Error(int line, const std::string& message);
  bool Failed() const { return !errors_.empty(); }
  const std::vector<std::string>& Messages() const { return errors_; }
  /// Prints every error to \p to; returns whether there were any.
  bool Report(FILE* to) const;

 private:
  std::string file_;
  std::vector<std::string> errors_;
};
