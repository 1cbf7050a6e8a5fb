// The parse actions of the reader: what each production of the Interleaf
// grammar records in the document model.
#include "reader/CInterleafParser.h"

#include <algorithm>
#include <iterator>

#include "model/CFileTable.h"
#include "model/CFontReference.h"
#include "model/CFontReferenceList.h"
#include "model/CTextPiece.h"
#include "platform/MessagePump.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "reader/CParseHost.h"

namespace {

// Productions of resources/interleaf.grammar that do more than build an
// empty element. The numbers are the grammar's own.
enum Production : int32_t {
  kIncorrectFile = 15,
  kFontDefinitionsWithList = 16,
  kFontDefinitionsSingle = 17,
  kDefinition = 22,
  kDefinitionBold = 23,
  kDefinitionBoldItalic = 24,
  kDefinitionItalic = 25,
  kCharacterEncoding = 27,
  kComponentStart = 35,
  kFontChange = 36,
  kClassDefaults = 50,
  kClassStart = 51,
  kRevisionTracking = 53,
  kSplitDocument = 54,
  kManualComment = 55,
  kIncludeDeclarations = 56,
  kInclude = 57,
  kFontNumber = 65,
  kAPageInTag = 67,
  kTextStringFont = 115,
  kTextStringFontEmpty = 116,
  kChartFont = 132,
  kChartFontEmpty = 133,
};

// Productions that reject the file, with the code they are reported by.
struct Rejection {
  int32_t production;
  int32_t code;
};
constexpr Rejection kRejections[] = {
    {kIncorrectFile, 1000},      {kClassDefaults, 1080},       {kRevisionTracking, 1030},
    {kSplitDocument, 1040},      {kManualComment, 1090},       {kIncludeDeclarations, 1100},
    {kInclude, 1110},            {kAPageInTag, 1040},
};

// The rejection code of each production up to the last rejecting one (0:
// none), so that the many reductions that do nothing are known at a glance.
struct RejectionCodes {
  static constexpr int32_t kSize = [] {
    int32_t size = 0;
    for (const Rejection& rejection : kRejections) size = std::max(size, rejection.production + 1);
    return size;
  }();
  int32_t code[kSize] = {};
  constexpr RejectionCodes() {
    for (const Rejection& rejection : kRejections) code[rejection.production] = rejection.code;
  }
  constexpr int32_t Of(int32_t production) const {
    return production >= 0 && production < kSize ? code[production] : 0;
  }
};
constexpr RejectionCodes kRejectionCodes;
constexpr int32_t kNotShiftJisCode = 1070;

// Names of prefix classes and components carry this mark.
constexpr std::string_view kPrefixMark = "|:";

}  // namespace

CInterleafParser::CInterleafParser(CFontReferenceList& model, CParseHost& host)
    : model_(model),
      host_(host),
      fileNumber_(CFileTable::Process().FileNumberOf(model.GetCurrentFileName())),
      categories_{LoadResString(IdsCategoryFontDefinition), LoadResString(IdsCategoryFontNumber),
                  LoadResString(IdsCategoryFontChange),     LoadResString(IdsCategoryChartFont),
                  LoadResString(IdsCategoryTextStringFont), LoadResString(IdsCategoryDiagramFontEmpty),
                  LoadResString(IdsCategoryChartFontEmpty)} {}

SSRefPtr<SSYaccStackElement> CInterleafParser::Reduce(int32_t production, int32_t) {
  PumpOneMessage();
  // A stop ends the parse after this reduction; its own action still runs,
  // so what it reads is kept.
  if (!stopLogged_ && host_.StopRequested()) {
    host_.LogStopped();
    stopLogged_ = true;
    SetAbort();
  }
  Act(production);
  // Nothing reads the elements of the left sides.
  return {};
}

