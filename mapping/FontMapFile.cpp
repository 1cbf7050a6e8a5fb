// Saving and loading font map files.
#include "mapping/FontMapFile.h"

#include <array>

#include "app/FileErrorText.h"
#include "mapping/CMappingTable.h"
#include "mapping/CMessageSink.h"
#include "mapping/MappingRules.h"
#include "mapping/ReplaceFile.h"
#include "model/CFontReferenceList.h"
#include "platform/CExclusiveFile.h"
#include "platform/FileException.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TextFile.h"

namespace {

constexpr size_t kFieldCount = 10;
constexpr char kLineEnd[] = "\r\n";

void ReportFileError(const CFileException& failure, const std::string& path, CMessageSink& messages) {
  messages.ShowMessage(FileErrorText(failure) + "\n\r" + LoadResString(IdsFileNameLabel) + path,
                       LoadResString(IdsCaptionError));
}

// The whole file as a text-mode read delivers it, read under an exclusive
// lock as the file is shared with nobody.
std::string ReadMapFile(const std::string& path) {
  CExclusiveFile file(path);
  std::string text;
  char buffer[65536];
  for (size_t n; (n = file.Read(buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  file.Close();
  text.resize(ApplyTextMode(text.data(), text.size()));
  return text;
}

// Cuts the next field from \p rest as NextField(";", ...) does, as a view:
// false, changing nothing, when rest is empty.
bool NextMapField(std::string_view& field, std::string_view& rest) {
  if (rest.empty()) return false;
  const size_t at = rest.find(';');
  field = rest.substr(0, at);
  rest = at == std::string_view::npos ? std::string_view() : rest.substr(at + 1);
  return true;
}

// Applies one data line to the table. Returns whether a family was added.
bool ApplyMapLine(std::string_view line, CMappingTable& table, CFontReferenceList& fontFiles) {
  std::array<std::string_view, kFieldCount> fields;
  size_t found = 0;
  while (found < kFieldCount && NextMapField(fields[found], line)) ++found;
  if (found == 0) return false;  // an empty line names nothing

  bool added = AddFamilyName(fontFiles, fields[0], fields[6]);
  const std::string name = std::string(fields[0]).append(fields[1]);
  const NewFontTuple font{std::string(fields[6]), std::string(fields[7]), std::string(fields[8]),
                          std::string(fields[9])};
  // Rows showing the name (found without regard to case) and the current
  // font of the line (compared exactly), top to bottom; a list of their
  // own, as observers hear of each selection and might rebuild the table.
  const std::vector<int32_t> rows = table.FindRowsWithFont(name, fields[2], fields[3], fields[4], fields[5]);
  for (int32_t row : rows) {
    table.SelectRow(row);
    table.ApplyNewFont(true, table.IsDefinitionRow(row), font);
  }
  return added;
}

}  // namespace

std::string FontMapLine(const CFontReference& reference) {
  std::string line;
  for (const std::string* field :
       {&reference.GetComponent(), &KindMarker(reference.GetKind()), &reference.GetFamily(), &reference.GetSize(),
        &reference.GetBold(), &reference.GetItalic(), &reference.GetNewFamily(), &reference.GetNewSize(),
        &reference.GetNewBold(), &reference.GetNewItalic()}) {
    line += *field;
    line += ';';
  }
  return line;
}

bool SaveFontMap(const std::string& path, const CFontReferenceList& translated, CMessageSink& messages) {
  std::string text;
  if (translated.Count() > 0) {
    text = LoadResString(IdsFontMapHeader) + ";" + kLineEnd;
    for (int32_t i = translated.Count() - 1; i >= 0; --i) {  // list order: newest first
      const CFontReference& reference = *translated.GetAt(i);
      if (reference.GetChanged()) text += FontMapLine(reference) + kLineEnd;
    }
  }
  try {
    ReplaceFile(path, text);
  } catch (const CFileException& failure) {
    ReportFileError(failure, path, messages);
    return false;
  }
  return true;
}

FontMapLoad LoadFontMap(const std::string& path, CMappingTable& table, CFontReferenceList& fontFiles,
                        CMessageSink& messages) {
  FontMapLoad result;
  std::string text;
  try {
    text = ReadMapFile(path);
  } catch (const CFileException& failure) {
    ReportFileError(failure, path, messages);
    result.status = FontMapStatus::FileError;
    return result;
  }

  size_t lineEnd = text.find('\n');
  std::string_view header(text.data(), lineEnd == std::string::npos ? text.size() : lineEnd);
  if (text.empty() || header.find(LoadResString(IdsFontMapHeader)) == std::string_view::npos) {
    result.status = FontMapStatus::NotValid;
    return result;
  }
  CMappingTable::Batch batch(table);  // See Note [repeated applies]
  while (lineEnd != std::string::npos && lineEnd + 1 < text.size()) {
    size_t start = lineEnd + 1;
    lineEnd = text.find('\n', start);
    size_t length = (lineEnd == std::string::npos ? text.size() : lineEnd) - start;
    if (ApplyMapLine(std::string_view(text).substr(start, length), table, fontFiles)) result.familyAdded = true;
  }
  table.SelectRow(0);
  return result;
}

FontMapsLoad LoadFontMaps(const std::vector<std::string>& paths, CMappingTable& table, CFontReferenceList& fontFiles,
                          CMessageSink& messages) {
  FontMapsLoad result;
  std::string notValid;
  for (const std::string& path : paths) {
    FontMapLoad load = LoadFontMap(path, table, fontFiles, messages);
    if (load.familyAdded) result.familyAdded = true;
    if (load.status != FontMapStatus::Done) ++result.failed;
    if (load.status == FontMapStatus::NotValid) {
      notValid += LoadResString(IdsNotValidMapFile) + path + kLineEnd;
    }
  }
  if (!notValid.empty()) messages.ShowMessage(notValid, LoadResString(IdsCaptionError));
  return result;
}

bool AddFamilyName(CFontReferenceList& fontFiles, std::string_view firstField, std::string_view family) {
  if (firstField == CategoryText(IdsCategoryChartFont) || firstField == CategoryText(IdsCategoryTextStringFont)) {
    return fontFiles.NamedFamilies().AddAtHead(family);
  }
  return fontFiles.DefinedFamilies().AddAtHead(family);
}
