// Building the mapping table, its selection, and the apply operations.
#include "mapping/CMappingTable.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <span>

#include "mapping/FoldCase.h"
#include "mapping/MappingRules.h"
#include "mapping/MergeRows.h"
#include "mapping/ReferenceGroups.h"
#include "model/CAddressKeyIndex.h"
#include "model/CFontReferenceList.h"
#include "platform/CodePage.h"
#include "platform/StringIds.h"

namespace {

const std::string kEmpty;

// The text without its first two characters (a double-byte character
// counts as one), as a prefix component's name is shown without its "|:".
std::string WithoutFirstTwoCharacters(const std::string& text) {
  size_t at = 0;
  for (int n = 0; n < 2 && at < text.size(); ++n) {
    at += (IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size()) ? 2 : 1;
  }
  return text.substr(at);
}

// The column-0 text of a reference's row: its component, shown without the
// first two characters when it holds "|:", and its kind marker.
std::string RowText(const CFontReference& reference) {
  const std::string& component = reference.GetComponent();
  std::string text = component.find("|:") != std::string::npos ? WithoutFirstTwoCharacters(component) : component;
  text += KindMarker(reference.GetKind());
  return text;
}

// What a row's text is made from. Components are shared copies, so equal
// names mostly share one; two copies of one name merely make the text twice.
struct TextKey {
  const std::string* component;
  int32_t kind;
  bool operator==(const TextKey&) const = default;
};
struct TextKeyHash {
  size_t operator()(const TextKey& key) const noexcept {
    return std::hash<const void*>()(key.component) * 31u + static_cast<size_t>(key.kind);
  }
};

// For each text, its place among the distinct texts in bytewise order.
std::vector<uint32_t> RanksOf(const std::vector<std::string>& texts) {
  std::vector<uint32_t> order(texts.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return texts[a] < texts[b]; });
  std::vector<uint32_t> rank(texts.size());
  uint32_t next = 0;
  for (size_t i = 0; i < order.size(); ++i) {
    if (i > 0 && texts[order[i]] != texts[order[i - 1]]) ++next;
    rank[order[i]] = next;
  }
  return rank;
}

// The shared copy of a new font (its key empty).
const CFontTexts* Shared(const NewFontTuple& font) {
  return CFontTexts::Share({}, font.family, font.size, font.bold, font.italic);
}

}  // namespace

CMappingTable::CMappingTable(CFontReferenceList& translated) : translated_(translated) {}

// Note [rows by groups]
// Rows are the references sorted by text (equal texts newest first) and
// merged (see Note [merge by runs]). A row's text follows from component
// and kind, and the merge looks only at text, kind and current font, so
// references equal in these three ("a group") are alike to both; hundreds
// of thousands of references make a few thousand groups. When all
// references of one text have one base name, the text's references stay in
// one run, and every reference of a group joins the row that the group's
// newest reference joins, or that reference itself: whatever remains above
// the newest stays above the others, and nothing that remains after it
// accepts the group's kind before the newest does. So the merge works on
// groups, ordered by text and then by their newest reference. A text whose
// kinds give different base names ("A+" as a component and as a
// subcomponent of "A") splits runs wherever its references alternate: its
// groups are merged reference by reference.

