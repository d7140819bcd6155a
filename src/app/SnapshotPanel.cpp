#include "SnapshotPanel.h"

#include "Texts.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QTabBar>
#include <QVBoxLayout>

#include <cmath>

namespace Lanvo {

int pictureTop(int panelHeight, int pictureHeight)
{
    const double centred = std::nearbyint((panelHeight - pictureHeight) / 2.0); // ties to even
    return std::max(24, static_cast<int>(centred));
}

TSnapshotPanel::TSnapshotPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabControlPic"));
    setFixedWidth(PanelWidth);
    TabControlPic = new QTabBar(this);
    TabControlPic->setObjectName(QStringLiteral("TabControlPicTabs"));
    TabControlPic->addTab(Texts::TitleTab);
    TabControlPic->addTab(Texts::InGameTab);
    TabControlPic->setExpanding(false);
    TabControlPic->setAccessibleName(Texts::PictureKind);

    PanelPic = new QGroupBox(Texts::SnapshotCaption, this);
    PanelPic->setObjectName(QStringLiteral("PanelPic"));
    PanelPic->setFixedWidth(GroupWidth);
    ImageDefault = new TFEJpeg(PanelPic);
    ImageDefault->setObjectName(QStringLiteral("ImageDefault"));
    image = new TFEJpeg(PanelPic);
    image->setObjectName(QStringLiteral("image"));
    for (TFEJpeg *picture : {ImageDefault, image}) {
        picture->setGeometry(PictureLeft, 24, PictureWidth, PictureHeight);
    }
    ImageDefault->setDefaultPicture();
    image->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(TabControlPic);
    layout->addWidget(PanelPic, 1);
    // Whatever the user switched with (a left press, the wheel, the arrow keys), the picture follows;
    // the program's own selectTab raises nothing.
    TabControlPic->installEventFilter(this);
    connect(TabControlPic, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0)
            Q_EMIT tabChosen(index);
    });
}

// Only a left press selects a tab.
bool TSnapshotPanel::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (watched == TabControlPic && press && static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
        return true;
    return QWidget::eventFilter(watched, event);
}

void TSnapshotPanel::selectTab(int index)
{
    const QSignalBlocker quiet(TabControlPic);
    TabControlPic->setCurrentIndex(index);
}

int TSnapshotPanel::selectedTab() const
{
    return TabControlPic->currentIndex();
}

void TSnapshotPanel::FormResize()
{
    const int top = pictureTop(PanelPic->height(), ImageDefault->height());
    ImageDefault->move(PictureLeft, top);
    image->move(PictureLeft, top);
}

void TSnapshotPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

} // namespace Lanvo
