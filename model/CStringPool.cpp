// The process-wide pool of shared texts.
#include "model/CStringPool.h"

#include <cstdint>
#include <cstring>

namespace {

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

// Up to 24 bytes of a text, from its start, middle and end, in three
// words that may overlap. For a text of at most 16 bytes the first and
// the last word hold every byte, so that with the length they tell two
// such texts apart.
struct Sample {
  uint64_t first, middle, last;
  explicit Sample(std::string_view text) {
    const char* p = text.data();
    const size_t n = text.size();
    if (n >= 8) {
      first = Load8(p);
      middle = Load8(p + (n - 8) / 2);
      last = Load8(p + n - 8);
    } else if (n >= 4) {
      first = Load4(p);
      middle = 0;
      last = Load4(p + n - 4);
    } else {
      // Bytes 0, n / 2 and n - 1 are every byte of a text this short.
      first = n == 0 ? 0 : static_cast<unsigned char>(p[0]);
      middle = 0;
      last = n == 0 ? 0 : static_cast<unsigned char>(p[n / 2]) | uint64_t{static_cast<unsigned char>(p[n - 1])} << 8;
    }
  }
  // A cheap spread for the per-thread cache below: texts that agree in
  // their length and sample only share a slot, which costs a lookup under
  // the lock.
  size_t Hash(size_t n) const {
    uint64_t h =
        (first * 0x9E3779B97F4A7C15ull) ^ (middle * 0xC2B2AE3D27D4EB4Full) ^ (last * 0x165667B19E3779F9ull) ^ n;
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    return static_cast<size_t>(h ^ (h >> 32));
  }
};

// The texts that Sample tells apart by its first and last word.
constexpr size_t kSampledWhole = 16;

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

CStringPool& CStringPool::Instance() {
  static CStringPool* pool = new CStringPool;  // outlives every model, never destroyed
  return *pool;
}

const std::string* CStringPool::Empty() {
  static const std::string* empty = Intern("");
  return empty;
}

CStringPool::Interned CStringPool::InternNotingBreaks(std::string_view text) {
  // A loading model asks for the same few texts again and again (a piece
  // for every font reference): each thread remembers its recent answers,
  // which spares it the lock. Copies never move or go, so the pointers
  // stay good.
  // A document's pieces hold a thousand or more different texts: with fewer
  // slots, one lookup in five missed and took the lock.
  constexpr size_t kRecent = 4096;
  // A slot holds the sample of its text too: a short text (most are font
  // numbers) is then compared without reading the copy, which lies
  // elsewhere in memory and is seldom in the cache.
  struct Recent {
    const std::string* copy;
    uint32_t size;  // of a text that fits; see below
    bool hasLineBreak;
    uint64_t first, last;
  };
  thread_local constinit Recent recent[kRecent] = {};
  const Sample sample(text);
  Recent& slot = recent[sample.Hash(text.size()) % kRecent];
  if (slot.copy != nullptr && slot.size == text.size()) {
    if (text.size() <= kSampledWhole ? slot.first == sample.first && slot.last == sample.last : *slot.copy == text) {
      return {slot.copy, slot.hasLineBreak};
    }
  }
  CStringPool& pool = Instance();
  const std::string* copy;
  {
    std::lock_guard lock(pool.mutex_);
    auto it = pool.texts_.find(text);
    if (it == pool.texts_.end()) it = pool.texts_.emplace(text).first;
    copy = &*it;
  }
  const bool hasLineBreak = HasLineBreak(text);
  // A text too long for the size field is never remembered, so that no
  // shorter one is taken for it.
  if (text.size() <= UINT32_MAX) {
    slot = {copy, static_cast<uint32_t>(text.size()), hasLineBreak, sample.first, sample.last};
  }
  return {copy, hasLineBreak};
}
