// Dialog templates: the layout of a window kept as data (ids, kinds, texts,
// styles, rectangles in dialog units, tab order), read from the resources.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// A rectangle in dialog units.
struct DialogRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

/// The kinds of controls a template may hold.
enum class ControlKind {
  PushButton,     ///< PUSHBUTTON
  DefPushButton,  ///< DEFPUSHBUTTON: the dialog's default button
  EditText,       ///< EDITTEXT: a one-line edit box
  GroupBox,       ///< GROUPBOX: a frame with a title
  ListBox,        ///< LISTBOX
  Label,          ///< LTEXT: left-aligned static text
  CenteredLabel,  ///< CTEXT: centred static text
  Icon,           ///< ICON: the icon resource named by the control's text
  Bitmap,         ///< BITMAP: the bitmap resource named by the control's text
  ComboBox,       ///< COMBOBOX: "dropdown" has an edit field, else a drop-down list
  CheckBox,       ///< CHECKBOX: a check box that ticks itself when clicked
  ListView,       ///< LISTVIEW: a list view in report style (a table of columns)
  Progress,       ///< PROGRESS: a progress bar, 0 to 100
};

/// One control of a template, in tab order.
struct DialogControl {
  ControlKind kind = ControlKind::Label;
  int32_t id = 0;
  DialogRect rect;
  std::string text;
  std::vector<std::string> styles;  ///< lower-case style words

  /// True when the control carries the style word \p style.
  bool Has(std::string_view style) const;
};

/// One dialog: its frame and its controls.
struct CDialogTemplate {
  int32_t id = 0;
  DialogRect rect;  ///< x and y are 0 unless the template gives them
  std::string caption;
  int32_t fontSize = 8;  ///< points
  std::string fontFace;
  std::vector<std::string> styles;  ///< lower-case style words of the dialog
  std::vector<DialogControl> controls;

  bool Has(std::string_view style) const;
  /// The control with \p id, or nullptr.
  const DialogControl* Control(int32_t id) const;

  /// Reads template source text. A text written as @N is string N of the
  /// string table. On failure returns nothing and sets \p error to
  /// "line N: what".
  static std::optional<CDialogTemplate> Parse(std::string_view source, std::string& error);

  /// The template of dialog \p id built into the program (resource type
  /// "Dialog", name the id), or nothing when there is none or it is bad.
  static std::optional<CDialogTemplate> Load(int32_t id);
};
