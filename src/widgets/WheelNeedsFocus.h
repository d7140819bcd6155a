#pragma once

class QWidget;

namespace Lanvo {

// Lets Control (a drop-down or a spin box) change with the mouse wheel only while it has the focus:
// a wheel turned to scroll past it must not change a setting on the way. The wheel no longer gives
// it the focus either; an ignored turn goes on to the control's parent.
void ignoreWheelUnlessFocused(QWidget *control);

} // namespace Lanvo
