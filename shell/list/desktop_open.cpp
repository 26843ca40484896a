// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_open.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QUrl>

#include "local_path.h"

namespace vornik {

void OpenWithDefaultApplication(const std::string& path) {
    QDesktopServices::openUrl(FileUrl(path));
}

void OpenContainingFolder(const std::string& path, QObject* context) {
    const std::size_t slash = path.find_last_of('/');
    const QUrl folder = FileUrl(slash == std::string::npos || slash == 0 ? std::string("/")
                                                                         : path.substr(0, slash));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QDesktopServices::openUrl(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1",
                                                       "/org/freedesktop/FileManager1",
                                                       "org.freedesktop.FileManager1", "ShowItems");
    call << QStringList{QString::fromLatin1(FileUri(path))} << QString();
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