namespace {

// What the merge orders: a whole group, or one reference of a group split
// by its text.
struct MergeUnit {
  uint32_t group;
  uint32_t rank;   // of the text among the distinct texts
  int32_t newest;  // list position of the unit's newest reference
  bool whole;
};

// The merged references of a row made of \p joined (indexes into \p
// units, in table order), the last joined first: table order reversed, that
// is texts from the last, and within a text the oldest first. The
// representative, the newest reference of the row's own text, comes last
// and is left out. Most rows are one whole group, whose list they take.
std::vector<int32_t> MergedOf(std::span<const uint32_t> joined, const std::vector<MergeUnit>& units,
                              CReferenceGroups& groups) {
  std::vector<int32_t> merged;
  if (joined.size() == 1 && units[joined[0]].whole) {
    merged = std::move(groups.Items(units[joined[0]].group));
  } else {
    for (size_t end = joined.size(); end > 0;) {
      size_t begin = end - 1;
      while (begin > 0 && units[joined[begin - 1]].rank == units[joined[end - 1]].rank) --begin;
      const size_t from = merged.size();
      for (size_t k = begin; k < end; ++k) {
        const MergeUnit& unit = units[joined[k]];
        if (unit.whole) {
          const std::vector<int32_t>& items = groups.Items(unit.group);
          merged.insert(merged.end(), items.begin(), items.end());
        } else {
          merged.push_back(unit.newest);
        }
      }
      if (end - begin > 1) std::sort(merged.begin() + static_cast<ptrdiff_t>(from), merged.end());
      end = begin;
    }
  }
  merged.pop_back();
  return merged;
}

// The groups of every reference of \p list, in one pass on this thread:
// grouping in chunks on every core cost more than it saved, in processor
// and in wall time (a helper thread fills its groups on a heap of its own,
// page by page). Clears the references' merged rows on the way.
CReferenceGroups GroupReferences(CFontReferenceList& list) {
  CReferenceGroups groups;
  for (int32_t item = 0; item < list.Count(); ++item) {
    CFontReference* reference = list.GetAt(item);
    reference->ClearMergedRows();
    groups.Add(*reference, item);
  }
  return groups;
}

}  // namespace

void CMappingTable::BuildTable() {
  WritePending();
  rows_.clear();
  ForgetHolders();
  selected_ = -1;
  ForgetIndexes();

  // Leftovers of an earlier build must not add to the merged rows of this
  // one (clearing tests a bit of the reference first, without a look-up).
  // See Note [rows by groups].
  const int32_t count = translated_.Count();
  CReferenceGroups groups = GroupReferences(translated_);
  builtCount_ = count;

  // Each text is made once, for the groups of one component and kind.
  std::vector<std::string> texts;
  std::vector<uint32_t> textOf(groups.Count());
  std::vector<CMergeRow> facts(groups.Count());
  std::unordered_map<TextKey, uint32_t, TextKeyHash> textIds;
  CFontNumbers fonts;
  for (size_t group = 0; group < groups.Count(); ++group) {
    const CFontReference& reference = *translated_.GetAt(groups.Newest(group));
    auto [found, added] = textIds.try_emplace(TextKey{&reference.GetComponent(), reference.GetKind()},
                                              static_cast<uint32_t>(texts.size()));
    if (added) texts.push_back(RowText(reference));
    textOf[group] = found->second;
    facts[group] = CMergeRow{{}, fonts.NumberOf(reference), reference.GetKind()};
  }
  const std::vector<uint32_t> rank = RanksOf(texts);
  for (size_t group = 0; group < groups.Count(); ++group) facts[group].text = texts[textOf[group]];

  // Texts whose kinds give different base names.
  std::vector<std::string_view> baseOfRank(texts.size());
  std::vector<bool> seen(texts.size()), split(texts.size());
  for (size_t group = 0; group < groups.Count(); ++group) {
    const uint32_t r = rank[textOf[group]];
    const std::string_view base = BaseName(facts[group].text, facts[group].kind);
    if (!seen[r]) {
      seen[r] = true;
      baseOfRank[r] = base;
    } else if (base != baseOfRank[r]) {
      split[r] = true;
    }
  }

  // A split group's references are units of their own, in list order.
  std::vector<MergeUnit> units;
  units.reserve(groups.Count());
  for (uint32_t group = 0; group < groups.Count(); ++group) {
    const uint32_t r = rank[textOf[group]];
    if (!split[r]) {
      units.push_back({group, r, groups.Newest(group), true});
    } else {
      for (int32_t item : groups.Items(group)) units.push_back({group, r, item, false});
    }
  }
  std::sort(units.begin(), units.end(), [](const MergeUnit& a, const MergeUnit& b) {
    return a.rank != b.rank ? a.rank < b.rank : a.newest > b.newest;
  });
  std::vector<CMergeRow> merging;
  merging.reserve(units.size());
  for (const MergeUnit& unit : units) merging.push_back(facts[unit.group]);
  const std::vector<int32_t> joins = FindJoiningRows(merging);

  // The units of each row in table order, its own first: row by row in
  // one array.
  CCategoryTest definitions(IdsCategoryFontDefinition);
  std::vector<uint32_t> rowOfUnit(units.size());
  rows_.reserve(static_cast<size_t>(std::count(joins.begin(), joins.end(), -1)));
  for (uint32_t u = 0; u < units.size(); ++u) {
    if (joins[u] < 0) {
      rowOfUnit[u] = static_cast<uint32_t>(rows_.size());
      const CFontReference& rep = *translated_.GetAt(units[u].newest);
      rows_.push_back(
          Row{texts[textOf[units[u].group]], units[u].newest, std::nullopt, false, false, definitions.Has(rep)});
    } else {
      rowOfUnit[u] = rowOfUnit[static_cast<size_t>(joins[u])];
    }
  }
  std::vector<uint32_t> firstUnit(rows_.size() + 1);  // of each row in unitsByRow
  for (uint32_t row : rowOfUnit) ++firstUnit[row + 1];
  std::partial_sum(firstUnit.begin(), firstUnit.end(), firstUnit.begin());
  std::vector<uint32_t> unitsByRow(units.size());
  std::vector<uint32_t> next(firstUnit.begin(), firstUnit.end() - 1);
  for (uint32_t u = 0; u < units.size(); ++u) unitsByRow[next[rowOfUnit[u]]++] = u;

  for (size_t r = 0; r < rows_.size(); ++r) {
    const std::span<const uint32_t> joined(unitsByRow.data() + firstUnit[r], firstUnit[r + 1] - firstUnit[r]);
    std::vector<int32_t> merged = MergedOf(joined, units, groups);
    if (merged.empty()) continue;
    rows_[r].hasMerged = true;
    translated_.GetAt(rows_[r].item)->SetMergedRows(std::move(merged));
  }

  NotifyReset();
  SelectRow(rows_.empty() ? -1 : 0);
}

