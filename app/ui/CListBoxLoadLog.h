// The load log shown in page B's list box.
#pragma once

#include "app/CLoadLog.h"

class QListWidget;

/// A load log whose lines are the items of a list box. A shown line is
/// scrolled into view (the box allows no selection, so nothing is
/// highlighted); a plain line is only added.
class CListBoxLoadLog : public CLoadLog {
 public:
  explicit CListBoxLoadLog(QListWidget& box) : box_(box) {}

  int32_t AppendShown(std::string_view text) override;
  int32_t AppendPlain(std::string_view text) override;
  int32_t GetLineCount() const override;
  std::string GetLine(int32_t index) const override;

 private:
  QListWidget& box_;
};
