// The document font model: adding references, resolving their fonts
// against the definitions read, copies and cheap snapshots.
#include "model/CFontReferenceList.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "model/CStringPool.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

constexpr size_t npos = std::string::npos;

// A decimal number read from the start of `text`; text that does not start
// with a digit counts as 0. Large numbers saturate instead of wrapping.
int64_t DecimalValue(std::string_view text) {
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<int64_t>(value * 10 + (c - '0'), std::numeric_limits<int32_t>::max());
  }
  return value;
}

// Removes the first occurrence of `word` from `line` when it is there: the
// text before and after it are joined and leading white space dropped.
bool RemoveFirst(std::string& line, std::string_view word) {
  size_t at = line.find(word);
  if (at == npos) return false;
  line.erase(at, word.size());
  line.erase(0, line.size() - TrimLeft(line).size());
  return true;
}

// Shared copies, which references' categories and components are too: a
// text is one of these exactly when it is this copy.
struct CategoryTexts {
  const std::string* fontDefinition = CStringPool::Intern(LoadResString(IdsCategoryFontDefinition));
  const std::string* fontNumber = CStringPool::Intern(LoadResString(IdsCategoryFontNumber));
  const std::string* fontChange = CStringPool::Intern(LoadResString(IdsCategoryFontChange));
};

const CategoryTexts& Categories() {
  static const CategoryTexts texts;
  return texts;
}

}  // namespace

CFontReferenceList::CFontReferenceList(const CFontReferenceList& other) { Assign(other); }

CFontReferenceList& CFontReferenceList::operator=(const CFontReferenceList& other) {
  Assign(other);
  return *this;
}

void CFontReferenceList::Assign(const CFontReferenceList& other) {
  if (this == &other) return;
  references_ = other.references_;
  pieces_ = other.pieces_;
  filesToRewrite_ = other.filesToRewrite_;
  definedFamilies_ = other.definedFamilies_;
  namedFamilies_ = other.namedFamilies_;
  fontSizes_ = other.fontSizes_;
  currentFileName_ = other.currentFileName_;
  fontDefinitionsText_ = other.fontDefinitionsText_;
  currentComponent_ = other.currentComponent_;
  currentKind_ = other.currentKind_;
  highestFontNumber_ = other.highestFontNumber_;
  highestValue_ = other.highestValue_;
  shownCategory_ = other.shownCategory_;
  previousCategory_ = other.previousCategory_;
  definedFamilyChoice_ = other.definedFamilyChoice_;
  namedFamilyChoice_ = other.namedFamilyChoice_;
  sizeChoice_ = other.sizeChoice_;
  otherSizeChoice_ = other.otherSizeChoice_;
  isShiftJis_ = other.isShiftJis_;
  lineIndex_ = other.lineIndex_;
  lineKeys_ = other.lineKeys_;
  ForgetResolved();
}

void CFontReferenceList::SetHighestFontNumber(std::string_view number) {
  highestFontNumber_ = number;
  highestValue_ = DecimalValue(number);
  ++numberEpoch_;
}

bool CFontReferenceList::AddReference(CFontReference reference) { return EmplaceReference(std::move(reference)); }

void CFontReferenceList::TakeReferences(CFontReferenceList& from, const std::function<void(int32_t)>& beforeEach) {
  if (!references_.empty()) {
    int32_t i = 0;
    from.references_.drain([&](CFontReference&& reference) {
      beforeEach(i++);
      EmplaceReference(std::move(reference));
    });
    return;
  }
  // Each reference is resolved where it lies, in order; neither resolving
  // nor a definition line reads the references not yet resolved. Those are
  // let go when one fails, as the ones not yet added would be.
  references_ = std::move(from.references_);
  for (size_t i = 0; i < references_.size(); ++i) {
    try {
      beforeEach(static_cast<int32_t>(i));
      ResolveFont(references_[i]);
    } catch (...) {
      references_.truncate(i);
      throw;
    }
  }
}

void CFontReferenceList::DeleteAll() { references_.clear(); }

