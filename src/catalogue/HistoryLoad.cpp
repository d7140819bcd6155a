#include "HistoryLoad.h"

#include <system_error>

namespace Lanvo {

HistoryLoad::HistoryLoad(const QString &path)
    : m_history(std::make_unique<PlayHistory>())
{
    const auto read = [history = m_history.get(), path] { return history->load(path); };
    try {
        m_status = std::async(std::launch::async, read);
    } catch (const std::system_error &) {
        m_status = std::async(std::launch::deferred, read); // no thread to be had: read when taken
    }
}

std::unique_ptr<PlayHistory> HistoryLoad::take(PlayHistory::LoadStatus &status)
{
    status = m_status.get();
    return std::move(m_history);
}

} // namespace Lanvo
