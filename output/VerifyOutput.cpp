// Reading written files again and comparing their fonts with the run's.
#include "output/VerifyOutput.h"

#include <algorithm>
#include <array>
#include <set>

#include "app/CMemoryLoadLog.h"
#include "app/LoadFileSet.h"
#include "app/StopFlag.h"
#include "model/CFontReferenceList.h"
#include "output/OutputPaths.h"
#include "output/OutputTexts.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

constexpr size_t kProblemsShown = 10;

using Font = std::array<std::string, 4>;  // family, size, bold, italic

Font CurrentFont(const CFontReference& r) { return {r.GetFamily(), r.GetSize(), r.GetBold(), r.GetItalic()}; }

// The font a reference must have in the copy. A rewritten reference takes
// what the run wrote for it: the new family and size where chosen, else the
// old ones, and the new bold and italic (the old ones are not carried over).
Font ExpectedFont(const CFontReference& r) {
  if (r.GetReplacementText().empty() || r.GetFontKey().empty()) return CurrentFont(r);
  return {r.GetNewFamily().empty() ? r.GetFamily() : r.GetNewFamily(),
          r.GetNewSize().empty() ? r.GetSize() : r.GetNewSize(), r.GetNewBold(), r.GetNewItalic()};
}

std::string Describe(const Font& font) {
  std::string text;
  for (const std::string& part : font) {
    if (part.empty()) continue;
    if (!text.empty()) text += ' ';
    text += part;
  }
  return text.empty() ? "\"\"" : text;
}

bool IsDefinition(const CFontReference& r) { return r.GetCategory() == LoadResString(IdsCategoryFontDefinition); }

// The references of one file, definitions apart from the others, in order.
struct FileReferences {
  std::vector<const CFontReference*> uses;
  std::multiset<std::pair<std::string, Font>> definitions;  // by key
};

FileReferences Gather(const CFontReferenceList& model, const std::string& fileName) {
  FileReferences file;
  for (int32_t i = 0; i < model.Count(); ++i) {
    const CFontReference& r = *model.GetAt(i);
    if (!fileName.empty() && r.GetPiece().GetFileName() != fileName) continue;
    if (IsDefinition(r))
      file.definitions.emplace(r.GetFontKey(), CurrentFont(r));
    else
      file.uses.push_back(&r);
  }
  return file;
}

std::vector<std::string> Compare(const FileReferences& input, const FileReferences& copy) {
  std::vector<std::string> problems;
  if (input.uses.size() != copy.uses.size()) {
    problems.push_back(FormatText(LoadResString(IdsVerifyCount).c_str(), std::to_string(copy.uses.size()),
                                  std::to_string(input.uses.size())));
    return problems;
  }
  for (size_t i = 0; i < input.uses.size(); ++i) {
    const CFontReference& before = *input.uses[i];
    const CFontReference& after = *copy.uses[i];
    const Font expected = ExpectedFont(before);
    const Font found = CurrentFont(after);
    if (expected == found && before.GetComponent() == after.GetComponent()) continue;
    const CTextPiece& piece = after.GetPiece();
    problems.push_back(FormatText(LoadResString(IdsVerifyMismatch).c_str(), std::to_string(piece.GetStartLine()),
                                  std::to_string(piece.GetStartColumn()), after.GetComponent(), Describe(found),
                                  Describe(expected)));
  }
  // Definitions are only ever added to: each of the input's must remain.
  std::multiset<std::pair<std::string, Font>> left = copy.definitions;
  for (const auto& definition : input.definitions) {
    auto found = left.find(definition);
    if (found != left.end()) {
      left.erase(found);
      continue;
    }
    problems.push_back(FormatText(LoadResString(IdsVerifyMismatch).c_str(), std::string("-"), std::string("-"),
                                  definition.first, std::string("\"\""), Describe(definition.second)));
  }
  return problems;
}

}  // namespace

std::vector<CVerifyFailure> VerifyOutput(const CFontReferenceList& translated,
                                         const std::vector<COutputRecord>& written) {
  // A load stopped on the load page leaves the stop flag set, and the
  // reader would stop at once; the check is no part of that load.
  const uint8_t stopFlag = GetStopFlag();
  SetStopFlag(0);
  std::vector<CVerifyFailure> failures;
  for (const COutputRecord& record : written) {
    CFontReferenceList copy;
    CMemoryLoadLog log;
    int32_t errors = 0;
    int32_t valid = 0;
    const bool read = LoadFileSet(log, errors, copy, record.outputName + ';', valid, LoadMode::FontFiles,
                                  DirectoryPart(record.outputName)) &&
                      errors == 0 && valid == 1;
    std::vector<std::string> problems;
    if (!read)
      problems.push_back(LoadResString(IdsVerifyUnreadable));
    else
      problems = Compare(Gather(translated, record.inputName), Gather(copy, std::string()));
    if (problems.empty()) continue;

    CVerifyFailure failure{record.outputName, FormatText(LoadResString(IdsVerifyFailed).c_str(), record.outputName)};
    for (size_t i = 0; i < problems.size() && i < kProblemsShown; ++i) failure.message += "\n" + problems[i];
    if (problems.size() > kProblemsShown) {
      failure.message +=
          "\n" + FormatText(LoadResString(IdsAndMore).c_str(), static_cast<int>(problems.size() - kProblemsShown));
    }
    failures.push_back(std::move(failure));
  }
  SetStopFlag(stopFlag);
  return failures;
}
