#include "AboutDialog.h"
#include "Main.h"
#include "OptionsDialog.h"
#include "TestFakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace Lanvo;
using namespace Lanvo::Test;

// Every fixed form, under a small, a large and a very large application font: each control lies
// inside its parent (below a group's title), no two captioned controls side by side overlap, and
// every caption is shown whole, with nothing drawn over it.
class TestFormFit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void formsFitTheFont_data();
    void formsFitTheFont();
    void smallerFontKeepsThePixels();

private:
    QString m_savedCurrent;
    QFont m_savedFont;
};

namespace {

QString nameOf(const QWidget *widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// The part of a control where its caption is drawn, as wide as the caption needs; empty when it shows
// none.
QRect captionArea(const QWidget *control)
{
    QString text;
    QRect room;
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        text = label->text();
        room = label->contentsRect();
    } else if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = text = button->text();
        const bool isCheckBox = qobject_cast<const QCheckBox *>(button) != nullptr;
        room = control->style()->subElementRect(isCheckBox ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents,
                                                &option, button);
    }
    if (text.isEmpty())
        return {};
    const QSize needed = control->fontMetrics().size(Qt::TextShowMnemonic, text);
    return {room.topLeft(), QSize(needed.width(), std::max(needed.height(), room.height()))};
}

// Where a group's title is drawn.
QRect titleOf(const QGroupBox *group)
{
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
}

// Where the children of Parent may go: all of it, below the title for a group.
QRect roomFor(const QWidget *parent)
{
    const auto *group = qobject_cast<const QGroupBox *>(parent);
    return group ? parent->rect().adjusted(0, titleOf(group).bottom() + 1, 0, 0) : parent->rect();
}

void checkTitle(const QGroupBox *group, QStringList &faults)
{
    const QRect title = titleOf(group);
    if (!group->rect().contains(title) || title.width() < group->fontMetrics().horizontalAdvance(group->title()))
        faults << nameOf(group) + QStringLiteral(": title cut");
}

void checkTabs(const QTabBar *tabs, QStringList &faults)
{
    for (int i = 0; i < tabs->count(); ++i) {
        const QRect tab = tabs->tabRect(i);
        if (!tabs->rect().contains(tab) || tab.width() < tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)))
            faults << nameOf(tabs) + QStringLiteral(": tab %1 cut").arg(tabs->tabText(i));
    }
}

// Checks one control against its parent and the siblings drawn after it.
void checkControl(const QWidget *control, const QWidget *form, QStringList &faults)
{
    const QWidget *parent = control->parentWidget();
    if (!roomFor(parent).contains(control->geometry()))
        faults << nameOf(control) + QStringLiteral(" (%1,%2 %3x%4) outside ")
                      .arg(control->x()).arg(control->y()).arg(control->width()).arg(control->height())
                  + nameOf(parent) + QStringLiteral(" (%1x%2)").arg(parent->width()).arg(parent->height());
    const QRect caption = captionArea(control);
    if (caption.isEmpty())
        return;
    if (!control->rect().contains(caption))
        faults << nameOf(control) + QStringLiteral(": caption cut (%1x%2, needs %3x%4)")
                      .arg(control->width()).arg(control->height()).arg(caption.right() + 1).arg(caption.bottom() + 1);
    const QRect captionInParent = caption.translated(control->pos());
    const QList<QWidget *> siblings = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (qsizetype i = 0; i < siblings.size(); ++i) {
        const QWidget *sibling = siblings.at(i);
        if (sibling == control || sibling->isWindow() || !sibling->isVisibleTo(form))
            continue;
        const bool drawnAbove = i > siblings.indexOf(control);
        if (drawnAbove && sibling->geometry().intersects(captionInParent))
            faults << nameOf(control) + QStringLiteral(": caption covered by ") + nameOf(sibling);
        else if (!captionArea(sibling).isEmpty() && sibling->geometry().intersects(control->geometry()))
            faults << nameOf(control) + QStringLiteral(" overlaps ") + nameOf(sibling);
    }
}

QStringList faultsOf(const QWidget &form)
{
    QStringList faults;
    const QList<QWidget *> controls = form.findChildren<QWidget *>();
    for (const QWidget *control : controls) {
        if (control->isWindow() || !control->isVisibleTo(&form))
            continue;
        checkControl(control, &form, faults);
        if (const auto *group = qobject_cast<const QGroupBox *>(control))
            checkTitle(group, faults);
        if (const auto *tabs = qobject_cast<const QTabBar *>(control))
            checkTabs(tabs, faults);
    }
    return faults;
}

// What a form needs while it is open; the opener returns the widget to check.
struct OpenForm
{
    QTemporaryDir Dir;
    RecordingPrompts Prompts;
    std::unique_ptr<QWidget> Window;
};
using FormOpener = std::function<const QWidget *(OpenForm &)>;

const QWidget *mainWindowPage(OpenForm &open, int page)
{
    writeFile(open.Dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.61\r\n");
    auto *window = new TF_Lanvo(LanvoWindowSetup{open.Dir.path(), &open.Prompts, {}});
    open.Window.reset(window);
    window->show();
    window->PageControl->setCurrentIndex(page);
    return window->PageControl->currentWidget();
}

const QWidget *optionsDialogPage(OpenForm &open, int page)
{
    auto *dialog = new TF_Options;
    open.Window.reset(dialog);
    dialog->show();
    dialog->Onglet->setCurrentIndex(page);
    return dialog;
}

const QWidget *aboutDialog(OpenForm &open)
{
    open.Window = std::make_unique<TF_About>();
    open.Window->show();
    return open.Window.get();
}

} // namespace

void TestFormFit::init()
{
    m_savedCurrent = QDir::currentPath();
    m_savedFont = QApplication::font();
}

void TestFormFit::cleanup()
{
    QDir::setCurrent(m_savedCurrent);
    QApplication::setFont(m_savedFont);
}

void TestFormFit::formsFitTheFont_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<FormOpener>("open");
    const QList<std::pair<const char *, FormOpener>> forms = {
        {"main window, Games page", [](OpenForm &open) { return mainWindowPage(open, 0); }},
        {"main window, Options page", [](OpenForm &open) { return mainWindowPage(open, 1); }},
        {"options dialog, General page", [](OpenForm &open) { return optionsDialogPage(open, 0); }},
        {"options dialog, Corvane page", [](OpenForm &open) { return optionsDialogPage(open, 1); }},
        {"about dialog", aboutDialog},
    };
    for (const int points : {9, 13, 16}) {
        for (const auto &[name, open] : forms)
            QTest::addRow("%s, %d points", name, points) << points << open;
    }
}

void TestFormFit::formsFitTheFont()
{
    QFETCH(int, points);
    QFETCH(FormOpener, open);
    QFont font = m_savedFont;
    font.setPointSize(points);
    QApplication::setFont(font);
    OpenForm opened;
    const QWidget *form = open(opened);
    QVERIFY(QTest::qWaitForWindowExposed(opened.Window.get()));
    const QStringList faults = faultsOf(*form);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
}

// A form never shrinks below the pixels it was laid out in.
void TestFormFit::smallerFontKeepsThePixels()
{
    QFont font = m_savedFont;
    font.setPixelSize(8);
    QApplication::setFont(font);
    const TF_Options dialog;
    QCOMPARE(dialog.size(), QSize(392, 197));
    QCOMPARE(dialog.AddParam->geometry(), QRect(96, 24, 265, 21));
}

QTEST_MAIN(TestFormFit)
#include "tst_formfit.moc"
