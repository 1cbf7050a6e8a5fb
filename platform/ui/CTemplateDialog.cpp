// Dialogs laid out from their templates.
#include "platform/ui/CTemplateDialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CDialogService.h"
#include "platform/ui/CDialogTemplate.h"

CTemplateDialog::CTemplateDialog(int32_t dialogId, QWidget* parent) : QDialog(parent), dialogId_(dialogId) {
  std::optional<CDialogTemplate> tpl = CDialogTemplate::Load(dialogId);
  if (!tpl) return;
  CDialogBuilder builder(CDialogBuilder::DialogFont(*tpl));
  controls_ = builder.Build(*this, *tpl);
  valid_ = true;
  // The handlers are virtual, so each dialog's own OnOK and OnCancel run.
  ConnectClicked(kIdOk, [this] { OnOK(); });
  ConnectClicked(kIdCancel, [this] { OnCancel(); });
}

QWidget* CTemplateDialog::Control(int32_t id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

QPushButton* CTemplateDialog::Button(int32_t id) const { return qobject_cast<QPushButton*>(Control(id)); }

QLineEdit* CTemplateDialog::Edit(int32_t id) const { return qobject_cast<QLineEdit*>(Control(id)); }

QListWidget* CTemplateDialog::List(int32_t id) const { return qobject_cast<QListWidget*>(Control(id)); }

void CTemplateDialog::ConnectClicked(int32_t id, std::function<void()> handler) {
  if (QPushButton* button = Button(id)) {
    connect(button, &QPushButton::clicked, this, std::move(handler));
  }
}

void CTemplateDialog::reject() {
  // The window system ignores Escape while the dialog's cancel button is
  // disabled (page B while it loads).
  if (QPushButton* cancel = Button(kIdCancel); cancel && !cancel->isEnabled()) return;
  OnCancel();
}

void CTemplateDialog::OnOK() { done(kIdOk); }

void CTemplateDialog::OnCancel() { done(kIdCancel); }
