#pragma once

#include "FormScale.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace Lanvo {

class TURLLabel;

// The about dialog; created hidden at start and shown modally from the Help menu.
class TF_About : public QDialog
{
    Q_OBJECT

public:
    explicit TF_About(QWidget *parent = nullptr);

    QPushButton *Button1;
    QFrame *Panel1;
    QLabel *Titre;
    QLabel *Freeware;
    QFrame *Panel2;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label1;
    TURLLabel *URLLabel2;
    QLabel *NewVersion;
    TURLLabel *URLLabel1;
    QFrame *Panel3;
    QLabel *Thanks;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    QLabel *addLabel(const QString &name, int left, int top);
    TURLLabel *addLink(const QString &name, int left, int top);
    QFrame *addStrip(const QString &name, int top);
    void FormCreate();
    void fitToFonts();
    void applyColours();

    const FormScale m_scale{font()};
    bool m_fitted = false;
};

extern TF_About *F_About;

} // namespace Lanvo
