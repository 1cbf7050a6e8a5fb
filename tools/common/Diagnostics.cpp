// Errors of the build-time generators.
#include "tools/common/Diagnostics.h"

void Diagnostics::Error(int line, const std::string& message) {
  errors_.push_back(file_ + ":" + std::to_string(line) + ": " + message);
}

bool Diagnostics::Report(FILE* to) const {
  for (const std::string& e : errors_) std::fprintf(to, "%s\n", e.c_str());
  return Failed();
}
