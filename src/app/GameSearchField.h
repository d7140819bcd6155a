#pragma once

#include "EnhListModel.h"

#include <QLineEdit>

namespace Lanvo {

// The quick search above the games list. Typing filters the list (the window connects textChanged);
// Escape empties the field and Down leaves it for the list; Enter runs the game found.
class TGameSearchField : public QLineEdit
{
    Q_OBJECT

public:
    explicit TGameSearchField(QWidget *parent = nullptr);

Q_SIGNALS:
    // The user asked to go back to the list (Escape, after emptying the field, or Down).
    void listRequested();
    // Enter was pressed in the field.
    void runRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// What the search looks at in a games-list row: the name, ROM set, manufacturer and year.
QString gameSearchKey(const EnhListModel &model, const EnhListModel::Row &row);

} // namespace Lanvo
