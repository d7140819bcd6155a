#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace Lanvo::Test {

// One run of the stand-in emulator, as its log records it.
struct StandInRun
{
    QStringList Arguments;
    QString CurrentDirectory;
    QString Byte18;
    QString Byte19;
    QStringList Shots;
};

QList<StandInRun> readStandInLog(const QString &workDirectory);

// Copies the built stand-in into Directory as corvane.exe.
void installStandIn(const QString &standInPath, const QString &directory);

struct ZipEntry
{
    QByteArray Name;
    QByteArray Data;
    bool SymbolicLink = false;
};

// Writes a zip archive holding the entries, names stored as given.
void writeZip(const QString &path, const QList<ZipEntry> &entries);

} // namespace Lanvo::Test
