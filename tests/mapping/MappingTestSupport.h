// Builds translated-files models for the mapping tests the way the parse
// actions fill them: definitions, font numbers, font changes and spelled-out
// names, each in a named file.
#pragma once

#include <string>
#include <string_view>

#include "model/CFileTable.h"
#include "model/CFontReferenceList.h"

namespace mappingtest {

class CModelBuilder {
 public:
  /// Later references come from \p name.
  CModelBuilder& File(std::string_view name) {
    fileNumber_ = CFileTable::Process().FileNumberOf(name);
    list.SetCurrentFileName(name);
    return *this;
  }

  /// A font definition element: Fn = family size [Bold] [Italic].
  CModelBuilder& Define(std::string_view key, std::string_view family, std::string_view size,
                        std::string_view bold = {}, std::string_view italic = {}) {
    list.AddFontDefinitionLine(key, family, size, bold, italic);
    list.AddReference(CFontReference(Piece(key), 0, "Font Definition"));
    return *this;
  }

  /// The font number \p number that component \p component of \p kind sets.
  CModelBuilder& Number(std::string_view component, int32_t kind, std::string_view number) {
    list.AddReference(CFontReference(kind, component, Piece(number), 0, "Font Number"));
    return *this;
  }

  /// A font change "<F" + number in text.
  CModelBuilder& Change(std::string_view number) {
    list.AddReference(CFontReference(Piece("<F" + std::string(number)), 0, "Font Change"));
    return *this;
  }

  /// A reference outside any component with a spelled-out font name.
  CModelBuilder& Named(std::string_view category, std::string_view name) {
    list.AddReference(CFontReference(Piece(name), 0, category));
    return *this;
  }

  CFontReferenceList list;

 private:
  CTextPiece Piece(std::string_view text) {
    CTextPiece piece(text, ++line_, 1, CharsetSingleByte);
    piece.SetFileNumber(fileNumber_);
    return piece;
  }

  uint32_t fileNumber_ = 0;
  int32_t line_ = 0;
};

}  // namespace mappingtest
