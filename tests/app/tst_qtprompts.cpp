#include "QtPrompts.h"
#include "Texts.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Lanvo;

Q_DECLARE_METATYPE(Lanvo::PromptKind)
Q_DECLARE_METATYPE(Lanvo::PromptButtons)
Q_DECLARE_METATYPE(Lanvo::PromptAnswer)

// The platform's message boxes behind the prompts interface, driven as a user would.
class TestQtPrompts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setApplicationName(Texts::ApplicationTitle); }

    void kindsAndTitles_data();
    void kindsAndTitles();
    void answers_data();
    void answers();
    void boxTakesTheMouseUnderTheHourglass();
    void folderNamesShownAsWritten_data();
    void folderNamesShownAsWritten();
};

namespace {

// Runs Act on the message box once it is open, then shows it through Prompts.
PromptAnswer showAnd(QtPrompts &prompts, PromptKind kind, PromptButtons buttons,
                     const std::function<void(QMessageBox &)> &act, const QString &text = QStringLiteral("The text"))
{
    QTimer::singleShot(0, [act] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            act(*box);
    });
    return prompts.showMessage(kind, text, buttons);
}

} // namespace

void TestQtPrompts::kindsAndTitles_data()
{
    QTest::addColumn<PromptKind>("kind");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("title");
    QTest::newRow("error") << PromptKind::Error << int(QMessageBox::Critical) << "Error";
    QTest::newRow("warning") << PromptKind::Warning << int(QMessageBox::Warning) << "Warning";
    QTest::newRow("information") << PromptKind::Information << int(QMessageBox::Information) << "Information";
    QTest::newRow("plain") << PromptKind::Plain << int(QMessageBox::NoIcon) << "Lanvo_NR";
}

void TestQtPrompts::kindsAndTitles()
{
    QFETCH(PromptKind, kind);
    QFETCH(int, icon);
    QFETCH(QString, title);
    QtPrompts prompts;
    int shownIcon = -1;
    QString shownTitle;
    QString shownText;
    const PromptAnswer answer = showAnd(prompts, kind, PromptButtons::Ok, [&](QMessageBox &box) {
        shownIcon = box.icon();
        shownTitle = box.windowTitle();
        shownText = box.text();
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
    });
    QCOMPARE(shownIcon, icon);
    QCOMPARE(shownTitle, title);
    QCOMPARE(shownText, QStringLiteral("The text"));
    QCOMPARE(answer, PromptAnswer::Ok);
}

void TestQtPrompts::answers_data()
{
    QTest::addColumn<PromptButtons>("buttons");
    QTest::addColumn<QString>("action"); // a button's text, "close" for the close box, "escape"
    QTest::addColumn<PromptAnswer>("answer");
    const PromptButtons ari = PromptButtons::AbortRetryIgnore;
    QTest::newRow("Abort") << ari << "Abort" << PromptAnswer::Abort;
    QTest::newRow("Retry") << ari << "Retry" << PromptAnswer::Retry;
    QTest::newRow("Ignore") << ari << "Ignore" << PromptAnswer::Ignore;
    QTest::newRow("closed: Ignore, never Abort") << ari << "close" << PromptAnswer::Ignore;
    QTest::newRow("Escape: Ignore") << ari << "escape" << PromptAnswer::Ignore;
    QTest::newRow("Yes") << PromptButtons::YesNo << "Yes" << PromptAnswer::Yes;
    QTest::newRow("No") << PromptButtons::YesNo << "No" << PromptAnswer::No;
    QTest::newRow("Ok closed") << PromptButtons::Ok << "close" << PromptAnswer::Ok;
}

void TestQtPrompts::answers()
{
    QFETCH(PromptButtons, buttons);
    QFETCH(QString, action);
    QFETCH(PromptAnswer, answer);
    QtPrompts prompts;
    QStringList offered;
    const PromptAnswer given = showAnd(prompts, PromptKind::Warning, buttons, [&](QMessageBox &box) {
        QAbstractButton *chosen = nullptr;
        for (QAbstractButton *button : box.buttons()) {
            offered << button->text().remove('&');
            if (button->text().remove('&') == action)
                chosen = button;
        }
        if (chosen)
            QTest::mouseClick(chosen, Qt::LeftButton);
        else if (action == "escape")
            QTest::keyClick(&box, Qt::Key_Escape);
        else
            box.close();
    });
    QCOMPARE(given, answer);
    offered.sort();
    const QStringList expected = buttons == PromptButtons::AbortRetryIgnore ? QStringList{"Abort", "Ignore", "Retry"}
        : buttons == PromptButtons::YesNo                                   ? QStringList{"No", "Yes"}
                                                                            : QStringList{"OK"};
    QCOMPARE(offered, expected);
}

// Under the hourglass a box still shows the ordinary pointer; the hourglass comes back after it.
void TestQtPrompts::boxTakesTheMouseUnderTheHourglass()
{
    QtPrompts prompts;
    prompts.showBusyCursor();
    Qt::CursorShape during = Qt::BlankCursor;
    showAnd(prompts, PromptKind::Error, PromptButtons::Ok, [&](QMessageBox &box) {
        during = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::BlankCursor;
        box.close();
    });
    QCOMPARE(during, Qt::ArrowCursor);
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    prompts.restoreCursor();
    QVERIFY(!QApplication::overrideCursor());
}

void TestQtPrompts::folderNamesShownAsWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("alternate folder") << "Alternate path is write protected!(/tmp/<i>alt)";
    QTest::newRow("work folder") << "Error while copying Keydef.dat to /home/<b>me</b>.";
    QTest::newRow("start folder") << "Corvane.exe not found in /srv/<font size=9>big/ . Emulator will not run";
}

// A message naming a folder shows the name as it is on disk, whatever it looks like.
void TestQtPrompts::folderNamesShownAsWritten()
{
    QFETCH(QString, text);
    QtPrompts prompts;
    QString read;
    showAnd(
        prompts, PromptKind::Error, PromptButtons::Ok,
        [&](QMessageBox &box) {
            if (auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
                read = QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
            box.close();
        },
        text);
    QCOMPARE(read, text);
}

QTEST_MAIN(TestQtPrompts)
#include "tst_qtprompts.moc"
