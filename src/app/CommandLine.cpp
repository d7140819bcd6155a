#include "CommandLine.h"

#include "TextDecoding.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace Lanvo {

namespace {

const QString ProgramName = QStringLiteral("lanvo");

// Qt's usage line names the program by the path it was started with, and only once an application
// object exists; the help is printed before one does, so the line is our own.
QString helpText(const QCommandLineParser &parser)
{
    const QString text = parser.helpText();
    return QStringLiteral("Usage: %1 [options] [folder]").arg(ProgramName) + text.mid(text.indexOf(QLatin1Char('\n')));
}

int usageError(QTextStream &err, const QString &message)
{
    err << ProgramName << ": " << message << "\nTry '" << ProgramName << " --help' for more information.\n";
    err.flush();
    return UsageErrorExitCode;
}

QByteArray currentFolderBytes()
{
    const std::unique_ptr<char, decltype(&std::free)> path(::getcwd(nullptr, 0), &std::free);
    return path ? QByteArray(path.get()) : QByteArray();
}

QString unholdableText()
{
    return QStringLiteral("its name is not valid UTF-8, the file name encoding Lanvo works with, so Lanvo could "
                          "not reach its files by name; rename the folder");
}

// Empty when the folder is now the current directory, else why it is not. The folder is entered by
// the bytes it was named with, never through a path rebuilt from decoded text.
QString enterFolder(const QString &folder)
{
    const QByteArray name = toFileBytes(folder);
    const QFileInfo info(QFile::decodeName(name));
    if (!holdsFileName(name))
        return unholdableText();
    if (!info.exists())
        return QStringLiteral("no such folder");
    if (!info.isDir())
        return QStringLiteral("not a folder");
    if (::chdir(name.constData()) != 0)
        return QStringLiteral("the folder can't be entered");
    // A folder above it may hold such a name; the program ends at once, so nothing happens there.
    if (!holdsFileName(currentFolderBytes()))
        return unholdableText();
    return {};
}

} // namespace

QStringList ArgumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << fromFileBytes(QByteArray(argv[i])); // a folder named here keeps its exact bytes
    return arguments;
}

QString currentFolderNameRefusal()
{
    const QByteArray folder = currentFolderBytes();
    if (holdsFileName(folder))
        return {};
    return QStringLiteral("Lanvo can't work in the folder %1: %2 and start Lanvo again.")
        .arg(displayText(folder), unholdableText());
}

TCommandLine ReadCommandLine(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lists the games that the Corvane emulator can run, shows which of them are in "
                       "your ROM folders and runs the emulator on the one you choose.\n"
                       "Lanvo works in its start folder: the folder named here, or else the current one."));
    // Our own help option: Qt's would also offer --help-all for the toolkit's options, which are not
    // read here since the command line is read before the toolkit starts.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption lastFolder(
        QStringLiteral("last-folder"),
        QStringLiteral("Start in the Corvane folder chosen last time, or ask for one, unless the current "
                       "folder already holds Lanvo.ini or corvane.exe (the desktop menu starts Lanvo so)."));
    const QCommandLineOption chooseFolder(QStringLiteral("choose-folder"),
                                          QStringLiteral("Ask for the Corvane folder, remember it and start there."));
    parser.addOption(lastFolder);
    parser.addOption(chooseFolder);
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("The folder to start in."),
                                 QStringLiteral("[folder]"));

    TCommandLine commandLine;
    if (!parser.parse(arguments)) {
        commandLine.ExitCode = usageError(err, parser.errorText());
        return commandLine;
    }
    if (parser.isSet(help)) {
        out << helpText(parser);
        out.flush();
        commandLine.ExitCode = 0;
        return commandLine;
    }
    if (parser.isSet(version)) {
        out << ProgramName << ' ' << QStringLiteral(LANVO_VERSION) << '\n';
        out.flush();
        commandLine.ExitCode = 0;
        return commandLine;
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) {
        commandLine.ExitCode = usageError(err, QStringLiteral("only one start folder may be named"));
        return commandLine;
    }
    if (folders.size() == 1) {
        if (const QString problem = enterFolder(folders.constFirst()); !problem.isEmpty()) {
            err << ProgramName << ": cannot start in \"" << displayFileText(folders.constFirst()) << "\": " << problem
                << '\n';
            err.flush();
            commandLine.ExitCode = UsageErrorExitCode;
        }
        return commandLine;   // a named folder wins over the menu's choice
    }
    if (parser.isSet(chooseFolder))
        commandLine.FolderChoice = TCommandLine::TFolderChoice::AskAgain;
    else if (parser.isSet(lastFolder))
        commandLine.FolderChoice = TCommandLine::TFolderChoice::LastChosen;
    else if (const QByteArray current = currentFolderBytes(); !holdsFileName(current)) {
        err << ProgramName << ": cannot start in \"" << displayText(current) << "\": " << unholdableText() << '\n';
        err.flush();
        commandLine.ExitCode = UsageErrorExitCode;
    }
    return commandLine;
}

} // namespace Lanvo
