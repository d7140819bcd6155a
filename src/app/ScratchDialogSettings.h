#pragma once

#include <QTemporaryDir>

namespace Lanvo {

// Qt's file dialog saves its history and view in the user's configuration when it closes, cancelled
// or not. While an object of this class lives, the user-scope settings of every program-wide
// QSettings go to a scratch folder instead, which starts as a copy of the user's so the dialog looks
// as usual, and is thrown away with the object.
class TScratchDialogSettings
{
public:
    TScratchDialogSettings();
    ~TScratchDialogSettings();
    TScratchDialogSettings(const TScratchDialogSettings &) = delete;
    TScratchDialogSettings &operator=(const TScratchDialogSettings &) = delete;

private:
    QTemporaryDir m_scratch;
};

} // namespace Lanvo
