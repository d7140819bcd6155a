#include "LinkLabel.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QEnterEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using namespace Lanvo;

Q_DECLARE_METATYPE(Lanvo::TLabelType)

class TestURLLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void coloursAreRedInTheLowestByte_data();
    void coloursAreRedInTheLowestByte();
    void defaults();
    void underlineRules_data();
    void underlineRules();
    void effect98EnterAndLeave_data();
    void effect98EnterAndLeave();
    void pressAndRelease_data();
    void pressAndRelease();
    void settingTheFontTakesItsColour();
    void clickOpensTheTarget_data();
    void clickOpensTheTarget();
    void onlyAnOrdinaryClickOpens();
    void keyboardAndAssistiveTechnologyOpenToo();
    void drawsAsAFocusableLabelDoes_data();
    void drawsAsAFocusableLabelDoes();
};

namespace {

// A label inside a window of its own, recording what it raises and opens, in order.
struct Fixture
{
    QWidget Window;
    TURLLabel *Label;
    QStringList Events;
    QList<QUrl> Opened;

    explicit Fixture(const QString &caption = QStringLiteral("www.example.org/lanvo/"))
    {
        Window.resize(300, 100);
        Label = new TURLLabel(caption, &Window);
        Label->move(20, 30);
        Label->adjustSize();
        Label->setOpener([this](const QUrl &url) {
            Opened.append(url);
            Events.append(QStringLiteral("open"));
        });
        QObject::connect(Label, &TURLLabel::clicked, [this] { Events.append(QStringLiteral("click")); });
    }

    void enter()
    {
        const QPointF inside(2, 2);
        QEnterEvent event(inside, Label->mapTo(&Window, inside), Label->mapToGlobal(inside));
        QCoreApplication::sendEvent(Label, &event);
    }
    void leave()
    {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(Label, &event);
    }
};

const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);

} // namespace

void TestURLLabel::coloursAreRedInTheLowestByte_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("blue") << quint32(16711680) << QColor(0, 0, 255);
    QTest::newRow("red") << quint32(255) << QColor(255, 0, 0);
    QTest::newRow("pale yellow strip") << quint32(8454143) << QColor(255, 255, 128);
    QTest::newRow("each byte its own") << quint32(0x123456) << QColor(0x56, 0x34, 0x12);
    QTest::newRow("high byte ignored") << quint32(0xFF000080) << QColor(0x80, 0, 0);
}

void TestURLLabel::coloursAreRedInTheLowestByte()
{
    QFETCH(quint32, value);
    QFETCH(QColor, colour);
    QCOMPARE(colorFromValue(value), colour);
}

void TestURLLabel::defaults()
{
    const TURLLabel label;
    QCOMPARE(label.LabelType(), hmHTTP);
    QCOMPARE(label.URLColStd(), Blue);
    QCOMPARE(label.URLColPre(), Red);
    QVERIFY(!label.AllowDown());
    QVERIFY(!label.Effect98());
    QCOMPARE(label.fontColor(), Blue);
    QCOMPARE(label.palette().color(QPalette::WindowText), Blue);
    QVERIFY(label.font().underline());
    QCOMPARE(label.textFormat(), Qt::PlainText);
}

// Each row is a sequence of settings: L<type> sets LabelType (H, M, F, C), E1/E0 Effect98.
void TestURLLabel::underlineRules_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("underlined");
    QTest::newRow("http at rest") << QStringList() << true;
    QTest::newRow("mail") << QStringList{"LM"} << true;
    QTest::newRow("ftp") << QStringList{"LF"} << true;
    QTest::newRow("custom") << QStringList{"LC"} << false;
    QTest::newRow("custom back to http") << QStringList{"LC", "LH"} << true;
    QTest::newRow("effect98 on") << QStringList{"E1"} << false;
    QTest::newRow("effect98 on then off") << QStringList{"E1", "E0"} << true;
    QTest::newRow("type change under effect98") << QStringList{"E1", "LM"} << false;
    QTest::newRow("custom, effect98 on then off keeps it plain") << QStringList{"LC", "E1", "E0"} << false;
}

void TestURLLabel::underlineRules()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, underlined);
    TURLLabel label;
    for (const QString &step : steps) {
        if (step == "E1" || step == "E0") {
            label.setEffect98(step == "E1");
            continue;
        }
        const QChar kind = step.at(1);
        label.setLabelType(kind == 'H' ? hmHTTP : kind == 'M' ? hmMAIL : kind == 'F' ? hmFTP : hmCUSTOM);
    }
    QCOMPARE(label.font().underline(), underlined);
    QCOMPARE(label.fontColor(), Blue); // none of these touches the colour
}

