// The sorted merge of selection texts.
#include "app/MergeSortedText.h"

#include <iterator>

void MergeSortedText(const std::list<std::string>& source, std::list<std::string>& dest) {
  auto next = source.begin();
  if (dest.empty() && next != source.end()) dest.push_front(*next++);
  if (dest.empty()) return;

  // The cursor walks from where the last text went in. A text is dropped
  // when the walk stops on an equal entry, not only when the cursor starts
  // on one, so that repeats further along the list are caught too.
  auto cursor = dest.begin();
  for (; next != source.end(); ++next) {
    const std::string& text = *next;
    if (*cursor > text) {
      while (cursor != dest.end() && *cursor > text) ++cursor;
      if (cursor != dest.end() && *cursor == text) continue;
      cursor = dest.insert(cursor, text);
    } else if (*cursor < text) {
      // Towards the head: stop on the first entry not smaller than text.
      while (cursor != dest.begin() && *std::prev(cursor) <= text) {
        --cursor;
        if (*cursor == text) break;
      }
      if (*cursor == text) continue;
      cursor = dest.insert(cursor, text);
    }
  }
}
