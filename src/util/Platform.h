#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace Lanvo {

// Splits a command line into words by the rules Windows programs use: blanks separate words, double
// quotes group, 2n backslashes before a quote give n backslashes and a grouping quote, 2n+1 give n and a
// literal quote, and "" inside a quoted part gives a literal quote. No shell ever sees the line.
QStringList splitWindowsCommandLine(const QString &commandLine);

// Quotes a word so that splitWindowsCommandLine gives it back whole; a word without blanks or quotes
// is returned as it is.
QString quoteWindowsArgument(const QString &word);

// What a file found by findProgram must be to count as the program.
using ProgramTest = std::function<bool(const QString &path)>;
bool isExecutableFile(const QString &path);

// Finds a program the way the emulator is looked for: a name with a separator is taken as it is;
// otherwise the program's own directory, then the current directory, then PATH, each time whatever
// the letter case of the name on disk (the exact spelling first). Only a file that passes Test counts
// (by default an executable file). Empty when not found.
QString findProgram(const QString &name, const QString &ownDirectory, const ProgramTest &test = isExecutableFile);

// Finds a helper program Lanvo starts (DOSBox): a path the user set is taken as it is when it is
// absolute; a bare name is looked for, spelt exactly, in the absolute folders of PATH other than the
// current one, so that no file of a game's or the work folder ever runs in its place. Empty when not
// found or not an executable file.
QString findHelperProgram(const QString &name);

// Drops the relative folders from PATH ("." and empty entries name the current folder): Lanvo's
// current folder is the work folder during and after a run, and the helper programs the toolkit
// starts (the desktop's link opener) are looked for on PATH. Called before any thread starts.
void dropRelativeSearchFolders();

// The platform's "reset attributes to normal": the owner may write the file again.
bool makeWritableByOwner(const QString &path);

// What the caller does around a run of another program.
struct RunHooks
{
    std::function<void()> Started;  // the program is running: e.g. minimise the window
    std::function<void()> Finished; // it has ended: restore the window
};

// Starts Program with Arguments in the current directory, with no standard handles inherited, and
// waits for its end while the caller keeps repainting but takes no input. False when it could not be
// started. The exit code is not read.
bool runAndWait(const QString &program, const QStringList &arguments, const RunHooks &hooks);

// Asks the program that runAndWait is waiting for to end: SIGTERM at once, then SIGKILL when it is
// still running after GraceMilliseconds. False when no program is running.
bool endRunningProgram(int graceMilliseconds);
bool isProgramRunning();

} // namespace Lanvo
