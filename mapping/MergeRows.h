// The merge step of building the mapping table: which sorted rows fold
// into a row above them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CFontReference;
class CFontReferenceList;

/// A row of the mapping table while it is built: its column-0 text (a view
/// of a text that outlives the row) and the list position of its
/// representative.
struct CBuildRow {
  std::string_view text;
  int32_t item = -1;
};

/// What the merge asks of a row: its column-0 text (a view of a text that
/// outlives the row), its representative's current font as a number (equal
/// fonts, equal numbers; -1 for a row without representative) and kind.
struct CMergeRow {
  std::string_view text;
  int32_t font = -1;
  int32_t kind = -1;
};

/// For each of \p rows (sorted by text), the index of the row above it that
/// it joins, or -1 when it stays a row of its own. A row joins the topmost
/// remaining row above it that has the same base name with no other base
/// name in between, the same current font, and a kind that accepts its
/// kind. A row without representative ends the scan and joins nothing.
/// Runs in time linear in the number of rows.
std::vector<int32_t> FindJoiningRows(const std::vector<CMergeRow>& rows);

/// FindJoiningRows with the representatives looked up in \p references.
std::vector<int32_t> FindJoiningRows(const std::vector<CBuildRow>& rows, const CFontReferenceList& references);

/// Numbers for current fonts as the merge compares them: equal fonts (all
/// four texts byte for byte), equal numbers, counted from 0 in the order met.
class CFontNumbers {
 public:
  int32_t NumberOf(const CFontReference& reference);

 private:
  // The texts of references are shared copies, one for each distinct
  // text, so the copies' addresses stand for the texts.
  struct Key {
    const std::string *family, *size, *bold, *italic;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    size_t operator()(const Key& key) const noexcept;
  };
  std::unordered_map<Key, int32_t, KeyHash> numbers_;
};
