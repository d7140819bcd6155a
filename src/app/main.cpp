#include "Main.h"
#include "ShutdownOnSignal.h"
#include "U_About.h"
#include "U_options.h"
#include "U_textes_An.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    using namespace Lanvo;

    QApplication app(argc, argv);
    QApplication::setApplicationName(Texts::ApplicationTitle);

    // The three windows live from start to end, created in this order.
    const auto mainWindow = std::make_unique<TF_Lanvo>();
    F_Lanvo = mainWindow.get();
    if (mainWindow->startupOutcome().EndProgram)
        return mainWindow->startupOutcome().ExitCode;
    const auto about = std::make_unique<TF_About>(mainWindow.get());
    F_About = about.get();
    const auto options = std::make_unique<TF_Options>(mainWindow.get());
    F_Options = options.get();

    // A logout or Ctrl+C ends the program as its close box would (owned by the window).
    new ShutdownOnSignal(mainWindow.get());

    mainWindow->show();
    return QApplication::exec();
}
