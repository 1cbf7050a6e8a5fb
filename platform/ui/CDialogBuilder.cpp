// Building Qt widgets from dialog templates.
#include "platform/ui/CDialogBuilder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <limits>

#include "platform/ui/CArtwork.h"
#include "platform/ui/CNoHighlightDelegate.h"
#include "platform/ui/QtText.h"

namespace {

// MulDiv as the dialog manager uses it: rounded to the nearest pixel.
int Scale(int value, int numerator, int denominator) {
  long long n = static_cast<long long>(value) * numerator;
  return static_cast<int>((n >= 0 ? n + denominator / 2 : n - denominator / 2) / denominator);
}

// The resource number an ICON or BITMAP control names; 0 for none.
int32_t PictureId(const DialogControl& control) {
  bool ok = false;
  int32_t id = ToQt(control.text).toInt(&ok);
  return ok ? id : 0;
}

QLabel* MakePicture(QWidget* parent, const QPixmap& picture) {
  auto* label = new QLabel(parent);
  label->setPixmap(picture);
  return label;
}

}  // namespace

QFont CDialogBuilder::DialogFont(const CDialogTemplate& tpl) {
  QString face = ToQt(tpl.fontFace);
  QFont font = QApplication::font();
  if (!face.isEmpty() && QFontDatabase::hasFamily(face)) font.setFamily(face);
  font.setPointSize(tpl.fontSize > 0 ? tpl.fontSize : 8);
  return font;
}

QSize CDialogBuilder::BaseUnits(const QFont& font) {
  QFontMetrics metrics(font);
  int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  // The dialog manager's own rounding of the average of 52 letters.
  return QSize((width / 26 + 1) / 2, metrics.height());
}

CDialogBuilder::CDialogBuilder(const QFont& dialogFont) : font_(dialogFont), base_(BaseUnits(dialogFont)) {}

QRect CDialogBuilder::ToPixels(const DialogRect& r) const {
  return QRect(Scale(r.x, base_.width(), 4), Scale(r.y, base_.height(), 8), Scale(r.width, base_.width(), 4),
               Scale(r.height, base_.height(), 8));
}

std::map<int32_t, QWidget*> CDialogBuilder::Build(QDialog& dialog, const CDialogTemplate& tpl) const {
  dialog.setFont(font_);
  dialog.setWindowTitle(ToQt(tpl.caption));
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
  if (tpl.Has("caption")) flags |= Qt::WindowTitleHint;
  if (tpl.Has("sysmenu")) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (tpl.Has("minimizebox")) flags |= Qt::WindowMinimizeButtonHint;
  dialog.setWindowFlags(flags);
  dialog.setFixedSize(ToPixels(tpl.rect).size());
  if (tpl.Has("centered")) {
    // Centred on the screen, not over the owner as Qt would place it.
    QWidget* owner = dialog.parentWidget();
    if (QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
      dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    }
  }

  std::map<int32_t, QWidget*> byId;
  QWidget* previousInTabOrder = nullptr;
  for (const DialogControl& control : tpl.controls) {
    QWidget* widget = MakeControl(dialog, control);
    widget->setObjectName(QStringLiteral("ctl%1").arg(control.id));
    QRect place = ToPixels(control.rect);
    if (control.kind == ControlKind::Icon || control.kind == ControlKind::Bitmap) {
      // Pictures keep their own size, as static picture controls do.
      place.setSize(widget->sizeHint());
    }
    if (control.kind == ControlKind::ComboBox) {
      // A template gives a combo box the height of its open list; closed,
      // it is as high as its field.
      place.setHeight(widget->sizeHint().height());
    }
    widget->setGeometry(place);
    if (control.kind == ControlKind::GroupBox) {
      // A frame drawn behind the controls it surrounds, never over them.
      widget->lower();
    }
    if (control.Has("hidden")) widget->setHidden(true);
    if (control.Has("disabled")) widget->setEnabled(false);
    if (control.Has("bold")) {
      QFont bold = widget->font();
      bold.setBold(true);
      widget->setFont(bold);
    }
    if (widget->focusPolicy() != Qt::NoFocus) {
      if (!control.Has("tabstop")) widget->setFocusPolicy(Qt::ClickFocus);
      if (previousInTabOrder) QWidget::setTabOrder(previousInTabOrder, widget);
      previousInTabOrder = widget;
    }
    if (control.id >= 0) byId[control.id] = widget;
  }
  return byId;
}