void TestURLLabel::effect98EnterAndLeave_data()
{
    QTest::addColumn<bool>("effect98");
    QTest::addColumn<TLabelType>("type");
    QTest::addColumn<QColor>("overColour");
    QTest::addColumn<bool>("overUnderlined");
    QTest::addColumn<bool>("afterUnderlined");
    QTest::newRow("effect98 http") << true << hmHTTP << Red << true << false;
    QTest::newRow("effect98 custom keeps its plain text") << true << hmCUSTOM << Red << false << false;
    QTest::newRow("without effect98 nothing changes") << false << hmHTTP << Blue << true << true;
    QTest::newRow("without effect98, custom") << false << hmCUSTOM << Blue << false << false;
}

void TestURLLabel::effect98EnterAndLeave()
{
    QFETCH(bool, effect98);
    QFETCH(TLabelType, type);
    QFETCH(QColor, overColour);
    QFETCH(bool, overUnderlined);
    QFETCH(bool, afterUnderlined);
    Fixture f;
    f.Label->setLabelType(type);
    f.Label->setEffect98(effect98);
    f.enter();
    QCOMPARE(f.Label->fontColor(), overColour);
    QCOMPARE(f.Label->font().underline(), overUnderlined);
    f.leave();
    QCOMPARE(f.Label->fontColor(), Blue);
    QCOMPARE(f.Label->font().underline(), afterUnderlined);
    QVERIFY(f.Opened.isEmpty());
}

void TestURLLabel::pressAndRelease_data()
{
    QTest::addColumn<bool>("allowDown");
    QTest::addColumn<bool>("effect98");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("downBy");
    QTest::addColumn<QColor>("pressedColour");
    QTest::addColumn<QColor>("releasedColour");
    QTest::newRow("left, AllowDown off: colour only") << false << false << Qt::LeftButton << 0 << Red << Blue;
    QTest::newRow("left, AllowDown on: one pixel down") << true << false << Qt::LeftButton << 1 << Red << Blue;
    QTest::newRow("left, effect98 keeps the pressed colour") << false << true << Qt::LeftButton << 0 << Red << Red;
    QTest::newRow("right changes nothing") << true << false << Qt::RightButton << 0 << Blue << Blue;
    QTest::newRow("right with effect98") << true << true << Qt::RightButton << 0 << Blue << Blue;
}

void TestURLLabel::pressAndRelease()
{
    QFETCH(bool, allowDown);
    QFETCH(bool, effect98);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, downBy);
    QFETCH(QColor, pressedColour);
    QFETCH(QColor, releasedColour);
    Fixture f;
    f.Label->setAllowDown(allowDown);
    f.Label->setEffect98(effect98);
    const QPoint rest = f.Label->pos();
    const QPoint inside(3, 3);
    QTest::mousePress(f.Label, button, {}, inside);
    QCOMPARE(f.Label->pos(), rest + QPoint(0, downBy));
    QCOMPARE(f.Label->fontColor(), pressedColour);
    QTest::mouseRelease(f.Label, button, {}, inside);
    QCOMPARE(f.Label->pos(), rest);
    QCOMPARE(f.Label->fontColor(), releasedColour);
}

void TestURLLabel::settingTheFontTakesItsColour()
{
    TURLLabel label;
    label.setEffect98(true);
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(12);
    font.setUnderline(true);
    const QColor maroon(128, 0, 0);
    label.setLinkFont(font, maroon);
    QCOMPARE(label.URLColStd(), maroon);
    QCOMPARE(label.fontColor(), maroon);
    QCOMPARE(label.font().pixelSize(), 12);
    QVERIFY(!label.font().underline()); // effect98: plain until the pointer is over it
}

void TestURLLabel::clickOpensTheTarget_data()
{
    QTest::addColumn<TLabelType>("type");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("address");

    QTest::newRow("web") << hmHTTP << "www.example.org/lanvo/" << "http:\\\\www.example.org/lanvo/"
                         << "http://www.example.org/lanvo/";
    QTest::newRow("ftp") << hmFTP << "ftp.example.org/pub/" << "ftp:\\\\ftp.example.org/pub/"
                         << "ftp://ftp.example.org/pub/";
    QTest::newRow("mail") << hmMAIL << "lanvo@example.org" << "mailto:lanvo@example.org"
                          << "mailto:lanvo@example.org";
    QTest::newRow("mail with spaces kept") << hmMAIL << " lanvo@example.org " << "mailto: lanvo@example.org "
                                           << "mailto: lanvo@example.org ";
    QTest::newRow("web with a trailing space") << hmHTTP << "www.example.org/a b " << "http:\\\\www.example.org/a b "
                                               << "http://www.example.org/a b ";
    QTest::newRow("empty caption") << hmMAIL << "" << "mailto:" << "mailto:";
    const QString longPath = QStringLiteral("www.example.org/") + QString(100, QLatin1Char('x'));
    QTest::newRow("over 79 characters, whole") << hmHTTP << longPath << "http:\\\\" + longPath
                                               << "http://" + longPath;
}

