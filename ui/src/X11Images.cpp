#include <QByteArray>
#include <QtGlobal>
#include <ombrelis/ui/X11Images.h>

namespace ombrelis::ui {

void sendX11ImagesThroughTheConnection() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", QByteArray("1"));
    }
}

} // namespace ombrelis::ui
