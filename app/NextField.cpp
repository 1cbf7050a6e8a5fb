// Cutting separated fields from a selection text.
#include "app/NextField.h"

bool NextField(std::string_view separator, std::string& field, std::string& rest) {
  if (rest.empty()) return false;
  size_t at = separator.empty() ? std::string::npos : rest.find(separator);
  if (at == std::string::npos) {
    field.swap(rest);
    rest.clear();
  } else {
    field.assign(rest, 0, at);
    rest.erase(0, at + separator.size());
  }
  return true;
}
