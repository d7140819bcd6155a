#include "DosboxVersion.h"

#include "Platform.h"
#include "TextDecoding.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace Lanvo {

namespace {

// More than any version banner; a program that prints on is not read further.
constexpr qsizetype MaxOutput = 4096;
constexpr qsizetype MaxVersionLength = 100;

QProcessEnvironment probeEnvironment()
{
    // A build that opens its window before it reads its arguments opens none.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SDL_VIDEODRIVER"), QStringLiteral("dummy"));
    environment.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    return environment;
}

} // namespace

QString dosboxVersionLine(const QByteArray &output)
{
    for (const QByteArray &line : output.split('\n')) {
        QByteArray text = line.trimmed();
        if (text.isEmpty())
            continue;
        const qsizetype copyright = text.indexOf(", copyright");
        if (copyright >= 0)
            text.truncate(copyright);
        QString version = displayText(text.left(MaxVersionLength));
        for (QChar &c : version) {
            if (c.category() == QChar::Other_Control)
                c = QLatin1Char(' ');
        }
        return version;
    }
    return {};
}

DosboxVersionProbe::DosboxVersionProbe(QObject *parent)
    : QObject(parent)
{
    m_timeLimit.setSingleShot(true);
    connect(&m_timeLimit, &QTimer::timeout, this, &DosboxVersionProbe::finish);
}

// A program still asked ends with the probe: killed, it is gone at once.
DosboxVersionProbe::~DosboxVersionProbe()
{
    stop();
    for (QProcess *process : findChildren<QProcess *>()) {
        process->kill();
        process->waitForFinished();
    }
}

void DosboxVersionProbe::start(const QString &program, std::chrono::milliseconds timeLimit)
{
    stop();
    m_output.clear();
    // Found as the run finds it, so that the page names the program a game would start.
    m_path = findHelperProgram(program);
    if (m_path.isEmpty()) {
        m_timeLimit.start(0); // answered from the event loop, as after a run
        return;
    }
    m_process = new QProcess(this);
    m_process->setProgram(m_path);
    m_process->setArguments({QStringLiteral("-version")});
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setProcessEnvironment(probeEnvironment());
    connect(m_process, &QProcess::readyRead, this, [this] {
        const QByteArray read = m_process->readAll();
        m_output += read.left(MaxOutput - m_output.size());
    });
    connect(m_process, &QProcess::finished, this, &DosboxVersionProbe::finish);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish();
    });
    m_timeLimit.start(timeLimit);
    m_process->start();
}

void DosboxVersionProbe::finish()
{
    m_timeLimit.stop();
    if (m_process)
        m_output += m_process->readAll().left(MaxOutput - m_output.size());
    stop();
    Q_EMIT answered(m_path, dosboxVersionLine(m_output));
}

// Also called from the process's own signals: it is killed now and deleted once it has ended, so
// that nothing waits for it.
void DosboxVersionProbe::stop()
{
    m_timeLimit.stop();
    if (!m_process)
        return;
    QProcess *process = m_process;
    m_process = nullptr;
    process->disconnect(this);
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->kill();
}

} // namespace Lanvo
