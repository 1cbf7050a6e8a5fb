// CT_VoidArray: 1-based item positions turned into CT_Buffer byte positions.
#include "CT_VoidArray.h"

#include <cstring>

namespace {

constexpr uint32_t kAll = 0xFFFFFFFFu;

// An item size of 0 would divide by zero in every count.
uint32_t ItemSize(uint32_t size) { return size ? size : 1; }

}  // namespace

CT_VoidArray::CT_VoidArray(uint32_t itemSize) : m_itemSize(ItemSize(itemSize)), m_buffer(0u, 8 * m_itemSize) {}

CT_VoidArray::CT_VoidArray(uint32_t itemSize, uint32_t growth, uint32_t capacity)
    : m_itemSize(ItemSize(itemSize)), m_buffer(capacity * m_itemSize, growth * m_itemSize) {}

CT_VoidArray::CT_VoidArray(const CT_Buffer* buffer, uint32_t itemSize)
    : m_itemSize(ItemSize(itemSize)), m_buffer(buffer) {}

CT_VoidArray::CT_VoidArray(const CT_VoidArray* other) : m_itemSize(other->m_itemSize), m_buffer(&other->m_buffer) {}

CT_VoidArray::CT_VoidArray(const CT_VoidArray& other) : CT_VoidArray(&other) {}

CT_VoidArray& CT_VoidArray::operator=(const CT_VoidArray& other) {
  m_itemSize = other.m_itemSize;
  m_buffer.v_Set(&other.m_buffer);
  return *this;
}

void CT_VoidArray::v_SetGrowth(uint32_t items) { m_buffer.v_SetGrowth(items * m_itemSize); }

void CT_VoidArray::v_SetSize(uint32_t items) {
  if (n_GetMaxItems() != items) m_buffer.v_SetSize(items * m_itemSize, true);
}

void CT_VoidArray::v_Set(uint32_t growth, uint32_t capacity, bool reuse) {
  v_SetGrowth(growth);
  if (reuse && n_GetMaxItems() >= capacity && m_buffer.n_GetUseCount() == 1) {
    m_buffer.v_SetUsedSize(0);
    return;
  }
  m_buffer.v_Set(capacity * m_itemSize, growth * m_itemSize, false);
}

void CT_VoidArray::v_Set(const CT_VoidArray* other) { m_buffer.v_Set(&other->m_buffer); }

void CT_VoidArray::v_Set(const CT_Buffer* buffer) { m_buffer.v_Set(buffer); }

bool CT_VoidArray::b_IsEqual(const CT_VoidArray* other) const {
  if (m_itemSize != other->m_itemSize || n_GetCount() != other->n_GetCount()) return false;
  return n_GetCount() == 0 || m_buffer.b_IsEqual(&other->m_buffer, 0, n_GetCount() * m_itemSize, 0);
}

void CT_VoidArray::v_GetAt(void* item, uint32_t index) const {
  if (index == 0 || index > n_GetCount()) {  // no such item: zero bytes, not a stray read
    std::memset(item, 0, m_itemSize);
    return;
  }
  const auto* from = static_cast<const uint8_t*>(m_buffer.qcv_Get()) + n_Bytes(index);
  // Fixed sizes let the compiler move small items as one value.
  switch (m_itemSize) {
    case 1:
      std::memcpy(item, from, 1);
      break;
    case 2:
      std::memcpy(item, from, 2);
      break;
    case 4:
      std::memcpy(item, from, 4);
      break;
    default:
      std::memcpy(item, from, m_itemSize);
      break;
  }
}

void CT_VoidArray::v_SetAt(const void* item, uint32_t index) { m_buffer.v_Replace(item, m_itemSize, n_Bytes(index)); }

void CT_VoidArray::v_MakeRoom(uint32_t extra) {
  if (n_GetCount() + extra <= n_GetMaxItems()) return;
  uint32_t growth = n_GetGrowth() ? n_GetGrowth() : 1;
  uint32_t items = n_GetMaxItems() + growth;
  if (items < n_GetCount() + extra) items = n_GetCount() + extra;
  m_buffer.v_SetSize(items * m_itemSize, true);
}

void CT_VoidArray::v_Insert(const void* item) {
  v_MakeRoom(1);
  m_buffer.v_Append(item, m_itemSize);
}

void CT_VoidArray::v_Insert(const void* item, uint32_t count) {
  v_MakeRoom(count);
  for (uint32_t i = 0; i < count; ++i) m_buffer.v_Append(item, m_itemSize);
}

void CT_VoidArray::v_InsertAt(const void* item, uint32_t index) {
  v_MakeRoom(1);
  m_buffer.v_Insert(item, m_itemSize, n_Bytes(index));
}

void CT_VoidArray::v_RemoveAt(uint32_t index) { m_buffer.v_Remove(m_itemSize, n_Bytes(index)); }

void CT_VoidArray::v_Remove(uint32_t first, uint32_t last) {
  if (last < first) return;
  m_buffer.v_Remove((last - first + 1) * m_itemSize, n_Bytes(first));
}

uint32_t CT_VoidArray::n_Find(const void* item) const {
  const auto* bytes = static_cast<const uint8_t*>(m_buffer.qcv_Get());
  for (uint32_t i = 0, count = n_GetCount(); i < count; ++i)
    if (std::memcmp(bytes + i * m_itemSize, item, m_itemSize) == 0) return i + 1;
  return 0;
}

uint32_t CT_VoidArray::n_Span(const CT_VoidArray* other, uint32_t from, uint32_t count) const {
  if (count == kAll) count = from <= other->n_GetCount() ? other->n_GetCount() - from + 1 : 0;
  return count * m_itemSize;
}

void CT_VoidArray::v_Replace(const CT_VoidArray* other, uint32_t from, uint32_t count, uint32_t to) {
  m_buffer.v_Replace(&other->m_buffer, other->n_Bytes(from), n_Span(other, from, count), n_Bytes(to));
}

void CT_VoidArray::v_Insert(const CT_VoidArray* other, uint32_t from, uint32_t count, uint32_t to) {
  m_buffer.v_Insert(&other->m_buffer, other->n_Bytes(from), n_Span(other, from, count), n_Bytes(to));
}

void CT_VoidArray::v_Append(const CT_VoidArray* other, uint32_t from, uint32_t count) {
  v_Insert(other, from, count, n_GetCount() + 1);
}

void CT_VoidArray::v_AtInsertCopy(uint32_t from, uint32_t count, uint32_t to) {
  m_buffer.v_AtInsertCopy(n_Bytes(from), count * m_itemSize, n_Bytes(to));
}

void CT_VoidArray::v_AtInsertMove(uint32_t from, uint32_t count, uint32_t to) {
  if (to == from || to == from + count) return;
  m_buffer.v_AtInsertMove(n_Bytes(from), count * m_itemSize, n_Bytes(to));
}

void CT_VoidArray::v_AtInsertMove(CT_VoidArray* other, uint32_t from, uint32_t count, uint32_t to) {
  if (other == this) {
    v_AtInsertMove(from, count, to);
    return;
  }
  if (count == kAll) count = n_Span(other, from, count) / m_itemSize;
  v_Insert(other, from, count, to);
  other->v_Remove(from, from + count - 1);
}
