// CT_Forum: a speaker that passes numbered messages to its listeners.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "CT_VoidArray.h"

/// Listeners are forums too: they override vv_Listen and vn_Listen.
/// Speaking with a target reaches only the target; without one (null),
/// every listener in the order added.
class CT_Forum {
 public:
  CT_Forum();
  virtual ~CT_Forum();

  virtual void vv_AddListener(CT_Forum* listener);
  /// Nothing when \p listener is not listed.
  virtual void vv_RemoveListener(CT_Forum* listener);
  virtual void vv_Speak(CT_Forum* target, uint32_t messageId, ...);
  virtual void vv_SpeakVA(CT_Forum* target, uint32_t messageId, va_list args);
  /// Stops at the first listener that answers non-zero and returns that answer.
  virtual int32_t vn_Speak(CT_Forum* target, uint32_t messageId, ...);
  virtual int32_t vn_SpeakVA(CT_Forum* target, uint32_t messageId, va_list args);

  virtual void vv_Listen(CT_Forum* speaker, uint32_t messageId, va_list args);
  virtual int32_t vn_Listen(CT_Forum* speaker, uint32_t messageId, va_list args);

 private:
  /// Passes a message on: with \p answers through vn_Listen up to the
  /// first non-zero answer, else through vv_Listen to all.
  int32_t n_Deliver(CT_Forum* target, uint32_t messageId, va_list args, bool answers);

  CT_VoidArray m_listeners;  ///< CT_Forum*, in the order added
};
