// Work split among the cores: independent pieces that take milliseconds
// each (the written files read again), where a thread costs some tens of
// microseconds.
#pragma once

#include <algorithm>
#include <cstddef>
#include <exception>
#include <thread>
#include <vector>

/// How many consecutive chunks of [0, \p count) to work on at once: one a
/// core, each of at least \p leastPerChunk items; 1 for a short range.
inline size_t ChunksFor(size_t count, size_t leastPerChunk) {
  const size_t cores = std::max(1u, std::thread::hardware_concurrency());
  return std::clamp<size_t>(count / std::max<size_t>(leastPerChunk, 1), 1, cores);
}

/// Calls \p work(chunk, begin, end) for \p chunks consecutive parts of
/// [0, \p count) of about equal size, at the same time: the first on the
/// calling thread, the others on threads of their own. Returns when all
/// are done; the exception of the lowest chunk that threw, if any, is
/// thrown again.
template <class Work>
void ForEachChunk(size_t count, size_t chunks, Work&& work) {
  chunks = std::max<size_t>(chunks, 1);
  const auto begin = [&](size_t chunk) { return count * chunk / chunks; };
  std::vector<std::exception_ptr> failures(chunks);
  const auto run = [&](size_t chunk) {
    try {
      work(chunk, begin(chunk), begin(chunk + 1));
    } catch (...) {
      failures[chunk] = std::current_exception();
    }
  };
  std::vector<std::thread> threads;
  threads.reserve(chunks - 1);
  for (size_t chunk = 1; chunk < chunks; ++chunk) {
    try {
      threads.emplace_back(run, chunk);
    } catch (...) {
      run(chunk);  // no thread to be had: done here, after the others
    }
  }
  run(0);
  for (std::thread& thread : threads) thread.join();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
}
