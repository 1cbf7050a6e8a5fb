// The mapping table without its window: one row per group of font
// references of the translated files, the selected row, and the apply
// operations through which every change of a new font goes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "mapping/CMappingTableObserver.h"
#include "mapping/MappingColumns.h"
#include "mapping/NewFontTuple.h"

class CFontReference;
struct CFontTexts;
class CFontReferenceList;

/// Rows built from the translated files' references. A row's item data is
/// the list position (GetAt index) of its representative; the other
/// references of the row are its merged rows. Columns 1 to 8 show the
/// representative's current and new font, which the apply operations keep
/// equal to what they write. New fonts live in the references themselves;
/// while a table lives, only it changes them.
class CMappingTable {
 public:
  /// A table over \p translated, which must outlive it. Empty until
  /// BuildTable.
  explicit CMappingTable(CFontReferenceList& translated);
  CMappingTable(const CMappingTable&) = delete;
  CMappingTable& operator=(const CMappingTable&) = delete;

  /// Builds the rows from every reference of the list: newest first, a
  /// name holding "|:" shown without its first two characters, kind
  /// markers appended, sorted by column 0 byte by byte (equal texts keep
  /// their order), merged, and row 0 selected. Rows built earlier are
  /// replaced, and so are the representatives' merged rows.
  void BuildTable();

  /// Deletes every row and forgets every new font stored in the references
  /// (the mapping page's Back promises that mappings are lost).
  void DeleteAllRows();

  // ---- rows -------------------------------------------------------------

  int32_t RowCount() const { return static_cast<int32_t>(rows_.size()); }
  /// The text of \p column (0 to 8) in \p row; empty outside the table.
  const std::string& ColumnText(int32_t row, int32_t column) const;
  /// The list position of \p row's representative, or -1 outside the table.
  int32_t ItemData(int32_t row) const;
  /// \p row's representative, or null outside the table.
  CFontReference* Representative(int32_t row);
  const CFontReference* Representative(int32_t row) const;
  /// List positions of the other references of \p row, the last joined
  /// first.
  const std::vector<int32_t>& MergedRows(int32_t row) const;
  /// True when \p row's representative is a font definition.
  bool IsDefinitionRow(int32_t row) const;
  /// The first row after \p after whose column-0 text equals \p text
  /// without regard to case, or -1.
  int32_t FindRow(std::string_view text, int32_t after = -1) const;
  /// Every row, top to bottom, whose column-0 text equals \p text without
  /// regard to case and whose current font (columns 1 to 4) equals the
  /// given one byte for byte.
  std::vector<int32_t> FindRowsWithFont(std::string_view text, std::string_view family, std::string_view size,
                                        std::string_view bold, std::string_view italic) const;

  // ---- selection --------------------------------------------------------

  /// The selected row, or -1.
  int32_t GetSelectedRow() const { return selected_; }
  /// Selects and focuses \p row (-1, or a row outside the table: none).
  /// Observers hear of it when the selection moves.
  void SelectRow(int32_t row);

  // ---- apply operations ---------------------------------------------------

  /// Sets (\p isMapped true) or clears (false, with an empty tuple) the new
  /// font of the selected row; nothing without a selection. A definition
  /// row carries the font to the rows of its file that use the defined font.
  void ApplyNewFont(bool isMapped, bool isDefinitionRow, const NewFontTuple& font);
  /// ApplyNewFont with isDefinitionRow taken from the selected row.
  void ApplyToSelected(bool isMapped, const NewFontTuple& font);
  /// The new font of the selected row (empty without a selection), for
  /// changing one of its fields (size, bold, italic) and applying it again.
  NewFontTuple SelectedNewFont() const;
  /// Writes flags and font into \p row's representative and merged
  /// references; sets the mappings-changed flag.
  void ApplyToRow(int32_t row, bool isMapped, bool byDefinition, const NewFontTuple& font);
  /// Writes flags and font into the definition reference at list position
  /// \p position, and applies the font to every row (other than definition
  /// rows) of the same file whose current font equals the definition's;
  /// those rows end with changedToo set.
  void ApplyToDefinition(int32_t position, bool isMapped, const NewFontTuple& font);

  /// True once any row has been applied to (the page then enables Save As).
  bool GetMappingsChanged() const { return mappingsChanged_; }

