// What the wizard's pages share: the About entry of their menu, the
// program icon, Help, and the way a page takes the place of its owner.
#pragma once

#include <QMenu>
#include <QPointer>
#include <QRect>
#include <memory>

#include "platform/WaitCursor.h"
#include "platform/ui/CTemplateDialog.h"

/// Command id of the About entry.
constexpr int32_t kCommandAbout = 16;
/// Id of every page's "&Help" button.
constexpr int32_t kIdHelp = 57670;
/// Help context numbers are this plus the page's dialog id.
constexpr uint32_t kHelpContextBase = 0x20000;

/// A page of the wizard: a modal dialog built from its template.
class CWizardPage : public CTemplateDialog {
 public:
  /// \p owner is the page that opens this one (none for page A); this page
  /// takes its place on the screen while it runs.
  CWizardPage(int32_t dialogId, CWizardPage* owner);

  /// The page's menu: the window system's menu of the page, offered on a
  /// right click or the Menu key.
  QMenu& SystemMenu() { return systemMenu_; }
  /// A command of that menu: one whose value without its low four bits is
  /// kCommandAbout opens the about box; others are left to the window.
  void SystemCommand(int32_t command);

  /// Runs \p dialog modally through the dialog service; -1 when the dialog
  /// could not be made, which callers treat as an Exit.
  static int RunModal(CTemplateDialog& dialog);
  /// Runs the next page as RunModal does, while \p wait (shown while that
  /// page was made) stays until the page is up: a page does its first work
  /// as it shows, inside its modal run.
  static int RunNextPage(CTemplateDialog& page, std::unique_ptr<CWaitCursor> wait);

  /// Where the page stood before a later page took its place (its geometry
  /// while it is out of sight).
  QRect StepAside();
  /// Shows the page again at \p place.
  void StepBack(const QRect& place);

  /// Ends the page's modal run with \p result, also while it stands aside.
  void done(int result) override;

 protected:
  /// Runs once, just before the page first shows: the About entry and the
  /// icon; pages B and C take their owner's place first.
  virtual void OnInitDialog();
  /// Closing from the title bar: by default the command of button 2.
  virtual void OnClose();
  /// "< &Back": moves the owner back to where it stood, then ends with 2.
  void GoBack();
  /// The owner page, if any.
  CWizardPage* Owner() const { return owner_; }

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void OnHelp();

  QMenu systemMenu_;
  QPointer<CWizardPage> owner_;
  QRect ownerRect_;
  bool initialised_ = false;
  bool aside_ = false;  ///< out of sight while a later page runs
};

/// Ends \p page's menu with a separator and the About entry (string 101,
/// command kCommandAbout); leaves the menu alone when that text is empty.
void AddAboutToSystemMenu(CWizardPage& page);
