#pragma once

#include "EnhListModel.h"
#include "EnhListTypes.h"
#include "SortKeys.h"

#include <functional>
#include <vector>

namespace Lanvo {

// A comparison that replaces the built-in one: negative, 0 or positive for ascending order; the
// sort applies the direction. Column is the sort column (0 is the caption).
using TSortItemsEvent =
    std::function<int(const EnhListModel::Row &a, const EnhListModel::Row &b, int column)>;

// What one sort compares by: the text index (-1 for the caption, else a sub-item), the direction
// factor (+1 or -1), the comparison style and the locale.
struct SortContext
{
    int TextIndex = -1;
    int Direction = 1;
    TAutoSortStyle Style = assSmart;
    const SortLocale *Locale = nullptr;
};

// The text a row of Model sorts by: its caption, the sub-item, or an empty text when the row has fewer.
QString sortText(const EnhListModel &model, const EnhListModel::Row &row, int textIndex);

// The built-in comparison of two rows of Model, direction applied; a missing row or any failure gives 0.
int CompareRows(const EnhListModel &model, const EnhListModel::Row *a, const EnhListModel::Row *b,
                const SortContext &context);

// The order of Model's rows after a stable sort by Context, or by OnSortItems when it is set: element i
// is the index of the row that goes to position i. Keys are computed once per row, not per comparison.
std::vector<int> sortedRowOrder(const EnhListModel &model, const SortContext &context,
                                const TSortItemsEvent &onSortItems = {});

} // namespace Lanvo
