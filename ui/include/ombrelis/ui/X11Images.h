#pragma once

namespace ombrelis::ui {

/// Before the QApplication is made: on an X server, the window's images go through the
/// connection instead of shared memory. With shared memory Qt waits, before each repaint, for
/// the server to answer that it has read the previous image; on a busy machine the server
/// answers late, and the run, whose thread repaints between two samples, would take the next
/// sample late. The images between two samples are a few small rectangles. A choice the user
/// made (QT_XCB_NO_MITSHM set) is kept; other platforms ignore it.
void sendX11ImagesThroughTheConnection();

} // namespace ombrelis::ui
