#include "AboutDialog.h"
#include "FocusOrder.h"
#include "FormScale.h"
#include "LinkLabel.h"
#include "ReadableColours.h"

#include <QApplication>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestAboutDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textsAreSetAtCreation();
    void layout_data();
    void layout();
    void lookOfTitleStripsAndLinks();
    void createdHiddenAndCentredWhenShown();
    void closeButtonAndCloseBoxBothClose();
    void linksOpenMailAndHomePage();
    void coloursStandOutFromTheBackground_data();
    void coloursStandOutFromTheBackground();
    void tabFollowsTheLayout();
};

namespace {

template<typename T = QWidget>
T *child(const QWidget &parent, const char *name)
{
    return parent.findChild<T *>(QString::fromLatin1(name));
}

bool isExampleAddress(const QString &text)
{
    return text.contains(QStringLiteral("example.org")) || text.contains(QStringLiteral("example.com"));
}

// A dark scheme as desktops ship them; only the link colour varies.
QPalette darkPalette(const QColor &link)
{
    QPalette palette;
    const QColor face(0x42, 0x42, 0x45), text(0xee, 0xee, 0xee);
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base})
        palette.setColor(role, face);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(role, text);
    palette.setColor(QPalette::Link, link);
    return palette;
}

// Every text of the dialog that has a colour of its own, with the colour it is drawn in.
QList<std::pair<QString, QColor>> textColours(const TF_About &dialog)
{
    QList<std::pair<QString, QColor>> colours{{QStringLiteral("title"), dialog.Titre->palette().color(QPalette::WindowText)},
                                              {QStringLiteral("thanks"), dialog.Thanks->palette().color(QPalette::WindowText)}};
    for (const TURLLabel *link : {dialog.URLLabel1, dialog.URLLabel2}) {
        colours.append({link->objectName() + QStringLiteral(" at rest"), link->URLColStd()});
        colours.append({link->objectName() + QStringLiteral(" pointed at"), link->URLColPre()});
    }
    return colours;
}

bool paintsIn(QWidget *widget, const QColor &colour)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

void TestAboutDialog::textsAreSetAtCreation()
{
    const TF_About dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About"));
    QCOMPARE(dialog.Titre->text(), QStringLiteral("Lanvo 1.61 - English - 19 October 1998"));
    QCOMPARE(dialog.Label2->text(), QStringLiteral("Corvane 0.2d Emulator Front End"));
    QCOMPARE(dialog.Button1->text(), QStringLiteral("Close"));
    QCOMPARE(dialog.NewVersion->text(), QStringLiteral("Get new versions at "));
    QCOMPARE(dialog.Label1->text(), QStringLiteral("E Mail: "));
    QVERIFY(!dialog.Label3->text().isEmpty());
    QVERIFY(!dialog.Thanks->text().isEmpty());
    // Our own addresses: the reserved example domains, the home page without its scheme.
    QVERIFY(isExampleAddress(dialog.URLLabel2->text()));
    QVERIFY(dialog.URLLabel2->text().contains(QLatin1Char('@')));
    QVERIFY(isExampleAddress(dialog.URLLabel1->text()));
    QVERIFY(!dialog.URLLabel1->text().contains(QStringLiteral("://")));
}

void TestAboutDialog::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Button1") << "Button1" << QRect(336, 240, 75, 25);
    QTest::newRow("Panel1") << "Panel1" << QRect(8, 8, 401, 217);
    QTest::newRow("Titre") << "Titre" << QRect(8, 8, 385, 24);
    QTest::newRow("Panel2") << "Panel2" << QRect(8, 52, 385, 4);
    QTest::newRow("Panel3") << "Panel3" << QRect(8, 181, 385, 4);
    QTest::newRow("Thanks") << "Thanks" << QRect(8, 192, 383, 13);
    // Labels sized by their text: only their place is fixed.
    QTest::newRow("Freeware") << "Freeware" << QRect(80, 32, -1, -1);
    QTest::newRow("Label2") << "Label2" << QRect(16, 64, -1, -1);
    QTest::newRow("Label3") << "Label3" << QRect(16, 88, -1, -1);
    QTest::newRow("Label1") << "Label1" << QRect(16, 125, -1, -1);
    // A link moves right only when a substitute font makes its caption wider than the form's.
    QTest::newRow("URLLabel2") << "URLLabel2" << QRect(52, 125, -2, -2);
    QTest::newRow("NewVersion") << "NewVersion" << QRect(16, 149, -1, -1);
    QTest::newRow("URLLabel1") << "URLLabel1" << QRect(117, 149, -2, -2);
}

