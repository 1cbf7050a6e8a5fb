// One decoded copy per process of each table image the engines read: every
// file a load reads gets engines of its own over the same embedded tables.
#pragma once

#include <algorithm>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

/// The table decoded from \p bytes as `Table(bytes, name)` does, decoded
/// the first time only. The cache keeps the bytes it decoded, so that a
/// table that happens to sit where another one was is never taken for it;
/// images that fail to decode are not kept.
template <class Table>
std::shared_ptr<const Table> DecodedOnce(std::span<const unsigned char> bytes, const std::string& name) {
  struct Cached {
    std::vector<unsigned char> bytes;
    std::shared_ptr<const Table> table;
  };
  static std::mutex mutex;
  static std::vector<Cached> cache;
  std::lock_guard<std::mutex> lock(mutex);
  for (const Cached& c : cache) {
    if (std::equal(c.bytes.begin(), c.bytes.end(), bytes.begin(), bytes.end())) return c.table;
  }
  auto table = std::make_shared<const Table>(bytes, name);
  cache.push_back({std::vector<unsigned char>(bytes.begin(), bytes.end()), table});
  return table;
}
