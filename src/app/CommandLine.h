#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace Lanvo {

// How the program was asked to start, read before any window exists so that --help, --version and
// a wrong start folder work without a display.
struct TCommandLine
{
    enum class TFolderChoice {
        Current,      // the current directory, as when no folder is named
        LastChosen,   // the desktop menu's start: the folder chosen last time, asked for at the first start
        AskAgain,     // ask for the folder now and remember it
    };

    TFolderChoice FolderChoice = TFolderChoice::Current;
    // Set when the program ends before any window: help or version printed (0), a usage error or a
    // start folder that can't be entered (2).
    std::optional<int> ExitCode;
};

inline constexpr int UsageErrorExitCode = 2;

// Reads the arguments (the program name first). A folder named there becomes the current directory,
// so that everything below starts there exactly as when started inside it. Help and version go to
// out, errors to err.
TCommandLine ReadCommandLine(const QStringList &arguments, QTextStream &out, QTextStream &err);

// The arguments as the program received them: valid UTF-8 as such, other bytes kept as fromFileBytes
// keeps them.
QStringList ArgumentsOf(int argc, char *argv[]);

// Empty when the current folder's name can be held as Qt's file names; otherwise the message that
// refuses to work there (a name read under another one would lead to a sibling folder).
QString currentFolderNameRefusal();

} // namespace Lanvo
