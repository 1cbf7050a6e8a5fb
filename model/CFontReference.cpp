// Font references: construction in normal form, and their setters.
#include "model/CFontReference.h"

#include <functional>
#include <map>
#include <mutex>
#include <unordered_map>

#include "model/CSharedValues.h"
#include "model/CStringPool.h"
#include "model/InterleafText.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

// Categories and component names repeat from reference to reference; their
// normal form is worked out once per text.
const std::string* NormalForm(std::string_view text, int32_t isShiftJis) {
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>()(s); }
  };
  using Cache = std::unordered_map<std::string, const std::string*, Hash, std::equal_to<>>;
  // A reference asks for its category and often its component, and runs of
  // references ask for the same ones: the last two answers are compared
  // before the text is hashed.
  struct Recent {
    std::string_view text;  // a key of the cache, which stays put
    const std::string* form = nullptr;
  };
  thread_local Cache caches[2];
  thread_local Recent recent[2][2];
  const int set = isShiftJis != 0 ? 1 : 0;
  Recent* last = recent[set];
  for (int i = 0; i < 2; ++i) {
    if (last[i].form != nullptr && last[i].text == text) return last[i].form;
  }
  Cache& cache = caches[set];
  auto it = cache.find(text);
  if (it == cache.end()) {
    it = cache.emplace(text, CStringPool::Intern(NormaliseInterleafText(text, isShiftJis))).first;
  }
  last[1] = last[0];
  last[0] = {it->first, it->second};
  return it->second;
}

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
  return text;
}

CFontReference::CFontReference(CTextPiece piece, int32_t isShiftJis, std::string_view category)
    : CFontReference(KindNone, category, std::move(piece), isShiftJis, category) {}

CFontReference::CFontReference(int32_t kind, std::string_view componentName, CTextPiece piece, int32_t isShiftJis,
                               std::string_view category)
    : piece_(std::move(piece)),
      font_(CFontTexts::Empty()),
      newFont_(reinterpret_cast<uintptr_t>(CFontTexts::Empty())),
      replacementText_(CStringPool::Empty()) {
  const std::string* normalCategory = NormalForm(category, isShiftJis);
  const std::string* normalComponent =
      componentName == category ? normalCategory : NormalForm(componentName, isShiftJis);
  names_ = reinterpret_cast<uintptr_t>(NameTexts::Share(normalCategory, normalComponent, kind));
}

CFontReference::CFontReference(int32_t kind, const std::string* normalComponent, const std::string* normalCategory,
                               CTextPiece piece)
    : piece_(std::move(piece)),
      names_(reinterpret_cast<uintptr_t>(NameTexts::Share(normalCategory, normalComponent, kind))),
      font_(CFontTexts::Empty()),
      newFont_(reinterpret_cast<uintptr_t>(CFontTexts::Empty())),
      replacementText_(CStringPool::Empty()) {}

const std::string* CFontReference::NormalText(std::string_view text, int32_t isShiftJis) {
  return NormalForm(text, isShiftJis);
}

// A large model holds half a million references: every eight bytes more
// is four megabytes more to fill, page in and walk.
static_assert(sizeof(void*) != 8 || sizeof(CFontReference) <= 64, "a reference has grown");

const CFontReference::NameTexts* CFontReference::NameTexts::Share(const std::string* category,
                                                                  const std::string* component, int32_t kind) {
  // The reader makes runs of references with one of a few combinations:
  // each thread remembers its recent ones, which spares it the lock.
  constexpr size_t kRecent = 64;
  thread_local constinit const NameTexts* recent[kRecent] = {};
  const NameTexts names{category, component, kind};
  uint64_t h = (reinterpret_cast<uintptr_t>(category) * 0x9E3779B97F4A7C15ull) ^
               (reinterpret_cast<uintptr_t>(component) * 0xC2B2AE3D27D4EB4Full) ^ static_cast<uint32_t>(kind);
  const NameTexts*& slot = recent[(h ^ (h >> 29)) % kRecent];
  if (slot != nullptr && *slot == names) return slot;
  struct Hash {
    size_t operator()(const NameTexts& n) const noexcept {
      std::hash<const void*> hash;
      return (hash(n.category) * 1000003u ^ hash(n.component)) * 1000003u ^ static_cast<uint32_t>(n.kind);
    }
  };
  static auto* pool = new CSharedValues<NameTexts, Hash>;  // outlives every reference, never destroyed
  slot = pool->Share(names);
  return slot;
}

namespace {

// The merged rows of the references that have them, by the reference's
// address: only the representatives of mapping rows do, a few thousand in
// a model of hundreds of thousands, so the others keep no room for them.
// References of several models may live on several threads.
struct MergedRowsStore {
  std::mutex mutex;
  std::map<const CFontReference*, std::vector<int32_t>> rows;  // nodes stay put
};

MergedRowsStore& MergedRows() {
  static MergedRowsStore* store = new MergedRowsStore;  // outlives every reference, never destroyed
  return *store;
}

}  // namespace

