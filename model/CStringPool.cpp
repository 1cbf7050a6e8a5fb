// The process-wide pool of shared texts.
#include "model/CStringPool.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// The bytes of a text that a slot of the per-thread cache holds.
constexpr size_t kRecentHead = 16;

// Whether \p text (at most kRecentHead bytes) is the start of \p head.
// Short texts: a loop is cheaper than a call.
bool StartsHead(const char* head, std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (head[i] != text[i]) return false;
  }
  return true;
}

uint64_t Load8(const char* at) {
  uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

uint32_t Load4(const char* at) {
  uint32_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// A cheap spread of a text for the per-thread cache below: its length and
// up to 24 of its bytes (from its start, middle and end). Texts that agree
// in all of them only share a slot, which costs a lookup under the lock.
size_t RecentHash(std::string_view text) {
  const char* p = text.data();
  const size_t n = text.size();
  uint64_t a, b, c;
  if (n >= 8) {
    a = Load8(p);
    b = Load8(p + (n - 8) / 2);
    c = Load8(p + n - 8);
  } else if (n >= 4) {
    a = Load4(p);
    b = 0;
    c = Load4(p + n - 4);
  } else {
    a = n == 0 ? 0 : static_cast<unsigned char>(p[0]);
    b = n == 0 ? 0 : static_cast<unsigned char>(p[n / 2]);
    c = n == 0 ? 0 : static_cast<unsigned char>(p[n - 1]);
  }
  uint64_t h = (a * 0x9E3779B97F4A7C15ull) ^ (b * 0xC2B2AE3D27D4EB4Full) ^ (c * 0x165667B19E3779F9ull) ^ n;
  h ^= h >> 32;
  h *= 0xD6E8FEB86659FD93ull;
  return static_cast<size_t>(h ^ (h >> 32));
}

}  // namespace

CStringPool& CStringPool::Instance() {
  static CStringPool* pool = new CStringPool;  // outlives every model, never destroyed
  return *pool;
}

const std::string* CStringPool::Empty() {
  static const std::string* empty = Intern("");
  return empty;
}

const std::string* CStringPool::Intern(std::string_view text) {
  // A loading model asks for the same few texts again and again (a piece
  // for every font reference): each thread remembers its recent answers,
  // which spares it the lock. Copies never move or go, so the pointers
  // stay good.
  // A document's pieces hold a thousand or more different texts: with fewer
  // slots, one lookup in five missed and took the lock.
  constexpr size_t kRecent = 4096;
  // A slot holds the first bytes of its text too: a short text (most are
  // font numbers) is then compared without reading the copy, which lies
  // elsewhere in memory and is seldom in the cache.
  struct Recent {
    const std::string* copy;
    size_t size;
    char head[kRecentHead];
  };
  thread_local constinit Recent recent[kRecent] = {};
  const size_t hash = RecentHash(text);
  Recent& slot = recent[hash % kRecent];
  if (slot.copy != nullptr && slot.size == text.size()) {
    if (text.size() <= kRecentHead ? StartsHead(slot.head, text) : *slot.copy == text) {
      return slot.copy;
    }
  }
  CStringPool& pool = Instance();
  std::lock_guard lock(pool.mutex_);
  auto it = pool.texts_.find(text);
  if (it == pool.texts_.end()) it = pool.texts_.emplace(text).first;
  slot.copy = &*it;
  slot.size = text.size();
  // std::copy_n, not memcpy: an empty view may have no data at all.
  std::copy_n(text.data(), std::min(text.size(), kRecentHead), slot.head);
  return slot.copy;
}
