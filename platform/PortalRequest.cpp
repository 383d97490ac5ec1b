#include "PortalRequest.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QEventLoop>
#include <QHash>
#include <QTimer>

#include <atomic>

namespace chromint {

namespace {

const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString ResponseSignal = QStringLiteral("Response");
constexpr int PropertyTimeoutMs = 5000;

PortalResponse::Status StatusForError(const QDBusError& error) {
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
        return PortalResponse::Status::NoPortal;
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownProperty:
    case QDBusError::InvalidArgs:
        return PortalResponse::Status::NoInterface;
    default:
        return PortalResponse::Status::Failed;
    }
}

QString NewToken() {
    static std::atomic<unsigned> counter{0};
    return QStringLiteral("chromint%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

// One portal call from start to outcome: it owns its token, listens to its Request object
// before calling, and finishes once.
class PortalCall : public QObject {
    Q_OBJECT
public:
    PortalCall(QObject* context, std::function<void(const PortalResponse&)> done)
        : QObject(context), done_(std::move(done)), bus_(QDBusConnection::sessionBus()) {}

    ~PortalCall() override { Unsubscribe(); }

    void Start(const QString& interface, const QString& method, QVariantList arguments,
               QVariantMap options, int timeoutMs) {
        timeoutMs_ = timeoutMs;
        if (!bus_.isConnected()) {
            Finish(PortalResponse::Status::NoPortal, QStringLiteral("there is no session bus"));
            return;
        }
        const QString token = NewToken();
        options.insert(QStringLiteral("handle_token"), token);
        Subscribe(PortalRequestPath(bus_.baseService(), token));

        QDBusMessage call =
            QDBusMessage::createMethodCall(QString::fromLatin1(PortalService),
                                           QString::fromLatin1(PortalObject), interface, method);
        arguments << options;
        call.setArguments(arguments);
        auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, timeoutMs), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, &PortalCall::CallAnswered);
        QTimer::singleShot(timeoutMs, this, &PortalCall::TimedOut);
    }

public slots:
    void OnResponse(uint code, const QVariantMap& results) {
        if (code == 0) {
            results_ = results;
            Finish(PortalResponse::Status::Success, {});
        } else if (code == 1) {
            Finish(PortalResponse::Status::Cancelled, QStringLiteral("cancelled"));
        } else {
            Finish(PortalResponse::Status::Failed,
                   QStringLiteral("the desktop portal reported a failure"));
        }
    }

private:
    void CallAnswered(QDBusPendingCallWatcher* watcher) {
        watcher->deleteLater();
        const QDBusMessage reply = watcher->reply();
        if (reply.type() == QDBusMessage::ErrorMessage) {
            const QDBusError error(reply);
            Finish(StatusForError(error),
                   error.message().isEmpty() ? error.name() : error.message());
            return;
        }
        callAnswered_ = true;
        // Portals older than the handle_token convention choose their own path.
        const QString actual = reply.arguments().value(0).value<QDBusObjectPath>().path();
        if (!actual.isEmpty() && actual != requestPath_) {
            Unsubscribe();
            Subscribe(actual);
        }
    }

    void TimedOut() {
        if (finished_)
            return;
        // Leave no dialog of the portal behind.
        if (callAnswered_)
            bus_.call(QDBusMessage::createMethodCall(QString::fromLatin1(PortalService),
                                                     requestPath_, RequestInterface,
                                                     QStringLiteral("Close")),
                      QDBus::NoBlock);
        Finish(PortalResponse::Status::Failed,
               QStringLiteral("the desktop portal did not answer within %1 seconds")
                   .arg(timeoutMs_ / 1000));
    }

    void Subscribe(const QString& path) {
        requestPath_ = path;
        bus_.connect(QString::fromLatin1(PortalService), requestPath_, RequestInterface,
                     ResponseSignal, this, SLOT(OnResponse(uint, QVariantMap)));
    }

    void Unsubscribe() {
        if (requestPath_.isEmpty())
            return;
        bus_.disconnect(QString::fromLatin1(PortalService), requestPath_, RequestInterface,
                        ResponseSignal, this, SLOT(OnResponse(uint, QVariantMap)));
        requestPath_.clear();
    }

    void Finish(PortalResponse::Status status, const QString& error) {
        if (finished_)
            return;
        finished_ = true;
        Unsubscribe();
        PortalResponse response;
        response.status = status;
        response.results = results_;
        response.error = error;
        // Answer from the event loop, never from inside Start.
        QTimer::singleShot(0, this, [this, response] {
            done_(response);
            deleteLater();
        });
    }

    std::function<void(const PortalResponse&)> done_;
    QDBusConnection bus_;
    QString requestPath_;
    QVariantMap results_;
    int timeoutMs_ = 0;
    bool callAnswered_ = false;
    bool finished_ = false;
};

} // namespace

QString PortalRequestPath(const QString& uniqueName, const QString& token) {
    QString sender = uniqueName;
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

void CallPortalAsync(const QString& interface, const QString& method, const QVariantList& arguments,
                     QVariantMap options, int timeoutMs, QObject* context,
                     std::function<void(const PortalResponse&)> done) {
    auto* call = new PortalCall(context, std::move(done));
    call->Start(interface, method, arguments, std::move(options), timeoutMs);
}

PortalResponse CallPortal(const QString& interface, const QString& method,
                          const QVariantList& arguments, QVariantMap options, int timeoutMs) {
    QEventLoop loop;
    PortalResponse outcome;
    bool finished = false;
    CallPortalAsync(interface, method, arguments, std::move(options), timeoutMs, &loop,
                    [&](const PortalResponse& response) {
                        outcome = response;
                        finished = true;
                        loop.quit();
                    });
    if (!finished)
        loop.exec();
    return outcome;
}

int PortalVersion(const QString& interface) {
    static QHash<QString, int> known;
    if (const auto it = known.constFind(interface); it != known.constEnd())
        return *it;
    int version = -1;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        QDBusMessage get = QDBusMessage::createMethodCall(
            QString::fromLatin1(PortalService), QString::fromLatin1(PortalObject),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << interface << QStringLiteral("version");
        const QDBusMessage reply = bus.call(get, QDBus::Block, PropertyTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage) {
            version = reply.arguments().value(0).value<QDBusVariant>().variant().toInt();
        } else {
            version =
                StatusForError(QDBusError(reply)) == PortalResponse::Status::NoInterface ? 0 : -1;
        }
    }
    known.insert(interface, version);
    return version;
}

} // namespace chromint

#include "PortalRequest.moc"
