// The load log shown in page B's list box.
#pragma once

#include <QMetaObject>

#include "app/CLoadLog.h"

class QListWidget;

/// A load log whose lines are the items of a list box. A shown line is
/// scrolled wholly into view (the box allows no selection, so nothing is
/// highlighted); a plain line is only added.
class CListBoxLoadLog : public CLoadLog {
 public:
  explicit CListBoxLoadLog(QListWidget& box);
  ~CListBoxLoadLog() override;
  CListBoxLoadLog(const CListBoxLoadLog&) = delete;
  CListBoxLoadLog& operator=(const CListBoxLoadLog&) = delete;

  int32_t AppendShown(std::string_view text) override;
  int32_t AppendPlain(std::string_view text) override;
  int32_t GetLineCount() const override;
  std::string GetLine(int32_t index) const override;

  /// Scrolls line \p index wholly into view, and keeps it there until
  /// another line is shown: the box lays its lines out later, and a
  /// horizontal scroll bar appearing then takes a line's height.
  void ShowLine(int32_t index);

 private:
  QListWidget& box_;
  int32_t shownLine_ = -1;
  QMetaObject::Connection rangeWatch_;
};
