#include "CompareRows.h"

#include <algorithm>
#include <numeric>

namespace Lanvo {

namespace {

std::vector<int> identityOrder(size_t count)
{
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

std::vector<TextKey> rowKeys(const EnhListModel &model, const SortContext &context)
{
    std::vector<TextKey> keys;
    keys.reserve(model.rows().size());
    for (const EnhListModel::Row &row : model.rows())
        keys.push_back(makeTextKey(sortText(model, row, context.TextIndex), context.Style, *context.Locale));
    return keys;
}

// A handler that throws makes the pair equal, and the sort goes on.
int guardedCompare(const TSortItemsEvent &onSortItems, const EnhListModel::Row &a, const EnhListModel::Row &b,
                   int column) noexcept
{
    try {
        return onSortItems(a, b, column);
    } catch (...) {
        return 0;
    }
}

} // namespace

QString sortText(const EnhListModel &model, const EnhListModel::Row &row, int textIndex)
{
    if (textIndex < -1)
        return {};
    return model.text(row, textIndex + 1);
}

int CompareRows(const EnhListModel &model, const EnhListModel::Row *a, const EnhListModel::Row *b,
                const SortContext &context)
{
    if (!a || !b || !context.Locale)
        return 0;
    const int result = compareSortTexts(sortText(model, *a, context.TextIndex),
                                        sortText(model, *b, context.TextIndex), context.Style, *context.Locale);
    return result * context.Direction;
}

std::vector<int> sortedRowOrder(const EnhListModel &model, const SortContext &context,
                                const TSortItemsEvent &onSortItems)
{
    const std::vector<EnhListModel::Row> &rows = model.rows();
    std::vector<int> order = identityOrder(rows.size());
    if (onSortItems) {
        const int column = context.TextIndex + 1;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int result = guardedCompare(onSortItems, rows[size_t(a)], rows[size_t(b)], column);
            return ((result > 0) - (result < 0)) * context.Direction < 0;
        });
        return order;
    }
    if (!context.Locale)
        return order;
    const std::vector<TextKey> keys = rowKeys(model, context);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return compareTextKeys(keys[size_t(a)], keys[size_t(b)], context.Style) * context.Direction < 0;
    });
    return order;
}

} // namespace Lanvo
