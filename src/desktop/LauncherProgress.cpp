#include "desktop/LauncherProgress.h"

#ifdef FIXTALLY_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>
#endif

namespace fixtally {

namespace {
#ifdef FIXTALLY_HAVE_DBUS
constexpr const char* EntryPath = "/com/canonical/unity/launcherentry/fixtally";
constexpr const char* EntryInterface = "com.canonical.Unity.LauncherEntry";
constexpr const char* ApplicationUri = "application://fixtally.desktop";
#endif
} // namespace

LauncherProgress::LauncherProgress() {
#ifdef FIXTALLY_HAVE_DBUS
    available_ = QDBusConnection::sessionBus().isConnected();
#endif
}

void LauncherProgress::Update(double progress, bool visible) {
    if (!available_) return;
    // The readers report progress far more often than it changes.
    if (progress == sentProgress_ && visible == sentVisible_) return;
    sentProgress_ = progress;
    sentVisible_ = visible;
#ifdef FIXTALLY_HAVE_DBUS
    QDBusMessage signal = QDBusMessage::createSignal(EntryPath, EntryInterface, "Update");
    QVariantMap properties;
    properties.insert("progress", progress);
    properties.insert("progress-visible", visible);
    signal << QString(ApplicationUri) << properties;
    QDBusConnection::sessionBus().send(signal);
#endif
}

} // namespace fixtally
