// The time from process start to the main window's first paint, for Lanvo with 148 and with 50,000
// games, against a bare main window (menu bar, tree view, status bar) built by the same program, empty
// and, for context, holding the same games as plain rows. Each start is a new process of this program;
// the child exits as soon as its first frame is painted.
#include "BenchTiming.h"
#include "BenchPrompts.h"
#include "BuiltInCatalogue.h"
#include "GamesFile.h"
#include "Interfaces.h"
#include "LanvoDialogs.h"
#include "Main.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace Lanvo;
using Lanvo::Bench::median;
using Lanvo::Bench::SilentPrompts;

namespace {

// Milliseconds from main() to the end of each phase of a child's start, printed after the total.
std::vector<std::pair<const char *, double>> phases;

void phaseDone(const char *name, const QElapsedTimer &sinceMain)
{
    phases.emplace_back(name, double(sinceMain.nsecsElapsed()) / 1e6);
}

// The clock both parent and child read, so that the parent can place the child's first paint on its own
// time line without counting the child's exit.
long long monotonicNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Ends the process right after the first frame of Window was painted: a zero timer set at the first
// paint event fires once the whole frame has been drawn.
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget *window, const QElapsedTimer &sinceMain)
        : m_window(window)
        , m_sinceMain(sinceMain)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window() == m_window) {
            m_seen = true;
            phaseDone("expose", m_sinceMain);
            QTimer::singleShot(0, [this] {
                std::printf("%.2f %lld", double(m_sinceMain.nsecsElapsed()) / 1e6, monotonicNanoseconds());
                for (const auto &[name, at] : phases)
                    std::printf(" %s=%.2f", name, at);
                std::printf("\n");
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    QWidget *m_window;
    const QElapsedTimer &m_sinceMain;
    bool m_seen = false;
};

// The bare window's rows: name, year, type and maker of each line of a start directory's games file.
void fillBareRows(QStandardItemModel &model, const QString &startDirectory)
{
    QFile file(startDirectory + QStringLiteral("/lanvo/GAMES.CSV"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(';');
        if (fields.size() < 4)
            continue;
        QList<QStandardItem *> row;
        for (const int field : {0, 1, 3, 2})
            row << new QStandardItem(QString::fromUtf8(fields.at(field).trimmed()));
        model.appendRow(row);
    }
}

// With a start directory, the bare window also holds its games as plain rows.
int runBareWindow(const QElapsedTimer &sinceMain, const QString &rowsFrom)
{
    phaseDone("application", sinceMain);
    QMainWindow window;
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("File"));
    file->addAction(QStringLiteral("E&xit"));
    window.menuBar()->addMenu(QStringLiteral("View"))->addAction(QStringLiteral("&Refresh list"));
    auto *view = new QTreeView(&window);
    auto *model = new QStandardItemModel(0, 4, view);
    model->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Year"), QStringLiteral("Type"),
                                      QStringLiteral("Manufacturer")});
    if (!rowsFrom.isEmpty())
        fillBareRows(*model, rowsFrom);
    view->setModel(model);
    view->setRootIsDecorated(false);
    window.setCentralWidget(view);
    window.statusBar()->showMessage(QStringLiteral("0 games"));
    window.resize(800, 600);
    phaseDone("main-window", sinceMain);
    const FirstPaint watch(&window, sinceMain);
    window.show();
    phaseDone("show", sinceMain);
    return QApplication::exec();
}

int runLanvo(const QString &startDirectory, const QElapsedTimer &sinceMain)
{
    SilentPrompts prompts;
    QDir::setCurrent(startDirectory);
    // As the program's entry does it: the main window, then the two dialogs after its first frame.
    phaseDone("application", sinceMain);
    const auto window = std::make_unique<TF_Lanvo>(LanvoWindowSetup{startDirectory, &prompts, {}});
    phaseDone("main-window", sinceMain);
    F_Lanvo = window.get();
    if (window->startupOutcome().EndProgram)
        return 1;
    const LanvoDialogs dialogs(*window);
    const FirstPaint watch(window.get(), sinceMain);
    window->show();
    phaseDone("show", sinceMain);
    return QApplication::exec();
}

