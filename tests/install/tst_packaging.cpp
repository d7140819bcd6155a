// What a user or packager gets: `cmake --install` lays out the program and its desktop files under
// the GNU folders, and the Debian package holds the same, depends on the libraries the program links
// and runs from where it was unpacked with nothing but the system's libraries.
#include "TestFakes.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo::Test;

namespace {

const QString AppId = QStringLiteral(LANVO_APP_ID);
const QString VersionLine = QStringLiteral("lanvo " LANVO_VERSION "\n");

struct Outcome
{
    int ExitCode = -1;
    QString Out;
    QString Err;
};

Outcome run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    Outcome outcome;
    if (!process.waitForFinished(240000) || process.exitStatus() != QProcess::NormalExit)
        outcome.Err = program + QStringLiteral(" did not end normally: ") + process.errorString();
    else
        outcome.ExitCode = process.exitCode();
    outcome.Out = QString::fromLocal8Bit(process.readAllStandardOutput());
    outcome.Err += QString::fromLocal8Bit(process.readAllStandardError());
    return outcome;
}

QStringList filesUnder(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

QList<int> iconSizes()
{
    QList<int> sizes;
    for (const QString &size : QStringLiteral(LANVO_ICON_SIZES).split(QLatin1Char(',')))
        sizes << size.toInt();
    return sizes;
}

QString pngIcon(int size)
{
    return QStringLiteral(INSTALL_DATADIR "/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId);
}

// Everything that is installed, relative to the prefix: nothing of the tests or the tools.
QStringList expectedTree()
{
    QStringList files{QStringLiteral(INSTALL_BINDIR "/lanvo"),
                      QStringLiteral(INSTALL_DATADIR "/applications/") + AppId + ".desktop",
                      QStringLiteral(INSTALL_DATADIR "/metainfo/") + AppId + ".metainfo.xml",
                      QStringLiteral(INSTALL_DATADIR "/icons/hicolor/scalable/apps/") + AppId + ".svg",
                      QStringLiteral(INSTALL_MANDIR "/man1/lanvo.1.gz"),
                      QStringLiteral(INSTALL_DATADIR "/doc/lanvo/copyright"),
                      QStringLiteral(INSTALL_DATADIR "/doc/lanvo/changelog.gz")};
    for (const int size : iconSizes())
        files << pngIcon(size);
    files.sort();
    return files;
}

// The value of a key of the desktop entry's main group.
QString desktopEntryValue(const QString &file, const QString &key)
{
    const QStringList lines = QString::fromUtf8(readFile(file)).split(QLatin1Char('\n'));
    const qsizetype groupStart = lines.indexOf(QStringLiteral("[Desktop Entry]"));
    for (qsizetype i = groupStart + 1; groupStart >= 0 && i < lines.size() && !lines.at(i).startsWith('['); ++i) {
        if (lines.at(i).startsWith(key + '='))
            return lines.at(i).mid(key.size() + 1);
    }
    return {};
}

// A field of the package's control data, from dpkg-deb.
QString controlField(const QString &package, const QString &field)
{
    return run(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), package, field}).Out.trimmed();
}

} // namespace

class TestPackaging : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void installedTree();
    void debianPackage();
};

void TestPackaging::installedTree()
{
    const QTemporaryDir dir;
    const QString prefix = dir.filePath("prefix");
    const Outcome install = run(QStringLiteral(CMAKE_PATH), {"--install", BUILD_DIR, "--prefix", prefix});
    QVERIFY2(install.ExitCode == 0, qPrintable(install.Err));

    QCOMPARE(filesUnder(prefix), expectedTree());
    const QDir root(prefix);
    for (const int size : iconSizes())
        QCOMPARE(QImage(root.filePath(pngIcon(size))).size(), QSize(size, size));

    // The menu entry starts the installed program and shows the installed icon.
    const QString desktopFile = root.filePath(INSTALL_DATADIR "/applications/" + AppId + ".desktop");
    const QString program = desktopEntryValue(desktopFile, "Exec").section(QLatin1Char(' '), 0, 0);
    QCOMPARE(root.filePath(INSTALL_BINDIR "/" + program), root.filePath(INSTALL_BINDIR "/lanvo"));
    QCOMPARE(desktopEntryValue(desktopFile, "Icon"), AppId);

    const Outcome version = run(root.filePath(INSTALL_BINDIR "/lanvo"), {"--version"});
    QCOMPARE(version.ExitCode, 0);
    QCOMPARE(version.Out, VersionLine);

    const Outcome manPage = run(QStringLiteral("gzip"), {"-dc", root.filePath(INSTALL_MANDIR "/man1/lanvo.1.gz")});
    QCOMPARE(manPage.ExitCode, 0);
    QVERIFY(manPage.Out.startsWith(QStringLiteral(".TH LANVO 1 \"\" \"Lanvo " LANVO_VERSION "\"")));

    // The release history names this version first, as Debian's tools read it.
    const Outcome changelog = run(QStringLiteral("gzip"), {"-dc", root.filePath(INSTALL_DATADIR "/doc/lanvo/changelog.gz")});
    QCOMPARE(changelog.ExitCode, 0);
    QVERIFY2(changelog.Out.startsWith(QStringLiteral("lanvo (" LANVO_VERSION ") ")), qPrintable(changelog.Out));
}

void TestPackaging::debianPackage()
{
    const QTemporaryDir dir;
    const Outcome cpack = run(QStringLiteral(CPACK_PATH),
                              {"--config", BUILD_DIR "/CPackConfig.cmake", "-G", "DEB", "-B", dir.filePath("out")});
    QVERIFY2(cpack.ExitCode == 0, qPrintable(cpack.Out + cpack.Err));
    const QStringList packages = QDir(dir.filePath("out")).entryList({"*.deb"}, QDir::Files);
    QCOMPARE(packages.size(), 1);
    const QString package = dir.filePath("out/" + packages.constFirst());
    QVERIFY2(packages.constFirst().startsWith("lanvo_" LANVO_VERSION "_"), qPrintable(packages.constFirst()));

    QCOMPARE(controlField(package, "Package"), QStringLiteral("lanvo"));
    QCOMPARE(controlField(package, "Version"), QStringLiteral(LANVO_VERSION));
    QCOMPARE(controlField(package, "Recommends"), QStringLiteral("dosbox"));
    // Derived from the libraries the program links, each with its version floor.
    const QString depends = controlField(package, "Depends");
    for (const char *library : {"libc6 (", "libqt6core6 (", "libqt6gui6 (", "libqt6widgets6 (", "libzip4 (", "libjpeg62-turbo ("})
        QVERIFY2(depends.contains(QLatin1String(library)), qPrintable(depends));

    const QString unpacked = dir.filePath("root");
    const Outcome extract = run(QStringLiteral("dpkg-deb"), {"-x", package, unpacked});
    QVERIFY2(extract.ExitCode == 0, qPrintable(extract.Err));
    QStringList expected;
    for (const QString &file : expectedTree())
        expected << QStringLiteral("usr/") + file;
    QCOMPARE(filesUnder(unpacked), expected);

    // Run as unpacked, in the environment the test was given.
    const Outcome version = run(unpacked + "/usr/" INSTALL_BINDIR "/lanvo", {"--version"});
    QVERIFY2(version.ExitCode == 0, qPrintable(version.Err));
    QCOMPARE(version.Out, VersionLine);
}

QTEST_GUILESS_MAIN(TestPackaging)
#include "tst_packaging.moc"
