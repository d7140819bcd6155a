#include "StatusBar.h"

#include <QLabel>

namespace Lanvo {

namespace {

struct PanelLayout
{
    int Width;
    Qt::Alignment Alignment;
    const char *Purpose;
};

constexpr std::array<PanelLayout, TStatusPanels::PanelCount> Layout = {{
    {80, Qt::AlignCenter, "Games listed"},
    {50, Qt::AlignCenter, "Install type"},
    {100, Qt::AlignLeft | Qt::AlignVCenter, "ROM set"},
    {50, Qt::AlignLeft | Qt::AlignVCenter, "Play history"},
}};

} // namespace

TStatusPanels::TStatusPanels(QWidget *parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(true);
    setFixedHeight(22);
    for (int i = 0; i < PanelCount; ++i) {
        auto *panel = new QLabel(this);
        panel->setTextFormat(Qt::PlainText); // a ROM set name is shown as written, never as markup
        panel->setMinimumWidth(Layout[i].Width); // wider when the text needs it: a large font, many games
        const bool last = i == PanelCount - 1; // the selected game's history takes the rest of the bar
        panel->setAlignment(Layout[i].Alignment);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        // No accessible name: a screen reader then reads the panel's text; the purpose describes it.
        panel->setAccessibleDescription(QString::fromLatin1(Layout[i].Purpose));
        addWidget(panel, last ? 1 : 0);
        m_panels[static_cast<size_t>(i)] = panel;
    }
}

void TStatusPanels::setPanelText(int panel, const QString &text)
{
    if (panel >= 0 && panel < PanelCount)
        m_panels[static_cast<size_t>(panel)]->setText(text);
}

QString TStatusPanels::panelText(int panel) const
{
    if (panel < 0 || panel >= PanelCount)
        return {};
    return m_panels[static_cast<size_t>(panel)]->text();
}

QLabel *TStatusPanels::panel(int panel) const
{
    if (panel < 0 || panel >= PanelCount)
        return nullptr;
    return m_panels[static_cast<size_t>(panel)];
}

} // namespace Lanvo
