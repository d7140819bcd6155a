#pragma once

#include <QString>
#include <QStringList>

namespace Lanvo {

struct TGame;

// The games list as the catalogue sees it: rows with a caption, sub-items, the game and a state image.
class IListRows
{
public:
    virtual ~IListRows() = default;

    virtual void beginRowsBatch() = 0; // no repainting until the matching endRowsBatch
    virtual void endRowsBatch() = 0;
    virtual void clearRows() = 0;
    virtual void repaintRows() = 0;
    virtual void appendRow(const QString &caption, const QStringList &subItems, TGame *game,
                           int stateImage) = 0;
    virtual int rowCount() const = 0;
    virtual QString rowCaption(int row) const = 0;
    virtual TGame *rowGame(int row) const = 0;
    virtual int selectedRow() const = 0; // -1 when none
    // The first row whose caption equals Caption ignoring letter case, or -1.
    virtual int findCaption(const QString &caption) const = 0;
    // Selects the row, gives it the focus mark and scrolls it into view.
    virtual void selectRow(int row) = 0;
    // Gives the row of Game, shown or not, new sub-items and draws it again (its marks may have changed).
    virtual void updateGameRow(const TGame *game, const QStringList &subItems) = 0;
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