void CInterleafParser::Act(int32_t production) {
  switch (production) {
    case kFontDefinitionsWithList:
    case kFontDefinitionsSingle:
      model_.AddFontDefinitionsPiece(PieceOf(0));
      return;
    case kDefinition:
      AddDefinition({}, {});
      return;
    case kDefinitionBold:
      AddDefinition(TextOf(4), {});
      return;
    case kDefinitionBoldItalic:
      AddDefinition(TextOf(4), TextOf(5));
      return;
    case kDefinitionItalic:
      AddDefinition(TextOf(4), {});
      return;
    case kCharacterEncoding:
      if (TextOf(2) == "SJIS") {
        model_.SetIsShiftJis(1);
      } else {
        Reject(kNotShiftJisCode);
      }
      return;
    case kComponentStart:
      SetComponent(KindSubcomponent, KindSubcomponentPrefix);
      return;
    case kClassStart:
      SetComponent(KindComponent, KindComponentPrefix);
      return;
    case kFontChange:
      AddOutside(PieceOf(0), kFontChangeRef);
      return;
    case kFontNumber:
      AddInside(PieceOf(2), kFontNumberRef);
      return;
    case kTextStringFont:
      AddOutside(PieceOf(0), kTextStringFontRef);
      model_.SetCurrentKind(KindNone);
      return;
    case kTextStringFontEmpty:
      AddInside(EmptyPieceAtLookahead(), kDiagramFontEmptyRef);
      model_.SetCurrentKind(KindNone);
      return;
    case kChartFont:
      AddOutside(PieceOf(0), kChartFontRef);
      model_.SetCurrentKind(KindNone);
      return;
    case kChartFontEmpty:
      AddOutside(EmptyPieceAtLookahead(), kChartFontEmptyRef);
      model_.SetCurrentKind(KindNone);
      return;
    default:
      if (int32_t code = kRejectionCodes.Of(production)) Reject(code);
      return;
  }
}

void CInterleafParser::Reject(int32_t code) {
  host_.ReportParseError(code);
  ++errorCount_;
  SetAbort();
}

void CInterleafParser::AddDefinition(std::string_view bold, std::string_view italic) {
  // The line goes in first, so that the definition's own reference resolves
  // against it.
  model_.AddFontDefinitionLine(TextOf(0), TextOf(2), TextOf(3), bold, italic);
  model_.SetCurrentKind(KindNone);
  AddOutside(PieceOf(0), kFontDefinitionRef);
}

void CInterleafParser::SetComponent(int32_t plainKind, int32_t prefixKind) {
  std::string_view name = TextOf(1);
  model_.SetCurrentComponent(name);
  normalComponent_[0] = normalComponent_[1] = nullptr;
  model_.SetCurrentKind(name.find(kPrefixMark) != std::string_view::npos ? prefixKind : plainKind);
}

void CInterleafParser::AddOutside(CTextPiece piece, Category category) {
  const std::string* normal = NormalCategory(category);
  model_.AddReference(CFontReference(KindNone, normal, normal, std::move(piece)));
}

void CInterleafParser::AddInside(CTextPiece piece, Category category) {
  model_.AddReference(
      CFontReference(model_.GetCurrentKind(), NormalComponent(), NormalCategory(category), std::move(piece)));
}

const std::string* CInterleafParser::NormalCategory(Category category) {
  const int32_t isShiftJis = model_.GetIsShiftJis();
  const std::string*& normal = normalCategories_[isShiftJis != 0][category];
  if (normal == nullptr) normal = CFontReference::NormalText(categories_[category], isShiftJis);
  return normal;
}

const std::string* CInterleafParser::NormalComponent() {
  const int32_t isShiftJis = model_.GetIsShiftJis();
  const std::string*& normal = normalComponent_[isShiftJis != 0];
  if (normal == nullptr) normal = CFontReference::NormalText(model_.GetCurrentComponent(), isShiftJis);
  return normal;
}

std::string_view CInterleafParser::TextOf(int32_t index) {
  SSTokenView token;
  return TokenFromProduction(index, token) ? token.View() : std::string_view();
}

CTextPiece CInterleafParser::PieceOf(int32_t index) {
  SSTokenView token;
  if (!TokenFromProduction(index, token)) return CTextPiece();
  CTextPiece piece(token.View(), token.Line(), token.Column(), CharsetSystem);
  piece.SetFileNumber(fileNumber_);
  return piece;
}

CTextPiece CInterleafParser::EmptyPieceAtLookahead() {
  const SSTokenView* token = Lookahead();
  CTextPiece piece(std::string_view(), token ? token->Line() : 0, token ? token->Column() : 0,
                   CharsetSystem);
  piece.SetFileNumber(fileNumber_);
  return piece;
}
