// The load log over a QListWidget.
#include "app/ui/CListBoxLoadLog.h"

#include <QListWidget>
#include <QScrollBar>

#include "platform/ui/QtText.h"

CListBoxLoadLog::CListBoxLoadLog(QListWidget& box) : box_(box) {
  rangeWatch_ = QObject::connect(box_.verticalScrollBar(), &QScrollBar::rangeChanged, &box_, [this] {
    if (QListWidgetItem* item = box_.item(shownLine_)) box_.scrollToItem(item);
  });
}

CListBoxLoadLog::~CListBoxLoadLog() { QObject::disconnect(rangeWatch_); }

int32_t CListBoxLoadLog::AppendShown(std::string_view text) {
  int32_t index = AppendPlain(text);
  ShowLine(index);
  return index;
}

void CListBoxLoadLog::ShowLine(int32_t index) {
  shownLine_ = index;
  if (QListWidgetItem* item = box_.item(index)) box_.scrollToItem(item);
}

namespace {
// Each item keeps the line's own bytes beside the text it shows, so that a
// saved log matches the lines byte for byte whatever their encoding.
constexpr int kBytesRole = Qt::UserRole;
}  // namespace

int32_t CListBoxLoadLog::AppendPlain(std::string_view text) {
  auto* item = new QListWidgetItem(ToQt(std::string(text)));
  item->setData(kBytesRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  box_.addItem(item);
  return box_.count() - 1;
}

int32_t CListBoxLoadLog::GetLineCount() const { return box_.count(); }

std::string CListBoxLoadLog::GetLine(int32_t index) const {
  QListWidgetItem* item = box_.item(index);
  if (!item) return std::string();
  QByteArray bytes = item->data(kBytesRole).toByteArray();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}
