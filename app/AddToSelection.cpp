// Selection texts from chosen files.
#include "app/AddToSelection.h"

#include <algorithm>
#include <list>

#include "app/MergeSortedText.h"
#include "app/NextField.h"

std::string AddToSelection(const std::string& kept, const std::vector<std::string>& chosen) {
  // Both loops add at the head, so the newest names lead; MergeSortedText
  // then puts them in order.
  std::list<std::string> names;
  std::string rest = kept;
  std::string field;
  while (NextField(";", field, rest)) names.push_front(field);
  for (const std::string& path : chosen) {
    if (std::find(names.begin(), names.end(), path) == names.end()) names.push_front(path);
  }
  std::list<std::string> sorted;  // descending
  MergeSortedText(names, sorted);
  std::string text;
  for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) text += *it + ";";
  return text;
}

bool FontAppendAllowed(int32_t currentType, int32_t chosenType) {
  return currentType == 0 || currentType == chosenType;
}
