// The time per keystroke of the quick search in the real main window with 50,000 games (filter,
// selection of the first match, status count and the repaint), against a bare loop that tests the
// same rows' folded keys with the same rule for the same queries.
#include "BenchTiming.h"
#include "BenchPrompts.h"
#include "GameSearchField.h"
#include "Interfaces.h"
#include "Main.h"
#include "SearchText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace Lanvo;
using Lanvo::Bench::Clock;
using Lanvo::Bench::millisecondsSince;
using Lanvo::Bench::SilentPrompts;

namespace {


void makeStartDirectory(const QString &root, int games)
{
    QDir().mkpath(root + QStringLiteral("/lanvo"));
    QFile ini(root + QStringLiteral("/Lanvo.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Lanvo]\r\nVersion=1.61\r\n");
    QFile emulator(root + QStringLiteral("/corvane.exe"));
    emulator.open(QIODevice::WriteOnly);
    emulator.write("MZ");
    static const char *const words[] = {"Fighters", "Soccer", "Mahjong", "Puzzle", "Stars", "Combat", "Lord"};
    QFile file(root + QStringLiteral("/lanvo/GAMES.CSV"));
    file.open(QIODevice::WriteOnly);
    for (int i = 0; i < games; ++i)
        file.write("Game " + QByteArray::number(i) + " " + words[i % 7] + ";" + QByteArray::number(1980 + i % 25)
                   + ";Maker " + QByteArray::number(i % 97) + ";Sport;set" + QByteArray::number(i) + "\r\n");
}

// Each query typed letter by letter, the field emptied between two queries.
QStringList keystrokes()
{
    const QStringList queries = {QStringLiteral("mahjong 1990"), QStringLiteral("maker 42 stars"),
                                 QStringLiteral("set4999"), QStringLiteral("game 1 fi"), QStringLiteral("zzz")};
    QStringList texts;
    for (const QString &query : queries) {
        for (qsizetype length = 1; length <= query.size(); ++length)
            texts << query.left(length);
        texts << QString();
    }
    return texts;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int Games = 50000;
    const QTemporaryDir dir;
    makeStartDirectory(dir.path(), Games);
    SilentPrompts prompts;
    TF_Lanvo window(LanvoWindowSetup{dir.path(), &prompts, {}});
    window.Menus->mn_allgames->trigger();
    window.show();
    QCoreApplication::processEvents();
    const QStringList texts = keystrokes();

    // The window: each keystroke as the field's text changes, with the events it causes handled.
    std::vector<double> perKey;
    const auto windowStart = Clock::now();
    for (const QString &text : texts) {
        const auto start = Clock::now();
        window.SearchGames->setText(text);
        QCoreApplication::processEvents();
        perKey.push_back(millisecondsSince(start));
    }
    const double windowTotal = millisecondsSince(windowStart);

    // The bare loop over the same rows' keys.
    std::vector<QString> keys;
    for (const EnhListModel::Row &row : window.ListGames->listModel()->rows())
        keys.push_back(foldForSearch(gameSearchKey(*window.ListGames->listModel(), row)));
    const auto bareStart = Clock::now();
    qsizetype found = 0;
    for (const QString &text : texts) {
        const QStringList words = searchWords(text);
        for (const QString &key : keys)
            found += containsAllWords(key, words);
    }
    const double bareTotal = millisecondsSince(bareStart);

    const double first = perKey.front(); // makes the search keys, once per refresh
    std::sort(perKey.begin(), perKey.end());
    const double keys_ = double(texts.size());
    std::printf("bench_search: %d games listed, %lld keystrokes (%lld rows found in all by the bare loop)\n",
                Games, static_cast<long long>(texts.size()), static_cast<long long>(found));
    std::printf("  window: %.2f ms per keystroke on average, median %.2f ms, slowest %.2f ms; the first, which "
                "makes the keys, %.2f ms\n",
                windowTotal / keys_, perKey[perKey.size() / 2], perKey.back(), first);
    std::printf("  bare loop over the same keys: %.2f ms per keystroke | ratio %.2f\n", bareTotal / keys_,
                windowTotal / bareTotal);
    window.close();
    return 0;
}
