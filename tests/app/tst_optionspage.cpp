#include "FocusOrder.h"
#include "FormScale.h"
#include "OptionsPage.h"
#include "TestFakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestOptionsPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formStateBeforeStartUp();
    void controlsFromPropertiesChangeNoProperty_data();
    void controlsFromPropertiesChangeNoProperty();
    void scanlines();
    void frameskipTakesTheCountShown();
    void switches_data();
    void switches();
    void snapshotsFollowInstallType_data();
    void snapshotsFollowInstallType();
    void tabOrder();
    void wheelChangesAListOnlyWithTheFocus_data();
    void wheelChangesAListOnlyWithTheFocus();

private:
    struct Fixture
    {
        QTemporaryDir Dir;
        TCorvane Emulator{nullptr, Dir.path()};
        TOptionsPage Page{Emulator};
    };
};

void TestOptionsPage::formStateBeforeStartUp()
{
    Fixture f;
    QCOMPARE(f.Page.Options->title(), QStringLiteral("Corvane"));
    const FormScale scale(QApplication::font()); // the form's pixels, grown with the font
    QCOMPARE(f.Page.Options->height(), scale(77));
    QCOMPARE(f.Page.Snapshots->height(), scale(65));
    QVERIFY(f.Page.Scanlines->isChecked());
    QCOMPARE(f.Page.Scanlines->text(), QStringLiteral("Scanlines (Vesa)"));
    QCOMPARE(f.Page.CBScanlinesValue->currentIndex(), -1);
    QCOMPARE(f.Page.CBScanlinesValue->count(), 4);
    QCOMPARE(f.Page.CBScanlinesValue->itemText(3), QStringLiteral("no scanlines"));
    QVERIFY(!f.Page.CBScanlinesValue->isEditable());
    QVERIFY(!f.Page.FrameskipValue->isEnabled());
    QVERIFY(f.Page.Vsync->isChecked());
    QVERIFY(f.Page.ProcessShots->isChecked());
    QVERIFY(f.Page.Delete->isChecked() && !f.Page.Delete->isEnabled());
    QCOMPARE(f.Page.Modex->geometry().topLeft(), QPoint(scale(151), scale(45)));
    QCOMPARE(f.Page.ProcessShots->text(), QStringLiteral("Move last snapshot into Lanvo Pic directory"));
}

void TestOptionsPage::controlsFromPropertiesChangeNoProperty_data()
{
    QTest::addColumn<int>("scanlines");
    QTest::addColumn<bool>("frameskip");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("item");
    QTest::newRow("off") << int(slOff) << false << 3 << 0;
    QTest::newRow("on") << int(slOn) << true << 1 << 0;
    QTest::newRow("25") << int(sl25) << true << 4 << 1;
    QTest::newRow("50") << int(sl50) << false << 2 << 2;
    QTest::newRow("100") << int(sl100) << true << 2 << 3;
}

void TestOptionsPage::controlsFromPropertiesChangeNoProperty()
{
    QFETCH(int, scanlines);
    QFETCH(bool, frameskip);
    QFETCH(int, frames);
    QFETCH(int, item);
    Fixture f;
    TCorvane &e = f.Emulator;
    e.Scanlines = TScanLines(scanlines);
    e.Frameskip = frameskip;
    e.FrameskipValue = frames;
    e.Vsync = false;
    e.Vga = e.Modex = e.Noanalysis = true;
    f.Page.setControlsFromProperties();
    QCOMPARE(int(e.Scanlines), scanlines);
    QCOMPARE(e.Frameskip, frameskip);
    QCOMPARE(e.FrameskipValue, frames);
    QCOMPARE(f.Page.Scanlines->isChecked(), scanlines != slOff);
    QCOMPARE(f.Page.CBScanlinesValue->isEnabled(), scanlines != slOff);
    QCOMPARE(f.Page.CBScanlinesValue->currentIndex(), item);
    QCOMPARE(f.Page.Frameskip->isChecked(), frameskip);
    QCOMPARE(f.Page.FrameskipValue->isEnabled(), frameskip);
    QCOMPARE(f.Page.FrameskipValue->currentText(), QString::number(frames));
    QVERIFY(!f.Page.Vsync->isChecked() && f.Page.Vga->isChecked() && f.Page.Modex->isChecked()
            && f.Page.Noanalyse->isChecked());
}

void TestOptionsPage::scanlines()
{
    Fixture f;
    f.Page.setControlsFromProperties();
    f.Page.CBScanlinesValue->setCurrentIndex(3); // "no scanlines" is the 100% mode
    QCOMPARE(f.Emulator.Scanlines, sl100);
    QTest::mouseClick(f.Page.Scanlines, Qt::LeftButton); // unchecked: off, the list keeps its item
    QCOMPARE(f.Emulator.Scanlines, slOff);
    QVERIFY(!f.Page.CBScanlinesValue->isEnabled());
    QCOMPARE(f.Page.CBScanlinesValue->currentIndex(), 3);
    f.Page.CBScanlinesValue->setCurrentIndex(1); // while unchecked the mode stays off
    QCOMPARE(f.Emulator.Scanlines, slOff);
    QTest::mouseClick(f.Page.Scanlines, Qt::LeftButton); // checked again: the mode the list shows
    QCOMPARE(f.Emulator.Scanlines, sl25);
    QVERIFY(f.Page.CBScanlinesValue->isEnabled());
}

