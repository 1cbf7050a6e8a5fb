// The mapping core's messages shown as message boxes over a window.
#pragma once

#include "mapping/CMessageSink.h"
#include "platform/ui/CDialogService.h"
#include "platform/ui/QtText.h"

/// Shows each message in a box with an OK button, owned by \p owner.
class CBoxMessageSink : public CMessageSink {
 public:
  explicit CBoxMessageSink(QWidget* owner) : owner_(owner) {}
  void ShowMessage(std::string_view text, std::string_view caption) override {
    Dialogs().MessageBox(owner_, std::string(text), std::string(caption), MessageIcon::Exclamation, MessageButtons::Ok);
  }

 private:
  QWidget* owner_;
};
