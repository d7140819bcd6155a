#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <vector>

namespace Lanvo {

// Numbers of ROM sets found by their names' text, or, for ASCII names, by their bytes, without making
// a copy.
// Each slot keeps the hash's low 32 bits beside the number, so a look-up reads the names it compares
// only when those agree: the slots lie together in 8 bytes each, the names are spread over the file.
class AsciiSetIndex
{
public:
    static constexpr quint32 None = 0xFFFFFFFFu;

    void clear();
    void reserve(qsizetype count);

    // The same hash for a name's bytes and for its text when every character is ASCII.
    static size_t hashOf(QByteArrayView ascii);
    static size_t hashOf(QStringView ascii);

    // The number of the first entry with this hash for which Matches(number) holds, or None.
    template<typename Matches>
    quint32 find(size_t hash, Matches matches) const
    {
        if (m_slots.empty())
            return None;
        const quint32 check = checkOf(hash);
        for (size_t at = hash & mask();; at = (at + 1) & mask()) {
            const Slot &slot = m_slots[at];
            if (slot.Number == None)
                return None;
            if (slot.Check == check && matches(slot.Number))
                return slot.Number;
        }
    }
    // Asks for the slot a look-up of Hash starts at, so that it is in the cache when the look-up comes.
    void prefetch(size_t hash) const
    {
        if (!m_slots.empty())
            __builtin_prefetch(&m_slots[hash & mask()]);
    }
    // Adds Number under Hash; the caller has made sure no entry matches it.
    void insert(size_t hash, quint32 number);

private:
    struct Slot
    {
        quint32 Check = 0;
        quint32 Number = None;
    };

    static quint32 checkOf(size_t hash) { return static_cast<quint32>(hash); }
    size_t mask() const { return m_slots.size() - 1; }
    void grow();

    std::vector<Slot> m_slots; // a power of two, at most 2^32, never more than half full
    qsizetype m_count = 0;
};

} // namespace Lanvo
