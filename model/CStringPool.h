// One shared copy of each short text that many font references repeat
// (categories, component names, families, sizes), so that a model of
// hundreds of thousands of references stays small and copies cheaply.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>

/// A process-wide set of texts; a text once added lives until the process
/// ends, at a stable address.
class CStringPool {
 public:
  /// The pool's copy of \p text (the same pointer for equal texts).
  static const std::string* Intern(std::string_view text) { return InternNotingBreaks(text).copy; }
  /// Intern, and whether the text holds a CR or LF byte: a text piece
  /// needs both, and the answer is remembered with the copy.
  struct Interned {
    const std::string* copy;
    bool hasLineBreak;
  };
  static Interned InternNotingBreaks(std::string_view text);
  /// The pool's empty text.
  static const std::string* Empty();

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>()(s); }
  };
  struct Equal {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept { return a == b; }
  };
  std::mutex mutex_;
  std::unordered_set<std::string, Hash, Equal> texts_;

  static CStringPool& Instance();
};
