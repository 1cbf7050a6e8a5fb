// The new font definition lines of an output run.
#include "output/CNewFontDefinitions.h"

namespace {
constexpr const char* kDefinitionsTag = "<!Font Definitions,";
}

CNewFontDefinitions::CNewFontDefinitions() : text_(kDefinitionsTag) {}

std::string CNewFontDefinitions::KeyOf(std::string_view description) const {
  auto found = keys_.find(std::string(description));
  return found == keys_.end() ? std::string() : found->second;
}

void CNewFontDefinitions::Add(const std::string& key, const std::string& description) {
  text_ += "\n\t";
  text_ += key;
  text_ += " = ";
  text_ += description;
  keys_.emplace(description, key);
}
