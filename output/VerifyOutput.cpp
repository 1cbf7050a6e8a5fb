// Reading written files again and comparing their fonts with the run's.
#include "output/VerifyOutput.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <exception>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "app/CMemoryLoadLog.h"
#include "app/LoadFileSet.h"
#include "app/StopFlag.h"
#include "model/CFileTable.h"
#include "model/CFontReferenceList.h"
#include "model/CStringPool.h"
#include "output/OutputPaths.h"
#include "output/OutputTexts.h"
#include "platform/MessagePump.h"
#include "platform/ParallelChunks.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

constexpr size_t kProblemsShown = 10;

// Family, size, bold and italic. Both models' texts are shared copies
// (CStringPool), so fonts compare by the addresses of their texts.
using Font = std::array<const std::string*, 4>;

Font CurrentFont(const CFontReference& r) { return {&r.GetFamily(), &r.GetSize(), &r.GetBold(), &r.GetItalic()}; }

// The font a reference must have in the copy. A rewritten reference takes
// what the run wrote for it: the new family and size where chosen, else the
// old ones, and the new bold and italic (the old ones are not carried over).
Font ExpectedFont(const CFontReference& r) {
  if (r.GetReplacementText().empty() || r.GetFontKey().empty()) return CurrentFont(r);
  return {r.GetNewFamily().empty() ? &r.GetFamily() : &r.GetNewFamily(),
          r.GetNewSize().empty() ? &r.GetSize() : &r.GetNewSize(), &r.GetNewBold(), &r.GetNewItalic()};
}

std::string Describe(const Font& font) {
  std::string text;
  for (const std::string* part : font) {
    if (part->empty()) continue;
    if (!text.empty()) text += ' ';
    text += *part;
  }
  return text.empty() ? "\"\"" : text;
}

// A definition: its key and its font.
using Definition = std::pair<const std::string*, Font>;

// Definitions in the order of their texts, key first: the order in which
// the missing ones are listed.
struct ByTexts {
  bool operator()(const Definition& a, const Definition& b) const {
    const auto texts = [](const Definition& d) {
      return std::tie(*d.first, *d.second[0], *d.second[1], *d.second[2], *d.second[3]);
    };
    return texts(a) < texts(b);
  }
};

// The references of one file, definitions apart from the others, in order.
struct FileReferences {
  std::vector<const CFontReference*> uses;
  std::multiset<Definition, ByTexts> definitions;
};

// The shared copy of the definitions' category, which a reference's
// category is exactly when it is this copy.
const std::string* DefinitionCategory() {
  static const std::string* const category = CStringPool::Intern(LoadResString(IdsCategoryFontDefinition));
  return category;
}

// Sorts the references of \p model into those of each file name, in one
// pass: a name is looked up once for each file number, not once for each
// reference.
class CReferencesByFile {
 public:
  explicit CReferencesByFile(const CFontReferenceList& model) {
    std::unordered_map<uint32_t, FileReferences*> byNumber;
    for (int32_t i = 0; i < model.Count(); ++i) {
      const CFontReference& r = *model.GetAt(i);
      const uint32_t number = r.GetPiece().GetFileNumber();
      auto [at, added] = byNumber.try_emplace(number, nullptr);
      if (added) at->second = &files_[r.GetPiece().GetFileName()];
      Add(*at->second, r);
    }
  }
  /// The references of \p fileName (none when it has none).
  const FileReferences& Of(const std::string& fileName) const {
    static const FileReferences none;
    auto found = files_.find(fileName);
    return found == files_.end() ? none : found->second;
  }
  /// Every reference of \p model, as of one file.
  static FileReferences All(const CFontReferenceList& model) {
    FileReferences file;
    for (int32_t i = 0; i < model.Count(); ++i) Add(file, *model.GetAt(i));
    return file;
  }