void TestURLLabel::clickOpensTheTarget()
{
    QFETCH(TLabelType, type);
    QFETCH(QString, caption);
    QFETCH(QString, target);
    QFETCH(QString, address);
    Fixture f(caption);
    f.Label->setLabelType(type);
    f.Label->resize(200, 20); // an empty caption still has a place to click
    QCOMPARE(f.Label->target(), target);
    QTest::mouseClick(f.Label, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(f.Events, (QStringList{"click", "open"}));
    QCOMPARE(f.Opened.size(), 1);
    QVERIFY(f.Opened.first().isValid());
    QCOMPARE(f.Opened.first().toString(), address);
    QCOMPARE(f.Opened.first(), QUrl(address)); // spaces travel encoded, not dropped
}

void TestURLLabel::onlyAnOrdinaryClickOpens()
{
    Fixture f;
    QTest::mouseClick(f.Label, Qt::RightButton, {}, QPoint(3, 3));
    QVERIFY(f.Events.isEmpty());

    // Pressed on the label, released away from it: no click.
    QTest::mousePress(f.Label, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(f.Label, Qt::LeftButton, {}, QPoint(-20, 50));
    QVERIFY(f.Events.isEmpty());

    f.Label->setLabelType(hmCUSTOM);
    QTest::mouseClick(f.Label, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(f.Events, QStringList{"click"}); // the click event, and nothing opened
    QVERIFY(f.Label->target().isEmpty());
}

void TestURLLabel::keyboardAndAssistiveTechnologyOpenToo()
{
    Fixture f(QStringLiteral("lanvo@example.org"));
    f.Label->setLabelType(hmMAIL);
    QVERIFY(f.Label->focusPolicy() & Qt::TabFocus);
    QTest::keyClick(f.Label, Qt::Key_Space);
    QTest::keyClick(f.Label, Qt::Key_Return);
    QTest::keyClick(f.Label, Qt::Key_A); // any other key does nothing
    QCOMPARE(f.Opened.size(), 2);

    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(f.Label);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::Link);
    QVERIFY(accessible->state().linked);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("lanvo@example.org"));
    QCOMPARE(accessible->text(QAccessible::Description), QStringLiteral("mailto:lanvo@example.org"));
    QAccessibleActionInterface *action = accessible->actionInterface();
    QVERIFY(action);
    QCOMPARE(action->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    action->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(f.Opened.size(), 3);
    QCOMPARE(f.Events.count(QStringLiteral("click")), 3);
}

void TestURLLabel::drawsAsAFocusableLabelDoes_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("custom");
    QTest::addColumn<QSize>("size");

    QTest::newRow("address") << "www.example.org/lanvo/" << false << QSize(160, 20);
    QTest::newRow("mail, plain") << "lanvo@example.org" << true << QSize(160, 20);
    QTest::newRow("blanks kept") << "  two  blanks  " << false << QSize(160, 20);
    QTest::newRow("wider than the label") << "www.example.org/a/very/long/address/indeed" << false << QSize(90, 16);
    QTest::newRow("markup shown as text") << "<b>not bold</b>" << false << QSize(160, 20);
}

// A link label draws its caption without the text document a focusable label builds, pixel for pixel
// as such a label draws it with one.
void TestURLLabel::drawsAsAFocusableLabelDoes()
{
    QFETCH(QString, caption);
    QFETCH(bool, custom);
    QFETCH(QSize, size);

    TURLLabel link(caption);
    if (custom)
        link.setLabelType(hmCUSTOM);
    QLabel label(caption);
    label.setTextFormat(Qt::PlainText);
    label.setFocusPolicy(Qt::TabFocus);
    label.setFont(link.font());
    label.setPalette(link.palette());
    link.resize(size);
    label.resize(size);
    QCOMPARE(link.grab().toImage(), label.grab().toImage());
    const auto hasDocument = [](const QObject &owner) {
        const QObjectList children = owner.children();
        return std::any_of(children.begin(), children.end(), [](const QObject *child) {
            return qstrcmp(child->metaObject()->className(), "QWidgetTextControl") == 0;
        });
    };
    QVERIFY(hasDocument(label));
    QVERIFY(!hasDocument(link));
}

QTEST_MAIN(TestURLLabel)
#include "tst_linklabel.moc"