void CFontReferenceList::AddFontDefinitionLine(std::string_view key, std::string_view family, std::string_view size,
                                               std::string_view bold, std::string_view italic) {
  const size_t from = fontDefinitionsText_.size();
  for (std::string_view part : {key, family, size, bold, italic}) {
    if (part.empty()) continue;
    fontDefinitionsText_.append(part);
    fontDefinitionsText_ += ' ';
  }
  fontDefinitionsText_ += '\n';
  ForgetResolved();

  // Index every line this added (a part may hold a line break of its own)
  // by its first word, when a space follows that word.
  for (size_t start = from; start < fontDefinitionsText_.size();) {
    size_t end = fontDefinitionsText_.find('\n', start);
    std::string_view line(fontDefinitionsText_.data() + start, end - start);
    size_t space = line.find(' ');
    if (space != 0 && space != npos) {
      std::string word(line.substr(0, space));
      lineIndex_[word].push_back(static_cast<uint32_t>(start));
      lineKeys_.push_back(std::move(word));
    }
    start = end + 1;
  }
}

void CFontReferenceList::AddFontDefinitionsPiece(const CTextPiece& piece) { pieces_.push_back(piece); }

size_t CFontReferenceList::FindDefinitionLine(std::string_view key) const {
  if (key.empty() || key.find('\n') != npos) return npos;
  size_t space = key.find(' ');
  auto it = lineIndex_.find(std::string(key.substr(0, space)));
  if (it == lineIndex_.end()) return npos;
  const std::vector<uint32_t>& lines = it->second;
  if (space == npos) return lines.back();
  // A key with spaces of its own: the line must go on with the rest of it.
  for (auto at = lines.rbegin(); at != lines.rend(); ++at) {
    size_t start = *at;
    if (fontDefinitionsText_.compare(start, key.size(), key) == 0 && start + key.size() < fontDefinitionsText_.size() &&
        fontDefinitionsText_[start + key.size()] == ' ') {
      return start;
    }
  }
  return npos;
}

void CFontReferenceList::ForgetResolved() {
  resolved_.clear();
  recent_.reset();
}

void CFontReferenceList::ResolveFont(CFontReference& reference) {
  const CategoryTexts& categories = Categories();
  const std::string* text = &reference.GetPiece().GetText();
  // How the key follows from the piece's text.
  enum Derivation : uintptr_t { kAsIs, kDropFirst, kNumbered };
  Derivation derivation = kAsIs;
  if (&reference.GetComponent() != categories.fontDefinition) {
    if (&reference.GetCategory() == categories.fontChange) {
      derivation = kDropFirst;  // "<F12" names F12
    } else if (&reference.GetCategory() == categories.fontNumber) {
      derivation = kNumbered;  // a component's font is the bare number
    }
  }
  // Piece texts are shared copies, so the copy and the derivation name the
  // key: most references repeat one of a few.
  static_assert(alignof(std::string) > kNumbered, "the derivation fits below a text's address");
  const uintptr_t key = reinterpret_cast<uintptr_t>(text) | derivation;
  const uint64_t slot = key * 0x9E3779B97F4A7C15ull;  // spread the bits
  if (!recent_ || (recentBits_ < kMaxRecentFontBits && 2 * recentMisses_ >= (size_t{1} << recentBits_))) {
    recentBits_ = recent_ ? recentBits_ + 1 : kFirstRecentFontBits;
    recent_ = std::make_unique<RecentFont[]>(size_t{1} << recentBits_);
    recentMisses_ = 0;
  }
  RecentFont& recent = recent_[slot >> (64 - recentBits_)];
  const uint64_t epoch = ResolveEpoch();
  if (recent.key == key && recent.epoch == epoch) {
    reference.font_ = recent.texts;
    return;
  }
  if (recent.key != key) {
    ++recentMisses_;
    std::string_view name = *text;
    std::string numbered;
    if (derivation == kDropFirst && !name.empty()) name.remove_prefix(1);
    if (derivation == kNumbered) {
      numbered = "F";
      numbered += name;
      name = numbered;
    }
    // An empty key (the empty font field of a chart or text string) names
    // no font: it must neither match a definition nor add empty names.
    if (name.empty()) {
      reference.font_ = CFontTexts::With(*reference.font_, &CFontTexts::key, {});
      return;
    }
    auto it = resolved_.find(name);
    if (it == resolved_.end()) it = resolved_.emplace(std::string(name), Resolve(name)).first;
    recent = {key, &it->second, it->second.font, 0};
  }
  ResolvedFont& font = *recent.font;

  reference.font_ = font.font;
  if (font.number > highestValue_) {
    highestFontNumber_ = *font.numberText;
    highestValue_ = font.number;
  }
  if (font.addsDefinedFamily || font.addsNamedFamily) {
    CUniqueTextList& families = font.addsDefinedFamily ? definedFamilies_ : namedFamilies_;
    // Adding texts that are in the lists changes nothing; they are known
    // to be there while no text has left either list since they were put.
    if (font.familiesStamp != families.RemovalStamp() || font.sizesStamp != fontSizes_.RemovalStamp()) {
      families.AddAtHead(*font.font->family);
      fontSizes_.AddAtHead(*font.font->size);
      font.familiesStamp = families.RemovalStamp();
      font.sizesStamp = fontSizes_.RemovalStamp();
    }
  }
  recent.epoch = epoch;
}

