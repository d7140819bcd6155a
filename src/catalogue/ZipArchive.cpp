#include "ZipArchive.h"

#include "FilesUtils.h"
#include "Interfaces.h"
#include "LanvoError.h"
#include "Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <zip.h>

#include <sys/stat.h>

#include <memory>

namespace Lanvo {

namespace {

struct ArchiveCloser
{
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
struct EntryCloser
{
    void operator()(zip_file_t *entry) const { zip_fclose(entry); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;
using Entry = std::unique_ptr<zip_file_t, EntryCloser>;

const QString ReadErrorText = QStringLiteral("Error reading Zip File");

void tell(IPrompts *prompts, const QString &text)
{
    if (prompts)
        prompts->showMessage(PromptKind::Plain, text, PromptButtons::Ok);
}

// The entry's name without any stored directory; separators of both systems count.
QString bareName(const char *stored)
{
    const QString name = QString::fromUtf8(stored ? stored : "");
    const qsizetype cut = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    return name.mid(cut + 1);
}

bool isSymbolicLink(zip_t *archive, zip_uint64_t index)
{
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0)
        return false;
    return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

// Empty when the file is no zip at all (no entry headers to be found); a zip that can't be read
// throws.
Archive openArchive(const QString &path)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive && error != ZIP_ER_NOZIP)
        throw LanvoError(ReadErrorText);
    return Archive(archive);
}

enum class Inflated { Complete, TooLarge };

// Copies the entry's data into Out, stopping at its declared size or the cap.
Inflated inflateEntry(zip_t *archive, zip_uint64_t index, zip_uint64_t declared, qint64 cap, QFile &out)
{
    const Entry entry(zip_fopen_index(archive, index, 0));
    if (!entry)
        throw LanvoError(ReadErrorText);
    const qint64 limit = qint64(std::min<zip_uint64_t>(declared, zip_uint64_t(cap)));
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(entry.get(), buffer.data(), zip_uint64_t(buffer.size()));
        if (got < 0)
            throw LanvoError(ReadErrorText);
        if (got == 0)
            return Inflated::Complete;
        total += got;
        if (total > limit)
            return Inflated::TooLarge;
        if (out.write(buffer.constData(), got) != got)
            throw LanvoError(createErrorText(out.fileName()));
    }
}

// Extracts one entry; false when it was skipped.
bool extractEntry(zip_t *archive, zip_uint64_t index, const QString &dir, qint64 cap, IPrompts *prompts)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0)
        throw LanvoError(ReadErrorText);
    const QString name = bareName(stat.name);
    if (!isPlainFileName(name) || isSymbolicLink(archive, index))
        return false;
    const QString target = containedPath(dir, name);
    // NewOnly creates exclusively: an existing file, or a link of that name, is never written through.
    QFile out(target);
    if (QFileInfo(target).isSymLink() || QFileInfo::exists(target) || !out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    try {
        const zip_uint64_t declared = (stat.valid & ZIP_STAT_SIZE) ? stat.size : zip_uint64_t(cap);
        if (inflateEntry(archive, index, declared, cap, out) == Inflated::Complete)
            return true;
        out.remove();
        tell(prompts, QStringLiteral("The zip entry %1 is larger than it declares or than %2 bytes; it was not "
                                     "extracted.")
                          .arg(QString::fromUtf8(stat.name))
                          .arg(cap));
        return false;
    } catch (const LanvoError &) {
        out.remove(); // no half-written file is left behind
        throw;
    }
}

// Reports an archive that is missing or holds no entry and returns; throws when it can't be read.
void extractEntries(const QString &archivePath, const QString &dir, IPrompts *prompts, qint64 entryCap)
{
    if (!fileExists(archivePath)) {
        tell(prompts, QStringLiteral("Error - no zip file specified"));
        return;
    }
    const Archive archive = openArchive(archivePath);
    const zip_int64_t count = archive ? zip_get_num_entries(archive.get(), 0) : 0;
    if (count <= 0) {
        tell(prompts, QStringLiteral("No valid zip entries found 1"));
        return;
    }
    for (zip_int64_t i = 0; i < count; ++i)
        extractEntry(archive.get(), zip_uint64_t(i), dir, entryCap, prompts);
}

} // namespace

void ExtractArchive(const QString &archivePath, const QString &dir, IPrompts *prompts, qint64 entryCap)
{
    QDir::setCurrent(dir);
    extractEntries(archivePath, dir, prompts, entryCap);
    ClearAttributes(dir); // also after a reported failure: the run goes on with what Dir holds
}

void ClearAttributes(const QString &dir)
{
    const QFileInfoList files = QDir(dir).entryInfoList(QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo &file : files)
        makeWritableByOwner(file.absoluteFilePath());
}

} // namespace Lanvo
