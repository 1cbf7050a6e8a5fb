// CSelectFilesPage: page A of the wizard, where the translated files, the
// font files and the output directory are chosen (dialog 102).
#pragma once

#include <cstdint>
#include <string>

#include "app/ui/CWizardPage.h"

/// Page A: the program's main window.
class CSelectFilesPage : public CWizardPage {
 public:
  /// Control ids of the page.
  enum : int32_t {
    kTranslatedBox = 1000,
    kFontBox = 1001,
    kOutputBox = 1002,
    kBrowseTranslated = 1003,
    kBrowseFonts = 1004,
    kBrowseOutput = 1005,
    kNext = 1018,
    kClearAll = 1059,
  };

  CSelectFilesPage();

  const std::string& TranslatedFilesText() const { return translatedFilesText_; }
  const std::string& FontFilesText() const { return fontFilesText_; }
  const std::string& OutputDirectoryText() const { return outputDirectoryText_; }
  /// The filter index confirmed last in the font files' open dialog; 0
  /// before that dialog was first confirmed.
  int32_t FontFileType() const { return fontFileType_; }

 protected:
  void OnInitDialog() override;
  /// The hidden default button: Enter does nothing on this page.
  void OnOK() override;
  /// "&Exit" and Escape: the help viewer is told to quit, then the page
  /// ends and with it the program.
  void OnCancel() override;
  void OnClose() override;

 private:
  void OnBrowseTranslated();
  void OnBrowseFonts();
  void OnBrowseOutputDirectory();
  void OnClearAll();
  void OnNext();

  /// The open dialog and the Append/Replace question for one selection.
  void BrowseFiles(std::string& selection, int32_t titleId, int32_t filterId, bool fontFiles);
  /// Copies the three boxes into their fields.
  void ReadBoxes();
  /// Copies the three fields into their boxes.
  void ShowFields();

  std::string translatedFilesText_;
  std::string fontFilesText_;
  std::string outputDirectoryText_;
  int32_t fontFileType_ = 0;
};
