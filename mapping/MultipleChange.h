// Changing the family of many rows at once, by component or by current
// font: the entries the dialog offers and what its OK does.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CFontReferenceList;
class CMappingTable;

/// The two ways of choosing rows.
enum class MultipleChangeMode : int32_t {
  ByComponent = 0,  ///< rows chosen by column 0 (component with kind marker)
  ByFont = 1,       ///< rows chosen by column 1 (current family)
};

/// How a mode is shown and which rows it offers.
struct MultipleChangeModeInfo {
  int32_t titleId;                  ///< string-table number of the dialog title
  int32_t captionId;                ///< of the "Original" group's caption
  int32_t column;                   ///< the column whose texts are offered
  std::array<int32_t, 4> excluded;  ///< categories whose rows are not offered (0: unused)
};

/// The description of \p mode.
const MultipleChangeModeInfo& MultipleChangeModeInfoOf(MultipleChangeMode mode);

/// The Original entries: the texts of the mode's column, rows top to
/// bottom, each text once without regard to case, leaving out rows of the
/// mode's excluded categories. The dialog's list sorts them.
std::vector<std::string> OriginalEntries(const CMappingTable& table, MultipleChangeMode mode);

/// The New Font entries: the families of the font files' references in
/// list order, each once without regard to case, leaving out font changes,
/// chart fonts and text string fonts.
std::vector<std::string> NewFontEntries(const CFontReferenceList& fontFiles);

/// For each of \p chosen (in the order given) and each row whose text in
/// the mode's column equals it byte for byte, top to bottom: selects the
/// row and gives it \p family with the row's current size, bold and
/// italic. Nothing happens when \p chosen is empty. Returns the number of
/// rows changed; the last of them stays selected.
int32_t ApplyMultipleChange(CMappingTable& table, MultipleChangeMode mode, const std::vector<std::string>& chosen,
                            std::string_view family);

/// The dialog's OK for one entry, as a batch job gives it: the rows whose
/// text in \p mode's column is \p chosen get \p family.
struct BatchChange {
  MultipleChangeMode mode = MultipleChangeMode::ByFont;
  std::string chosen;
  std::string family;
};
