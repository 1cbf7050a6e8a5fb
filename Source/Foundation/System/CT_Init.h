// CT_Init: a static object that runs a start-up function when it is built.
#pragma once

/// Runs \p function as soon as the object is constructed; as a static
/// object, while the program or library that holds it starts.
class CT_Init {
 public:
  explicit CT_Init(void (*function)());
  CT_Init(const CT_Init&) = delete;
  CT_Init& operator=(const CT_Init&) = delete;
};
