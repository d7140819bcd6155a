#pragma once

#include "PlayHistory.h"

#include <QByteArrayView>

#include <optional>

namespace Lanvo {

// A line of the play history as read: its ROM set, a view into the line, and its record.
struct HistoryLine
{
    QByteArrayView RomSet;
    PlayRecord Record;
};

// "romset;times;last;seconds;favourite", blanks around a field allowed, "last" as "YYYY-MM-DD hh:mm:ss"
// of the Gregorian calendar from year 1 on or empty; none for a line with fewer or more fields, or one
// Lanvo can't read.
std::optional<HistoryLine> readHistoryLine(QByteArrayView line);

} // namespace Lanvo
