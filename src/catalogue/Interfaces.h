#pragma once

#include <QString>

#include <functional>

namespace Lanvo {

struct TGame;

// The games list as the catalogue sees it: a row per game with a state image; its texts are asked of
// GameTextOf whenever they are shown, sorted or searched, so a fill makes none.
class IListRows
{
public:
    // The text of Game in Column: 0 the name, then year, type, manufacturer, times and last played.
    using GameTextOf = std::function<QString(const TGame &game, int column)>;

    virtual ~IListRows() = default;

    virtual void beginRowsBatch() = 0; // no repainting until the matching endRowsBatch
    virtual void endRowsBatch() = 0;
    virtual void clearRows() = 0;
    virtual void repaintRows() = 0;
    virtual void setGameTextOf(GameTextOf textOf) = 0;
    virtual void appendGameRow(TGame *game, int stateImage) = 0;
    virtual int rowCount() const = 0;
    virtual QString rowCaption(int row) const = 0;
    virtual TGame *rowGame(int row) const = 0;
    virtual int selectedRow() const = 0; // -1 when none
    // The first row whose caption equals Caption ignoring letter case, or -1.
    virtual int findCaption(const QString &caption) const = 0;
    // Selects the row, gives it the focus mark and scrolls it into view.
    virtual void selectRow(int row) = 0;
    // Game's texts or marks changed: its row, shown or not, is searched and drawn again.
    virtual void updateGameRow(const TGame *game) = 0;
};

// A picture control: the default picture or the selected game's picture.
class IPicture
{
public:
    virtual ~IPicture() = default;

    virtual bool loadFile(const QString &path) = 0; // false when it can't be decoded
    virtual void showPicture() = 0;
    virtual void hidePicture() = 0;
};

enum class PromptKind { Error, Warning, Information, Plain };
enum class PromptButtons { Ok, AbortRetryIgnore, YesNo };
enum class PromptAnswer { None, Ok, Abort, Retry, Ignore, Yes, No };

// Message boxes and the hourglass pointer: everything the core tells the user.
class IPrompts
{
public:
    virtual ~IPrompts() = default;

    virtual PromptAnswer showMessage(PromptKind kind, const QString &text, PromptButtons buttons) = 0;
    virtual void showBusyCursor() = 0;
    virtual void restoreCursor() = 0;
};

// Shows the hourglass for the lifetime of the object, also when a step throws.
class BusyCursor
{
public:
    explicit BusyCursor(IPrompts *prompts)
        : m_prompts(prompts)
    {
        if (m_prompts)
            m_prompts->showBusyCursor();
    }
    ~BusyCursor()
    {
        if (m_prompts)
            m_prompts->restoreCursor();
    }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    IPrompts *m_prompts;
};

} // namespace Lanvo
