// Run's progress on the mapping page.
#include "mapping/ui/CRunProgress.h"

#include <QLabel>
#include <QProgressBar>

#include "mapping/ui/CMappingPage.h"
#include "platform/MessagePump.h"
#include "platform/ui/CDialogService.h"
#include "platform/ui/QtText.h"

void CRunProgress::ShowProgress(const std::string& fileName, int32_t currentPercent, int32_t totalPercent) {
  if (fileName.empty()) return;
  Show(currentPercent, totalPercent, ToQt(fileName));
  PumpOneMessage();  // the page repaints while files are written
}

void CRunProgress::ShowMessage(const std::string& text, const std::string& caption) {
  Dialogs().MessageBox(&page_, text, caption, MessageIcon::Exclamation, MessageButtons::Ok);
}

void CRunProgress::Show(int32_t currentPercent, int32_t totalPercent, const QString& status) {
  SetBar(CMappingPage::kCurrentBar, CMappingPage::kCurrentPercent, currentPercent);
  SetBar(CMappingPage::kTotalBar, CMappingPage::kTotalPercent, totalPercent);
  if (auto* label = qobject_cast<QLabel*>(page_.Control(CMappingPage::kStatus))) label->setText(status);
}

void CRunProgress::SetBar(int32_t barId, int32_t labelId, int32_t percent) {
  if (auto* bar = qobject_cast<QProgressBar*>(page_.Control(barId))) bar->setValue(percent);
  if (auto* label = qobject_cast<QLabel*>(page_.Control(labelId))) label->setText(QStringLiteral("%1%").arg(percent));
}
