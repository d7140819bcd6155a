#pragma once

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace Lanvo::Test {

// Makes the test process the reaper of orphans started below it, so that what a killed process left
// running is seen, and reaped, by the test rather than by the system's first process.
void adoptOrphans();

// Every process below Pid, its children first, found through /proc.
QList<qint64> descendantsOf(qint64 pid);

// True once the process has ended; reaps it when it is the test's own child.
bool processGone(qint64 pid);
bool allGone(const QList<qint64> &pids);

// The process id a program wrote into File, or 0 while the file is not complete.
qint64 pidInFile(const QString &file);

// Starts this test program again with Arguments, for a helper mode of its own main; true once it runs.
bool startSelf(QProcess &process, const QStringList &arguments);

} // namespace Lanvo::Test
