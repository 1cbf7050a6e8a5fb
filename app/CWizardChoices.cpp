// The choices record and the source directory derived from it.
#include "app/CWizardChoices.h"

#include "app/NextField.h"

CWizardChoices::CWizardChoices(std::string translatedFiles, std::string fontFiles, std::string outputDirectory,
                               int32_t fontFileType)
    : translatedFiles_(std::move(translatedFiles)),
      fontFiles_(std::move(fontFiles)),
      outputDirectory_(std::move(outputDirectory)),
      sourceDirectory_(SourceDirectoryOf(translatedFiles_)),
      fontFileType_(fontFileType) {}

std::string CWizardChoices::SourceDirectoryOf(const std::string& translatedFiles) {
  std::string rest = translatedFiles;
  std::string first;
  if (!NextField(";", first, rest)) return {};
  size_t separator = first.find_last_of("/\\");
  return separator == std::string::npos ? std::string() : first.substr(0, separator);
}
