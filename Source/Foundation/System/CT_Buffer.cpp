// CT_Buffer: copy-on-write byte storage with atomic use counts.
#include "CT_Buffer.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr uint32_t kAll = 0xFFFFFFFFu;
constexpr uint32_t kHeader = sizeof(st_BufferData);
static_assert(kHeader == 12, "the storage header is three 32-bit fields");

uint32_t Checked(uint64_t allocation) {
  if (allocation > 0xFFFFFFFFu) throw std::bad_alloc();
  return static_cast<uint32_t>(allocation);
}

// The allocation v_Init makes: whole steps of growth with room for the
// header. A growth of 0 would divide by zero; it counts as 1.
uint32_t InitAllocation(uint32_t size, uint32_t growth) {
  uint64_t g = growth ? growth : 1;
  return Checked(g * ((uint64_t(size) + g + 11) / g));
}

// The allocation v_SetSize makes: growth steps for small sizes, then a
// proportional reserve so that repeated appends do not reallocate each time.
uint32_t SizedAllocation(uint32_t size, uint32_t growth) {
  if (size < 1024) return InitAllocation(size, growth);
  uint64_t n = size >= 4096 ? uint64_t(size) * 3 / 2 : size >= 2048 ? uint64_t(size) * 7 / 5 : uint64_t(size) * 5 / 4;
  return Checked((n + 63) / 64 * 64);
}

st_BufferData* Allocate(uint32_t allocation) {
  auto* header = static_cast<st_BufferData*>(std::malloc(allocation));
  if (!header) throw std::bad_alloc();
  header->useCount = 1;
  header->maximumSize = allocation - kHeader;
  header->usedSize = 0;
  return header;
}

uint8_t* Payload(st_BufferData* header) { return reinterpret_cast<uint8_t*>(header + 1); }

std::atomic_ref<int32_t> UseCount(st_BufferData* header) { return std::atomic_ref<int32_t>(header->useCount); }

uint32_t Rest(uint32_t used, uint32_t pos) { return pos < used ? used - pos : 0; }

}  // namespace

CT_Buffer::CT_Buffer() : m_growth(32), m_data(nullptr) {}

CT_Buffer::CT_Buffer(uint32_t size, uint32_t growth) : m_growth(growth), m_data(nullptr) { v_Init(size, growth); }

CT_Buffer::CT_Buffer(const void* data, uint32_t size, uint32_t growth) : m_growth(growth), m_data(nullptr) {
  v_Init(size, growth);
  v_Replace(data, size, 0);
}

CT_Buffer::CT_Buffer(const CT_Buffer* other) : m_growth(32), m_data(nullptr) { v_Share(other); }

CT_Buffer::CT_Buffer(const CT_Buffer& other) : m_growth(32), m_data(nullptr) { v_Share(&other); }

CT_Buffer& CT_Buffer::operator=(const CT_Buffer& other) {
  v_Set(&other);
  return *this;
}

CT_Buffer::~CT_Buffer() { v_Release(); }

st_BufferData* CT_Buffer::pso_Header() const { return m_data ? reinterpret_cast<st_BufferData*>(m_data) - 1 : nullptr; }

uint32_t CT_Buffer::n_GetMaximumSize() const { return m_data ? pso_Header()->maximumSize : 0; }

uint32_t CT_Buffer::n_GetUsedSize() const { return m_data ? pso_Header()->usedSize : 0; }

uint32_t CT_Buffer::n_GetUseCount() const {
  return m_data ? uint32_t(UseCount(pso_Header()).load(std::memory_order_acquire)) : 1;
}

void CT_Buffer::v_Init(uint32_t size, uint32_t growth) {
  m_growth = growth;
  m_data = size ? Payload(Allocate(InitAllocation(size, growth))) : nullptr;
}

void CT_Buffer::v_Release() {
  if (!m_data) return;
  st_BufferData* header = pso_Header();
  m_data = nullptr;
  if (UseCount(header).fetch_sub(1, std::memory_order_acq_rel) == 1) std::free(header);
}

void CT_Buffer::v_Share(const CT_Buffer* other) {
  if (other == this) return;
  // Take the new share before giving up the old one: both may be the same storage.
  uint8_t* data = other->m_data;
  if (data) UseCount(other->pso_Header()).fetch_add(1, std::memory_order_relaxed);
  uint32_t growth = other->m_growth;
  v_Release();
  m_data = data;
  m_growth = growth;
}

void CT_Buffer::v_CopyWeWrite() {
  if (!m_data || n_GetUseCount() <= 1) return;
  st_BufferData* old = pso_Header();
  st_BufferData* copy = Allocate(old->maximumSize + kHeader);
  copy->usedSize = old->usedSize;
  std::memcpy(Payload(copy), m_data, old->usedSize);
  v_Release();
  m_data = Payload(copy);
}