  /// Opens a batch of applies: until it closes, the merged references of a
  /// row are written once when the batch closes instead of at every apply.
  /// Representatives, and so every column, stay current. For loops that
  /// apply many times over (font maps, multiple change); nothing may read
  /// merged references' new fonts while a batch is open. Batches nest.
  class Batch {
   public:
    explicit Batch(CMappingTable& table) : table_(table) { ++table_.batchDepth_; }
    ~Batch() {
      if (--table_.batchDepth_ == 0) table_.WritePending();
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    CMappingTable& table_;
  };

  // ---- views ----------------------------------------------------------------

  /// Adds an observer (not owned); it must be removed before it goes.
  void AddObserver(CMappingTableObserver* observer);
  void RemoveObserver(CMappingTableObserver* observer);
  /// Grows with every change of rows, columns or selection.
  uint64_t ChangeCount() const { return changeCount_; }

  CFontReferenceList& References() { return translated_; }
  const CFontReferenceList& References() const { return translated_; }

 private:
  // What ApplyToRow last wrote into every reference of a row.
  struct AppliedState {
    bool isMapped;
    bool byDefinition;
    const CFontTexts* font;  // shared: equal fonts are one copy
  };
  // A row's other references are its representative's merged rows.
  struct Row {
    std::string component;  // column 0
    int32_t item = -1;      // representative's list position
    // Set while every reference of the row holds what ApplyToRow last
    // wrote, or will when the open batch closes; see Note [repeated applies].
    std::optional<AppliedState> applied;
    bool mergedPending = false;  // merged references still to be written
    bool hasMerged = false;      // the representative has merged rows
    bool definition = false;     // the representative is a font definition
  };

  // The apply operations with the new font as one shared copy, made once
  // for all the references an apply writes.
  void ApplyToRow(int32_t row, bool isMapped, bool byDefinition, const CFontTexts* font);
  void ApplyToDefinition(int32_t position, bool isMapped, const CFontTexts* font);
  void WriteReference(CFontReference& reference, bool isMapped, bool changedToo, const CFontTexts* font);
  void WriteMerged(Row& row);
  void WritePending();
  void NotifyReset();
  void NotifyRowChanged(int32_t row);
  void ForgetIndexes();
  const std::vector<int32_t>& RowsUsingFont(const CFontReference& definition);
  // The number of the file's name: equal names, equal numbers.
  uint32_t FileNameIdOf(const CFontReference& reference);

  CFontReferenceList& translated_;
  std::vector<Row> rows_;
  // Which row holds a list position, built on demand: see Note [holders
  // on demand]. Positions from builtCount_ on were not in the list when the
  // rows were built.
  int32_t RowHolding(int32_t position);
  void ForgetHolders();
  int32_t builtCount_ = 0;
  bool definitionsIndexed_ = false;
  std::unordered_map<int32_t, int32_t> definitionHolders_;  // references of definition rows
  std::vector<int32_t> rowOfItem_;                          // every reference, or empty
  int32_t selected_ = -1;
  bool mappingsChanged_ = false;
  uint64_t changeCount_ = 0;
  int batchDepth_ = 0;
  std::vector<int32_t> pendingRows_;  // rows whose merged references wait for the batch's end
  std::vector<CMappingTableObserver*> observers_;

  // Built on first use, dropped when the rows change.
  mutable std::unordered_map<std::string, std::vector<int32_t>> rowsByText_;
  mutable std::vector<std::pair<uint64_t, int32_t>> rowsByTextAndFont_;  // hash of a row's text and font, row
  mutable std::string folded_;                                           // a row's folded text, kept for its room
  // A file name's number and the addresses of a current font's shared texts.
  struct FileFontKey {
    uint32_t file;
    const std::string *family, *size, *bold, *italic;
    bool operator==(const FileFontKey&) const = default;
    struct Hash {
      size_t operator()(const FileFontKey& key) const noexcept;
    };
  };
  std::unordered_map<FileFontKey, std::vector<int32_t>, FileFontKey::Hash> rowsByFileAndFont_;
  bool fontIndexBuilt_ = false;
  std::unordered_map<uint32_t, uint32_t> fileNameIds_;   // by file number
  std::unordered_map<std::string, uint32_t> fileNames_;  // name -> its number
};