void TestAboutDialog::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    TF_About dialog;
    dialog.show(); // fitted to this desktop's fonts when first shown
    // The form's pixels, grown as one piece with the font.
    const FormScale scale(QApplication::font());
    QCOMPARE(dialog.size(), QSize(scale(421), scale(269)));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize()); // fixed size
    const QWidget *control = dialog.findChild<QWidget *>(name);
    QVERIFY(control);
    if (geometry.width() == -2) {
        QCOMPARE(control->y(), scale(geometry.y()));
        QVERIFY(control->x() >= scale(geometry.x()));
        QVERIFY(control->parentWidget()->rect().contains(control->geometry()));
    } else if (geometry.width() < 0) {
        QCOMPARE(control->pos(), QPoint(scale(geometry.x()), scale(geometry.y())));
        QVERIFY(control->parentWidget()->rect().contains(control->geometry()));
    } else {
        QCOMPARE(control->geometry(), scale(geometry.x(), geometry.y(), geometry.width(), geometry.height()));
    }
    if (name != "Button1" && name != "Panel1")
        QCOMPARE(control->parentWidget(), dialog.Panel1);
}

void TestAboutDialog::lookOfTitleStripsAndLinks()
{
    TF_About dialog;
    dialog.show();
    const QColor maroon(128, 0, 0);
    const FormScale scale(QApplication::font()); // the fonts grow with the form
    QCOMPARE(dialog.font().pixelSize(), scale(11));
    QCOMPARE(dialog.Titre->font().family(), QStringLiteral("Times New Roman"));
    QVERIFY(dialog.Titre->font().pixelSize() <= scale(21)); // or less to fit a wider font
    QVERIFY(dialog.Titre->font().bold());
    QCOMPARE(dialog.Titre->palette().color(QPalette::WindowText), maroon);
    QCOMPARE(dialog.Titre->alignment(), Qt::AlignCenter);
    QVERIFY(dialog.Thanks->font().pixelSize() <= scale(12));
    QVERIFY(dialog.Thanks->font().bold());
    QCOMPARE(dialog.Thanks->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    QCOMPARE(dialog.Panel1->frameShadow(), QFrame::Raised);

    // The strips as painted.
    for (QWidget *strip : {static_cast<QWidget *>(dialog.Panel2), static_cast<QWidget *>(dialog.Panel3)})
        QCOMPARE(strip->grab().toImage().pixelColor(10, 1), QColor(255, 255, 128));

    QCOMPARE(dialog.URLLabel2->LabelType(), hmMAIL);
    QCOMPARE(dialog.URLLabel1->LabelType(), hmHTTP);
    for (const TURLLabel *link : {dialog.URLLabel1, dialog.URLLabel2}) {
        QVERIFY(link->Effect98());
        QCOMPARE(link->URLColStd(), maroon);
        QCOMPARE(link->fontColor(), maroon);
        QCOMPARE(link->font().pixelSize(), scale(12));
        QVERIFY(!link->font().underline()); // underlined only under the pointer
    }
    // Whatever font stands in for the form's, nothing is cut or covered.
    QVERIFY(dialog.Label1->geometry().right() < dialog.URLLabel2->x());
    QVERIFY(dialog.NewVersion->geometry().right() < dialog.URLLabel1->x());
    for (const QLabel *fixed : {dialog.Titre, dialog.Thanks}) {
        const auto fits = [fixed](const QFont &font) {
            const QSize needed = QFontMetrics(font).size(Qt::TextSingleLine, fixed->text());
            return needed.width() <= fixed->width() && needed.height() <= fixed->height();
        };
        QVERIFY(fits(fixed->font()));
        QFont larger = fixed->font(); // and shrunk no further than needed
        larger.setPixelSize(larger.pixelSize() + 1);
        QVERIFY(larger.pixelSize() > scale(fixed == dialog.Titre ? 21 : 12) || !fits(larger));
    }
    QVERIFY(dialog.Titre->font().pixelSize() > scale(12)); // still a title
}

void TestAboutDialog::createdHiddenAndCentredWhenShown()
{
    TF_About dialog;
    QVERIFY(!dialog.isVisible());
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QPoint screenCentre = dialog.screen()->availableGeometry().center();
    const QPoint dialogCentre = dialog.frameGeometry().center();
    QVERIFY2((screenCentre - dialogCentre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("centre %1,%2").arg(dialogCentre.x()).arg(dialogCentre.y())));
}

void TestAboutDialog::closeButtonAndCloseBoxBothClose()
{
    TF_About dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    dialog.show(); // shown again, as each "&About" does
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.close()); // what the close box asks
    QVERIFY(!dialog.isVisible());

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
}

