#pragma once

#include <QColor>
#include <QCursor>
#include <QLabel>
#include <QUrl>

#include <functional>

namespace Lanvo {

enum TLabelType { hmHTTP, hmMAIL, hmFTP, hmCUSTOM };

// A colour stored as a 24-bit value with red in the lowest byte, then green, then blue.
QColor colorFromValue(quint32 value);

// The address prefix of each label type; empty for hmCUSTOM, which opens nothing.
QString targetPrefix(TLabelType type);

// The address the desktop is handed for a target: the "http:\\" and "ftp:\\" prefixes become
// "http://" and "ftp://"; everything else is kept as it is, spaces included.
QString desktopAddress(const QString &target);
QUrl desktopUrl(const QString &target);

// A label that looks like a link and hands its target to the desktop when clicked.
class TURLLabel : public QLabel
{
    Q_OBJECT

public:
    using Opener = std::function<void(const QUrl &)>;

    explicit TURLLabel(QWidget *parent = nullptr);
    explicit TURLLabel(const QString &caption, QWidget *parent = nullptr);

    TLabelType LabelType() const { return m_labelType; }
    void setLabelType(TLabelType value);
    QColor URLColStd() const { return m_colStd; }
    void setURLColStd(const QColor &value);
    QColor URLColPre() const { return m_colPre; }
    void setURLColPre(const QColor &value);
    bool AllowDown() const { return m_allowDown; }
    void setAllowDown(bool value);
    bool Effect98() const { return m_effect98; }
    void setEffect98(bool value);

    // The caption. Hides QLabel's, which gives a label that takes the focus a text document of its own.
    void setText(const QString &caption);

    // A Qt font carries no colour, so the colour comes with it: URLColStd takes it.
    void setLinkFont(const QFont &font, const QColor &colour);

    // The colour the text is painted in now.
    QColor fontColor() const { return m_fontColor; }

    // Prefix and caption, unchanged; empty for hmCUSTOM.
    QString target() const;

    // What a click does: the click event, then the target opened unless hmCUSTOM. Also reached
    // from the keyboard (Space, Enter) and from assistive technology.
    void activate();

    // Replaces the desktop call; tests record the address instead of opening it.
    void setOpener(Opener opener) { m_opener = std::move(opener); }

Q_SIGNALS:
    // The label's ordinary click, raised before the target is opened.
    void clicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setFontColor(const QColor &colour);
    void setUnderlined(bool underlined);
    void openTarget() const;

    TLabelType m_labelType = hmHTTP;
    QColor m_colStd = colorFromValue(16711680); // blue
    QColor m_colPre = colorFromValue(255);      // red
    bool m_allowDown = false;
    bool m_effect98 = false;
    QColor m_fontColor;
    bool m_leftPressed = false;
    bool m_movedDown = false;
    Opener m_opener;
};

} // namespace Lanvo
