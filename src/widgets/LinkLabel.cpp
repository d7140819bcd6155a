#include "LinkLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace Lanvo {

namespace {

// Tells assistive technology that the label is a link: its name is the caption, its description
// the address it opens, and its one action opens it.
class URLLabelAccessible : public QAccessibleWidget
{
public:
    explicit URLLabelAccessible(TURLLabel *label)
        : QAccessibleWidget(label, QAccessible::Link)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        const TURLLabel *label = urlLabel();
        if (kind == QAccessible::Name)
            return label->accessibleName().isEmpty() ? label->text() : label->accessibleName();
        if (kind == QAccessible::Description && label->accessibleDescription().isEmpty())
            return desktopAddress(label->target());
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            urlLabel()->activate();
    }

private:
    TURLLabel *urlLabel() const { return static_cast<TURLLabel *>(widget()); }
};

QAccessibleInterface *urlLabelAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String(TURLLabel::staticMetaObject.className()))
        return nullptr;
    auto *label = qobject_cast<TURLLabel *>(object);
    return label ? new URLLabelAccessible(label) : nullptr;
}

void installAccessibleFactoryOnce()
{
    static const bool installed = (QAccessible::installFactory(urlLabelAccessible), true);
    Q_UNUSED(installed);
}

void openOnDesktop(const QUrl &url)
{
    QDesktopServices::openUrl(url); // a target no program opens is not reported
}

} // namespace

QColor colorFromValue(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QString targetPrefix(TLabelType type)
{
    switch (type) {
    case hmHTTP:
        return QStringLiteral("http:\\\\");
    case hmFTP:
        return QStringLiteral("ftp:\\\\");
    case hmMAIL:
        return QStringLiteral("mailto:");
    case hmCUSTOM:
        break;
    }
    return QString();
}

QString desktopAddress(const QString &target)
{
    for (const TLabelType type : {hmHTTP, hmFTP}) {
        const QString prefix = targetPrefix(type);
        if (target.startsWith(prefix))
            return prefix.chopped(2) + QStringLiteral("//") + target.mid(prefix.size());
    }
    return target;
}

QUrl desktopUrl(const QString &target)
{
    // Tolerant, not "user input": that form would trim the spaces the caption holds.
    return QUrl(desktopAddress(target), QUrl::TolerantMode);
}

TURLLabel::TURLLabel(QWidget *parent)
    : TURLLabel(QString(), parent)
{
}

TURLLabel::TURLLabel(const QString &caption, QWidget *parent)
    : QLabel(caption, parent)
    , m_opener(openOnDesktop)
{
    installAccessibleFactoryOnce();
    setTextFormat(Qt::PlainText); // a caption is an address, never markup
    setCursor(Qt::PointingHandCursor); // the user's cursor theme draws it
    setFocusPolicy(Qt::TabFocus); // keyboard users reach the link too
    setFontColor(m_colStd);
    setUnderlined(true);
}

// A text document is a whole layout engine per label, for selection and rich text that a link never
// has: the caption is plain, the keys are answered below, and a change of focus only repaints the
// focus frame. So the caption is set as an unfocusable label's is.
void TURLLabel::setText(const QString &caption)
{
    const Qt::FocusPolicy policy = focusPolicy();
    setFocusPolicy(Qt::NoFocus);
    QLabel::setText(caption);
    setFocusPolicy(policy);
}

void TURLLabel::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event); // not QLabel's, which would build the text document now
}

void TURLLabel::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
}

bool TURLLabel::event(QEvent *event)
{
    // QLabel builds the text document when it is polished, for a label that takes focus; so does every
    // widget of the About window when the main window, its parent, is shown.
    if (event->type() == QEvent::Polish)
        return QFrame::event(event);
    return QLabel::event(event);
}

void TURLLabel::setLabelType(TLabelType value)
{
    if (value == m_labelType)
        return;
    m_labelType = value;
    setUnderlined(m_labelType != hmCUSTOM && !m_effect98);
    update();
}

void TURLLabel::setEffect98(bool value)
{
    if (value == m_effect98)
        return;
    m_effect98 = value;
    if (m_effect98)
        setUnderlined(false);
    else if (m_labelType != hmCUSTOM)
        setUnderlined(true);
    update();
}

void TURLLabel::setAllowDown(bool value)
{
    if (value == m_allowDown)
        return;
    m_allowDown = value;
    update();
}

void TURLLabel::setURLColStd(const QColor &value)
{
    if (value == m_colStd)
        return;
    m_colStd = value;
    setFontColor(m_colStd);
}

void TURLLabel::setURLColPre(const QColor &value)
{
    if (value == m_colPre)
        return;
    m_colPre = value;
    update();
}

void TURLLabel::setLinkFont(const QFont &font, const QColor &colour)
{
    setFont(font);
    setUnderlined(m_labelType != hmCUSTOM && !m_effect98); // the label's rule, not the font's
    m_colStd = colour;
    setFontColor(colour);
}

QString TURLLabel::target() const
{
    if (m_labelType == hmCUSTOM)
        return QString();
    return targetPrefix(m_labelType) + text();
}

void TURLLabel::activate()
{
    Q_EMIT clicked();
    if (m_labelType != hmCUSTOM)
        openTarget();
}

// A target is never cut to a fixed length: a shortened address would open the wrong page or write
// to the wrong person, so it is handed over whole, however long.
void TURLLabel::openTarget() const
{
    if (m_opener)
        m_opener(desktopUrl(target()));
}

void TURLLabel::enterEvent(QEnterEvent *event)
{
    QLabel::enterEvent(event);
    if (!m_effect98)
        return;
    setFontColor(m_colPre);
    if (m_labelType != hmCUSTOM)
        setUnderlined(true);
}

void TURLLabel::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    if (!m_effect98)
        return;
    setFontColor(m_colStd);
    if (m_labelType != hmCUSTOM)
        setUnderlined(false);
}

void TURLLabel::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_leftPressed = true;
    if (m_allowDown) {
        move(x(), y() + 1);
        m_movedDown = true;
    }
    setFontColor(m_colPre);
}

void TURLLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    const bool left = event->button() == Qt::LeftButton;
    // An ordinary click: the left button pressed and released on the label.
    if (left && m_leftPressed && rect().contains(event->position().toPoint()))
        activate();
    if (left)
        m_leftPressed = false;
    if (!m_effect98)
        setFontColor(m_colStd);
    // Only a label that went down comes back up, so it never drifts when AllowDown changes
    // while the button is held.
    if (m_movedDown && left) {
        move(x(), y() - 1);
        m_movedDown = false;
    }
}

void TURLLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        activate();
        break;
    default:
        QLabel::keyPressEvent(event);
    }
}

void TURLLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

void TURLLabel::setFontColor(const QColor &colour)
{
    m_fontColor = colour;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

void TURLLabel::setUnderlined(bool underlined)
{
    QFont f = font();
    f.setUnderline(underlined);
    setFont(f);
}

} // namespace Lanvo