void CMappingTable::DeleteAllRows() {
  for (int32_t i = 0; i < translated_.Count(); ++i) {
    CFontReference& reference = *translated_.GetAt(i);
    if (reference.GetChanged() || reference.GetChangedToo() || !reference.GetNewFamily().empty() ||
        !reference.GetNewSize().empty() || !reference.GetNewBold().empty() || !reference.GetNewItalic().empty()) {
      WriteReference(reference, false, false, CFontTexts::Empty());
    }
    if (!reference.GetMergedRows().empty()) reference.ClearMergedRows();
  }
  rows_.clear();
  ForgetHolders();
  pendingRows_.clear();
  ForgetIndexes();
  NotifyReset();
  SelectRow(-1);
}

const std::string& CMappingTable::ColumnText(int32_t row, int32_t column) const {
  const CFontReference* rep = Representative(row);
  if (!rep) return kEmpty;
  switch (column) {
    case ColumnComponent:
      return rows_[static_cast<size_t>(row)].component;
    case ColumnCurrentFont:
      return rep->GetFamily();
    case ColumnSize:
      return rep->GetSize();
    case ColumnBold:
      return rep->GetBold();
    case ColumnItalic:
      return rep->GetItalic();
    case ColumnNewFont:
      return rep->GetNewFamily();
    case ColumnNewSize:
      return rep->GetNewSize();
    case ColumnNewBold:
      return rep->GetNewBold();
    case ColumnNewItalic:
      return rep->GetNewItalic();
    default:
      return kEmpty;
  }
}

int32_t CMappingTable::ItemData(int32_t row) const {
  if (row < 0 || row >= RowCount()) return -1;
  return rows_[static_cast<size_t>(row)].item;
}

CFontReference* CMappingTable::Representative(int32_t row) {
  int32_t item = ItemData(row);
  return item < 0 ? nullptr : translated_.GetAt(item);
}

const CFontReference* CMappingTable::Representative(int32_t row) const {
  int32_t item = ItemData(row);
  return item < 0 ? nullptr : translated_.GetAt(item);
}

const std::vector<int32_t>& CMappingTable::MergedRows(int32_t row) const {
  static const std::vector<int32_t> none;
  const CFontReference* rep = Representative(row);
  return rep ? rep->GetMergedRows() : none;
}

bool CMappingTable::IsDefinitionRow(int32_t row) const {
  return Representative(row) && rows_[static_cast<size_t>(row)].definition;
}

