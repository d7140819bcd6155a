#include "TabBarAccessible.h"

#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QPointer>
#include <QTabBar>

#include <mutex>
#include <vector>

namespace Lanvo {

namespace {

QString tabName(const QTabBar *bar, int index)
{
    const QString name = bar->accessibleTabName(index);
    if (!name.isEmpty())
        return name;
    return QString(bar->tabText(index)).remove(QLatin1Char('&')); // the access key's marker is not read
}

// One tab: a page tab, selected while it is the current one; its one action selects it.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    TabAccessible(QTabBar *bar, int index)
        : m_bar(bar)
        , m_index(index)
    {
    }

    bool isValid() const override { return m_bar && m_index < m_bar->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_bar ? m_bar->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_bar.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        if (kind == QAccessible::Name)
            return tabName(m_bar, m_index);
        if (kind == QAccessible::Description)
            return m_bar->tabToolTip(m_index);
        return {};
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const bool current = m_index == m_bar->currentIndex();
        s.focusable = true;
        s.selectable = true;
        s.selected = current;
        s.focused = current && m_bar->hasFocus();
        s.disabled = !m_bar->isTabEnabled(m_index);
        s.invisible = !m_bar->isVisible() || !m_bar->isTabVisible(m_index);
        return s;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect tab = m_bar->tabRect(m_index);
        return QRect(m_bar->mapToGlobal(tab.topLeft()), tab.size());
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action == pressAction() && isValid())
            m_bar->setCurrentIndex(m_index); // the same change as a click: the bar's owner follows it
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<QTabBar> m_bar;
    int m_index;
};

// The tab list: its children are the tabs, in order, so that the bar's own selection and focus
// events (which name a tab by its index) point at the right one.
class TabBarAccessible : public QAccessibleWidget
{
public:
    explicit TabBarAccessible(QTabBar *bar)
        : QAccessibleWidget(bar, QAccessible::PageTabList)
    {
    }

    ~TabBarAccessible() override
    {
        for (const QAccessible::Id id : m_tabs)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return bar()->count(); }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= bar()->count())
            return nullptr;
        while (m_tabs.size() <= static_cast<size_t>(index)) {
            auto *tab = new TabAccessible(bar(), static_cast<int>(m_tabs.size()));
            m_tabs.push_back(QAccessible::registerAccessibleInterface(tab));
        }
        return QAccessible::accessibleInterface(m_tabs[static_cast<size_t>(index)]);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (size_t i = 0; i < m_tabs.size(); ++i) {
            if (QAccessible::accessibleInterface(m_tabs[i]) == child)
                return static_cast<int>(i);
        }
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const int index = bar()->tabAt(bar()->mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? child(index) : nullptr;
    }

    // A tab list the program did not name is read by its current tab, as the toolkit does.
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && bar()->accessibleName().isEmpty())
            return bar()->currentIndex() >= 0 ? tabName(bar(), bar()->currentIndex()) : QString();
        return QAccessibleWidget::text(kind);
    }

private:
    QTabBar *bar() const { return static_cast<QTabBar *>(widget()); }

    mutable std::vector<QAccessible::Id> m_tabs;
};

QAccessibleInterface *tabBarAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String(QTabBar::staticMetaObject.className()))
        return nullptr;
    auto *bar = qobject_cast<QTabBar *>(object);
    return bar ? new TabBarAccessible(bar) : nullptr;
}

} // namespace

void installTabBarAccessibility()
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(tabBarAccessible); });
}

} // namespace Lanvo
