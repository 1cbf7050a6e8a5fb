// CT_Forum: listeners kept in a CT_VoidArray of pointers.
#include "CT_Forum.h"

CT_Forum::CT_Forum() : m_listeners(sizeof(CT_Forum*)) {}

CT_Forum::~CT_Forum() = default;

void CT_Forum::vv_AddListener(CT_Forum* listener) { m_listeners.v_Insert(&listener); }

void CT_Forum::vv_RemoveListener(CT_Forum* listener) {
  if (uint32_t index = m_listeners.n_Find(&listener)) m_listeners.v_RemoveAt(index);
}

void CT_Forum::vv_Speak(CT_Forum* target, uint32_t messageId, ...) {
  va_list args;
  va_start(args, messageId);
  vv_SpeakVA(target, messageId, args);
  va_end(args);
}

void CT_Forum::vv_SpeakVA(CT_Forum* target, uint32_t messageId, va_list args) {
  n_Deliver(target, messageId, args, false);
}

int32_t CT_Forum::vn_Speak(CT_Forum* target, uint32_t messageId, ...) {
  va_list args;
  va_start(args, messageId);
  int32_t answer = vn_SpeakVA(target, messageId, args);
  va_end(args);
  return answer;
}

int32_t CT_Forum::vn_SpeakVA(CT_Forum* target, uint32_t messageId, va_list args) {
  return n_Deliver(target, messageId, args, true);
}

int32_t CT_Forum::n_Deliver(CT_Forum* target, uint32_t messageId, va_list args, bool answers) {
  auto hear = [&](CT_Forum* listener) {
    va_list copy;
    va_copy(copy, args);
    int32_t answer = 0;
    if (answers)
      answer = listener->vn_Listen(this, messageId, copy);
    else
      listener->vv_Listen(this, messageId, copy);
    va_end(copy);
    return answer;
  };
  if (target) return hear(target);
  // A copy of the list: a listener may leave (or others join) while it is heard.
  CT_VoidArray listeners(&m_listeners);
  for (uint32_t i = 1; i <= listeners.n_GetCount(); ++i) {
    CT_Forum* listener = nullptr;
    listeners.v_GetAt(&listener, i);
    if (int32_t answer = hear(listener)) return answer;
  }
  return 0;
}

void CT_Forum::vv_Listen(CT_Forum*, uint32_t, va_list) {}

int32_t CT_Forum::vn_Listen(CT_Forum*, uint32_t, va_list) { return 0; }
