// Embedded resources (tables, string table, images), looked up by type and
// name as a Windows program finds them in its executable.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

/// One embedded resource.
struct ResourceEntry {
  const char* type;
  const char* name;
  const unsigned char* data;
  size_t size;
};

/// A set of resources: the program's own, or one a test makes up.
class CResourceModule {
 public:
  explicit CResourceModule(std::span<const ResourceEntry> entries) : entries_(entries) {}

  /// The resources built into this program.
  static const CResourceModule& Embedded();

  /// The bytes of the resource of \p type named \p name; case is ignored,
  /// as the Windows lookup does.
  std::optional<std::span<const unsigned char>> Find(std::string_view type, std::string_view name) const;

 private:
  std::span<const ResourceEntry> entries_;
};
