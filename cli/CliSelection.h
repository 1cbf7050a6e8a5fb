// The selection options that the load, table and run commands share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CCliArgs;

/// The selection text of every value given for \p option, in order, each
/// path list ended by ";" so that the next one appends to it.
std::string CliSelection(const CCliArgs& cli, std::string_view option);

/// The value of --font-type (0 when not given) in \p type; false when it is
/// not 0, 1 or 2.
[[nodiscard]] bool CliFontType(const CCliArgs& cli, int32_t& type);
