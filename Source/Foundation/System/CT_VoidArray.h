// CT_VoidArray: an array of fixed-size items kept in a CT_Buffer, with
// indices that start at 1.
#pragma once

#include <cstdint>

#include "CT_Buffer.h"

/// Items of n_GetItemSize() bytes, shared between copies until one of them
/// changes. Indices and counts are in items, from 1; n_Find answers 0 when
/// nothing is found. Growth is counted in items.
class CT_VoidArray {
 public:
  /// No storage, growth 8 items.
  explicit CT_VoidArray(uint32_t itemSize);
  /// Storage for \p capacity items.
  CT_VoidArray(uint32_t itemSize, uint32_t growth, uint32_t capacity);
  /// Shares \p buffer's storage.
  CT_VoidArray(const CT_Buffer* buffer, uint32_t itemSize);
  /// Shares \p other's storage, with the same item size.
  explicit CT_VoidArray(const CT_VoidArray* other);
  CT_VoidArray(const CT_VoidArray& other);
  /// Shares \p other's storage and takes its item size.
  CT_VoidArray& operator=(const CT_VoidArray& other);

  uint32_t n_GetItemSize() const { return m_itemSize; }
  uint32_t n_GetCount() const { return m_buffer.n_GetUsedSize() / m_itemSize; }
  uint32_t n_GetMaxItems() const { return m_buffer.n_GetMaximumSize() / m_itemSize; }
  uint32_t n_GetGrowth() const { return m_buffer.n_GetGrowth() / m_itemSize; }
  const CT_Buffer* pcco_GetBuffer() const { return &m_buffer; }

  void v_SetGrowth(uint32_t items);
  /// Gives the array a capacity of \p items, keeping what fits.
  void v_SetSize(uint32_t items);
  /// Empties the array with room for \p capacity items; with \p reuse an
  /// unshared storage that is large enough is kept.
  void v_Set(uint32_t growth, uint32_t capacity, bool reuse);
  /// Shares the other storage; the item size stays.
  void v_Set(const CT_VoidArray* other);
  void v_Set(const CT_Buffer* buffer);

  /// Same item size, same count and the same bytes.
  bool b_IsEqual(const CT_VoidArray* other) const;

  void v_GetAt(void* item, uint32_t index) const;
  void v_SetAt(const void* item, uint32_t index);

  /// Appends one item.
  void v_Insert(const void* item);
  /// Appends \p count copies of the item.
  void v_Insert(const void* item, uint32_t count);
  /// Inserts one item before \p index.
  void v_InsertAt(const void* item, uint32_t index);
  void v_RemoveAt(uint32_t index);
  /// Removes the items \p first to \p last inclusive.
  void v_Remove(uint32_t first, uint32_t last);
  /// Index of the first item with the same bytes, 0 when there is none.
  uint32_t n_Find(const void* item) const;

  /// The buffer operations on items of \p other: \p count items (-1: to its
  /// end) from index \p from, written or inserted at index \p to.
  void v_Replace(const CT_VoidArray* other, uint32_t from, uint32_t count, uint32_t to);
  void v_Insert(const CT_VoidArray* other, uint32_t from, uint32_t count, uint32_t to);
  void v_Append(const CT_VoidArray* other, uint32_t from, uint32_t count);

  /// Inserts at \p to a copy of the \p count items at \p from.
  void v_AtInsertCopy(uint32_t from, uint32_t count, uint32_t to);
  /// Moves the \p count items at \p from before the item at \p to.
  void v_AtInsertMove(uint32_t from, uint32_t count, uint32_t to);
  /// Copies \p count items of \p other from \p from to \p to, then removes
  /// them from \p other.
  void v_AtInsertMove(CT_VoidArray* other, uint32_t from, uint32_t count, uint32_t to);

 private:
  uint32_t n_Bytes(uint32_t index) const { return (index - 1) * m_itemSize; }
  uint32_t n_Span(const CT_VoidArray* other, uint32_t from, uint32_t count) const;
  void v_MakeRoom(uint32_t extra);

  uint32_t m_itemSize;
  CT_Buffer m_buffer;
};
