#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace Lanvo {

class TCorvane;
class TF_Options;

// Runs the dialog and returns its result (QDialog::Accepted on OK); tests answer without a modal loop.
using ShowOptionsDialog = std::function<int(TF_Options &)>;
int execOptionsDialog(TF_Options &dialog);

// The emulator menu's "&Options": shows the dialog with the emulator's directories, parameters and
// DOSBox settings and, on OK, applies them, refreshes the games list, stores the three directories
// in the settings file and then the DOSBox keys the user changed. The start directory is made current and stays so.
// Refresh must report a failure by throwing LanvoError: the directories are then not written, the
// values already applied stay, and the error reaches the caller's error box. A key that can't be
// written throws too, and the keys after it are not written. Returns whether OK was chosen.
bool RunOptionsDialog(TF_Options &dialog, TCorvane &emulator, const std::function<void()> &refresh,
                      const ShowOptionsDialog &showModal = execOptionsDialog);

// A path as a settings value that reads back to the same text: blanks around a value and one pair
// of quotes around it are dropped when it is read, so such a path is written inside quotes.
QByteArray settingsPathValue(const QString &path);

} // namespace Lanvo
