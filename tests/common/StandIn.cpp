#include "StandIn.h"

#include "TestFakes.h"

#include <QFile>
#include <QTest>

#include <zip.h>

#include <sys/stat.h>

namespace Lanvo::Test {

namespace {

void applyLine(StandInRun &run, const QString &line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    const QString key = line.left(equals);
    QString value = line.mid(equals + 1);
    if (key == "arg")
        run.Arguments << value.replace("\\n", "\n");
    else if (key == "cwd")
        run.CurrentDirectory = value;
    else if (key == "byte18")
        run.Byte18 = value;
    else if (key == "byte19")
        run.Byte19 = value;
    else if (key == "shots")
        run.Shots = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

} // namespace

QList<StandInRun> readStandInLog(const QString &workDirectory)
{
    QList<StandInRun> runs;
    const QString text = QString::fromUtf8(readFile(workDirectory + "/corvane.log"));
    StandInRun current;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line == "run")
            current = StandInRun();
        else if (line == "end")
            runs << current;
        else if (!line.isEmpty())
            applyLine(current, line);
    }
    return runs;
}

void installStandIn(const QString &standInPath, const QString &directory)
{
    const QString target = directory + "/corvane.exe";
    QFile::remove(target);
    QVERIFY(QFile::copy(standInPath, target));
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void writeZip(const QString &path, const QList<ZipEntry> &entries)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    QVERIFY(archive);
    for (const ZipEntry &entry : entries) {
        // libzip reads the data when the archive is closed, so each source owns a copy of the bytes;
        // an empty entry gets no buffer at all (libzip would never free one of length 0).
        void *copy = nullptr;
        if (!entry.Data.isEmpty()) {
            copy = malloc(size_t(entry.Data.size()));
            memcpy(copy, entry.Data.constData(), size_t(entry.Data.size()));
        }
        zip_source_t *source = zip_source_buffer(archive, copy, zip_uint64_t(entry.Data.size()), copy ? 1 : 0);
        const zip_int64_t index = zip_file_add(archive, entry.Name.constData(), source, ZIP_FL_ENC_UTF_8);
        QVERIFY(index >= 0);
        if (entry.SymbolicLink)
            zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                             zip_uint32_t(S_IFLNK | 0777) << 16);
    }
    QCOMPARE(zip_close(archive), 0);
}

} // namespace Lanvo::Test