QWidget* CDialogBuilder::MakeControl(QDialog& dialog, const DialogControl& control) const {
  QString text = ToQt(control.text);
  switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
      auto* button = new QPushButton(text, &dialog);
      button->setDefault(control.kind == ControlKind::DefPushButton);
      return button;
    }
    case ControlKind::EditText: {
      auto* edit = new QLineEdit(&dialog);
      edit->setFrame(control.Has("border"));
      // No length limit: Qt's default of 32,767 would cut long selections.
      edit->setMaxLength(std::numeric_limits<int>::max());
      return edit;
    }
    case ControlKind::GroupBox:
      return new QGroupBox(text, &dialog);
    case ControlKind::ListBox: {
      auto* list = new QListWidget(&dialog);
      list->setFrameShape(control.Has("border") ? QFrame::StyledPanel : QFrame::NoFrame);
      if (control.Has("noselection")) {
        list->setSelectionMode(QAbstractItemView::NoSelection);
        list->setItemDelegate(new CNoHighlightDelegate(list));
      }
      list->setVerticalScrollBarPolicy(!control.Has("vscroll")          ? Qt::ScrollBarAlwaysOff
                                       : control.Has("disablenoscroll") ? Qt::ScrollBarAlwaysOn
                                                                        : Qt::ScrollBarAsNeeded);
      // A list box shows its lines whole, never shortened with "...": with
      // a horizontal scroll bar, each line is as wide as its text (which
      // rules out Qt's uniform sizes, all taken from the first line).
      list->setTextElideMode(Qt::ElideNone);
      bool hscroll = control.Has("hscroll");
      list->setHorizontalScrollBarPolicy(hscroll ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
      if (control.Has("extendedsel")) list->setSelectionMode(QAbstractItemView::ExtendedSelection);
      list->setUniformItemSizes(!hscroll);
      // A box whose height is no whole number of lines ("nointegralheight")
      // scrolls by pixels, so that its last line can be wholly in view.
      if (control.Has("nointegralheight")) list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
      return list;
    }
    case ControlKind::Label:
    case ControlKind::CenteredLabel: {
      auto* label = new QLabel(text, &dialog);
      label->setWordWrap(true);
      label->setAlignment((control.kind == ControlKind::CenteredLabel ? Qt::AlignHCenter : Qt::AlignLeft) |
                          Qt::AlignTop);
      return label;
    }
    case ControlKind::Icon:
      return MakePicture(&dialog, LoadIconResource(PictureId(control)).pixmap(SystemIconSize()));
    case ControlKind::Bitmap:
      return MakePicture(&dialog, LoadBitmapResource(PictureId(control)));
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(&dialog);
      if (control.Has("dropdown")) {
        combo->setEditable(true);
        // The edit field keeps what is typed: nothing is added to the list
        // or completed from it behind the user's back.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
      }
      return combo;
    }
    case ControlKind::CheckBox:
      return new QCheckBox(text, &dialog);
    case ControlKind::ListView: {
      auto* view = new QTableView(&dialog);
      view->setSelectionBehavior(QAbstractItemView::SelectRows);
      view->setSelectionMode(control.Has("singlesel") ? QAbstractItemView::SingleSelection
                                                      : QAbstractItemView::ExtendedSelection);
      view->setShowGrid(false);
      view->setWordWrap(false);
      view->setTextElideMode(Qt::ElideRight);
      view->verticalHeader()->hide();
      view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      view->horizontalHeader()->setHighlightSections(false);
      view->setFrameShape(control.Has("border") ? QFrame::StyledPanel : QFrame::NoFrame);
      return view;
    }
    case ControlKind::Progress: {
      auto* bar = new QProgressBar(&dialog);
      bar->setRange(0, 100);
      bar->setValue(0);
      bar->setTextVisible(false);
      return bar;
    }
  }
  return new QWidget(&dialog);
}
