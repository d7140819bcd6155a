#include "GameSearchField.h"

#include "Emulators.h"

#include <QKeyEvent>

namespace Lanvo {

TGameSearchField::TGameSearchField(QWidget *parent)
    : QLineEdit(parent)
{
    setObjectName(QStringLiteral("SearchGames"));
    setPlaceholderText(QStringLiteral("Search games (Ctrl+F)"));
    setAccessibleName(QStringLiteral("Search games"));
    setAccessibleDescription(QStringLiteral("Lists only the games whose name, ROM set, manufacturer or year "
                                            "contain every word typed. Escape clears the search, Down goes "
                                            "to the list, Enter runs the selected game."));
    // No clear button: Escape clears, and the button's icon alone cost a tenth of the start-up.
}

void TGameSearchField::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        clear();
        Q_EMIT listRequested();
        return;
    case Qt::Key_Down:
        Q_EMIT listRequested();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Q_EMIT runRequested();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

QString gameSearchKey(const EnhListModel &model, const EnhListModel::Row &row)
{
    const TGame *game = row.Game;
    if (!game)
        return model.text(row, 0);
    // One line per field, so that no word found spans two of them; built in one allocation.
    QString key;
    key.reserve(game->Name.size() + game->RomSet.size() + game->manufacturer().size() + game->year().size() + 3);
    key.append(game->Name).append(QLatin1Char('\n')).append(game->RomSet).append(QLatin1Char('\n'));
    key.append(game->manufacturer()).append(QLatin1Char('\n')).append(game->year());
    return key;
}

} // namespace Lanvo
