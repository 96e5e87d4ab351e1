#pragma once

#include <ombrelis/ui/Form1Controls.h>

namespace ombrelis::ui {

/// Makes the window usable with a screen reader and the keyboard alone: every control gets a
/// French accessible name taken from its caption, the captions become their fields' buddies,
/// the chart and the status line get roles of their own, and Enter presses a focused button as
/// Space does.
///
/// The status line's name is fixed and its text is read when asked: a run rewrites it up to
/// sixty times a second, and a screen reader must not announce each of them.
void makeForm1Accessible(const Form1Controls& controls);

} // namespace ombrelis::ui
