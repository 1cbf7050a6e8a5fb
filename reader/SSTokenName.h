// A token's printable name: what the engines' traces show for its id.
#pragma once

#include <cstdint>

struct SSTokenName {
  int32_t id;
  const char* name;
};
