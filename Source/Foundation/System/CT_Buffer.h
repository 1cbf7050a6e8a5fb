// CT_Buffer: a growable byte store whose storage is shared between copies
// and copied only when one of them is about to change it.
#pragma once

#include <cstddef>
#include <cstdint>

/// The header in front of every buffer's payload; header and payload are
/// one allocation of 12 + maximumSize bytes.
struct st_BufferData {
  int32_t useCount;      ///< buffers sharing this storage; changed atomically
  uint32_t maximumSize;  ///< payload capacity in bytes
  uint32_t usedSize;     ///< payload bytes in use
};

/// A byte store with copy on write. Positions and sizes are in bytes; where
/// a member says so, -1 (0xFFFFFFFF) means "up to the end". Positions are
/// not checked against the used size except where a member says so.
/// Two buffers on different threads may share one storage; one buffer
/// object must not be used by two threads at once. An allocation that
/// fails throws std::bad_alloc.
class CT_Buffer {
 public:
  /// Growth 32, no storage.
  CT_Buffer();
  /// Storage for at least \p size bytes, none in use.
  explicit CT_Buffer(uint32_t size, uint32_t growth = 32);
  /// Storage holding a copy of the \p size bytes at \p data.
  CT_Buffer(const void* data, uint32_t size, uint32_t growth = 32);
  /// Shares \p other's storage and takes its growth.
  explicit CT_Buffer(const CT_Buffer* other);
  CT_Buffer(const CT_Buffer& other);
  CT_Buffer& operator=(const CT_Buffer& other);
  ~CT_Buffer();

  uint32_t n_GetMaximumSize() const;
  uint32_t n_GetUsedSize() const;
  /// Buffers sharing the storage; 1 without storage.
  uint32_t n_GetUseCount() const;
  uint32_t n_GetGrowth() const { return m_growth; }
  /// The first payload byte; null without storage.
  const void* qcv_Get() const { return m_data; }

  void v_SetGrowth(uint32_t growth) { m_growth = growth; }

  /// Empties the buffer with room for \p size bytes (growth -1: the current
  /// one). With \p reuse, an unshared storage that is large enough is kept.
  void v_Set(uint32_t size, uint32_t growth, bool reuse);
  /// Replaces the contents by a copy of \p size bytes (growth -1: current).
  void v_Set(const void* data, uint32_t size, uint32_t growth);
  /// Shares \p other's storage and takes its growth.
  void v_Set(const CT_Buffer* other);

  /// Gives the buffer a capacity for \p size bytes (0 frees the storage);
  /// with \p keep the bytes in use are kept as far as they fit.
  void v_SetSize(uint32_t size, bool keep);
  /// v_SetSize only when there is no storage or the capacity is below \p size.
  void v_SetMinSize(uint32_t size, bool keep);
  /// Sets the used size; the caller keeps it within the capacity.
  void v_SetUsedSize(uint32_t size);

  /// Writes \p size bytes at \p pos (-1: up to the used size), growing as
  /// needed; the used size becomes at least pos + size.
  void v_Replace(const void* data, uint32_t size, uint32_t pos);
  /// Writes \p count copies of \p byte at \p pos.
  void v_Replace(uint8_t byte, uint32_t count, uint32_t pos);
  /// As v_Set(const CT_Buffer*).
  void v_Replace(const CT_Buffer* other);
  /// Writes \p count bytes of \p other from \p from (-1: to its end) at \p pos.
  void v_Replace(const CT_Buffer* other, uint32_t from, uint32_t count, uint32_t pos);

  /// Inserts \p size bytes at \p pos, moving the bytes from there on.
  void v_Insert(const void* data, uint32_t size, uint32_t pos);
  void v_Insert(uint8_t byte, uint32_t count, uint32_t pos);
  /// Inserts \p count bytes of \p other from \p from (-1: to its end).
  void v_Insert(const CT_Buffer* other, uint32_t from, uint32_t count, uint32_t pos);

  void v_Append(uint8_t byte);
  void v_Append(const void* data, uint32_t size);
  void v_Append(const CT_Buffer* other, uint32_t from, uint32_t count);

  /// Inserts at \p to a copy of the \p count bytes at \p from, taken before
  /// the insertion moves them. When the storage must grow, the new one has
  /// growth 32.
  void v_AtInsertCopy(uint32_t from, uint32_t count, uint32_t to);
  /// As v_Insert(other, from, count, to).
  void v_AtInsertCopy(const CT_Buffer* other, uint32_t from, uint32_t count, uint32_t to);
  /// Moves the \p count bytes at \p from so that they stand before the byte
  /// that was at \p to.
  void v_AtInsertMove(uint32_t from, uint32_t count, uint32_t to);
  /// Inserts \p count bytes of \p other from \p from at \p to, then removes
  /// them from \p other.
  void v_AtInsertMove(CT_Buffer* other, uint32_t from, uint32_t count, uint32_t to);

  /// Removes \p count bytes at \p pos; -1 cuts the used size to \p pos.
  void v_Remove(uint32_t count, uint32_t pos);

  /// True when the \p size bytes at \p pos equal \p data; \p size is first
  /// cut to the bytes in use from \p pos.
  bool b_IsEqual(const void* data, uint32_t size, uint32_t pos) const;
  bool b_IsEqual(const CT_Buffer* other, uint32_t from, uint32_t count, uint32_t pos) const;

  /// Position of the first \p byte at or after \p start, else -1.
  uint32_t n_Find(uint8_t byte, uint32_t start) const;
  /// Position of the first occurrence of the \p size bytes at or after
  /// \p start that lies wholly inside the used bytes, else -1.
  uint32_t n_Find(const void* data, uint32_t size, uint32_t start) const;

  /// Makes the storage this buffer's own before a change.
  void v_CopyWeWrite();

  static void* operator new(std::size_t size);
  static void operator delete(void* block);

 private:
  st_BufferData* pso_Header() const;
  void v_Init(uint32_t size, uint32_t growth);
  void v_Release();
  void v_Share(const CT_Buffer* other);
  void v_Grow(uint32_t size);

  uint32_t m_growth;
  uint8_t* m_data;
};
