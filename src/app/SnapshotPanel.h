#pragma once

#include "PictureControl.h"

#include <QWidget>

class QGroupBox;
class QTabBar;

namespace Lanvo {

// The top of the pictures in a panel of the given height: centred, halves rounded to the even
// neighbour, never above 24.
int pictureTop(int panelHeight, int pictureHeight);

// The right-hand panel: the "Title" and "In-Game" tabs over the picture of the selected game.
class TSnapshotPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PanelWidth = 350;
    static constexpr int GroupWidth = 340;
    static constexpr int PictureWidth = 320;
    static constexpr int PictureHeight = 226;
    static constexpr int PictureLeft = 7;

    explicit TSnapshotPanel(QWidget *parent = nullptr);

    // Selecting a tab from the program raises no change.
    void selectTab(int index);
    int selectedTab() const;
    // Places the pictures vertically in the group.
    void FormResize();

    QTabBar *TabControlPic;
    QGroupBox *PanelPic;
    TFEJpeg *ImageDefault;
    TFEJpeg *image;

Q_SIGNALS:
    // The user switched the tab, by any means.
    void tabChosen(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};

} // namespace Lanvo
