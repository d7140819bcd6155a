#pragma once

#include "DosboxSettings.h"
#include "FormScale.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QIcon;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Lanvo {

class DosboxVersionProbe;

// What the "DOSBox" page shows and the user may change.
struct DosboxChoices
{
    QString Program; // empty: "dosbox", looked for on PATH
    QString Config;  // empty: none
    TDosboxUse Use = duAuto;
    bool Fullscreen = false;

    bool operator==(const DosboxChoices &) const = default;
};

// The options dialog's "DOSBox" page: the DOSBox program and its configuration file (read-only
// fields with browse and clear buttons), when DOSBox is used, full screen, and a line saying which
// DOSBox a run starts. That line asks the program its version when the page is first shown and
// whenever another program is chosen, never before.
class TDosboxPage : public QWidget
{
    Q_OBJECT

public:
    // Asks the user for a file, starting in StartDirectory; empty when cancelled.
    using FileChooser = std::function<QString(QWidget *parent, const QString &caption, const QString &startDirectory)>;

    TDosboxPage(const QIcon &browseIcon, QWidget *parent);

    // A new showing: the version line is asked again.
    void setChoices(const DosboxChoices &choices);
    DosboxChoices choices() const;

    // Replaces the platform's file chooser; tests answer in its place.
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    QGroupBox *GroupBox;
    QLabel *LabelProgram;
    QLineEdit *Program;
    QPushButton *BrowseProgram;
    QPushButton *ClearProgram;
    QLabel *LabelConfig;
    QLineEdit *Config;
    QPushButton *BrowseConfig;
    QPushButton *ClearConfig;
    QLabel *LabelUse;
    QComboBox *Use;
    QCheckBox *Fullscreen;
    QLabel *Found;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    struct FileRow;
    QLineEdit *addFileRow(const FileRow &row, const QIcon &browseIcon, QLabel *&label, QPushButton *&browse,
                          QPushButton *&clear);
    void addUseRow();
    void browseFor(QLineEdit *field, const QString &caption);
    void setFieldText(QLineEdit *field, const QString &text);
    void describeDosbox();
    void showFound(const QString &path, const QString &version);
    void showFoundText(const QString &before, const QString &path, const QString &after);

    const FormScale m_scale{font()}; // the parent's font: the page grows with the dialog
    FileChooser m_chooseFile;
    DosboxVersionProbe *m_probe;
    std::optional<QString> m_described; // the program the line is about
};

} // namespace Lanvo
