#pragma once

#include <QStatusBar>

#include <array>

class QLabel;

namespace Lanvo {

// The status bar of the main window: four panels, each at least as wide as the form draws it.
class TStatusPanels : public QStatusBar
{
    Q_OBJECT

public:
    static constexpr int PanelCount = 4;

    explicit TStatusPanels(QWidget *parent = nullptr);

    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const;
    QLabel *panel(int panel) const;

private:
    std::array<QLabel *, PanelCount> m_panels{};
};

} // namespace Lanvo
