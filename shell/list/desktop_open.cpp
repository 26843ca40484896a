#include "desktop_open.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace vornik {

void OpenWithDefaultApplication(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void OpenContainingFolder(const QString& path, QObject* context) {
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(path).absolutePath());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QDesktopServices::openUrl(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1",
                                                       "/org/freedesktop/FileManager1",
                                                       "org.freedesktop.FileManager1", "ShowItems");
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [folder](QDBusPendingCallWatcher* finished) {
                         if (QDBusPendingReply<>(*finished).isError()) {
                             QDesktopServices::openUrl(folder);
                         }
                         finished->deleteLater();
                     });
}

}  // namespace vornik