CFontReferenceList::ResolvedFont CFontReferenceList::Resolve(std::string_view key) const {
  size_t line = FindDefinitionLine(key);
  return line == npos ? ResolveSpelledOutName(key) : ResolveFromDefinition(key, line);
}

CFontReferenceList::ResolvedFont CFontReferenceList::ResolveFromDefinition(std::string_view key,
                                                                           size_t lineStart) const {
  ResolvedFont font{nullptr, CStringPool::Intern(key.substr(1))};
  font.number = DecimalValue(key.substr(1));
  std::string_view bold, italic;

  size_t lineEnd = fontDefinitionsText_.find('\n', lineStart);
  std::string line = fontDefinitionsText_.substr(lineStart, lineEnd - lineStart);
  if (RemoveFirst(line, "Bold")) bold = "Bold";
  if (RemoveFirst(line, "Italic")) italic = "Italic";
  if (!RemoveFirst(line, key)) {
    font.font = CFontTexts::Share(key, {}, {}, bold, italic);
    return font;
  }
  line.resize(TrimRight(line).size());
  // The family is everything before the last space; the size follows it.
  size_t lastSpace = line.rfind(' ');
  std::string_view family =
      lastSpace == npos ? std::string_view() : TrimRight(std::string_view(line).substr(0, lastSpace));
  font.font = CFontTexts::Share(key, family, TrimLeft(std::string_view(line).substr(family.size())), bold, italic);
  font.addsDefinedFamily = true;
  return font;
}

CFontReferenceList::ResolvedFont CFontReferenceList::ResolveSpelledOutName(std::string_view key) {
  ResolvedFont font{nullptr, CStringPool::Empty()};
  size_t digit = key.find_first_of("0123456789");
  if (digit == npos) digit = 0;
  std::string_view rest = key.substr(digit);
  font.font = CFontTexts::Share(key, TrimRight(key.substr(0, digit)), rest.substr(0, rest.find_first_of("bi")),
                                rest.find('b') != npos ? "Bold" : "", rest.find('i') != npos ? "Italic" : "");
  font.addsNamedFamily = true;
  return font;
}

CFontReferenceList::Checkpoint CFontReferenceList::MakeCheckpoint() const {
  Checkpoint c;
  c.references = references_.size();
  c.pieces = pieces_.size();
  c.definitionsText = fontDefinitionsText_.size();
  c.definitionLines = lineKeys_.size();
  c.definedFamilies = definedFamilies_.size();
  c.namedFamilies = namedFamilies_.size();
  c.fontSizes = fontSizes_.size();
  c.filesToRewrite = filesToRewrite_.size();
  c.currentFileName = currentFileName_;
  c.currentComponent = currentComponent_;
  c.highestFontNumber = highestFontNumber_;
  c.currentKind = currentKind_;
  c.isShiftJis = isShiftJis_;
  return c;
}

void CFontReferenceList::RollBack(const Checkpoint& c) {
  if (references_.size() > c.references) {
    references_.truncate(c.references);
  }
  pieces_.resize(std::min(pieces_.size(), c.pieces));
  fontDefinitionsText_.resize(std::min(fontDefinitionsText_.size(), c.definitionsText));
  while (lineKeys_.size() > c.definitionLines) {
    auto it = lineIndex_.find(lineKeys_.back());
    it->second.pop_back();
    if (it->second.empty()) lineIndex_.erase(it);
    lineKeys_.pop_back();
  }
  ForgetResolved();
  // The text lists only grew at their heads.
  auto dropHead = [](CUniqueTextList& list, size_t size) {
    while (list.size() > size) list.RemoveHead();
  };
  dropHead(definedFamilies_, c.definedFamilies);
  dropHead(namedFamilies_, c.namedFamilies);
  dropHead(fontSizes_, c.fontSizes);
  dropHead(filesToRewrite_, c.filesToRewrite);
  currentFileName_ = c.currentFileName;
  currentComponent_ = c.currentComponent;
  SetHighestFontNumber(c.highestFontNumber);
  currentKind_ = c.currentKind;
  isShiftJis_ = c.isShiftJis;
}
