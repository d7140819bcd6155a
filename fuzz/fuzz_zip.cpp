// Zip extraction: the bytes become an archive extracted into a fresh directory. Afterwards nothing
// may exist outside that directory, no link may have been created, no file may exceed the cap, and a
// failure must be the reading error, never anything else.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "LanvoError.h"
#include "ZipArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>

namespace {

using namespace Lanvo;

constexpr qint64 Cap = 1 << 20;

const QString &root()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        FUZZ_CHECK(dir.isValid());
        return dir.path();
    }();
    return path;
}


// Whatever the extraction left: only plain files within the cap, directly in Out.
void checkExtraction(const QString &out)
{
    QDirIterator it(out, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        FUZZ_CHECK(!entry.isSymLink());
        FUZZ_CHECK(entry.isFile());
        FUZZ_CHECK(entry.absolutePath() == out);
        FUZZ_CHECK(entry.size() <= Cap);
    }
    const QStringList rootEntries =
        QDir(root()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    FUZZ_CHECK(rootEntries == (QStringList{QStringLiteral("archive.zip"), QStringLiteral("out")}));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString archive = root() + QStringLiteral("/archive.zip");
    const QString out = root() + QStringLiteral("/out");
    writeBytes(archive, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    QDir(out).removeRecursively();
    FUZZ_CHECK(QDir().mkpath(out));
    try {
        ExtractArchive(archive, out, nullptr, Cap);
    } catch (const LanvoError &error) {
        FUZZ_CHECK(error.message() == QStringLiteral("Error reading Zip File"));
    }
    checkExtraction(out);
    QDir::setCurrent(root());
    return 0;
}