void CT_Buffer::v_Set(uint32_t size, uint32_t growth, bool reuse) {
  if (growth == kAll) growth = m_growth;
  if (reuse && n_GetUseCount() == 1) {
    uint32_t allocation = InitAllocation(size, growth);
    if (n_GetMaximumSize() < allocation - kHeader) {
      v_Release();
      v_Init(allocation, growth);
    } else {
      m_growth = growth;
    }
    if (m_data) pso_Header()->usedSize = 0;
    return;
  }
  v_Release();
  v_Init(size, growth);
}

void CT_Buffer::v_Set(const void* data, uint32_t size, uint32_t growth) {
  // The bytes may live in the storage about to be released.
  std::vector<uint8_t> bytes(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + (data ? size : 0));
  v_Release();
  v_Init(size, growth == kAll ? m_growth : growth);
  v_Replace(bytes.data(), uint32_t(bytes.size()), 0);
}

void CT_Buffer::v_Set(const CT_Buffer* other) { v_Share(other); }

void CT_Buffer::v_SetSize(uint32_t size, bool keep) {
  if (size == 0) {
    v_Release();
    return;
  }
  uint32_t allocation = SizedAllocation(size, m_growth);
  uint32_t capacity = allocation - kHeader;
  bool alone = m_data && n_GetUseCount() == 1;
  if (alone && capacity == pso_Header()->maximumSize) {
    if (!keep) pso_Header()->usedSize = 0;
    return;
  }
  if (keep && alone) {
    auto* header = static_cast<st_BufferData*>(std::realloc(pso_Header(), allocation));
    if (!header) throw std::bad_alloc();
    header->maximumSize = capacity;
    header->usedSize = std::min(header->usedSize, capacity);
    m_data = Payload(header);
    return;
  }
  st_BufferData* fresh = Allocate(allocation);
  if (keep && m_data) {
    fresh->usedSize = std::min(n_GetUsedSize(), capacity);
    std::memcpy(Payload(fresh), m_data, fresh->usedSize);
  }
  v_Release();
  m_data = Payload(fresh);
}

void CT_Buffer::v_SetMinSize(uint32_t size, bool keep) {
  if (!m_data || pso_Header()->maximumSize < size) v_SetSize(size, keep);
}

void CT_Buffer::v_SetUsedSize(uint32_t size) {
  if (!m_data && size == 0) return;
  // A size beyond the capacity would let readers run off the storage.
  if (size > n_GetMaximumSize()) v_SetSize(size, true);
  v_CopyWeWrite();
  pso_Header()->usedSize = size;
}

void CT_Buffer::v_Grow(uint32_t size) {
  v_SetMinSize(size, true);
  v_CopyWeWrite();
}

void CT_Buffer::v_Replace(const void* data, uint32_t size, uint32_t pos) {
  if (size == kAll) size = Rest(n_GetUsedSize(), pos);
  if (size == 0) return;
  uint32_t end = Checked(uint64_t(pos) + size);
  // A source inside this storage could move when it grows.
  const auto* src = static_cast<const uint8_t*>(data);
  std::vector<uint8_t> own;
  if (m_data && src >= m_data && src < m_data + n_GetMaximumSize()) {
    own.assign(src, src + size);
    src = own.data();
  }
  v_Grow(end);
  std::memmove(m_data + pos, src, size);
  pso_Header()->usedSize = std::max(pso_Header()->usedSize, end);
}

void CT_Buffer::v_Replace(uint8_t byte, uint32_t count, uint32_t pos) {
  if (count == kAll) count = Rest(n_GetUsedSize(), pos);
  if (count == 0) return;
  uint32_t end = Checked(uint64_t(pos) + count);
  v_Grow(end);
  std::memset(m_data + pos, byte, count);
  pso_Header()->usedSize = std::max(pso_Header()->usedSize, end);
}

void CT_Buffer::v_Replace(const CT_Buffer* other) { v_Share(other); }

void CT_Buffer::v_Replace(const CT_Buffer* other, uint32_t from, uint32_t count, uint32_t pos) {
  if (count == kAll) count = Rest(other->n_GetUsedSize(), from);
  if (count == 0 || !other->m_data) return;
  v_Replace(other->m_data + from, count, pos);
}

void CT_Buffer::v_Insert(const void* data, uint32_t size, uint32_t pos) {
  if (size == 0) return;
  const auto* src = static_cast<const uint8_t*>(data);
  std::vector<uint8_t> own;
  if (m_data && src >= m_data && src < m_data + n_GetMaximumSize()) {
    own.assign(src, src + size);
    src = own.data();
  }
  uint32_t used = n_GetUsedSize();
  pos = std::min(pos, used);  // a gap behind the used bytes would be garbage
  v_Grow(Checked(uint64_t(used) + size));
  std::memmove(m_data + pos + size, m_data + pos, used - pos);
  std::memcpy(m_data + pos, src, size);
  pso_Header()->usedSize = used + size;
}

void CT_Buffer::v_Insert(uint8_t byte, uint32_t count, uint32_t pos) {
  if (count == 0) return;
  uint32_t used = n_GetUsedSize();
  pos = std::min(pos, used);
  v_Grow(Checked(uint64_t(used) + count));
  std::memmove(m_data + pos + count, m_data + pos, used - pos);
  std::memset(m_data + pos, byte, count);
  pso_Header()->usedSize = used + count;
}

