#include "AboutDialog.h"

#include "LinkLabel.h"
#include "ReadableColours.h"
#include "Texts.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace Lanvo {

TF_About *F_About = nullptr;

namespace {

const QColor Maroon(128, 0, 0);
const QColor Navy(0, 0, 128);
const QColor Red(255, 0, 0); // a link under the pointer
constexpr quint32 StripColour = 8454143; // pale yellow

QFont dialogFont(int pixelSize)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

QFont titleFont(int pixelSize)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    widget->setPalette(p);
}

void fillWith(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setColor(role, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

// The texts are ours; the addresses are reserved example domains.
const QString AuthorLine = QStringLiteral("Written by the Lanvo developers, October 1998");
const QString AuthorMail = QStringLiteral("lanvo@example.org");
const QString HomePage = QStringLiteral("www.example.org/lanvo/");
const QString ThanksLine = QStringLiteral("Thanks to the authors of Corvane.");

// The layout was drawn for fonts this desktop may lack; a wider or taller substitute must not cut a
// fixed-size text, so the text shrinks until it fits.
// Each size measured loads a font, so the search starts where the width says the text fits (widths
// grow about in step with the size) and corrects by single steps from there.
void shrinkToFit(QLabel *label)
{
    constexpr int SmallestSize = 6;
    QFont font = label->font();
    const int largest = font.pixelSize();
    const auto fits = [label, &font](int size) {
        font.setPixelSize(size);
        const QSize needed = QFontMetrics(font).size(Qt::TextSingleLine, label->text());
        return needed.width() <= label->width() && needed.height() <= label->height();
    };
    if (fits(largest))
        return;
    const int needed = QFontMetrics(font).size(Qt::TextSingleLine, label->text()).width();
    int size = std::clamp(largest * label->width() / std::max(needed, 1), SmallestSize, largest - 1);
    if (fits(size)) {
        while (size + 1 < largest && fits(size + 1))
            ++size;
    } else {
        while (size > SmallestSize && !fits(size - 1))
            --size;
        size = std::max(size - 1, SmallestSize);
    }
    font.setPixelSize(size);
    label->setFont(font);
}

// Likewise a link never covers the caption before it: it moves right when the caption is wider.
void keepClearOf(QWidget *link, const QWidget *caption)
{
    const int clear = caption->geometry().right() + 1;
    if (link->x() < clear)
        link->move(clear, link->y());
}

} // namespace

TF_About::TF_About(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("F_About"));
    setFont(dialogFont(m_scale(11)));
    setFixedSize(m_scale(421), m_scale(269));
    buildControls();
    FormCreate();
    applyColours(); // once the controls exist: filling the background raises a palette change
}

// The form's own colours where they stand out from the background, as they do on light palettes;
// the palette's text and link colours where they would not, as on dark ones. Runs again whenever
// the desktop's colours change.
void TF_About::applyColours()
{
    const QColor background = palette().color(QPalette::Button);
    fillWith(this, QPalette::Window, background);
    const QPalette &colours = palette();
    const QColor text = colours.color(QPalette::WindowText), link = colours.color(QPalette::Link);
    setTextColour(Titre, readableColour({Maroon, text}, background));
    setTextColour(Thanks, readableColour({Navy, text}, background));
    for (TURLLabel *label : {URLLabel1, URLLabel2}) {
        label->setURLColStd(readableColour({Maroon, link, text}, background));
        label->setURLColPre(readableColour({Red, link, text}, background));
    }
}

void TF_About::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColours();
}

void TF_About::buildControls()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(m_scale(8, 8, 401, 217));

    Titre = addLabel(QStringLiteral("Titre"), 8, 8);
    Titre->setFont(titleFont(m_scale(21)));
    Titre->setAlignment(Qt::AlignCenter);
    Titre->setGeometry(m_scale(8, 8, 385, 24));
    Freeware = addLabel(QStringLiteral("Freeware"), 80, 32);
    Panel2 = addStrip(QStringLiteral("Panel2"), 52);
    Label2 = addLabel(QStringLiteral("Label2"), 16, 64);
    Label3 = addLabel(QStringLiteral("Label3"), 16, 88);
    Label1 = addLabel(QStringLiteral("Label1"), 16, 125);
    URLLabel2 = addLink(QStringLiteral("URLLabel2"), 52, 125);
    URLLabel2->setLabelType(hmMAIL);
    NewVersion = addLabel(QStringLiteral("NewVersion"), 16, 149);
    URLLabel1 = addLink(QStringLiteral("URLLabel1"), 117, 149);
    Panel3 = addStrip(QStringLiteral("Panel3"), 181);
    Thanks = addLabel(QStringLiteral("Thanks"), 8, 192);
    QFont thanksFont = dialogFont(m_scale(12));
    thanksFont.setBold(true);
    Thanks->setFont(thanksFont);
    Thanks->setGeometry(m_scale(8, 192, 383, 13));

    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(m_scale(336, 240, 75, 25));
    Button1->setDefault(true);
    Button1->setFocus(); // the first thing Enter or Space reaches
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

QLabel *TF_About::addLabel(const QString &name, int left, int top)
{
    auto *label = new QLabel(Panel1);
    label->setObjectName(name);
    label->move(m_scale(left), m_scale(top));
    return label;
}

TURLLabel *TF_About::addLink(const QString &name, int left, int top)
{
    auto *link = new TURLLabel(Panel1);
    link->setObjectName(name);
    link->move(m_scale(left), m_scale(top));
    link->setLinkFont(dialogFont(m_scale(12)), Maroon);
    link->setEffect98(true);
    return link;
}

QFrame *TF_About::addStrip(const QString &name, int top)
{
    auto *strip = new QFrame(Panel1);
    strip->setObjectName(name);
    strip->setGeometry(m_scale(8, top, 385, 4));
    fillWith(strip, QPalette::Window, colorFromValue(StripColour));
    return strip;
}

// The texts of the dialog.
void TF_About::FormCreate()
{
    setWindowTitle(Texts::AboutCaption);
    Titre->setText(QStringLiteral("Lanvo 1.61 - English - 19 October 1998"));
    Button1->setText(QStringLiteral("Close"));
    Freeware->setText(QStringLiteral("Free software: GNU GPL version 3 or later"));
    Label2->setText(QStringLiteral("Corvane 0.2d Emulator Front End"));
    Label3->setText(AuthorLine);
    Label1->setText(QStringLiteral("E Mail: "));
    URLLabel2->setText(AuthorMail);
    NewVersion->setText(QStringLiteral("Get new versions at "));
    URLLabel1->setText(HomePage);
    Thanks->setText(ThanksLine);
}

// Labels without a size of their own take the size of their text; fixed ones shrink to fit it.
void TF_About::fitToFonts()
{
    for (QLabel *label : {Freeware, Label2, Label3, Label1, NewVersion})
        label->adjustSize();
    URLLabel1->adjustSize();
    URLLabel2->adjustSize();
    shrinkToFit(Titre);
    shrinkToFit(Thanks);
    keepClearOf(URLLabel2, Label1);
    keepClearOf(URLLabel1, NewVersion);
}

// Measuring a text loads its font, and this dialog's fonts are used nowhere else: fitting them when
// the dialog is first shown keeps those loads out of the program's start.
void TF_About::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_fitted) {
        fitToFonts();
        m_fitted = true;
    }
    if (const QScreen *shown = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(shown->availableGeometry().center());
        move(frame.topLeft());
    }
}

} // namespace Lanvo
