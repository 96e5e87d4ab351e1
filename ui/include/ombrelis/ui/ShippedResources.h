#pragma once

#include <QFont>

class QApplication;

namespace ombrelis::ui {

/// The faces built into the program. Liberation Sans stands in for the design's
/// "MS Sans Serif", Liberation Serif for its "Times New Roman"; they are named alone, so no
/// face of the machine ever takes their place.
inline constexpr const char* kSansFamily = "Liberation Sans";
inline constexpr const char* kSerifFamily = "Liberation Serif";

/// The design's dialog font: the sans face at 8.25 points.
QFont dialogFont(bool bold = false);

/// Registers the built-in faces, makes the dialog font the application's (message boxes and
/// the Save dialog included) and installs Qt's French texts for its buttons, dialogs and
/// menus, whatever the user's locale. Once, after the application object exists and before
/// any window is built. Throws std::runtime_error, in French, naming what could not be
/// loaded; all the rest is in place all the same.
void installShippedFacesAndFrench(QApplication& application);

} // namespace ombrelis::ui
