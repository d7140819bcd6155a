// The emulator's initialisation file: the bytes become corinit.dat of a work directory, of any
// length; ReadInitFile then WriteInitFile must leave the file as long as it was, touch no byte but
// the region (18) and machine (19) bytes, and write those from what was read.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "Corvane.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

namespace {

using namespace Lanvo;

const QString &workDirectory()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        FUZZ_CHECK(dir.isValid());
        return dir.path();
    }();
    return path;
}



quint8 byteAt(const QByteArray &bytes, qint64 offset)
{
    return static_cast<quint8>(bytes.at(static_cast<qsizetype>(offset)));
}

// Region bytes 0, 1 and 2 are read and written back as they were; any other leaves the
// constructor's region, which is written instead.
void checkRegionByte(const QByteArray &before, const QByteArray &after, TGameLanguage language)
{
    if (before.size() <= TCorvane::LanguageOffset) {
        FUZZ_CHECK(language == glEuropean);
        return;
    }
    const quint8 old = byteAt(before, TCorvane::LanguageOffset);
    FUZZ_CHECK(byteAt(after, TCorvane::LanguageOffset) == languageByte(language));
    if (old <= 2)
        FUZZ_CHECK(byteAt(after, TCorvane::LanguageOffset) == old);
    else
        FUZZ_CHECK(language == glEuropean);
}

// Machine byte 0 is the console and stays 0; anything else is the arcade machine, written as 0x80.
void checkSystemByte(const QByteArray &before, const QByteArray &after, TConsoleType system)
{
    if (before.size() <= TCorvane::SystemOffset) {
        FUZZ_CHECK(system == ctArcade);
        return;
    }
    const quint8 old = byteAt(before, TCorvane::SystemOffset);
    FUZZ_CHECK(system == (old == 0 ? ctConsole : ctArcade));
    FUZZ_CHECK(byteAt(after, TCorvane::SystemOffset) == systemByte(system));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString &work = workDirectory();
    const QByteArray before(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    TCorvane emulator(nullptr, work);
    emulator.WorkDir = work;
    writeBytes(emulator.initFilePath(), before);
    emulator.ReadInitFile();
    emulator.WriteInitFile();
    const QByteArray after = readBytes(emulator.initFilePath());

    FUZZ_CHECK(after.size() == before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (i != TCorvane::LanguageOffset && i != TCorvane::SystemOffset)
            FUZZ_CHECK(after.at(i) == before.at(i));
    }
    checkRegionByte(before, after, emulator.Language);
    checkSystemByte(before, after, emulator.System);
    return 0;
}