// A start directory whose settings are current, with Games games and every third ROM set present.
void makeStartDirectory(const QString &root, int games)
{
    QDir().mkpath(root + QStringLiteral("/lanvo"));
    QFile ini(root + QStringLiteral("/Lanvo.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Lanvo]\r\nVersion=1.61\r\nLeft=0\r\nTop=0\r\nWidth=800\r\nHeigh=600\r\n");
    QFile emulator(root + QStringLiteral("/corvane.exe"));
    emulator.open(QIODevice::WriteOnly);
    emulator.write("MZ");
    QList<QByteArray> lines;
    if (games == 148) {
        FillDefaultGames(lines);
    } else {
        for (int i = 0; i < games; ++i)
            lines << "Game number " + QByteArray::number(i) + ";" + QByteArray::number(1980 + i % 25)
                         + ";Maker " + QByteArray::number(i % 97) + ";Sport;set" + QByteArray::number(i);
    }
    QFile file(root + QStringLiteral("/lanvo/GAMES.CSV"));
    file.open(QIODevice::WriteOnly);
    file.write(joinGamesFileLines(lines));
    for (qsizetype i = 0; i < lines.size(); i += 3) {
        const QByteArray romSet = lines.at(i).split(';').value(4).trimmed();
        if (!romSet.isEmpty())
            QDir().mkpath(root + QLatin1Char('/') + QString::fromLatin1(romSet));
    }
}

struct Start
{
    double Total = 0;     // process start to the end of the first paint, on the parent's clock
    double InProcess = 0; // main() to first paint, as the child reports it
    QList<QByteArray> Phases; // the child's phases, "name=ms" from main()
};

// A child of Program, by default this program.
Start startChild(const QStringList &arguments, const QString &program = QCoreApplication::applicationFilePath())
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const long long started = monotonicNanoseconds();
    child.start(program, arguments);
    child.waitForFinished(120000);
    const long long ended = monotonicNanoseconds();
    const QList<QByteArray> report = child.readAllStandardOutput().trimmed().split(' ');
    // A child that painted nothing reports no time: its start counts until it ended rather than as a
    // meaningless negative time.
    const long long paintedAt = report.size() > 1 ? report.at(1).toLongLong() : ended;
    const double painted = double(paintedAt - started) / 1e6;
    return {painted, report.value(0).toDouble(), report.mid(2)};
}

// How long each phase of the children's starts took, its samples in the order the phases came. After
// "show", "expose" runs until the window's first paint event (the display maps the window, Qt creates
// its backing store and lays it out), and the last, "first-frame", until the end of that frame's paint.
class PhaseDurations
{
public:
    void add(const Start &start)
    {
        if (start.Phases.isEmpty())
            return; // a child that painted nothing has no phases to count
        double previous = 0;
        for (const QByteArray &phase : start.Phases) {
            const qsizetype equals = phase.indexOf('=');
            const double at = phase.mid(equals + 1).toDouble();
            samplesOf(phase.left(equals)).push_back(at - previous);
            previous = at;
        }
        samplesOf("first-frame").push_back(start.InProcess - previous);
    }

    QByteArray medians() const
    {
        QByteArray text;
        for (const auto &[name, samples] : m_phases)
            text += ' ' + name + '=' + QByteArray::number(median(samples), 'f', 2);
        return text;
    }

private:
    std::vector<double> &samplesOf(const QByteArray &name)
    {
        for (auto &[known, samples] : m_phases)
            if (known == name)
                return samples;
        return m_phases.emplace_back(name, std::vector<double>{}).second;
    }

    std::vector<std::pair<QByteArray, std::vector<double>>> m_phases;
};

