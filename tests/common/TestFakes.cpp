#include "TestFakes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace Lanvo::Test {

int FakeListRows::findCaption(const QString &caption) const
{
    for (size_t i = 0; i < Rows.size(); ++i) {
        if (Rows[i].Caption.compare(caption, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
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

} // namespace Lanvo::Test
