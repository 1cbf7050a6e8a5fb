// Page A's checks of the three selections.
#include "app/CheckSelections.h"

#include <sys/stat.h>

#include "app/NextField.h"
#include "platform/FileIdentity.h"
#include "platform/StringIds.h"

namespace {

bool EveryFieldExists(const std::string& text) {
  std::string rest = text;
  std::string field;
  while (NextField(";", field, rest)) {
    if (!PathExists(field)) return false;
  }
  return true;
}

bool AnyFieldLiesIn(const std::string& text, const std::string& directory) {
  std::string rest = text;
  std::string field;
  while (NextField(";", field, rest)) {
    if (LiesInDirectory(field, directory)) return true;
  }
  return false;
}

}  // namespace

bool PathExists(const std::string& path) {
  struct stat info;
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

bool LiesInDirectory(const std::string& path, const std::string& directory) {
  size_t lastSeparator = path.find_last_of("\\/");
  std::string folder = lastSeparator == std::string::npos ? std::string(".")
                       : lastSeparator == 0               ? std::string("/")
                                                          : path.substr(0, lastSeparator);
  // Closing separators do not count: "/out/" is the folder "/out".
  size_t length = directory.find_last_not_of("\\/") + 1;  // npos + 1 == 0: all separators
  std::string trimmed = length == 0 ? directory.substr(0, 1) : directory.substr(0, length);
  return !trimmed.empty() && SameFile(folder, trimmed);
}

std::optional<SelectionProblem> CheckSelections(const std::string& translatedFiles, const std::string& fontFiles,
                                                const std::string& outputDirectory) {
  using enum SelectionBox;
  if (translatedFiles.empty()) return SelectionProblem{IdsSelectTranslatedFiles, TranslatedFiles};
  if (fontFiles.empty()) return SelectionProblem{IdsSelectFontFiles, FontFiles};
  if (outputDirectory.empty()) return SelectionProblem{IdsSelectOutputDirectory, OutputDirectory};
  if (!EveryFieldExists(translatedFiles)) {
    return SelectionProblem{IdsTranslatedFilesInaccessible, TranslatedFiles};
  }
  if (!EveryFieldExists(fontFiles)) return SelectionProblem{IdsFontFilesInaccessible, FontFiles};
  if (!EveryFieldExists(outputDirectory)) {
    return SelectionProblem{IdsOutputDirectoryInaccessible, OutputDirectory};
  }
  if (AnyFieldLiesIn(translatedFiles, outputDirectory)) {
    return SelectionProblem{IdsOutputInInputDirectory, OutputDirectory};
  }
  if (AnyFieldLiesIn(fontFiles, outputDirectory)) {
    return SelectionProblem{IdsOutputInInputDirectory, OutputDirectory};
  }
  return std::nullopt;
}
