// The multiple-change dialog.
#include "mapping/ui/CMultipleChangeDlg.h"

#include <QGroupBox>
#include <QListWidget>

#include "mapping/FoldCase.h"
#include "platform/StringTable.h"
#include "platform/ui/QtText.h"

namespace {

// Fills a sorted list box: entries in the order a sorted list box keeps
// them, without regard to case.
void FillSorted(QListWidget* list, std::vector<std::string> entries) {
  if (!list) return;
  SortIgnoringCase(entries);
  for (const std::string& entry : entries) {
    // Shown decoded; the entry's own bytes are what OK compares.
    auto* item = new QListWidgetItem(DocumentText(entry), list);
    item->setData(Qt::UserRole, QByteArray(entry.data(), static_cast<qsizetype>(entry.size())));
  }
}

std::string EntryText(const QListWidgetItem& item) { return item.data(Qt::UserRole).toByteArray().toStdString(); }

}  // namespace

CMultipleChangeDlg::CMultipleChangeDlg(MultipleChangeMode mode, CMappingTable& table,
                                       const CFontReferenceList& fontFiles, QWidget* parent)
    : CTemplateDialog(135, parent), mode_(mode), table_(table) {
  const MultipleChangeModeInfo& info = MultipleChangeModeInfoOf(mode);
  if (auto* group = qobject_cast<QGroupBox*>(Control(kOriginalGroup))) {
    group->setTitle(ToQt(LoadResString(info.captionId)));
  }
  FillSorted(List(kOriginalList), OriginalEntries(table, mode));
  FillSorted(List(kNewFontList), NewFontEntries(fontFiles));
  setWindowTitle(ToQt(LoadResString(info.titleId)));
}

void CMultipleChangeDlg::OnOK() {
  QListWidget* original = List(kOriginalList);
  QListWidget* newFont = List(kNewFontList);
  if (original && newFont && newFont->currentItem() && newFont->currentItem()->isSelected()) {
    // The chosen entries in list order, not in the order they were clicked.
    std::vector<std::string> chosen;
    for (int i = 0; i < original->count(); ++i) {
      if (original->item(i)->isSelected()) chosen.push_back(EntryText(*original->item(i)));
    }
    ApplyMultipleChange(table_, mode_, chosen, EntryText(*newFont->currentItem()));
  }
  done(kIdOk);
}
