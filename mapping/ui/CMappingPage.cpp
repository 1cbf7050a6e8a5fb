// Page C: the mapping table, the Available Fonts controls, multiple change,
// font maps, EUC and Run.
#include "mapping/ui/CMappingPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableView>
#include <algorithm>

#include "app/CWizardChoices.h"
#include "mapping/ui/CMappingListModel.h"
#include "mapping/ui/CMappingListView.h"
#include "mapping/ui/CMultipleChangeDlg.h"
#include "mapping/ui/CRunProgress.h"
#include "mapping/ui/CShowFilenamesDlg.h"
#include "output/CReportSink.h"
#include "output/OutputJob.h"
#include "output/OutputTexts.h"
#include "output/WriteTargets.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/WaitCursor.h"
#include "platform/ui/CDialogService.h"
#include "platform/ui/QtText.h"

namespace {

// The text that tells what a run that was not complete left undone, with
// what output reported on the way.
std::string IncompleteRunText(const OutputSummary& summary, const CCollectingReportSink& reports) {
  std::string text;
  if (summary.filesFailed > 0) {
    text += FormatText(LoadResString(IdsRunNotAllWritten).c_str(), summary.filesWritten, summary.filesExpected);
  }
  if (summary.filesUnverified > 0) {
    if (!text.empty()) text += '\n';
    text += FormatText(LoadResString(IdsRunNotAllVerified).c_str(), summary.filesUnverified, summary.filesWritten);
  }
  if (summary.eucRequested && summary.filesConverted != summary.filesWritten) {
    if (!text.empty()) text += '\n';
    text += FormatText(LoadResString(IdsRunNotAllConverted).c_str(), summary.filesConverted, summary.filesWritten);
  }
  if (reports.texts.empty()) return text;
  // A run over hundreds of files reports more than a box can hold: the
  // first texts, then how many more there were.
  constexpr size_t kShownReports = 20;
  text += "\n\n" + LoadResString(IdsRunReports) + "\n";
  for (size_t i = 0; i < reports.texts.size() && i < kShownReports; ++i) text += reports.texts[i];
  if (reports.texts.size() > kShownReports) {
    text +=
        "\n" + FormatText(LoadResString(IdsAndMore).c_str(), static_cast<int>(reports.texts.size() - kShownReports));
  }
  return text;
}

}  // namespace

CMappingPage::CMappingPage(CFontReferenceList& translated, CFontReferenceList& fontFiles, const CWizardChoices& choices,
                           CWizardPage* owner)
    : CWizardPage(132, owner), messages_(this), model_(translated, fontFiles, choices, messages_) {
  if (QTableView* view = ListView()) {
    listModel_ = new CMappingListModel(model_, this);
    view->setModel(listModel_);
    listView_ = new CMappingListView(*view);
  }
  ConnectControls();
}

CMappingPage::~CMappingPage() {
  // The list model observes the table that model_ owns.
  if (QTableView* view = ListView()) view->setModel(nullptr);
  delete listModel_;
}

QTableView* CMappingPage::ListView() const { return qobject_cast<QTableView*>(Control(kList)); }
QComboBox* CMappingPage::NameBox() const { return qobject_cast<QComboBox*>(Control(kNameBox)); }
QComboBox* CMappingPage::SizeBox() const { return qobject_cast<QComboBox*>(Control(kSizeBox)); }
QCheckBox* CMappingPage::CheckBox(int32_t id) const { return qobject_cast<QCheckBox*>(Control(id)); }

void CMappingPage::ConnectControls() {
  OnClicked(kExit, this, &CMappingPage::OnExit);
  OnClicked(kLoad, this, &CMappingPage::OnLoad);
  OnClicked(kSaveAs, this, &CMappingPage::OnSaveAs);
  if (QPushButton* button = Button(kByComponent)) {
    connect(button, &QPushButton::clicked, this, [this] { OnMultipleChange(MultipleChangeMode::ByComponent); });
  }
  if (QPushButton* button = Button(kByFont)) {
    connect(button, &QPushButton::clicked, this, [this] { OnMultipleChange(MultipleChangeMode::ByFont); });
  }
  // An access key presses its button without moving the focus there; the
  // default command decides by the focus, so the focus goes first, as a
  // click would take it.
  for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
    connect(button, &QAbstractButton::pressed, button, [button] { button->setFocus(Qt::ShortcutFocusReason); });
  }
  if (QComboBox* name = NameBox()) {
    connect(name, &QComboBox::activated, this, [this](int index) { model_.NameChosen(index); });
  }
  if (QComboBox* size = SizeBox()) {
    connect(size, &QComboBox::activated, this, [this](int index) { model_.SizeChosen(index); });
    if (QLineEdit* edit = size->lineEdit()) {
      connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) { model_.SizeTextEdited(FromQt(text)); });
      // The box would choose a listed size by itself when the field loses
      // the focus; only Enter checks and chooses a typed size here.
      disconnect(edit, &QLineEdit::editingFinished, size, nullptr);
      edit->installEventFilter(this);
    }
  }
  if (QCheckBox* bold = CheckBox(kBold)) {
    connect(bold, &QCheckBox::clicked, this, [this](bool checked) { model_.BoldClicked(checked); });
  }
  if (QCheckBox* italic = CheckBox(kItalic)) {
    connect(italic, &QCheckBox::clicked, this, [this](bool checked) { model_.ItalicClicked(checked); });
  }
  if (QCheckBox* euc = CheckBox(kConvertToEuc)) {
    connect(euc, &QCheckBox::clicked, this, [this](bool checked) { model_.ConvertToEucClicked(checked); });
  }
  model_.SetControlsListener([this] { ShowControls(); });

  if (QTableView* view = ListView(); view && listView_) {
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { model_.Table().SelectRow(current.isValid() ? current.row() : -1); });
    connect(view, &QTableView::doubleClicked, this, [this] { OnDefaultCommand(); });
    listModel_->SetSelectionListener([this](int32_t row) { listView_->ShowSelectedRow(row); });
    listModel_->SetRowsListener([this] {
      if (QPushButton* save = Button(kSaveAs))
        save->setEnabled(save->isEnabled() || model_.Table().GetMappingsChanged());
    });
    listView_->SetDeleteListener([this] { model_.ClearRow(); });
    listView_->SetRightClickListener([this] { OnShowFilenames(); });
  }
}

