// The foundation library's error boxes, through the program's dialog service.
#include "app/ui/FoundationMessageBox.h"

#include <QApplication>
#include <QString>

#include "platform/ui/CDialogService.h"
#include "platform/ui/QtText.h"

namespace {

// Windows message-box type bits and button numbers.
enum : uint32_t { kOk, kOkCancel, kAbortRetryIgnore, kYesNoCancel, kYesNo, kRetryCancel };
enum : int32_t { kIdRetry = 4, kIdIgnore = 5 };

MessageIcon IconOf(uint32_t type) {
  switch (type & 0xF0) {
    case 0x10:
      return MessageIcon::Error;
    case 0x20:
      return MessageIcon::Question;
    case 0x30:
      return MessageIcon::Exclamation;
    case 0x40:
      return MessageIcon::Information;
    default:
      return MessageIcon::None;
  }
}

}  // namespace

int32_t ShowFoundationMessageBox(const char16_t* text, const char16_t* caption, uint32_t type) {
  uint32_t buttons = type & 0xF;
  MessageButtons shown = buttons == kOk            ? MessageButtons::Ok
                         : buttons == kYesNo       ? MessageButtons::YesNo
                         : buttons == kYesNoCancel ? MessageButtons::YesNoCancel
                                                   : MessageButtons::OkCancel;
  int32_t result = Dialogs().MessageBox(QApplication::activeWindow(), FromQt(QString::fromUtf16(text)),
                                        FromQt(QString::fromUtf16(caption)), IconOf(type), shown);
  bool ok = result == kIdOk;
  if (buttons == kAbortRetryIgnore) return ok ? kIdRetry : kIdIgnore;
  if (buttons == kRetryCancel) return ok ? int32_t(kIdRetry) : int32_t(kIdCancel);
  return result;
}
