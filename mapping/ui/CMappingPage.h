// CMappingPage: page C of the wizard, where each way the translated files
// use a font gets its new font, and Run writes the rewritten copies
// (dialog 132).
#pragma once

#include <QRect>
#include <memory>
#include <vector>

#include "app/ui/CWizardPage.h"
#include "mapping/CMappingPageModel.h"
#include "mapping/MultipleChange.h"
#include "mapping/ui/CBoxMessageSink.h"

class CFontReferenceList;
class CMappingListModel;
class CMappingListView;
class CWizardChoices;
class QCheckBox;
class QComboBox;
class QTableView;

/// Page C: a view over a CMappingPageModel, which decides; the page shows
/// its state and forwards the events of its controls.
class CMappingPage : public CWizardPage {
 public:
  /// Control ids of the page (1 is "&Run", 2 "< &Back").
  enum : int32_t {
    kList = 1017,
    kNameBox = 1033,
    kSizeBox = 1034,
    kBold = 1036,
    kItalic = 1037,
    kByComponent = 1020,
    kByFont = 1022,
    kLoad = 1040,
    kSaveAs = 1041,
    kConvertToEuc = 1019,
    kCurrentBar = 1047,
    kTotalBar = 1048,
    kCurrentPercent = 1054,
    kTotalPercent = 1055,
    kStatus = 1056,
    kExit = 1031,
  };

  /// A page over the load page's two models and the choices, all of which
  /// must outlive it; \p owner is the load page.
  CMappingPage(CFontReferenceList& translated, CFontReferenceList& fontFiles, const CWizardChoices& choices,
               CWizardPage* owner);
  ~CMappingPage() override;

  CMappingPageModel& Model() { return model_; }
  QTableView* ListView() const;
  QComboBox* NameBox() const;
  QComboBox* SizeBox() const;

 protected:
  void OnInitDialog() override;
  /// "&Run" (button 1) and Enter: the default command.
  void OnOK() override;
  /// "< &Back" and Escape.
  void OnCancel() override;
  /// The title bar's close: ends with -1, as Exit does.
  void OnClose() override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ConnectControls();
  void ShowControls();
  void OnDefaultCommand();
  void OnRun();
  void OnMultipleChange(MultipleChangeMode mode);
  void OnShowFilenames();
  void OnLoad();
  void OnSaveAs();
  void OnExit();
  void ResetProgress();
  void SetBusy(bool busy);
  QCheckBox* CheckBox(int32_t id) const;

  CBoxMessageSink messages_;
  CMappingPageModel model_;
  CMappingListModel* listModel_ = nullptr;  // owned by the page as its child
  CMappingListView* listView_ = nullptr;    // owned by the view
  // Where each control stands at the designed size; a larger page grows
  // the list and moves the rest with the edges.
  std::vector<std::pair<QWidget*, QRect>> designed_;
  QSize designedSize_;
  bool running_ = false;
};