void TestAboutDialog::linksOpenMailAndHomePage()
{
    TF_About dialog;
    QList<QUrl> opened;
    for (TURLLabel *link : {dialog.URLLabel2, dialog.URLLabel1})
        link->setOpener([&opened](const QUrl &url) { opened.append(url); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.URLLabel2, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseClick(dialog.URLLabel1, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened.at(0), QUrl(QStringLiteral("mailto:") + dialog.URLLabel2->text()));
    QCOMPARE(opened.at(1), QUrl(QStringLiteral("http://") + dialog.URLLabel1->text()));
    QVERIFY(dialog.isVisible()); // opening a link leaves the dialog open
}

void TestAboutDialog::coloursStandOutFromTheBackground_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<bool>("formColours");
    QTest::addColumn<bool>("linksInLinkColour");

    QTest::newRow("light") << QApplication::palette() << true << false;
    QTest::newRow("dark, readable link colour") << darkPalette(QColor(0x8a, 0xb4, 0xf8)) << false << true;
    QTest::newRow("dark, dim link colour") << darkPalette(QColor(0x2a, 0x5a, 0x9a)) << false << false;
}

void TestAboutDialog::coloursStandOutFromTheBackground()
{
    QFETCH(QPalette, palette);
    QFETCH(bool, formColours);
    QFETCH(bool, linksInLinkColour);

    const QPalette original = QApplication::palette();
    TF_About before; // made before the desktop's colours change
    QApplication::setPalette(palette);
    TF_About after;
    for (TF_About *dialog : {&before, &after}) {
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const QColor background = dialog->grab().toImage().pixelColor(2, 2);
        QCOMPARE(background, palette.color(QPalette::Button));
        for (const auto &[text, colour] : textColours(*dialog))
            QVERIFY2(contrastRatio(colour, background) >= 4.5, qPrintable(text + QStringLiteral(": ") + colour.name()));
        const QColor title = dialog->Titre->palette().color(QPalette::WindowText);
        QCOMPARE(title == QColor(128, 0, 0), formColours);
        QCOMPARE(dialog->Thanks->palette().color(QPalette::WindowText) == QColor(0, 0, 128), formColours);
        QCOMPARE(dialog->URLLabel1->URLColStd() == QColor(128, 0, 0), formColours);
        if (!formColours) {
            QCOMPARE(title, palette.color(QPalette::WindowText));
            QCOMPARE(dialog->URLLabel2->URLColStd() == palette.color(QPalette::Link), linksInLinkColour);
            QCOMPARE(dialog->URLLabel2->fontColor(), dialog->URLLabel2->URLColStd()); // as drawn
        }
        QVERIFY(paintsIn(dialog->Titre, title));
    }
    QApplication::setPalette(original);
}

// Both links, then the button, as they stand; Enter and Space reach the button first.
void TestAboutDialog::tabFollowsTheLayout()
{
    TF_About dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), dialog.Button1);
    const QList<QWidget *> chain = tabChain(dialog.URLLabel2, &dialog);
    QCOMPARE(chain, (QList<QWidget *>{dialog.URLLabel2, dialog.URLLabel1, dialog.Button1}));
    QCOMPARE(stepAgainstLayout(chain), QString());
}

QTEST_MAIN(TestAboutDialog)
#include "tst_aboutdialog.moc"