CFontReference::CFontReference(const CFontReference& other)
    : piece_(other.piece_),
      names_(other.names_ & ~kHasMergedRows),
      font_(other.font_),
      newFont_(other.newFont_),
      replacementText_(other.replacementText_) {
  if (other.HasMergedRows()) SetMergedRows(other.GetMergedRows());
}

CFontReference::CFontReference(CFontReference&& other) noexcept
    : piece_(std::move(other.piece_)),
      names_(other.names_ & ~kHasMergedRows),
      font_(other.font_),
      newFont_(other.newFont_),
      replacementText_(other.replacementText_) {
  if (other.HasMergedRows()) TakeMergedRows(other);
}

CFontReference& CFontReference::operator=(const CFontReference& other) {
  if (this != &other) *this = CFontReference(other);
  return *this;
}

CFontReference& CFontReference::operator=(CFontReference&& other) noexcept {
  if (this == &other) return *this;
  if (HasMergedRows()) ClearMergedRows();
  piece_ = std::move(other.piece_);
  names_ = other.names_ & ~kHasMergedRows;
  font_ = other.font_;
  newFont_ = other.newFont_;
  replacementText_ = other.replacementText_;
  if (other.HasMergedRows()) TakeMergedRows(other);
  return *this;
}

void CFontReference::TakeMergedRows(CFontReference& from) noexcept {
  MergedRowsStore& store = MergedRows();
  std::lock_guard lock(store.mutex);
  auto node = store.rows.extract(&from);
  node.key() = this;
  store.rows.insert(std::move(node));
  from.SetHasMergedRows(false);
  SetHasMergedRows(true);
}

const std::vector<int32_t>& CFontReference::GetMergedRows() const noexcept {
  static const std::vector<int32_t> none;
  if (!HasMergedRows()) return none;
  MergedRowsStore& store = MergedRows();
  std::lock_guard lock(store.mutex);
  return store.rows.find(this)->second;
}

void CFontReference::AddMergedRow(int32_t position) {
  MergedRowsStore& store = MergedRows();
  std::lock_guard lock(store.mutex);
  std::vector<int32_t>& rows = store.rows[this];
  SetHasMergedRows(true);
  rows.insert(rows.begin(), position);
}

void CFontReference::SetMergedRows(std::vector<int32_t> positions) {
  if (positions.empty()) {
    ClearMergedRows();
    return;
  }
  MergedRowsStore& store = MergedRows();
  std::lock_guard lock(store.mutex);
  store.rows[this] = std::move(positions);
  SetHasMergedRows(true);
}

void CFontReference::EraseMergedRows() {
  MergedRowsStore& store = MergedRows();
  std::lock_guard lock(store.mutex);
  store.rows.erase(this);
  SetHasMergedRows(false);
}

void CFontReference::SetFamily(std::string_view family) {
  font_ = CFontTexts::With(*font_, &CFontTexts::family, TrimRight(family));
}
void CFontReference::SetSize(std::string_view size) { font_ = CFontTexts::With(*font_, &CFontTexts::size, size); }
void CFontReference::SetBold(std::string_view bold) { font_ = CFontTexts::With(*font_, &CFontTexts::bold, bold); }
void CFontReference::SetItalic(std::string_view italic) {
  font_ = CFontTexts::With(*font_, &CFontTexts::italic, italic);
}
void CFontReference::SetFontKey(std::string_view key) { font_ = CFontTexts::With(*font_, &CFontTexts::key, key); }
void CFontReference::SetReplacementText(std::string_view text) { replacementText_ = CStringPool::Intern(text); }
void CFontReference::SetNewFamily(std::string_view family) {
  SetNewFont(CFontTexts::With(GetNewFont(), &CFontTexts::family, family));
}
void CFontReference::SetNewSize(std::string_view size) {
  SetNewFont(CFontTexts::With(GetNewFont(), &CFontTexts::size, size));
}
void CFontReference::SetNewBold(std::string_view bold) {
  SetNewFont(CFontTexts::With(GetNewFont(), &CFontTexts::bold, bold));
}
void CFontReference::SetNewItalic(std::string_view italic) {
  SetNewFont(CFontTexts::With(GetNewFont(), &CFontTexts::italic, italic));
}

std::string CFontReference::GetKindSuffix() const {
  switch (GetKind()) {
    case KindSubcomponent:
      return LoadResString(IdsKindSubcomponent);
    case KindComponentPrefix:
      return LoadResString(IdsKindComponentPrefix);
    case KindSubcomponentPrefix:
      return LoadResString(IdsKindSubcomponentPrefix);
    default:
      return {};
  }
}
