#include "QtPrompts.h"

#include "Texts.h"

#include <QApplication>
#include <QMessageBox>

namespace Lanvo {

namespace {

QMessageBox::StandardButtons standardButtons(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

PromptAnswer answerOf(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    case QMessageBox::Abort:
        return PromptAnswer::Abort;
    case QMessageBox::Retry:
        return PromptAnswer::Retry;
    case QMessageBox::Ignore:
        return PromptAnswer::Ignore;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    default:
        return PromptAnswer::None;
    }
}

void setKind(QMessageBox &box, PromptKind kind)
{
    switch (kind) {
    case PromptKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setWindowTitle(Texts::ErrorTitle);
        break;
    case PromptKind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(Texts::WarningTitle);
        break;
    case PromptKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(Texts::InformationTitle);
        break;
    case PromptKind::Plain:
        box.setIcon(QMessageBox::NoIcon);
        box.setWindowTitle(QApplication::applicationName());
        break;
    }
}

} // namespace

QtPrompts::QtPrompts(QWidget *parent)
    : m_parent(parent)
{
}

PromptAnswer QtPrompts::showMessage(PromptKind kind, const QString &text, PromptButtons buttons)
{
    // A message shown while the hourglass is up must still take the mouse.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(m_parent);
    setKind(box, kind);
    box.setTextFormat(Qt::PlainText); // messages name the user's files and folders: never markup
    box.setText(text);
    box.setStandardButtons(standardButtons(buttons));
    // Closing the box counts as Ignore, never as Abort.
    if (buttons == PromptButtons::AbortRetryIgnore)
        box.setEscapeButton(QMessageBox::Ignore);
    const int button = box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    return answerOf(button);
}

void QtPrompts::showBusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtPrompts::restoreCursor()
{
    QApplication::restoreOverrideCursor();
}

} // namespace Lanvo
