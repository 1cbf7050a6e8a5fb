// A dialog whose layout comes from a dialog template of the resources.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <map>

#include "platform/ui/CDialogService.h"

class QLineEdit;
class QListWidget;
class QPushButton;

/// A QDialog laid out from template \p dialogId, with its controls found
/// by id as a Windows dialog finds them. Button 1 gives OnOK, button 2
/// and Escape give OnCancel (Escape does nothing while button 2 is
/// disabled); by default they end the dialog with kIdOk and kIdCancel.
class CTemplateDialog : public QDialog {
 public:
  explicit CTemplateDialog(int32_t dialogId, QWidget* parent = nullptr);

  /// The template's number, which is also the dialog's id.
  int32_t DialogId() const { return dialogId_; }
  /// False when the template could not be read; such a dialog cannot run.
  bool Valid() const { return valid_; }

  /// The control with \p id, or nullptr.
  QWidget* Control(int32_t id) const;
  QPushButton* Button(int32_t id) const;
  QLineEdit* Edit(int32_t id) const;
  QListWidget* List(int32_t id) const;

  /// Calls \p handler on \p owner when button \p id is clicked.
  template <typename T>
  void OnClicked(int32_t id, T* owner, void (T::*handler)());

 protected:
  /// Escape (and anything else that rejects): the command of button 2.
  void reject() override;
  /// The command of button 1; ends the dialog with kIdOk.
  virtual void OnOK();
  /// The command of button 2; ends the dialog with kIdCancel.
  virtual void OnCancel();

 private:
  void ConnectClicked(int32_t id, std::function<void()> handler);

  int32_t dialogId_;
  bool valid_ = false;
  std::map<int32_t, QWidget*> controls_;
};

template <typename T>
void CTemplateDialog::OnClicked(int32_t id, T* owner, void (T::*handler)()) {
  ConnectClicked(id, [owner, handler] { (owner->*handler)(); });
}