 private:
  static void Add(FileReferences& file, const CFontReference& r) {
    if (&r.GetCategory() == DefinitionCategory()) {
      file.definitions.emplace(&r.GetFontKey(), CurrentFont(r));
    } else {
      file.uses.push_back(&r);
    }
  }
  std::unordered_map<std::string, FileReferences> files_;
};

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
    if (expected == found && &before.GetComponent() == &after.GetComponent()) continue;
    const CTextPiece& piece = after.GetPiece();
    problems.push_back(FormatText(LoadResString(IdsVerifyMismatch).c_str(), std::to_string(piece.GetStartLine()),
                                  std::to_string(piece.GetStartColumn()), after.GetComponent(), Describe(found),
                                  Describe(expected)));
  }
  // Definitions are only ever added to: each of the input's must remain.
  std::multiset<Definition, ByTexts> left = copy.definitions;
  for (const auto& definition : input.definitions) {
    auto found = left.find(definition);
    if (found != left.end()) {
      left.erase(found);
      continue;
    }
    problems.push_back(FormatText(LoadResString(IdsVerifyMismatch).c_str(), std::string("-"), std::string("-"),
                                  *definition.first, std::string("\"\""), Describe(definition.second)));
  }
  return problems;
}

// The problems of the copy \p record wrote: read again, its references
// set beside those of its input in \p inputs, the references of
// \p translated by file.
std::vector<std::string> ProblemsOf(const COutputRecord& record, const CFontReferenceList& translated,
                                    const CReferencesByFile& inputs) {
  CFontReferenceList copy;
  CMemoryLoadLog log;
  int32_t errors = 0;
  int32_t valid = 0;
  const bool read = LoadFileSet(log, errors, copy, record.outputName + ';', valid, LoadMode::FontFiles,
                                DirectoryPart(record.outputName)) &&
                    errors == 0 && valid == 1;
  if (!read) return {LoadResString(IdsVerifyUnreadable)};
  // A record without an input name is set beside the whole model.
  if (record.inputName.empty()) return Compare(CReferencesByFile::All(translated), CReferencesByFile::All(copy));
  return Compare(inputs.Of(record.inputName), CReferencesByFile::All(copy));
}

}  // namespace

std::vector<CVerifyFailure> VerifyOutput(const CFontReferenceList& translated,
                                         const std::vector<COutputRecord>& written) {
  // A load stopped on the load page leaves the stop flag set, and the
  // reader would stop at once; the check is no part of that load.
  struct StopFlagKept {
    uint8_t flag = GetStopFlag();
    StopFlagKept() { SetStopFlag(0); }
    ~StopFlagKept() { SetStopFlag(flag); }
  } kept;
  const CReferencesByFile inputs(translated);

  // Each copy is a file of its own, read again on a core of its own, as a
  // set of files is loaded: not where a message pump makes reading the
  // user interface's. Their file numbers are given first, in order, as
  // reading them one by one gives them.
  std::vector<std::vector<std::string>> problems(written.size());
  std::vector<std::exception_ptr> thrown(written.size());
  const size_t readers = pump_detail::installed ? 1 : std::min(written.size(), ChunksFor(written.size(), 1));
  if (readers > 1) {
    for (const COutputRecord& record : written) CFileTable::Process().FileNumberOf(record.outputName);
  }
  std::atomic<size_t> next{0};
  ForEachChunk(readers, readers, [&](size_t, size_t, size_t) {
    for (size_t i = next++; i < written.size(); i = next++) {
      try {
        problems[i] = ProblemsOf(written[i], translated, inputs);
      } catch (...) {
        thrown[i] = std::current_exception();
      }
    }
  });

  std::vector<CVerifyFailure> failures;
  for (size_t i = 0; i < written.size(); ++i) {
    if (thrown[i]) std::rethrow_exception(thrown[i]);  // where reading them in turn would have stopped
    if (problems[i].empty()) continue;
    const COutputRecord& record = written[i];
    CVerifyFailure failure{record.outputName, FormatText(LoadResString(IdsVerifyFailed).c_str(), record.outputName)};
    for (size_t k = 0; k < problems[i].size() && k < kProblemsShown; ++k) failure.message += "\n" + problems[i][k];
    if (problems[i].size() > kProblemsShown) {
      failure.message +=
          "\n" + FormatText(LoadResString(IdsAndMore).c_str(), static_cast<int>(problems[i].size() - kProblemsShown));
    }
    failures.push_back(std::move(failure));
  }
  return failures;
}