void TestOptionsPage::frameskipTakesTheCountShown()
{
    Fixture f;
    f.Emulator.FrameskipValue = 3;
    f.Page.setControlsFromProperties();
    f.Emulator.FrameskipValue = 1; // the list shows 3
    QTest::mouseClick(f.Page.Frameskip, Qt::LeftButton);
    QVERIFY(f.Emulator.Frameskip);
    QCOMPARE(f.Emulator.FrameskipValue, 3);
    QVERIFY(f.Page.FrameskipValue->isEnabled());
    f.Page.FrameskipValue->setCurrentIndex(3);
    QCOMPARE(f.Emulator.FrameskipValue, 4);
    QTest::mouseClick(f.Page.Frameskip, Qt::LeftButton);
    QVERIFY(!f.Emulator.Frameskip);
    QVERIFY(!f.Page.FrameskipValue->isEnabled());
}

void TestOptionsPage::switches_data()
{
    QTest::addColumn<QString>("box");
    QTest::newRow("Vsync") << "Vsync";
    QTest::newRow("Vga") << "Vga";
    QTest::newRow("Modex") << "Modex";
    QTest::newRow("Noanalyse") << "Noanalyse";
    QTest::newRow("Delete") << "Delete";
}

void TestOptionsPage::switches()
{
    QFETCH(QString, box);
    Fixture f;
    f.Page.setControlsFromProperties();
    f.Page.Delete->setEnabled(true);
    const auto property = [&]() -> bool {
        const TCorvane &e = f.Emulator;
        return box == "Vsync" ? e.Vsync : box == "Vga" ? e.Vga : box == "Modex" ? e.Modex
             : box == "Noanalyse" ? e.Noanalysis : e.DeleteSnapshot;
    };
    auto *control = f.Page.findChild<QCheckBox *>(box);
    QVERIFY(control);
    const bool before = property();
    QTest::mouseClick(control, Qt::LeftButton);
    QCOMPARE(property(), !before);
    QCOMPARE(control->isChecked(), !before);
    QTest::mouseClick(control, Qt::LeftButton);
    QCOMPARE(property(), before);
}

void TestOptionsPage::snapshotsFollowInstallType_data()
{
    QTest::addColumn<int>("install");
    QTest::newRow("HD") << int(itHD);
    QTest::newRow("CD") << int(itCDRom);
}

void TestOptionsPage::snapshotsFollowInstallType()
{
    QFETCH(int, install);
    Fixture f;
    f.Emulator.SetInstallType(TInstallType(install));
    f.Page.pageShown();
    if (install == itHD) {
        QVERIFY(f.Page.ProcessShots->isEnabled() && f.Page.ProcessShots->isChecked());
        QVERIFY(f.Page.Delete->isEnabled());
        QTest::mouseClick(f.Page.ProcessShots, Qt::LeftButton);
        QVERIFY(!f.Emulator.ProcessSnapshots);
        QVERIFY(!f.Page.Delete->isEnabled());
    } else {
        QVERIFY(!f.Page.ProcessShots->isEnabled() && !f.Page.ProcessShots->isChecked());
        QVERIFY(!f.Emulator.ProcessSnapshots);
        QVERIFY(!f.Page.Delete->isEnabled());
    }
    QVERIFY(f.Page.Options->isVisibleTo(&f.Page));
    f.Page.pageHidden();
    QVERIFY(!f.Page.Options->isVisibleTo(&f.Page) && !f.Page.Snapshots->isVisibleTo(&f.Page));
}

void TestOptionsPage::tabOrder()
{
    Fixture f;
    f.Page.show();
    f.Page.pageShown();
    QVERIFY(QTest::qWaitForWindowExposed(&f.Page));
    const QList<QWidget *> chain = tabChain(f.Page.Scanlines, &f.Page);
    QCOMPARE(objectNames(chain), (QStringList{"Scanlines", "CBScanlinesValue", "Frameskip", "FrameskipValue", "Vsync",
                                              "Vga", "Modex", "Noanalyse", "ProcessShots", "Delete"}));
    QCOMPARE(stepAgainstLayout(chain), QString());
}

void TestOptionsPage::wheelChangesAListOnlyWithTheFocus_data()
{
    QTest::addColumn<bool>("frameCount"); // else the scan-line list
    QTest::addColumn<bool>("focused");
    QTest::newRow("scan lines, passed over") << false << false;
    QTest::newRow("scan lines, focused") << false << true;
    QTest::newRow("frame count, passed over") << true << false;
    QTest::newRow("frame count, focused") << true << true;
}

// A wheel turned to scroll past a drop-down must not change the setting it shows.
void TestOptionsPage::wheelChangesAListOnlyWithTheFocus()
{
    QFETCH(bool, frameCount);
    QFETCH(bool, focused);
    Fixture f;
    f.Emulator.Frameskip = true;
    f.Page.setControlsFromProperties();
    f.Page.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.Page));
    QComboBox *list = frameCount ? f.Page.FrameskipValue : f.Page.CBScanlinesValue;
    if (focused) {
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
    }
    const QPointF centre = QRectF(list->rect()).center();
    QWheelEvent turn(centre, list->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &turn);
    QCOMPARE(list->currentIndex(), focused ? 1 : 0);
    QCOMPARE(f.Emulator.FrameskipValue, frameCount && focused ? 2 : 1);
    QCOMPARE(f.Emulator.Scanlines, !frameCount && focused ? sl25 : slOn);
}

QTEST_MAIN(TestOptionsPage)
#include "tst_optionspage.moc"