int32_t CMappingTable::FindRow(std::string_view text, int32_t after) const {
  if (rowsByText_.empty() && !rows_.empty()) {
    for (int32_t row = 0; row < RowCount(); ++row) {
      rowsByText_[FoldCase(rows_[static_cast<size_t>(row)].component)].push_back(row);
    }
  }
  auto found = rowsByText_.find(FoldCase(text));
  if (found == rowsByText_.end()) return -1;
  const std::vector<int32_t>& rows = found->second;
  auto next = std::upper_bound(rows.begin(), rows.end(), after);
  return next == rows.end() ? -1 : *next;
}

// A font map asks once per line, and may have a line for every reference:
// the rows are indexed by the hash of their text and font, sorted, and
// the rows of a hash are checked against text and font themselves.
std::vector<int32_t> CMappingTable::FindRowsWithFont(std::string_view text, std::string_view family,
                                                     std::string_view size, std::string_view bold,
                                                     std::string_view italic) const {
  // The hash of a folded text and a font.
  auto hashOf = [](std::string_view folded, std::string_view family, std::string_view size, std::string_view bold,
                   std::string_view italic) {
    std::hash<std::string_view> hash;
    uint64_t h = hash(folded);
    for (std::string_view part : {family, size, bold, italic}) h = h * 0x9E3779B97F4A7C15u + hash(part);
    return h;
  };
  if (rowsByTextAndFont_.empty() && !rows_.empty()) {
    rowsByTextAndFont_.reserve(rows_.size());
    for (int32_t row = 0; row < RowCount(); ++row) {
      const CFontReference& rep = *Representative(row);
      folded_.clear();
      AppendFolded(folded_, rows_[static_cast<size_t>(row)].component);
      rowsByTextAndFont_.push_back(
          {hashOf(folded_, rep.GetFamily(), rep.GetSize(), rep.GetBold(), rep.GetItalic()), row});
    }
    std::sort(rowsByTextAndFont_.begin(), rowsByTextAndFont_.end());
  }
  std::string wantedText;
  AppendFolded(wantedText, text);
  const uint64_t wanted = hashOf(wantedText, family, size, bold, italic);
  std::vector<int32_t> rows;
  auto at =
      std::lower_bound(rowsByTextAndFont_.begin(), rowsByTextAndFont_.end(), std::pair<uint64_t, int32_t>{wanted, -1});
  for (; at != rowsByTextAndFont_.end() && at->first == wanted; ++at) {
    const CFontReference& rep = *Representative(at->second);
    const std::string& component = rows_[static_cast<size_t>(at->second)].component;
    if (rep.GetFamily() != family || rep.GetSize() != size || rep.GetBold() != bold || rep.GetItalic() != italic ||
        component.size() != wantedText.size()) {
      continue;
    }
    folded_.clear();
    AppendFolded(folded_, component);
    if (folded_ == wantedText) rows.push_back(at->second);
  }
  return rows;
}

void CMappingTable::SelectRow(int32_t row) {
  if (row < 0 || row >= RowCount()) row = -1;
  if (row == selected_) return;
  selected_ = row;
  ++changeCount_;
  for (CMappingTableObserver* observer : observers_) observer->SelectionChanged(row);
}

void CMappingTable::ApplyNewFont(bool isMapped, bool isDefinitionRow, const NewFontTuple& tuple) {
  CFontReference* rep = Representative(selected_);
  if (!rep) return;
  const CFontTexts* font = Shared(tuple);
  if (!isDefinitionRow) {
    ApplyToRow(selected_, isMapped, false, font);
    return;
  }
  const int32_t row = selected_;
  ApplyToDefinition(ItemData(row), isMapped, font);
  NotifyRowChanged(row);
  for (int32_t position : MergedRows(row)) {
    if (!translated_.GetAt(position)) break;
    ApplyToDefinition(position, isMapped, font);
  }
}

void CMappingTable::ApplyToSelected(bool isMapped, const NewFontTuple& font) {
  ApplyNewFont(isMapped, IsDefinitionRow(selected_), font);
}

