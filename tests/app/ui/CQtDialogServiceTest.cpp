// The real dialogs behind the dialog service, driven as a user drives Qt's
// own (non-native) file dialog: the filter chosen, the folder it opens in,
// its columns, and a choice larger than the caller's buffer.
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <functional>

#include "platform/ui/CQtDialogService.h"
#include "tests/support/TestSupport.h"

namespace {

const std::string kFontFilter = "Interleaf ASCII Files (*.doc;*.sty)|*.doc;*.sty|Font Map Files (*.txt)|*.txt||";

// Runs \p act on the file dialog once it is open and waiting for the user.
void WhenTheDialogOpens(std::function<void(QFileDialog&)> act) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    act(*dialog);
  });
  poll->start(10);
}

// Types \p text into the dialog's file name box and presses Enter.
void TypeFileName(QFileDialog& dialog, const QString& text) {
  auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  QVERIFY(name);
  name->setFocus();
  name->setText(text);
  QTest::keyClick(name, Qt::Key_Return);
}

}  // namespace

class CQtDialogServiceTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
  void init() { dir_ = std::make_unique<testsupport::TempDir>(); }
  void cleanup() { dir_.reset(); }

  void theFilterChosenIsTheOneReturned();
  void opensInTheFolderAskedWithColumnsWhole();
  void aChoiceLargerThanTheBufferIsMarked();

 private:
  FileDialogRequest FontFilesRequest() const {
    FileDialogRequest request;
    request.title = "Select Font Files";
    request.filter = kFontFilter;
    request.options = kOfnAllowMultiSelect | kOfnFileMustExist | kOfnHideReadOnly;
    request.folder = dir_->path().string();
    return request;
  }

  std::unique_ptr<testsupport::TempDir> dir_;
};

void CQtDialogServiceTest::theFilterChosenIsTheOneReturned() {
  std::string map = dir_->Write("map.txt", "KORVIN Typeswap 1.00 for Interleaf;\r\n");
  dir_->Write("a.doc", "<!OPS, Version = 8.0>\n");
  WhenTheDialogOpens([](QFileDialog& dialog) {
    // The user picks "Font Map Files" from the list of types.
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types);
    QCOMPARE(types->currentText(), QStringLiteral("Interleaf ASCII Files (*.doc;*.sty)"));
    types->setFocus();
    QTest::keyClick(types, Qt::Key_Down);
    QCOMPARE(types->currentText(), QStringLiteral("Font Map Files (*.txt)"));
    TypeFileName(dialog, QStringLiteral("map.txt"));
  });
  CQtDialogService service;
  FileDialogResult result;
  QVERIFY(service.OpenFiles(nullptr, FontFilesRequest(), result));
  QCOMPARE(result.paths, std::vector<std::string>{map});
  QCOMPARE(result.filterIndex, 2);
  QVERIFY(!result.overflowed);
}

void CQtDialogServiceTest::opensInTheFolderAskedWithColumnsWhole() {
  // Files whose size and type texts are wider than Qt's own column widths.
  const std::vector<std::string> files = {dir_->Write("Working document.doc", std::string(327, 'x')),
                                          dir_->Write("map.txt", std::string(1100000, 'x'))};
  QString folder;
  bool columnsWhole = false;
  WhenTheDialogOpens([&](QFileDialog& dialog) {
    folder = dialog.directory().absolutePath();
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    QVERIFY(view);
    // The folder is read in the background: wait for its files.
    auto* model = qobject_cast<QFileSystemModel*>(view->model());
    QVERIFY(model);
    QTRY_COMPARE(model->rowCount(view->rootIndex()), 2);
    QTest::qWait(50);
    // Size, type and date of each file, and the column titles, fit whole:
    // a line's text has the focus frame's margin and a pixel on each side.
    const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    columnsWhole = true;
    for (const std::string& path : files) {
      QModelIndex file = model->index(QString::fromStdString(path));
      QVERIFY(file.isValid());
      for (int column = 1; column < view->header()->count(); ++column) {
        QString text = model->index(file.row(), column, file.parent()).data().toString();
        int needed =
            std::max(view->fontMetrics().horizontalAdvance(text) + margins, view->header()->sectionSizeHint(column));
        if (view->columnWidth(column) < needed) {
          qWarning() << "column" << column << text << view->columnWidth(column) << "<" << needed;
          columnsWhole = false;
        }
      }
    }
    dialog.reject();
  });
  CQtDialogService service;
  FileDialogRequest request = FontFilesRequest();
  request.filter.clear();  // every file
  FileDialogResult result;
  QVERIFY(!service.OpenFiles(nullptr, request, result));
  QCOMPARE(folder, QString::fromStdString(dir_->path().string()));
  QVERIFY(columnsWhole);
}

void CQtDialogServiceTest::aChoiceLargerThanTheBufferIsMarked() {
  std::string a = dir_->Write("a.doc", "x"), b = dir_->Write("b.doc", "x");
  WhenTheDialogOpens([](QFileDialog& dialog) { TypeFileName(dialog, QStringLiteral("\"a.doc\" \"b.doc\"")); });
  CQtDialogService service;
  FileDialogRequest request = FontFilesRequest();
  request.bufferSize = dir_->path().string().size() + 1 + 6 + 6;  // one zero short
  FileDialogResult result;
  QVERIFY(!service.OpenFiles(nullptr, request, result));
  QVERIFY(result.overflowed);
  QVERIFY(result.paths.empty());
}

QTEST_MAIN(CQtDialogServiceTest)
#include "CQtDialogServiceTest.moc"
