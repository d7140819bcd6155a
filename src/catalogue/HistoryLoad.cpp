#include "HistoryLoad.h"

#include "OnAnotherThread.h"

namespace Lanvo {

HistoryLoad::HistoryLoad(const QString &path)
    : m_history(std::make_unique<PlayHistory>())
    , m_status(onAnotherThread([history = m_history.get(), path] { return history->load(path); }))
{
}

std::unique_ptr<PlayHistory> HistoryLoad::take(PlayHistory::LoadStatus &status)
{
    status = m_status.get();
    return std::move(m_history);
}

} // namespace Lanvo