// Note [repeated applies]
// A font map holds one line per reference, so a row of ten thousand
// references is applied ten thousand times over, and every definition line
// carries its font again to the rows of its file, with changedToo set, in
// between the lines that set the same rows with changedToo clear. Writing
// every reference each time made loading such a map quadratic. Two things
// keep it linear:
// - A row remembers what it last wrote into all its references; writing the
//   same again changes nothing and is skipped. Any other write into one of
//   its references (a definition's own fields, see ApplyToDefinition) makes
//   the row forget.
// - Inside a Batch only the representative is written at once; the merged
//   references get the row's last state when the batch closes. A definition
//   about to be written on its own first gets its row's pending state, so
//   the order of writes into every reference stays as if nothing waited.

NewFontTuple CMappingTable::SelectedNewFont() const {
  const CFontReference* rep = Representative(selected_);
  if (!rep) return {};
  return {rep->GetNewFamily(), rep->GetNewSize(), rep->GetNewBold(), rep->GetNewItalic()};
}

void CMappingTable::ApplyToRow(int32_t row, bool isMapped, bool byDefinition, const NewFontTuple& font) {
  ApplyToRow(row, isMapped, byDefinition, Shared(font));
}

void CMappingTable::ApplyToRow(int32_t row, bool isMapped, bool byDefinition, const CFontTexts* font) {
  CFontReference* rep = Representative(row);
  if (!rep) return;
  mappingsChanged_ = true;
  Row& target = rows_[static_cast<size_t>(row)];
  if (target.applied && target.applied->isMapped == isMapped && target.applied->byDefinition == byDefinition &&
      target.applied->font == font) {
    return;  // See Note [repeated applies]
  }
  WriteReference(*rep, isMapped, byDefinition, font);
  target.applied = AppliedState{isMapped, byDefinition, font};
  if (batchDepth_ == 0) {
    WriteMerged(target);
  } else if (target.hasMerged && !target.mergedPending) {
    target.mergedPending = true;
    pendingRows_.push_back(row);
  }
  NotifyRowChanged(row);
}

void CMappingTable::WriteMerged(Row& row) {
  row.mergedPending = false;
  if (!row.hasMerged) return;
  const AppliedState& state = *row.applied;
  const std::vector<int32_t>& positions = translated_.GetAt(row.item)->GetMergedRows();
  // A row's references lie all over the model: each is fetched a few
  // writes ahead, so that the fetches overlap instead of each waiting.
  constexpr size_t kAhead = 16;
  for (size_t i = 0; i < positions.size(); ++i) {
    if (i + kAhead < positions.size()) {
      if (const CFontReference* later = translated_.GetAt(positions[i + kAhead])) __builtin_prefetch(later, 1);
    }
    CFontReference* merged = translated_.GetAt(positions[i]);
    if (!merged) break;
    WriteReference(*merged, state.isMapped, state.byDefinition, state.font);
  }
}

// Note [batch writes on one core]: the writes a batch leaves were once
// shared among the cores. On the machines we measure (two cores), each
// core then wrote at half the speed, as the writes wait on memory that
// the cores share: the whole job on one 20 to 40 MB document took 1.5 to
// 2.5% more processor time and no less wall time, and a job of four files
// no less wall time either. The writes take a few milliseconds for the
// largest models; a thread never paid for itself.
void CMappingTable::WritePending() {
  for (int32_t row : pendingRows_) {
    Row& pending = rows_[static_cast<size_t>(row)];
    if (pending.mergedPending) WriteMerged(pending);
  }
  pendingRows_.clear();
}

void CMappingTable::ApplyToDefinition(int32_t position, bool isMapped, const NewFontTuple& font) {
  ApplyToDefinition(position, isMapped, Shared(font));
}

void CMappingTable::ApplyToDefinition(int32_t position, bool isMapped, const CFontTexts* font) {
  CFontReference* definition = translated_.GetAt(position);
  if (!definition) return;
  // The row holding the definition no longer holds one state throughout.
  const int32_t row = RowHolding(position);
  if (row >= 0) {
    Row& holder = rows_[static_cast<size_t>(row)];
    if (holder.mergedPending) WriteMerged(holder);
    holder.applied.reset();
  }
  WriteReference(*definition, isMapped, isMapped, font);
  // Each row found here first gets changed = changedToo = isMapped in its
  // representative, which ApplyToRow then overwrites with isMapped and true
  // in every reference of the row: only that last write is left to do.
  for (int32_t row : RowsUsingFont(*definition)) ApplyToRow(row, isMapped, true, font);
}

