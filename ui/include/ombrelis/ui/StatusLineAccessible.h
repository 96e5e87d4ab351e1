#pragma once

#include <QLabel>

namespace ombrelis::ui {

/// The status line `ctl`: a label of its own class, so that assistive technologies are given
/// its own accessible interface (installAccessibleRoles).
class StatusLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;
};

/// The status line's accessible name, which never changes.
inline constexpr const char* kStatusLineName = "Ligne d'état";

/// Registers, once for the program and before the window's controls exist, how assistive
/// technologies see the chart (a chart) and the status line (a label named kStatusLineName whose
/// text they read on demand, through the text interface). QLabel announces a change of its text as
/// a change of its name unless it has a name of its own; with one, nothing is announced per sample,
/// and nothing is computed for a screen reader until it asks.
void installAccessibleRoles();

} // namespace ombrelis::ui
