#include "AsciiSetIndex.h"

#include <QHashFunctions>

namespace Lanvo {

namespace {

constexpr size_t Prime = 0x100000001b3ull;

// FNV-1a over the character codes, started from the process's random seed as Qt's own tables are,
// then mixed so that the low 32 bits the table keeps depend on every byte.
template<typename Characters, typename CodeOf>
size_t hashCharacters(const Characters &characters, CodeOf codeOf)
{
    size_t hash = 0xcbf29ce484222325ull ^ QHashSeed::globalSeed();
    for (const auto c : characters)
        hash = (hash ^ codeOf(c)) * Prime;
    hash ^= hash >> 29;
    hash *= 0xbf58476d1ce4e5b9ull;
    return hash ^ (hash >> 32);
}

} // namespace

size_t AsciiSetIndex::hashOf(QByteArrayView ascii)
{
    return hashCharacters(ascii, [](char c) { return size_t(static_cast<unsigned char>(c)); });
}

size_t AsciiSetIndex::hashOf(QStringView ascii)
{
    return hashCharacters(ascii, [](QChar c) { return size_t(c.unicode()); });
}

void AsciiSetIndex::clear()
{
    m_slots = {};
    m_count = 0;
}

void AsciiSetIndex::reserve(qsizetype count)
{
    size_t wanted = 16;
    while (wanted < size_t(count) * 2)
        wanted *= 2;
    if (wanted <= m_slots.size())
        return;
    std::vector<Slot> old(wanted);
    old.swap(m_slots);
    m_count = 0;
    for (const Slot &slot : old)
        if (slot.Number != None)
            insert(slot.Check, slot.Number);
}

void AsciiSetIndex::insert(size_t hash, quint32 number)
{
    if (size_t(m_count + 1) * 2 > m_slots.size())
        grow();
    size_t at = hash & mask();
    while (m_slots[at].Number != None)
        at = (at + 1) & mask();
    m_slots[at] = {checkOf(hash), number};
    ++m_count;
}

void AsciiSetIndex::grow()
{
    reserve(m_count + 1 > 8 ? (m_count + 1) * 2 : 8);
}

} // namespace Lanvo