void CMappingTable::AddObserver(CMappingTableObserver* observer) {
  if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
    observers_.push_back(observer);
  }
}

void CMappingTable::RemoveObserver(CMappingTableObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void CMappingTable::WriteReference(CFontReference& reference, bool isMapped, bool changedToo, const CFontTexts* font) {
  reference.SetNewFont(font, isMapped, changedToo);
}

void CMappingTable::NotifyReset() {
  ++changeCount_;
  for (CMappingTableObserver* observer : observers_) observer->TableReset();
}

void CMappingTable::NotifyRowChanged(int32_t row) {
  ++changeCount_;
  for (CMappingTableObserver* observer : observers_) observer->RowChanged(row);
}

void CMappingTable::ForgetIndexes() {
  rowsByText_.clear();
  rowsByTextAndFont_.clear();
  rowsByFileAndFont_.clear();
  fontIndexBuilt_ = false;
}

void CMappingTable::ForgetHolders() {
  builtCount_ = 0;
  definitionsIndexed_ = false;
  definitionHolders_.clear();
  rowOfItem_.clear();
  rowOfItem_.shrink_to_fit();
}

// Note [holders on demand]
// Only applies to definitions ask which row holds a reference, and a font
// map asks for every reference of the definition rows, a few hundred in
// all: indexing every reference of the model at each build cost more than
// all those questions. So the references of definition rows are indexed
// when first asked for, and all the others only if a caller asks for one
// of them.
int32_t CMappingTable::RowHolding(int32_t position) {
  if (position < 0 || position >= builtCount_) return -1;
  if (!definitionsIndexed_) {
    for (int32_t row = 0; row < RowCount(); ++row) {
      if (!IsDefinitionRow(row)) continue;
      definitionHolders_.emplace(ItemData(row), row);
      for (int32_t merged : MergedRows(row)) definitionHolders_.emplace(merged, row);
    }
    definitionsIndexed_ = true;
  }
  auto found = definitionHolders_.find(position);
  if (found != definitionHolders_.end()) return found->second;
  if (rowOfItem_.empty()) {
    rowOfItem_.assign(static_cast<size_t>(builtCount_), -1);
    for (int32_t row = 0; row < RowCount(); ++row) {
      rowOfItem_[static_cast<size_t>(ItemData(row))] = row;
      for (int32_t merged : MergedRows(row)) rowOfItem_[static_cast<size_t>(merged)] = row;
    }
  }
  return rowOfItem_[static_cast<size_t>(position)];
}

uint32_t CMappingTable::FileNameIdOf(const CFontReference& reference) {
  const uint32_t number = reference.GetPiece().GetFileNumber();
  auto found = fileNameIds_.find(number);
  if (found == fileNameIds_.end()) {
    const uint32_t id = fileNames_.try_emplace(reference.GetPiece().GetFileName(), fileNames_.size()).first->second;
    found = fileNameIds_.emplace(number, id).first;
  }
  return found->second;
}

size_t CMappingTable::FileFontKey::Hash::operator()(const FileFontKey& key) const noexcept {
  return static_cast<size_t>(HashOfParts(key.file, key.family, key.size, key.bold, key.italic));
}

// Rows whose representative is no definition, lies in the file of
// `definition` (file names compared byte by byte) and uses its current
// font, top to bottom. Walking every row for every definition a font map
// applies would make loading a map quadratic; the rows never change
// between builds, so they are indexed once. Font texts are shared copies,
// one for each text, so their addresses stand for them.
const std::vector<int32_t>& CMappingTable::RowsUsingFont(const CFontReference& definition) {
  auto keyOf = [this](const CFontReference& reference) {
    return FileFontKey{FileNameIdOf(reference), &reference.GetFamily(), &reference.GetSize(), &reference.GetBold(),
                       &reference.GetItalic()};
  };
  if (!fontIndexBuilt_) {
    for (int32_t row = 0; row < RowCount(); ++row) {
      if (IsDefinitionRow(row)) continue;
      rowsByFileAndFont_[keyOf(*Representative(row))].push_back(row);
    }
    fontIndexBuilt_ = true;
  }
  static const std::vector<int32_t> none;
  auto found = rowsByFileAndFont_.find(keyOf(definition));
  return found == rowsByFileAndFont_.end() ? none : found->second;
}
