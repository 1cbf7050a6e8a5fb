// A set of character codes (bytes and double-byte codes) kept as sorted,
// disjoint, non-adjacent ranges.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// An inclusive range of character codes.
struct CodeRange {
  uint32_t low;
  uint32_t high;
  auto operator<=>(const CodeRange&) const = default;
};

/// A set of character codes within [0, kHighestCharCode].
class CodeSet {
 public:
  CodeSet() = default;
  /// The set of one code.
  static CodeSet Of(uint32_t code) { return Range(code, code); }
  static CodeSet Range(uint32_t low, uint32_t high);
  /// Every character code.
  static CodeSet All();

  void Add(uint32_t low, uint32_t high);
  void Add(const CodeSet& other);
  /// Every code not in this set, double-byte codes included.
  CodeSet Complement() const;

  bool Empty() const { return ranges_.empty(); }
  bool Contains(uint32_t code) const;
  const std::vector<CodeRange>& Ranges() const { return ranges_; }

  /// Readable form for reports: [a-z\x1B], with ranges of double-byte codes
  /// in hex.
  std::string Describe() const;

  auto operator<=>(const CodeSet&) const = default;

 private:
  std::vector<CodeRange> ranges_;
};

/// One code as a report writes it: 'a', \n, \x1B or 0x8140.
std::string DescribeCode(uint32_t code);
