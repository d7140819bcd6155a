#pragma once

#include "FormScale.h"

#include <QDialog>
#include <QString>

#include <functional>

class QGroupBox;
class QIcon;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace Lanvo {

class TDosboxPage;

// What the dialog shows and the user may change.
struct OptionsValues
{
    QString RomPath1;
    QString RomPath2;
    QString AltPath;
    QString AddParam;

    bool operator==(const OptionsValues &) const = default;
};

// The options dialog; created hidden at start and shown modally from the emulator menu.
class TF_Options : public QDialog
{
    Q_OBJECT

public:
    // Asks the user for a directory, starting at StartDirectory; empty when cancelled.
    using DirectoryChooser = std::function<QString(QWidget *parent, const QString &startDirectory)>;

    explicit TF_Options(QWidget *parent = nullptr);

    void setValues(const OptionsValues &values);
    OptionsValues values() const;

    // Replaces the platform's directory chooser; tests answer in its place.
    void setDirectoryChooser(DirectoryChooser chooser) { m_chooseDirectory = std::move(chooser); }

    // The current directory when the dialog was last shown.
    QString OptionsStartDir;

    QTabWidget *Onglet;
    QWidget *General;
    QGroupBox *GroupBox1;
    QLabel *Label1;
    QLineEdit *RomPath1;
    QPushButton *BitBtn1;
    QLabel *Label4;
    QLineEdit *RomPath2;
    QPushButton *BitBtn2;
    QLabel *Label2;
    QLineEdit *AltPath;
    QPushButton *BitBtn3;
    QWidget *corvane;
    QGroupBox *GroupBox2;
    QLabel *Label3;
    QLineEdit *AddParam;
    TDosboxPage *Dosbox;
    QPushButton *Ok;
    QPushButton *Cancel;

public Q_SLOTS:
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildGeneralPage();
    void buildCorvanePage();
    void buildButtons();
    void setTabOrder();
    struct PathRow;
    QLineEdit *addPathRow(const PathRow &row, const QIcon &browseIcon, QLabel *&label, QPushButton *&browse);
    void FormShow();
    void browseFor(QLineEdit *field);

    const FormScale m_scale{font()};
    DirectoryChooser m_chooseDirectory;
};

extern TF_Options *F_Options;

} // namespace Lanvo
