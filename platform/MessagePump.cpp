// The settable message pump.
#include "platform/MessagePump.h"

namespace {
MessagePumpHook& Pump() {
  static MessagePumpHook pump;
  return pump;
}
}  // namespace

void PumpOneMessage() {
  if (MessagePumpHook& pump = Pump()) pump();
}

MessagePumpHook SetMessagePump(MessagePumpHook pump) {
  MessagePumpHook previous = std::move(Pump());
  Pump() = std::move(pump);
  return previous;
}
