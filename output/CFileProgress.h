// Where the writing of one file tells how far it has come, and when it is
// about to put its copy in place.
#pragma once

#include <cstdint>
#include <limits>

/// Told of every replacement a file's write makes; hands on only the
/// counts its Tell asked to hear, so that a replacement costs a compare.
class CFileProgress {
 public:
  virtual ~CFileProgress() = default;

  /// Replacement \p done of the file's \p count is being made; calls come
  /// with \p done growing.
  void Reached(int32_t done, int32_t count) {
    done_ = done;
    if (done >= next_) next_ = Tell(done, count);
  }
  /// The latest replacement reached (0 before the first).
  int32_t Done() const { return done_; }
  /// The copy is complete and about to take its name. May throw to keep
  /// it from doing so; it is then dropped.
  virtual void BeforeCommit() {}

 protected:
  /// Hands on \p done of \p count. Returns the least count worth telling
  /// next: no call before it would change what was shown.
  virtual int32_t Tell(int32_t done, int32_t count) = 0;

 private:
  int32_t done_ = 0;
  int32_t next_ = std::numeric_limits<int32_t>::min();
};
