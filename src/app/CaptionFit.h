#pragma once

#include <QList>

class QWidget;

namespace Lanvo {

// The pixel layout assumes a narrower font than this platform's. For one row of controls placed
// from left to right, each captioned control becomes at least as wide as its size hint, and every
// control after one that needs more room moves right by as much; spacing and order stay.
void fitCaptionsInRow(const QList<QWidget *> &row);

// Whether Widget shows a caption that needs its size hint's width: a button or a label with text.
bool isCaptioned(const QWidget *widget);

} // namespace Lanvo
