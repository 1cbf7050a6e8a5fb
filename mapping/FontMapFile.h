// Font map files: the new fonts chosen for the translated files' references,
// written so that they can be applied again to another set of files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CFontReference;
class CFontReferenceList;
class CMappingTable;
class CMessageSink;

/// What became of loading one font map file.
enum class FontMapStatus {
  Done,       ///< read and applied
  FileError,  ///< could not be opened or read; already reported
  NotValid,   ///< its first line lacks the header; for the caller to report
};

struct FontMapLoad {
  FontMapStatus status = FontMapStatus::Done;
  /// A family was added to the font files' lists (the page refills its
  /// Name box).
  bool familyAdded = false;
};

/// The data line of one reference, without its line end: component as
/// stored, kind marker, current family, size, bold, italic, and the four
/// new-font fields, each followed by ";".
std::string FontMapLine(const CFontReference& reference);

/// Writes the header line and one line per changed reference of
/// \p translated, in list order, with CR LF line ends; an empty list gives
/// an empty file. The file is replaced only once it was written whole. A
/// file error is shown on \p messages and gives false.
bool SaveFontMap(const std::string& path, const CFontReferenceList& translated, CMessageSink& messages);

/// Reads the font map file at \p path and applies each line to the rows of
/// \p table that show its name (component and kind marker, found without
/// regard to case) and its current font (exactly); each new family goes
/// into \p fontFiles' lists. Selects row 0 at the end. A file error is shown
/// on \p messages at once; a missing header is only returned.
FontMapLoad LoadFontMap(const std::string& path, CMappingTable& table, CFontReferenceList& fontFiles,
                        CMessageSink& messages);

/// What became of loading several font map files.
struct FontMapsLoad {
  /// Some file added a family (the page refills its Name box).
  bool familyAdded = false;
  /// Files that could not be read or were no map files.
  int32_t failed = 0;
};

/// LoadFontMap for each of \p paths in order, then one message listing every
/// file that was not valid.
FontMapsLoad LoadFontMaps(const std::vector<std::string>& paths, CMappingTable& table, CFontReferenceList& fontFiles,
                          CMessageSink& messages);

/// Adds \p family to the named families of \p fontFiles when \p firstField
/// is "Chart Font" or "Text String Font", else to the defined families,
/// unless the exact text is there; returns whether it added.
bool AddFamilyName(CFontReferenceList& fontFiles, std::string_view firstField, std::string_view family);
