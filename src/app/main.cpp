#include "CommandLine.h"
#include "DosboxLinks.h"
#include "LanvoDialogs.h"
#include "Main.h"
#include "Platform.h"
#include "QtPrompts.h"
#include "ShutdownOnSignal.h"
#include "StartFolder.h"
#include "Texts.h"

#include <QApplication>
#include <QTextStream>

#include <memory>

int main(int argc, char *argv[])
{
    using namespace Lanvo;

    // Before any thread starts: no program the toolkit starts is looked for in the current folder.
    dropRelativeSearchFolders();

    QTextStream out(stdout), err(stderr);
    const TCommandLine commandLine = ReadCommandLine(ArgumentsOf(argc, argv), out, err);
    if (commandLine.ExitCode)
        return *commandLine.ExitCode;

    QApplication app(argc, argv);
    QApplication::setApplicationName(Texts::ApplicationTitle);
    QGuiApplication::setDesktopFileName(QStringLiteral(LANVO_APP_ID));
    QtPrompts startPrompts;
    TStartFolder startFolder(DefaultStartFolderSettings(), ChooseFolderWithDialog, startPrompts);
    startFolder.setRefusalNotice(ShowStartFolderNotice);
    if (!startFolder.enter(commandLine.FolderChoice))
        return 0;
    // The menu's start may stay in, or be led to, a folder whose name can't be held.
    if (const QString refusal = currentFolderNameRefusal(); !refusal.isEmpty()) {
        err << refusal << '\n';
        err.flush();
        ShowStartFolderError(refusal);
        return UsageErrorExitCode;
    }

    // What DOSBox runs of a Lanvo that was killed left behind.
    DosboxLinks::removeStale();

    // The three windows live from start to end, created in this order.
    const auto mainWindow = std::make_unique<TF_Lanvo>();
    F_Lanvo = mainWindow.get();
    if (mainWindow->startupOutcome().EndProgram)
        return mainWindow->startupOutcome().ExitCode;
    // Built after the window's first frame; they live to the end all the same.
    const LanvoDialogs dialogs(*mainWindow);

    // A logout or Ctrl+C ends the program as its close box would (owned by the window).
    new ShutdownOnSignal(mainWindow.get());

    mainWindow->show();
    return QApplication::exec();
}
