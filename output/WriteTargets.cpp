// Write targets against files read, by file identity.
#include "output/WriteTargets.h"

#include <unordered_map>

#include "app/CWizardChoices.h"
#include "app/NextField.h"
#include "output/OutputPaths.h"
#include "output/OutputTexts.h"
#include "platform/FileIdentity.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {
void AddFields(const std::string& selection, std::vector<std::string>& paths) {
  std::string rest = selection;
  std::string field;
  while (NextField(";", field, rest)) {
    if (!field.empty()) paths.push_back(field);
  }
}
}  // namespace

std::vector<std::string> FilesReadBy(const CWizardChoices& choices) {
  std::vector<std::string> paths;
  AddFields(choices.GetTranslatedFiles(), paths);
  AddFields(choices.GetFontFiles(), paths);
  return paths;
}

std::vector<std::string> OutputTargetsOf(const CWizardChoices& choices) {
  const std::string inputRoot = WithTrailingSlash(choices.GetSourceDirectory());
  const std::string outputRoot = ResolveOutputDirectory(inputRoot, choices.GetOutputDirectory());
  std::vector<std::string> inputs;
  AddFields(choices.GetTranslatedFiles(), inputs);
  std::vector<std::string> targets;
  for (const std::string& input : inputs) {
    if (std::optional<std::string> target = OutputPathFor(inputRoot, outputRoot, input)) {
      targets.push_back(std::move(*target));
    }
  }
  return targets;
}

std::optional<CWriteConflict> FindWriteConflict(const std::vector<std::string>& targets,
                                                const std::vector<std::string>& reads) {
  std::unordered_map<std::string, const std::string*> byKey;
  for (const std::string& read : reads) byKey.emplace(FileKey(read), &read);
  for (const std::string& target : targets) {
    auto found = byKey.find(FileKey(target));
    if (found != byKey.end()) return CWriteConflict{target, *found->second};
  }
  return std::nullopt;
}

std::optional<CWriteConflict> CheckJobWrites(const CWizardChoices& choices,
                                             const std::vector<std::string>& otherTargets,
                                             const std::vector<std::string>& otherReads) {
  std::vector<std::string> targets = OutputTargetsOf(choices);
  targets.insert(targets.end(), otherTargets.begin(), otherTargets.end());
  std::vector<std::string> reads = FilesReadBy(choices);
  reads.insert(reads.end(), otherReads.begin(), otherReads.end());
  return FindWriteConflict(targets, reads);
}

std::string WriteConflictText(const CWriteConflict& conflict) {
  return FormatText(LoadResString(IdsWriteOntoInput).c_str(), conflict.target, conflict.input);
}
