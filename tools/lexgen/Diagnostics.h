// Errors of the table generator, each reported as "file:line: message".
#pragma once

#include <cstdio>
#include <string>
#include <vector>

/// Collects the errors of every phase so that one run lists all of them.
class Diagnostics {
 public:
  explicit Diagnostics(std::string file) : file_(std::move(file)) {}

  void Error(int line, const std::string& message);
  bool Failed() const { return !errors_.empty(); }
  /// Prints every error to \p to; returns whether there were any.
  bool Report(FILE* to) const;
  const std::string& File() const { return file_; }

 private:
  std::string file_;
  std::vector<std::string> errors_;
};
