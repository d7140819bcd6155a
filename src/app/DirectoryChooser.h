#pragma once

#include <QFileDialog>

namespace Lanvo {

// The browse buttons' directory chooser. The user may pick an existing directory or type the path
// of one that does not exist yet; such a directory is neither created nor questioned. A path naming
// something that is not a directory is refused.
class TDirectoryChooser : public QFileDialog
{
    Q_OBJECT

public:
    TDirectoryChooser(QWidget *parent, const QString &startDirectory);

    // Runs the chooser modally: the path confirmed, or empty when cancelled.
    static QString choose(QWidget *parent, const QString &startDirectory);

    // Whether Path may be confirmed.
    static bool acceptsPath(const QString &path);

    // The path confirmed last; empty until the user confirms.
    QString chosenPath() const { return m_chosen; }

public Q_SLOTS:
    void accept() override;

private:
    void enableConfirmForTypedPath();

    QString m_chosen;
};

} // namespace Lanvo
