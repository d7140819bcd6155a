#include "EnhLVSaveSettings.h"

#include <QRegularExpression>
#include <QSettings>
#include <QStringList>

namespace Lanvo {

namespace {

const QString SizesKey = QStringLiteral("Columns/Sizes");
const QString AscendingKey = QStringLiteral("Sort/Ascending");
const QString SortColumnKey = QStringLiteral("Sort/SortCol");

QString joinSizes(const QList<int> &sizes)
{
    QStringList parts;
    parts.reserve(sizes.size());
    for (const int size : sizes)
        parts << QString::number(size);
    return parts.join(QLatin1Char(','));
}

// A hand-written store may hold the list unquoted, which reads back as a string list.
QString storedText(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QStringList>())
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

} // namespace

std::unique_ptr<QSettings> TEnhLVSaveSettings::openStore() const
{
    // A key such as "Software\Maker\Program": its first part names the organisation, the rest the
    // application, which is how the native store is laid out on every platform.
    QStringList parts = RegistryKey.split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return nullptr;
    const QString organisation = parts.takeFirst();
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation,
                                       parts.join(QLatin1Char('/')));
}

std::optional<QList<int>> TEnhLVSaveSettings::readColumnSizes() const
{
    const std::unique_ptr<QSettings> store = openStore();
    if (!store || !store->contains(SizesKey))
        return std::nullopt;
    QList<int> sizes;
    const QStringList entries = storedText(store->value(SizesKey)).split(QLatin1Char(','));
    for (const QString &entry : entries) {
        bool ok = false;
        const int size = entry.toInt(&ok);
        sizes << (ok && size >= 0 ? size : -1);
    }
    return sizes;
}

TStoredSort TEnhLVSaveSettings::readSort() const
{
    TStoredSort sort;
    const std::unique_ptr<QSettings> store = openStore();
    if (!store)
        return sort;
    sort.Ascending = store->value(AscendingKey, true).toBool();
    sort.SortColumn = store->value(SortColumnKey, 0).toInt();
    return sort;
}

void TEnhLVSaveSettings::write(const QList<int> &columnSizes, const TStoredSort &sort) const
{
    const std::unique_ptr<QSettings> store = openStore();
    if (!store)
        return;
    if (SaveColumnSizes)
        store->setValue(SizesKey, joinSizes(columnSizes));
    if (SaveCurrentSort) {
        store->setValue(AscendingKey, sort.Ascending);
        store->setValue(SortColumnKey, sort.SortColumn);
    }
}

} // namespace Lanvo
