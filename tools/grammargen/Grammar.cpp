// Diagnostics of the grammar generator.
#include "tools/grammargen/Grammar.h"

namespace grammargen {

void Diagnostics::Error(int line, const std::string& message) {
  messages_.push_back(file_ + ":" + std::to_string(line) + ": " + message);
}

}  // namespace grammargen
