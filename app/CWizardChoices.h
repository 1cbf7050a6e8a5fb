// The choices made on the file selection page, carried to the load and
// mapping pages.
#pragma once

#include <cstdint>
#include <string>

/// Which kind of font files the user last browsed for.
enum FontFileType : int32_t {
  FontFilesNeverBrowsed = 0,
  FontFilesInterleaf = 1,  ///< Interleaf ASCII files (*.doc, *.sty)
  FontFilesMapFiles = 2,   ///< font map files (*.txt)
};

/// The choices of the file selection page. Selections are texts of full
/// paths, each followed by ";".
class CWizardChoices {
 public:
  CWizardChoices(std::string translatedFiles, std::string fontFiles, std::string outputDirectory, int32_t fontFileType);

  std::string GetTranslatedFiles() const { return translatedFiles_; }
  std::string GetFontFiles() const { return fontFiles_; }
  std::string GetOutputDirectory() const { return outputDirectory_; }
  /// The directory of the first translated file, without a separator at its
  /// end; see SourceDirectoryOf.
  std::string GetSourceDirectory() const { return sourceDirectory_; }
  int32_t GetFontFileType() const { return fontFileType_; }

  /// The directory of the first path of a selection text: the text of the
  /// first field before its last '/' or '\\'; empty when that path has no
  /// directory part. Only the first field counts, so dots in directory
  /// names (/home/j.doe/) or a first file without an extension cannot pull
  /// the directory from elsewhere in the selection.
  static std::string SourceDirectoryOf(const std::string& translatedFiles);

 private:
  std::string translatedFiles_;
  std::string fontFiles_;
  std::string outputDirectory_;
  std::string sourceDirectory_;
  int32_t fontFileType_;
};
