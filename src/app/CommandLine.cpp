#include "CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

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

// Empty when the folder is now the current directory, else why it is not.
QString enterFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("no such folder");
    if (!info.isDir())
        return QStringLiteral("not a folder");
    if (!QDir::setCurrent(info.absoluteFilePath()))
        return QStringLiteral("the folder can't be entered");
    return {};
}

} // namespace

QStringList ArgumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
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
            err << ProgramName << ": cannot start in \"" << folders.constFirst() << "\": " << problem << '\n';
            err.flush();
            commandLine.ExitCode = UsageErrorExitCode;
        }
        return commandLine;   // a named folder wins over the menu's choice
    }
    if (parser.isSet(chooseFolder))
        commandLine.FolderChoice = TCommandLine::TFolderChoice::AskAgain;
    else if (parser.isSet(lastFolder))
        commandLine.FolderChoice = TCommandLine::TFolderChoice::LastChosen;
    return commandLine;
}

} // namespace Lanvo
