#include "AboutDialog.h"
#include "CaptionFit.h"
#include "Main.h"
#include "OptionsDialog.h"
#include "TestFakes.h"

#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

// Every captioned control of every page and dialog shows its whole caption with this platform's
// fonts: it is at least as wide as its size hint, and nothing placed after it covers the caption.
class TestCaptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void mainWindowPages_data();
    void mainWindowPages();
    void optionsDialogPages_data();
    void optionsDialogPages();
    void aboutDialog();

private:
    QString m_savedCurrent;
};

namespace {

QString nameOf(const QWidget *widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// The controls of Page whose caption is cut, each with what cuts it.
QStringList clippedCaptions(const QWidget &page)
{
    QStringList clipped;
    const QList<QWidget *> controls = page.findChildren<QWidget *>();
    for (const QWidget *control : controls) {
        if (!control->isVisibleTo(&page) || !isCaptioned(control))
            continue;
        const int needed = control->sizeHint().width();
        if (control->width() < needed)
            clipped << nameOf(control) + QStringLiteral(": %1 wide, needs %2").arg(control->width()).arg(needed);
        const QRect caption(control->pos(), QSize(needed, control->height()));
        const QWidget *parent = control->parentWidget();
        if (caption.right() >= parent->width())
            clipped << nameOf(control) + ": cut by the edge of " + nameOf(parent);
        const QList<QWidget *> siblings = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (qsizetype i = siblings.indexOf(control) + 1; i < siblings.size(); ++i) {
            const QWidget *above = siblings.at(i); // created later, so drawn over it
            if (above->isVisibleTo(&page) && above->geometry().intersects(caption))
                clipped << nameOf(control) + ": covered by " + nameOf(above);
        }
    }
    return clipped;
}

void expectNoneClipped(const QWidget &page)
{
    const QStringList clipped = clippedCaptions(page);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
}

} // namespace

void TestCaptions::mainWindowPages_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArray>("settings");
    QTest::newRow("Games") << 0 << QByteArray();
    QTest::newRow("Options") << 1 << QByteArray();
    QTest::newRow("Options, window of another size") << 1 << QByteArray("Width=800\r\nHeigh=400\r\n");
}

void TestCaptions::mainWindowPages()
{
    QFETCH(int, page);
    QFETCH(QByteArray, settings);
    const QTemporaryDir dir;
    writeFile(dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.61\r\n" + settings);
    RecordingPrompts prompts;
    TF_Lanvo window(LanvoWindowSetup{dir.path(), &prompts, {}});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.PageControl->setCurrentIndex(page);
    expectNoneClipped(*window.PageControl->currentWidget());
}

void TestCaptions::optionsDialogPages_data()
{
    QTest::addColumn<int>("page");
    QTest::newRow("General") << 0;
    QTest::newRow("Corvane") << 1;
}

void TestCaptions::optionsDialogPages()
{
    QFETCH(int, page);
    TF_Options dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.Onglet->setCurrentIndex(page);
    expectNoneClipped(*dialog.Onglet->currentWidget());
    expectNoneClipped(dialog); // the buttons below the pages too
}

void TestCaptions::aboutDialog()
{
    TF_About dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    expectNoneClipped(dialog);
}

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
