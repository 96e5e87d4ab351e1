#include <ombrelis/ui/DesktopRealtime.h>

#ifdef __linux__
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariant>
#endif

namespace ombrelis::ui {

#ifdef __linux__

namespace {

/// rtkit is started on demand by the bus; an answer takes a few milliseconds, its start some
/// hundreds. A run asks once, before its first sample; a broker that does not answer by then
/// is taken as a refusal.
constexpr int kAnswerTimeoutMs = 1000;

bool askRtkit(std::int64_t threadId, int priority) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.RealtimeKit1"),
        QStringLiteral("/org/freedesktop/RealtimeKit1"),
        QStringLiteral("org.freedesktop.RealtimeKit1"), QStringLiteral("MakeThreadRealtime"));
    call << QVariant::fromValue(static_cast<quint64>(threadId))
         << QVariant::fromValue(static_cast<quint32>(priority));
    return bus.call(call, QDBus::Block, kAnswerTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

} // namespace

platform::RealtimeBroker desktopRealtimeBroker() {
    return askRtkit;
}

#else

platform::RealtimeBroker desktopRealtimeBroker() {
    return {};
}

#endif

} // namespace ombrelis::ui