void compare(int games, int repetitions)
{
    const QTemporaryDir dir;
    makeStartDirectory(dir.path(), games);
    std::vector<double> bare, lanvo, bareIn, lanvoIn, bareRows;
    PhaseDurations lanvoPhases, barePhases, bareRowsPhases;
    for (int r = 0; r < repetitions; ++r) {
        const Start b = startChild({QStringLiteral("--child"), QStringLiteral("bare")});
        const Start l = startChild({QStringLiteral("--child"), QStringLiteral("lanvo"), dir.path()});
        const Start withRows = startChild({QStringLiteral("--child"), QStringLiteral("bare"), dir.path()});
        bareRows.push_back(withRows.Total);
        bare.push_back(b.Total);
        bareIn.push_back(b.InProcess);
        lanvo.push_back(l.Total);
        lanvoIn.push_back(l.InProcess);
        lanvoPhases.add(l);
        barePhases.add(b);
        bareRowsPhases.add(withRows);
    }
    std::printf("%6d games: to first paint, median of %d: Lanvo %7.1f ms (%7.1f from main) | bare window "
                "%7.1f ms (%7.1f from main) | ratio %.2f\n",
                games, repetitions, median(lanvo), median(lanvoIn), median(bare), median(bareIn),
                median(lanvo) / median(bare));
    std::printf("%6d games: against a bare window holding the same rows as plain items: %7.1f ms | ratio %.2f\n",
                games, median(bareRows), median(lanvo) / median(bareRows));
    std::printf("%6d games: median length of each phase, ms: Lanvo%s | bare%s | bare with the same rows%s\n",
                games, lanvoPhases.medians().constData(), barePhases.medians().constData(),
                bareRowsPhases.medians().constData());
}

// The first and third quartiles and the median, for a spread the reader can judge a difference by.
QByteArray quartiles(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const auto at = [&values](size_t quarter) { return values.empty() ? 0 : values[values.size() * quarter / 4]; };
    return QByteArray::number(at(1), 'f', 1) + " / " + QByteArray::number(at(2), 'f', 1) + " / "
           + QByteArray::number(at(3), 'f', 1);
}

// This build's start with 50,000 games against another build's, started in turn with a bare window so
// that a load that comes and goes weighs on all three alike: on a busy machine the medians of a few
// starts each can't tell a change of a few percent.
void compareBuilds(const QString &other, int starts)
{
    const QTemporaryDir dir;
    makeStartDirectory(dir.path(), 50000);
    std::vector<double> mine, theirs, bare;
    for (int r = 0; r < starts; ++r) {
        mine.push_back(startChild({QStringLiteral("--child"), QStringLiteral("lanvo"), dir.path()}).Total);
        theirs.push_back(startChild({QStringLiteral("--child"), QStringLiteral("lanvo"), dir.path()}, other).Total);
        bare.push_back(startChild({QStringLiteral("--child"), QStringLiteral("bare")}).Total);
    }
    std::printf("50000 games, %d starts each, first quartile / median / third quartile, ms:\n", starts);
    std::printf("  this build  %s | ratio to bare %.3f\n", quartiles(mine).constData(), median(mine) / median(bare));
    std::printf("  other build %s | ratio to bare %.3f\n", quartiles(theirs).constData(),
                median(theirs) / median(bare));
    std::printf("  bare window %s\n", quartiles(bare).constData());
    std::printf("  this build / other build: %.3f\n", median(mine) / median(theirs));
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    phaseDone("application-object", sinceMain);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() >= 3 && arguments.at(1) == QLatin1String("--child")) {
        if (arguments.at(2) == QLatin1String("bare"))
            return runBareWindow(sinceMain, arguments.value(3));
        return runLanvo(arguments.value(3), sinceMain);
    }
    // Against another build of this program: bench_startup --against OTHER [STARTS].
    if (arguments.size() >= 3 && arguments.at(1) == QLatin1String("--against")) {
        compareBuilds(arguments.at(2), arguments.size() >= 4 ? arguments.at(3).toInt() : 40);
        return 0;
    }
    // For profiling one start by hand: bench_startup --prepare DIR GAMES, then --child lanvo DIR.
    if (arguments.size() >= 4 && arguments.at(1) == QLatin1String("--prepare")) {
        makeStartDirectory(arguments.at(2), arguments.at(3).toInt());
        return 0;
    }
    std::printf("bench_startup: process start to the main window's first paint (platform %s)\n",
                qPrintable(QGuiApplication::platformName()));
    compare(148, 31);
    compare(50000, 7);
    return 0;
}
