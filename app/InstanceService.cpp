#include "InstanceService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>

namespace chromint {

namespace {

constexpr int kCallTimeoutMs = 5000;

} // namespace

bool TInstanceService::Register() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(QString::fromLatin1(InstanceObjectPath), this,
                            QDBusConnection::ExportScriptableSlots))
        return false;
    if (!bus.registerService(QString::fromLatin1(ApplicationId))) {
        bus.unregisterObject(QString::fromLatin1(InstanceObjectPath));
        return false;
    }
    return true;
}

void TInstanceService::Pick() {
    // The caller gets its answer now; the pick runs from the event loop.
    QTimer::singleShot(0, this, &TInstanceService::PickRequested);
}

void TInstanceService::OpenFiles(const QStringList& files) {
    QTimer::singleShot(0, this, [this, files] { emit FilesRequested(files); });
}

namespace {

// Calls a method of the running instance; false when none answers.
bool CallRunningInstance(const QString& method, const QVariantList& arguments) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QString service = QString::fromLatin1(ApplicationId);
    if (!bus.interface()->isServiceRegistered(service).value())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, QString::fromLatin1(InstanceObjectPath), QString::fromLatin1(ApplicationId),
        method);
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, kCallTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

} // namespace

bool RequestPickFromRunningInstance() {
    return CallRunningInstance(QStringLiteral("Pick"), {});
}

bool RequestOpenFilesInRunningInstance(const QStringList& files) {
    return CallRunningInstance(QStringLiteral("OpenFiles"), {files});
}

} // namespace chromint