void CMappingPage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  if (auto* status = qobject_cast<QLabel*>(Control(kStatus))) {
    status->setTextFormat(Qt::PlainText);  // file names, never markup
    status->setWordWrap(false);
  }
  model_.Open();
  if (listView_) {
    listView_->SizeColumns();
    listView_->ShowSelectedRow(model_.Table().GetSelectedRow());
  }
  ShowControls();
  if (QTableView* view = ListView()) view->setFocus();

  // The page may grow: the list takes the room, the rest keeps to the edges.
  designedSize_ = size();
  if (QWidget* list = ListView()) designed_.emplace_back(list, list->geometry());  // first
  for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (child != ListView() && !child->isWindow()) designed_.emplace_back(child, child->geometry());
  }
  setMinimumSize(designedSize_);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  setSizeGripEnabled(true);
}

void CMappingPage::resizeEvent(QResizeEvent* event) {
  CWizardPage::resizeEvent(event);
  if (designed_.empty()) return;
  const int dx = std::max(0, width() - designedSize_.width());
  const int dy = std::max(0, height() - designedSize_.height());
  QWidget* list = ListView();
  const int listBottom = list ? list->geometry().top() + designed_.front().second.height() : 0;
  // What keeps to the right edge, and what stretches with the width.
  const QWidget* toTheRight[] = {Control(kIdOk), Control(kIdCancel), Control(kCurrentPercent), Control(kTotalPercent)};
  const QWidget* stretched[] = {Control(kCurrentBar), Control(kTotalBar), Control(kStatus)};
  for (const auto& [widget, place] : designed_) {
    QRect moved = place;
    if (widget == list) {
      moved.setSize(place.size() + QSize(dx, dy));
    } else if (place.top() >= listBottom) {
      moved.translate(0, dy);
      if (std::find(std::begin(toTheRight), std::end(toTheRight), widget) != std::end(toTheRight))
        moved.translate(dx, 0);
      if (std::find(std::begin(stretched), std::end(stretched), widget) != std::end(stretched)) {
        moved.setWidth(place.width() + dx);
      }
    }
    widget->setGeometry(moved);
  }
}

void CMappingPage::ShowControls() {
  const AvailableFonts& controls = model_.Controls();
  auto fill = [](QComboBox* box, const std::vector<std::string>& entries, int32_t selection) {
    if (!box) return;
    const QSignalBlocker quiet(box);
    bool same = box->count() == static_cast<int>(entries.size());
    for (int i = 0; same && i < box->count(); ++i) same = box->itemText(i) == DocumentText(entries[i]);
    if (!same) {
      box->clear();
      for (const std::string& entry : entries) box->addItem(DocumentText(entry));
    }
    box->setCurrentIndex(selection);
  };
  fill(NameBox(), controls.names, controls.nameSelection);
  fill(SizeBox(), controls.sizes, controls.sizeSelection);
  if (QComboBox* size = SizeBox(); size && size->lineEdit() && FromQt(size->lineEdit()->text()) != controls.sizeText) {
    size->lineEdit()->setText(ToQt(controls.sizeText));
  }
  if (QCheckBox* bold = CheckBox(kBold)) bold->setChecked(controls.bold);
  if (QCheckBox* italic = CheckBox(kItalic)) italic->setChecked(controls.italic);
  if (QCheckBox* euc = CheckBox(kConvertToEuc)) euc->setChecked(controls.convertToEuc);
}

bool CMappingPage::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the Size box's edit field is the page's default command, with
  // the focus still in the field.
  if (event->type() == QEvent::KeyPress && SizeBox() && watched == SizeBox()->lineEdit()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      OnDefaultCommand();
      return true;
    }
  }
  return CWizardPage::eventFilter(watched, event);
}

