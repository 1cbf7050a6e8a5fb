// The reader's parser: the Interleaf grammar's engine with the actions that
// record font references in a document model or reject the file.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "reader/SSYacc.h"

class CFontReferenceList;
class CParseHost;
class CTextPiece;

/// Parses one file into \p model. Font definitions, component fonts, font
/// changes and the font names of text strings and charts become font
/// references; constructs the program cannot rewrite safely (revision
/// tracking, split documents, hand edits, a Japanese file that is not
/// Shift-JIS) are reported to the host, counted, and end the parse. At the
/// reductions Reduce sees (those of labelled productions, the ones with
/// actions, and every SSYacc::kReducePoll-th reduction besides) the user
/// interface gets one message and a stop request ends the parse.
class CInterleafParser : public SSYacc {
 public:
  /// A parser that fills \p model (its current file name must already be
  /// set) and reports to \p host; both must outlive the parser. The table
  /// is loaded separately (LoadTable).
  CInterleafParser(CFontReferenceList& model, CParseHost& host);

  /// Rejections reported during this parse.
  int32_t ErrorCount() const noexcept { return errorCount_; }

  SSRefPtr<SSYaccStackElement> Reduce(int32_t production, int32_t length) override;

 private:
  /// The action of \p production, which has a label (the others have none).
  void Act(int32_t production);
  /// Whether the host asks to stop: its stop flag read here when it has
  /// one, else its StopRequested.
  bool StopRequested();
  void Reject(int32_t code);
  // The categories of the references the actions make.
  enum Category {
    kFontDefinitionRef,
    kFontNumberRef,
    kFontChangeRef,
    kChartFontRef,
    kTextStringFontRef,
    kDiagramFontEmptyRef,
    kChartFontEmptyRef,
    kCategories
  };

  void AddDefinition(std::string_view bold, std::string_view italic);
  void SetComponent(std::string_view name, int32_t plainKind, int32_t prefixKind);
  /// Adds a reference outside any component for the piece \p piece.
  void AddOutside(CTextPiece piece, Category category);
  /// Adds a reference in the current component, with the current kind.
  void AddInside(CTextPiece piece, Category category);
  /// The normal form of \p category, and of the current component's name,
  /// for the file's encoding now.
  const std::string* NormalCategory(Category category);
  const std::string* NormalComponent();
  /// The piece of the token of right-side element \p index.
  CTextPiece PieceOf(int32_t index);
  /// An empty piece where the lookahead token stands: the place of an empty
  /// field, which covers no text.
  CTextPiece EmptyPieceAtLookahead();
  std::string_view TextOf(int32_t index);

  CFontReferenceList& model_;
  CParseHost& host_;
  uint32_t fileNumber_;
  int32_t errorCount_ = 0;
  bool stopLogged_ = false;
  // The host's stop flag, asked for at the first reduction (the host may
  // not be complete while the parser is made).
  bool stopFlagAsked_ = false;
  const std::atomic<uint8_t>* stopFlag_ = nullptr;
  // Category texts, read from the string table once per parser, and the
  // normal forms worked out so far, for each value of the Shift-JIS flag
  // (the header may set it; each form is worked out once).
  std::string categories_[kCategories];
  const std::string* normalCategories_[2][kCategories] = {};
  const std::string* normalComponent_[2] = {};
};
