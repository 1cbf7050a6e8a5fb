// CT_Exit: a static object that runs a shut-down function when it goes.
#pragma once

/// Runs \p function when the object is destroyed; as a static object,
/// while the program or library that holds it ends.
class CT_Exit {
 public:
  explicit CT_Exit(void (*function)());
  ~CT_Exit();
  CT_Exit(const CT_Exit&) = delete;
  CT_Exit& operator=(const CT_Exit&) = delete;

 private:
  void (*m_function)();
};
