// The foundation library's error boxes as the program's message boxes:
// texts, icons, and the buttons of box types our boxes do not have.
#include <QtTest>

#include "app/ui/FoundationMessageBox.h"
#include "tests/support/CScriptedDialogService.h"

class FoundationMessageBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTextCaptionAndIcon() {
    CScriptedDialogService dialogs;
    dialogs.messageAnswers = {kIdNo};
    QCOMPARE(ShowFoundationMessageBox(u"(2): caf\u00e9", u"Error", 0x4 | 0x30 | 0x10000), 7);
    QCOMPARE(dialogs.messages.size(), size_t(1));
    QCOMPARE(dialogs.messages[0].text, std::string("(2): caf\xc3\xa9"));
    QCOMPARE(dialogs.messages[0].caption, std::string("Error"));
    QVERIFY(dialogs.messages[0].icon == MessageIcon::Exclamation);
    QVERIFY(dialogs.messages[0].buttons == MessageButtons::YesNo);
  }

  void boxTypesWithoutTheirButtonsNeverAbort() {
    CScriptedDialogService dialogs;
    dialogs.messageAnswers = {kIdOk, kIdCancel, kIdCancel};
    QCOMPARE(ShowFoundationMessageBox(u"t", u"c", 0x2), 4);  // Abort/Retry/Ignore: retry
    QCOMPARE(ShowFoundationMessageBox(u"t", u"c", 0x2), 5);  // ignore
    QCOMPARE(ShowFoundationMessageBox(u"t", u"c", 0x5), 2);  // Retry/Cancel: cancel
    QVERIFY(dialogs.messages[0].buttons == MessageButtons::OkCancel);
  }
};

QTEST_MAIN(FoundationMessageBoxTest)
#include "FoundationMessageBoxTest.moc"
