// The mapping page without its window: the Available Fonts controls as
// data, what each of the page's events does to them and to the mapping
// table, and the page's font map and Run commands. The window only shows
// this state and forwards its events.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "mapping/CMappingTable.h"
#include "mapping/CMappingTableObserver.h"
#include "mapping/FontMapFile.h"
#include "mapping/NewFontTuple.h"

class CFontReferenceList;
class CMessageSink;
class CWizardChoices;

/// The Available Fonts controls and the check boxes as the page shows them.
struct AvailableFonts {
  std::vector<std::string> names;  ///< Name box entries, in the box's sorted order
  int32_t nameSelection = -1;      ///< -1: none
  std::vector<std::string> sizes;  ///< Size box entries, in list order
  int32_t sizeSelection = -1;      ///< -1: none
  std::string sizeText;            ///< the Size box's edit field
  bool bold = false;
  bool italic = false;
  bool convertToEuc = false;
};

/// The two groups of categories whose families the Name box offers.
enum class CategoryGroup {
  FontDefinition,  ///< "Font Definition", "Font Number", "Font Change": defined families
  Chart,           ///< "Chart Font", "Text String Font": named families
  None,            ///< every other category: an empty Name box
};

/// The group of category text \p category.
CategoryGroup GroupOfCategory(const std::string& category);

/// Where the keyboard focus is when the default command arrives.
enum class DefaultCommandFocus { RunButton, SizeEdit, Elsewhere };

/// The page's logic over the translated files' and the font files' models.
/// Its page-state fields (shown and previous category, remembered box
/// indices) live in the font files' list, so they survive leaving and
/// re-entering the page.
class CMappingPageModel : private CMappingTableObserver {
 public:
  /// A page over the two models and \p choices (all outliving it); its
  /// messages go to \p messages.
  CMappingPageModel(CFontReferenceList& translated, CFontReferenceList& fontFiles, const CWizardChoices& choices,
                    CMessageSink& messages);
  ~CMappingPageModel() override;
  CMappingPageModel(const CMappingPageModel&) = delete;
  CMappingPageModel& operator=(const CMappingPageModel&) = delete;

  /// Opening the page: sizes in numeric order, the table built with row 0
  /// selected, both boxes filled, the Name box without a selection.
  void Open();

  CMappingTable& Table() { return table_; }
  const CMappingTable& Table() const { return table_; }
  const AvailableFonts& Controls() const { return controls_; }
  /// Called after every change of Controls(), so that a window can show it.
  void SetControlsListener(std::function<void()> listener) { listener_ = std::move(listener); }

  // ---- events of the page ------------------------------------------------

  /// The selection moved to \p row (also called by the table itself).
  void RowSelected(int32_t row);
  /// The user confirmed Name box entry \p index: the row gets that family
  /// alone; size, bold and italic are cleared.
  void NameChosen(int32_t index);
  /// The user confirmed Size box entry \p index (-1: none).
  void SizeChosen(int32_t index);
  void BoldClicked(bool checked);
  void ItalicClicked(bool checked);
  void ConvertToEucClicked(bool checked);
  /// The Size box's edit field now holds \p text.
  void SizeTextEdited(const std::string& text);
  /// The Delete key in the list: clears the selected row's new font.
  void ClearRow();
  /// Enter, Run or a double click. True when Run must start (the focus is
  /// on Run); otherwise the Available Fonts choice is applied to the
  /// selected row and a typed size checked.
  [[nodiscard]] bool DefaultCommand(DefaultCommandFocus focus);
  /// Checks the Size box's edit field: a wrong size gets a message; a new
  /// valid size joins the size list at its place; a valid size is chosen.
  void CheckTypedSize();

  /// True when Back must ask before it goes (mappings would be lost).
  bool BackNeedsQuestion() const { return table_.GetMappingsChanged(); }
  /// Leaving by Back, once confirmed: every row deleted when there were
  /// mappings, and the shown category forgotten.
  void GoBack();

  // ---- commands ----------------------------------------------------------

  /// Loads font map files in order and applies them; afterwards the stored
  /// control values go back into the controls.
  FontMapsLoad LoadFontMaps(const std::vector<std::string>& paths);
  /// Writes the font map of the changed references to \p path.
  bool SaveFontMap(const std::string& path);
  /// The files \p row's references come from, each once.
  std::vector<std::string> RowFileNames(int32_t row) const;
  /// Where \p row's references stand: "file:line:column", one per reference.
  std::vector<std::string> RowPositions(int32_t row) const;

  const CWizardChoices& Choices() const { return choices_; }
  /// Every font map file Load... read: the job reads them, so nothing it
  /// writes may replace one.
  const std::vector<std::string>& LoadedMapFiles() const { return loadedMaps_; }
  CFontReferenceList& TranslatedModel() { return translated_; }
  CFontReferenceList& FontModel() { return fontFiles_; }

 private:
  // CMappingTableObserver
  void SelectionChanged(int32_t row) override { RowSelected(row); }

  CategoryGroup ShownGroup() const;
  void FillNameBox();
  void FillSizeBox();
  NewFontTuple ReadAvailableFonts() const;
  void ApplyAvailableFonts();
  enum class Field { Size, Bold, Italic };
  void ApplyFieldChange(Field field);
  void StoreControls();
  void Changed();

  CFontReferenceList& translated_;
  CFontReferenceList& fontFiles_;
  const CWizardChoices& choices_;
  CMessageSink& messages_;
  CMappingTable table_;
  AvailableFonts controls_;
  // The control values as last stored (at a Name choice); Load... puts
  // them back.
  std::vector<std::string> loadedMaps_;
  bool boldChecked_ = false;
  bool italicChecked_ = false;
  std::string typedSize_;
  std::function<void()> listener_;
};
