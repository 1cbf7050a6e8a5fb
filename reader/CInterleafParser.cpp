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
#include "resources/InterleafProductions.h"

namespace {

using namespace productions;

// Position \p kIndex of production \p kProduction's right side; a position
// the production does not have fails to compile.
template <int32_t kProduction, int32_t kIndex>
constexpr int32_t At() {
  static_assert(kIndex >= 0 && kIndex < RightLength(kProduction), "no such position in the production");
  return kIndex;
}

// Productions that reject the file, with the code they are reported by.
struct Rejection {
  int32_t production;
  int32_t code;
};
constexpr Rejection kRejections[] = {
    {kIncorrectFile, 1000}, {kClassDefaults, 1080},       {kRevisionTracking, 1030}, {kSplitDocument, 1040},
    {kManualComment, 1090}, {kIncludeDeclarations, 1100}, {kInclude, 1110},          {kAPageInTag, 1040},
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
                  LoadResString(IdsCategoryChartFontEmpty)} {
  // Productions without a label have no action: their reductions come to
  // Reduce only now and then, for the stop request and the pump.
  SetReduceFilter(kLabelled);
}

SSRefPtr<SSYaccStackElement> CInterleafParser::Reduce(int32_t production, int32_t) {
  PumpOneMessage();
  // A stop ends the parse after this reduction; its own action still runs,
  // so what it reads is kept.
  if (!stopLogged_ && StopRequested()) {
    host_.LogStopped();
    stopLogged_ = true;
    SetAbort();
  }
  // The reductions of productions without a label that still come here
  // (see the constructor) have no action.
  if (IsLabelled(production)) Act(production);
  // Nothing reads the elements of the left sides.
  return {};
}

bool CInterleafParser::StopRequested() {
  if (!stopFlagAsked_) {
    stopFlag_ = host_.StopFlag();
    stopFlagAsked_ = true;
  }
  return stopFlag_ ? stopFlag_->load(std::memory_order_relaxed) == 1 : host_.StopRequested();
}

void CInterleafParser::Act(int32_t production) {
  switch (production) {
    case kFontDefinitionsWithList:
      model_.AddFontDefinitionsPiece(PieceOf(At<kFontDefinitionsWithList, 0>()));
      return;
    case kFontDefinitionsSingle:
      model_.AddFontDefinitionsPiece(PieceOf(At<kFontDefinitionsSingle, 0>()));
      return;
    case kDefinition:
      AddDefinition({}, {});
      return;
    case kDefinitionBold:
      AddDefinition(TextOf(At<kDefinitionBold, 4>()), {});
      return;
    case kDefinitionBoldItalic:
      AddDefinition(TextOf(At<kDefinitionBoldItalic, 4>()), TextOf(At<kDefinitionBoldItalic, 5>()));
      return;
    case kDefinitionItalic:
      AddDefinition(TextOf(At<kDefinitionItalic, 4>()), {});
      return;
    case kCharacterEncoding:
      if (TextOf(At<kCharacterEncoding, 2>()) == "SJIS") {
        model_.SetIsShiftJis(1);
      } else {
        Reject(kNotShiftJisCode);
      }
      return;
    case kComponentStart:
      SetComponent(TextOf(At<kComponentStart, 1>()), KindSubcomponent, KindSubcomponentPrefix);
      return;
    case kClassStart:
      SetComponent(TextOf(At<kClassStart, 1>()), KindComponent, KindComponentPrefix);
      return;
    case kFontChange:
      AddOutside(PieceOf(At<kFontChange, 0>()), kFontChangeRef);
      return;
    case kFontNumber:
      AddInside(PieceOf(At<kFontNumber, 2>()), kFontNumberRef);
      return;
    case kTextStringFont:
      AddOutside(PieceOf(At<kTextStringFont, 0>()), kTextStringFontRef);
      model_.SetCurrentKind(KindNone);
      return;
    case kTextStringFontEmpty:
      AddInside(EmptyPieceAtLookahead(), kDiagramFontEmptyRef);
      model_.SetCurrentKind(KindNone);
      return;
    case kChartFont:
      AddOutside(PieceOf(At<kChartFont, 0>()), kChartFontRef);
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
  // The four definition productions begin alike: F1 = Times 10. The line
  // goes in first, so that the definition's own reference resolves against
  // it.
  constexpr int32_t kFont = At<kDefinition, 0>(), kFamily = At<kDefinition, 2>(), kSize = At<kDefinition, 3>();
  model_.AddFontDefinitionLine(TextOf(kFont), TextOf(kFamily), TextOf(kSize), bold, italic);
  model_.SetCurrentKind(KindNone);
  AddOutside(PieceOf(kFont), kFontDefinitionRef);
}

void CInterleafParser::SetComponent(std::string_view name, int32_t plainKind, int32_t prefixKind) {
  model_.SetCurrentComponent(name);
  normalComponent_[0] = normalComponent_[1] = nullptr;
  model_.SetCurrentKind(name.find(kPrefixMark) != std::string_view::npos ? prefixKind : plainKind);
}

void CInterleafParser::AddOutside(CTextPiece piece, Category category) {
  const std::string* normal = NormalCategory(category);
  model_.EmplaceReference(KindNone, normal, normal, std::move(piece));
}

void CInterleafParser::AddInside(CTextPiece piece, Category category) {
  model_.EmplaceReference(model_.GetCurrentKind(), NormalComponent(), NormalCategory(category), std::move(piece));
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
  const SSTextPlace at = token.Place();
  CTextPiece piece(token.View(), at.line, at.column, CharsetSystem);
  piece.SetFileNumber(fileNumber_);
  return piece;
}

CTextPiece CInterleafParser::EmptyPieceAtLookahead() {
  const SSTokenView* token = Lookahead();
  const SSTextPlace at = token ? token->Place() : SSTextPlace{};
  CTextPiece piece(std::string_view(), at.line, at.column, CharsetSystem);
  piece.SetFileNumber(fileNumber_);
  return piece;
}
