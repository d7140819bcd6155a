#include "TestFakes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

namespace Lanvo::Test {

int FakeListRows::findCaption(const QString &caption) const
{
    for (int i = 0; i < rowCount(); ++i) {
        if (rowCaption(i).compare(caption, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QStringList FakeListRows::subItems(int row) const
{
    QStringList texts;
    for (int column = 1; column <= 5; ++column)
        texts << text(row, column);
    return texts;
}

bool FakePicture::loadFile(const QString &path)
{
    Loaded << path;
    if (path.endsWith(".pcx") || readFile(path) == "damaged")
        return false;
    Shown = path;
    return true;
}

PromptAnswer RecordingPrompts::showMessage(PromptKind kind, const QString &text, PromptButtons buttons)
{
    Messages.append({kind, text, buttons});
    if (!Answers.empty()) {
        const PromptAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    switch (buttons) {
    case PromptButtons::AbortRetryIgnore:
        return PromptAnswer::Ignore;
    case PromptButtons::YesNo:
        return PromptAnswer::Yes;
    case PromptButtons::Ok:
        break;
    }
    return PromptAnswer::Ok;
}

QStringList RecordingPrompts::texts() const
{
    QStringList result;
    for (const Message &message : Messages)
        result.append(message.Text);
    return result;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        QFAIL(qPrintable(QStringLiteral("cannot write test file %1").arg(path)));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void makeDirectory(const QString &path)
{
    QVERIFY(QDir().mkpath(path));
}

void addSpecialFileRows()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"fifo", "directory", "link to /dev/zero", "dangling link"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void makeSpecialFile(const QString &path, const QString &kind)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    else if (kind == QLatin1String("directory"))
        QVERIFY(QDir().mkdir(path));
    else if (kind == QLatin1String("link to /dev/zero"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else
        QVERIFY(QFile::link(path + QStringLiteral(".nowhere"), path));
}

} // namespace Lanvo::Test