void CMappingPage::OnOK() { OnDefaultCommand(); }

void CMappingPage::OnDefaultCommand() {
  if (running_) return;
  // The page's own focus child: the page need not be the active window
  // (a box over it has just closed, or the window system is slow).
  QWidget* focus = focusWidget();
  DefaultCommandFocus where = DefaultCommandFocus::Elsewhere;
  if (focus && focus == Button(kIdOk)) {
    where = DefaultCommandFocus::RunButton;
  } else if (focus && SizeBox() && (focus == SizeBox() || focus == SizeBox()->lineEdit())) {
    where = DefaultCommandFocus::SizeEdit;
    if (QLineEdit* edit = SizeBox()->lineEdit()) model_.SizeTextEdited(FromQt(edit->text()));
  }
  if (model_.DefaultCommand(where)) OnRun();
}

void CMappingPage::SetBusy(bool busy) {
  running_ = busy;
  for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (qobject_cast<QProgressBar*>(child) || qobject_cast<QLabel*>(child)) continue;
    if (busy) {
      child->setProperty("enabledBeforeRun", child->isEnabled());
      child->setEnabled(false);
    } else {
      child->setEnabled(child->property("enabledBeforeRun").toBool());
    }
  }
}

void CMappingPage::OnRun() {
  CCollectingReportSink reports;
  CRunProgress progress(*this);
  OutputSummary summary;
  SetBusy(true);
  {
    CWaitCursor wait;
    OutputJobOptions options;
    options.convertToEuc = model_.Controls().convertToEuc;
    options.reports = &reports;
    options.observer = &progress;
    options.otherFilesRead = model_.LoadedMapFiles();
    summary = RunOutputJob(model_.TranslatedModel(), model_.Choices(), options);
  }
  // A file that was not written or converted is never passed over in
  // silence: what output reported comes before the closing message.
  if (!summary.Complete()) {
    Dialogs().MessageBox(this, IncompleteRunText(summary, reports), LoadResString(IdsCaptionError), MessageIcon::Error,
                         MessageButtons::Ok);
  }
  Dialogs().MessageBox(this, LoadResString(IdsFinishedProcessing), LoadResString(IdsApplicationTitle),
                       MessageIcon::None, MessageButtons::Ok);
  ResetProgress();
  SetBusy(false);
  if (QPushButton* run = Button(kIdOk)) run->setFocus();
}

void CMappingPage::ResetProgress() { CRunProgress(*this).Show(0, 0, QString()); }

void CMappingPage::OnMultipleChange(MultipleChangeMode mode) {
  CMultipleChangeDlg dialog(mode, model_.Table(), model_.FontModel(), this);
  RunModal(dialog);
}

void CMappingPage::OnShowFilenames() {
  const int32_t row = model_.Table().GetSelectedRow();
  if (row < 0) return;
  CShowFilenamesDlg dialog(model_.RowFileNames(row), this);
  RunModal(dialog);
}

void CMappingPage::OnLoad() {
  FileDialogRequest request;
  request.title = LoadResString(IdsTitleLoadFontMap);
  request.filter = LoadResString(IdsFilterTextFiles);
  request.options = kOfnAllowMultiSelect | kOfnFileMustExist | kOfnHideReadOnly;
  FileDialogResult chosen;
  if (!Dialogs().OpenFiles(this, request, chosen) || chosen.paths.empty()) return;
  CWaitCursor wait;
  (void)model_.LoadFontMaps(chosen.paths);
}

void CMappingPage::OnSaveAs() {
  FileDialogRequest request;
  request.title = LoadResString(IdsTitleSaveFontMap);
  request.filter = LoadResString(IdsFilterTextFiles);
  request.defaultExtension = ExtensionWithoutDot(LoadResString(IdsDefaultExtensionTxt));
  request.options = kOfnOverwritePrompt | kOfnHideReadOnly;
  std::string path;
  if (!Dialogs().SaveFile(this, request, path)) return;
  // A map saved onto a file the job reads would destroy it.
  std::vector<std::string> reads = FilesReadBy(model_.Choices());
  reads.insert(reads.end(), model_.LoadedMapFiles().begin(), model_.LoadedMapFiles().end());
  if (std::optional<CWriteConflict> conflict = FindWriteConflict({path}, reads)) {
    Dialogs().MessageBox(this, WriteConflictText(*conflict), LoadResString(IdsCaptionError), MessageIcon::None,
                         MessageButtons::Ok);
    return;
  }
  CWaitCursor wait;
  (void)model_.SaveFontMap(path);
}

void CMappingPage::OnCancel() {
  if (running_) return;
  if (model_.BackNeedsQuestion() &&
      Dialogs().MessageBox(this, LoadResString(IdsMappingsWillBeLost), LoadResString(IdsCaptionWarning),
                           MessageIcon::Exclamation, MessageButtons::YesNo) != kIdYes) {
    return;
  }
  model_.GoBack();
  GoBack();
}

void CMappingPage::OnExit() { done(-1); }

void CMappingPage::OnClose() {
  if (!running_) done(-1);
}
