#pragma once

#include "PlayHistory.h"

#include <QString>

#include <future>
#include <memory>

namespace Lanvo {

// A play history read on a thread of its own while the catalogue reads the games file, so that the
// two files are read at once. Destroying it waits for the read (a future of a thread's task does), and
// the history goes after the future: nothing outlives what it reads into.
class HistoryLoad
{
public:
    explicit HistoryLoad(const QString &path);
    HistoryLoad(const HistoryLoad &) = delete;
    HistoryLoad &operator=(const HistoryLoad &) = delete;

    // Waits for the read and hands over the history read; Status tells how it went. Rethrows what the
    // read threw. Once only.
    std::unique_ptr<PlayHistory> take(PlayHistory::LoadStatus &status);

private:
    std::unique_ptr<PlayHistory> m_history;
    std::future<PlayHistory::LoadStatus> m_status;
};

} // namespace Lanvo
