#pragma once

#include "Emulators.h"
#include "Interfaces.h"
#include "Startup.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <deque>
#include <vector>

namespace Lanvo::Test {

// A games list without a window: rows in a vector, a selection index, and a count of brackets.
class FakeListRows : public IListRows
{
public:
    struct Row
    {
        TGame *Game;
        int StateImage;
    };

    void beginRowsBatch() override { ++OpenBrackets; }
    void endRowsBatch() override { --OpenBrackets; }
    void clearRows() override
    {
        Rows.clear();
        Selected = -1;
    }
    void repaintRows() override {}
    void setGameTextOf(GameTextOf textOf) override { TextOf = std::move(textOf); }
    void appendGameRow(TGame *game, int stateImage) override { Rows.push_back({game, stateImage}); }
    int rowCount() const override { return static_cast<int>(Rows.size()); }
    QString rowCaption(int row) const override { return text(row, 0); }
    // The row's texts as the list would show them now: the caption, then the sub-items.
    QString text(int row, int column) const
    {
        const Row &at = Rows.at(static_cast<size_t>(row));
        return at.Game && TextOf ? TextOf(*at.Game, column) : QString();
    }
    QStringList subItems(int row) const;
    TGame *rowGame(int row) const override { return Rows.at(static_cast<size_t>(row)).Game; }
    int selectedRow() const override { return Selected; }
    int findCaption(const QString &caption) const override;
    void selectRow(int row) override { Selected = row; }
    void updateGameRow(const TGame *game) override { UpdatedGames.push_back(game); }

    std::vector<Row> Rows;
    GameTextOf TextOf;
    std::vector<const TGame *> UpdatedGames;
    int Selected = -1;
    int OpenBrackets = 0;
};

// A picture control that remembers what it was given; a file holding "damaged" fails to load.
class FakePicture : public IPicture
{
public:
    bool loadFile(const QString &path) override;
    void showPicture() override { Visible = true; }
    void hidePicture() override { Visible = false; }

    QStringList Loaded; // every file tried, in order
    QString Shown;      // the file loaded last with success
    bool Visible = false;
};

// Records every message and answers from a queue (Ok, or the button's default, when it runs dry).
class RecordingPrompts : public IPrompts
{
public:
    struct Message
    {
        PromptKind Kind;
        QString Text;
        PromptButtons Buttons;
    };

    PromptAnswer showMessage(PromptKind kind, const QString &text, PromptButtons buttons) override;
    void showBusyCursor() override { ++BusyDepth, ++BusyCount; }
    void restoreCursor() override { --BusyDepth; }

    QStringList texts() const;

    std::deque<PromptAnswer> Answers;
    QList<Message> Messages;
    int BusyDepth = 0;
    int BusyCount = 0;
};

// Writes Content to Path, creating the parent directories.
void writeFile(const QString &path, const QByteArray &content);
QByteArray readFile(const QString &path);
void makeDirectory(const QString &path);

// The files that are no regular files, as the rows of a _data() table: a FIFO without a writer, a
// directory, a link to /dev/zero and a dangling link.
void addSpecialFileRows();
// Makes at Path the special file named by the current row's "kind".
void makeSpecialFile(const QString &path, const QString &kind);

// The window's share of the start-up, doing nothing but noting that the list was to be filled.
class QuietStartupWindow : public IStartupWindow
{
public:
    void applyWindowSettings(const WindowSettings &) override {}
    void setCaption(const QString &) override {}
    void setColumnCaptions(const QStringList &) override {}
    void applyLayout() override {}
    void showInstallType(const QString &) override {}
    void selectPictureTab(bool) override {}
    void activateGamesPage() override {}
    void setControlsFromProperties() override {}
    void refreshList() override { Refreshed = true; }
    bool Refreshed = false;
};

} // namespace Lanvo::Test
