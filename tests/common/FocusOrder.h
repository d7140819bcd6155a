#pragma once

// The keyboard's order against the eye's: Tab must go from each control to the next one as they
// stand in the window, top to bottom and, within a row, left to right.
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace Lanvo::Test {

// The controls Tab reaches, in Tab's order, from First on: those shown in Within that take the focus
// by Tab, until the chain comes back to First. Disabled controls count: they keep their place.
inline QList<QWidget *> tabChain(QWidget *first, const QWidget *within)
{
    QList<QWidget *> chain{first};
    for (QWidget *at = first->nextInFocusChain(); at && at != first; at = at->nextInFocusChain()) {
        if (within->isAncestorOf(at) && at->isVisibleTo(within->window()) && (at->focusPolicy() & Qt::TabFocus)
            && !at->focusProxy())
            chain << at;
    }
    return chain;
}

inline QRect windowRect(const QWidget *widget)
{
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

// Empty when every step of Chain goes to a control below the one before, or in its row further right;
// otherwise the first step that goes back, for the failure message.
inline QString stepAgainstLayout(const QList<QWidget *> &chain)
{
    for (qsizetype i = 1; i < chain.size(); ++i) {
        const QRect from = windowRect(chain.at(i - 1));
        const QRect to = windowRect(chain.at(i));
        const bool below = to.top() >= from.bottom();
        const bool sameRow = to.top() < from.bottom() && from.top() < to.bottom();
        // Left edges: a check box's clickable width may reach under the drop-down beside it.
        const bool onTheRight = sameRow && to.left() > from.left();
        if (!below && !onTheRight)
            return chain.at(i - 1)->objectName() + QStringLiteral(" -> ") + chain.at(i)->objectName();
    }
    return {};
}

inline QStringList objectNames(const QList<QWidget *> &widgets)
{
    QStringList names;
    for (const QWidget *widget : widgets)
        names << widget->objectName();
    return names;
}

} // namespace Lanvo::Test
