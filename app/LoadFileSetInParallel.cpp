// Loading a set of files on several cores with the result of one.
//
// Files depend on each other only through the model: a parse resolves
// font keys against the definition lines of every file before it, and a
// reference inside a component takes the current component and kind that
// the file before may have left. So each file is parsed on a worker into a
// model of its own, and then added to the set's model in selection order by
// the model's own operations, in the order the parse made them: its
// definition lines, each before the reference that followed it, and its
// references, which the set's model resolves again against everything
// before them. A file whose parse took the current component or kind
// from the files before is parsed again in turn. Everything else the load
// does is done in order on the calling thread: pre-checks, file numbers
// and stamps, the log (each worker writes to a log of its own, copied in
// when its file's turn comes) and the counts.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CLoadLog.h"
#include "app/CMemoryLoadLog.h"
#include "app/CParallelParses.h"
#include "app/LoadFileSet.h"
#include "app/ParseFile.h"
#include "app/Precheck.h"
#include "model/CFontReference.h"
#include "model/CFontReferenceList.h"
#include "platform/HeapPages.h"
#include "platform/MessagePump.h"

namespace {

// A file of the set as the pre-checks left it.
struct CheckedFile {
  std::string path;
  CMemoryLoadLog start;  // the block's lines up to the parse
  int32_t code = PrecheckPassed;
  int32_t errors = 0;    // counted when the file's turn comes
  bool endsSet = false;  // no disk space: the set stops here
};

void CopyLog(const CMemoryLoadLog& from, CLoadLog& to) {
  for (const CMemoryLoadLog::Line& line : from.Lines()) {
    if (line.shown) {
      to.AppendShown(line.text);
    } else {
      to.AppendPlain(line.text);
    }
  }
}

// Adds the file that \p parse read from \p path to \p model as parsing it
// into \p model would have. False, with \p model untouched, when that
// cannot be made sure of.
bool AddParsedFile(CFontReferenceList& model, CParallelParses::Parse& parse, const std::string& path) {
  CFontReferenceList& file = *parse.model;
  if (parse.record.orderUnknown) return false;
  // Each stretch of definition lines is added again as one line whose
  // first part is the stretch: the model writes it back byte for byte
  // when it ends as a line with a part does.
  const std::string& text = file.GetFontDefinitionsText();
  size_t end = 0;
  for (const CRecordingParser::DefinitionsAdded& added : parse.record.definitions) {
    if (added.textEnd < end + 3 || text.compare(added.textEnd - 2, 2, " \n") != 0) return false;
    end = added.textEnd;
  }
  if (end != text.size()) return false;
  if (parse.tookCarriedState) return false;

  model.SetCurrentFileName(path);
  for (const CTextPiece& piece : file.GetFontDefinitionsPieces()) model.AddFontDefinitionsPiece(piece);
  const std::vector<CRecordingParser::DefinitionsAdded>& definitions = parse.record.definitions;
  size_t next = 0;
  size_t from = 0;
  auto addDefinitionsBefore = [&](int32_t reference) {
    for (; next < definitions.size() && definitions[next].before <= reference; ++next) {
      const size_t to = definitions[next].textEnd;
      model.AddFontDefinitionLine(std::string_view(text).substr(from, to - from - 2), {}, {}, {}, {});
      from = to;
    }
  };
  const int32_t count = file.Count();
  model.TakeReferences(file, addDefinitionsBefore);
  addDefinitionsBefore(count);
  model.SetIsShiftJis(file.GetIsShiftJis());
  if (file.GetCurrentKind() != CParallelParses::CarriedKind()) model.SetCurrentKind(file.GetCurrentKind());
  if (file.GetCurrentComponent() != CParallelParses::CarriedComponent()) {
    model.SetCurrentComponent(file.GetCurrentComponent());
  }
  return true;
}

}  // namespace

bool LoadFileSetInParallel(CLoadLog& log, int32_t& errorCount, CFontReferenceList& model, std::string_view selection,
                           int32_t& valid, LoadMode mode, const std::string& outputFolder, int32_t threads) {
  std::vector<std::string> paths = SelectedFiles(selection);
  // The message pump belongs to the user interface's thread, and a Stop
  // takes effect at a reduction of the file being parsed: both need files
  // parsed one after the other.
  if (threads < 2 || paths.size() < 2 || pump_detail::installed) {
    return LoadFileSet(log, errorCount, model, selection, valid, mode, outputFolder);
  }
  UseHugePagesForFiles(paths);

  // The pre-checks, in order, and the file numbers and stamps in the order
  // one core gives them.
  std::vector<CheckedFile> files;
  std::vector<std::string> parsed;
  int32_t requiredSpace = 0;
  for (const std::string& path : paths) {
    CheckedFile& file = files.emplace_back();
    file.path = path;
    file.code = StartFileBlock(file.start, path, mode, outputFolder, requiredSpace);
    if (file.code == PrecheckPassed) {
      StampLoadedFile(path);
      parsed.push_back(path);
      continue;
    }
    file.endsSet = !FailedPrecheck(file.start, file.code, file.errors);
    if (file.endsSet) break;
    EndFileBlock(file.start, false);
  }

  // The files' own models were made on workers, whose memory pools keep
  // what is freed unless told to give it back: without that, the process
  // would hold the models of the files parsed beside the set's model. Told
  // once the set is joined, not after each file: the next parse on a worker
  // reuses what the one before freed, where memory given back would come
  // again from the system, zeroed.
  struct GiveBackFreedMemory {
    ~GiveBackFreedMemory() { GiveBackFreeHeap(); }
  } giveBack;
  CParallelParses parses(parsed, threads);
  size_t index = 0;
  for (CheckedFile& file : files) {
    CopyLog(file.start, log);
    errorCount += file.errors;
    if (file.endsSet) return false;
    if (file.code != PrecheckPassed) continue;
    CParallelParses::Parse parse = parses.Take(index++);
    ParseOutcome outcome = parse.outcome;
    const bool parseAgain = outcome != ParseOutcome::Failed && !AddParsedFile(model, parse, file.path);
    if (!parseAgain) CopyLog(parse.log, log);
    parse.model.reset();
    if (parseAgain) outcome = ParseFile(log, model, file.path);
    if (!EndParsedFile(log, outcome, valid, errorCount)) return false;
  }
  return true;
}