void CT_Buffer::v_Insert(const CT_Buffer* other, uint32_t from, uint32_t count, uint32_t pos) {
  if (count == kAll) count = Rest(other->n_GetUsedSize(), from);
  if (count == 0 || !other->m_data) return;
  v_Insert(other->m_data + from, count, pos);
}

void CT_Buffer::v_Append(uint8_t byte) { v_Insert(byte, 1, n_GetUsedSize()); }

void CT_Buffer::v_Append(const void* data, uint32_t size) { v_Insert(data, size, n_GetUsedSize()); }

void CT_Buffer::v_Append(const CT_Buffer* other, uint32_t from, uint32_t count) {
  v_Insert(other, from, count, n_GetUsedSize());
}

void CT_Buffer::v_AtInsertCopy(uint32_t from, uint32_t count, uint32_t to) {
  if (count == 0 || !m_data) return;
  uint32_t used = n_GetUsedSize();
  to = std::min(to, used);
  std::vector<uint8_t> block(m_data + from, m_data + from + count);
  uint32_t total = Checked(uint64_t(used) + count);
  if (total > n_GetMaximumSize()) {
    // Build the new storage from its three parts at once.
    st_BufferData* fresh = Allocate(InitAllocation(total, 32));
    uint8_t* out = Payload(fresh);
    std::memcpy(out, m_data, to);
    std::memcpy(out + to, block.data(), count);
    std::memcpy(out + to + count, m_data + to, used - to);
    fresh->usedSize = total;
    v_Release();
    m_data = out;
    m_growth = 32;
    return;
  }
  v_CopyWeWrite();
  std::memmove(m_data + to + count, m_data + to, used - to);
  std::memcpy(m_data + to, block.data(), count);
  pso_Header()->usedSize = total;
}

void CT_Buffer::v_AtInsertCopy(const CT_Buffer* other, uint32_t from, uint32_t count, uint32_t to) {
  v_Insert(other, from, count, to);
}

void CT_Buffer::v_AtInsertMove(uint32_t from, uint32_t count, uint32_t to) {
  if (count == 0 || to == from || !m_data) return;
  uint32_t used = n_GetUsedSize();
  to = std::min(to, used);
  if (to > from && to <= from + count) return;  // the block already stands there
  v_CopyWeWrite();
  // A rotation moves the block without parking it anywhere.
  if (to < from)
    std::rotate(m_data + to, m_data + from, m_data + from + count);
  else
    std::rotate(m_data + from, m_data + from + count, m_data + to);
}

void CT_Buffer::v_AtInsertMove(CT_Buffer* other, uint32_t from, uint32_t count, uint32_t to) {
  if (other == this) {
    v_AtInsertMove(from, count, to);
    return;
  }
  if (count == kAll) count = Rest(other->n_GetUsedSize(), from);
  v_Insert(other, from, count, to);
  other->v_Remove(count, from);
}

void CT_Buffer::v_Remove(uint32_t count, uint32_t pos) {
  uint32_t used = n_GetUsedSize();
  if (count == 0 || pos >= used) return;
  v_CopyWeWrite();
  if (count == kAll || count >= used - pos) {
    pso_Header()->usedSize = pos;
    return;
  }
  std::memmove(m_data + pos, m_data + pos + count, used - pos - count);
  pso_Header()->usedSize = used - count;
}

bool CT_Buffer::b_IsEqual(const void* data, uint32_t size, uint32_t pos) const {
  if (!m_data) return size == 0;
  size = std::min(size, Rest(n_GetUsedSize(), pos));
  if (size == 0) return true;
  return data && std::memcmp(m_data + pos, data, size) == 0;
}

bool CT_Buffer::b_IsEqual(const CT_Buffer* other, uint32_t from, uint32_t count, uint32_t pos) const {
  if (count == kAll) count = Rest(other->n_GetUsedSize(), from);
  return b_IsEqual(other->m_data ? other->m_data + from : nullptr, count, pos);
}

uint32_t CT_Buffer::n_Find(uint8_t byte, uint32_t start) const {
  uint32_t used = n_GetUsedSize();
  if (start >= used) return kAll;
  const void* hit = std::memchr(m_data + start, byte, used - start);
  return hit ? uint32_t(static_cast<const uint8_t*>(hit) - m_data) : kAll;
}

uint32_t CT_Buffer::n_Find(const void* data, uint32_t size, uint32_t start) const {
  uint32_t used = n_GetUsedSize();
  if (start > used) return kAll;
  if (size == 0) return start;
  const void* hit = memmem(m_data + start, used - start, data, size);
  return hit ? uint32_t(static_cast<const uint8_t*>(hit) - m_data) : kAll;
}

void* CT_Buffer::operator new(std::size_t size) { return ::operator new(size); }

void CT_Buffer::operator delete(void* block) { ::operator delete(block); }
