#include "DirectoryChooser.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace Lanvo {

TDirectoryChooser::TDirectoryChooser(QWidget *parent, const QString &startDirectory)
    : QFileDialog(parent, QString(), startDirectory)
{
    // Qt's own dialog, whatever the desktop: its acceptance rule is the one extended here.
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::ShowDirsOnly);
    setFileMode(QFileDialog::Directory);
    // Qt's dialog disables its confirm button for a directory it can't find; after each of its own
    // updates the button follows the rule above instead.
    if (auto *field = findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        connect(field, &QLineEdit::textChanged, this, &TDirectoryChooser::enableConfirmForTypedPath);
    connect(this, &QFileDialog::currentChanged, this, &TDirectoryChooser::enableConfirmForTypedPath);
    connect(this, &QFileDialog::directoryEntered, this, &TDirectoryChooser::enableConfirmForTypedPath);
}

QString TDirectoryChooser::choose(QWidget *parent, const QString &startDirectory)
{
    TDirectoryChooser chooser(parent, startDirectory);
    return chooser.exec() == QDialog::Accepted ? chooser.chosenPath() : QString();
}

bool TDirectoryChooser::acceptsPath(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isDir() || !info.exists();
}

void TDirectoryChooser::accept()
{
    const QStringList selected = selectedFiles();
    if (selected.size() != 1 || !acceptsPath(selected.first()))
        return;
    m_chosen = selected.first();
    // Qt's own acceptance questions a directory that does not exist: that one is confirmed here.
    if (QFileInfo(m_chosen).isDir())
        QFileDialog::accept();
    else
        QDialog::accept();
}

void TDirectoryChooser::enableConfirmForTypedPath()
{
    const auto *buttons = findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QPushButton *confirm = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
    if (!confirm)
        return;
    const QStringList selected = selectedFiles();
    confirm->setEnabled(selected.size() == 1 && acceptsPath(selected.first()));
}

} // namespace Lanvo
