#pragma once

// Calls of the desktop portals (org.freedesktop.portal.*) on the session bus. A portal method
// answers at once with the path of a Request object and gives its result later in that
// object's Response signal; CallPortal waits for it, with a time limit, and ends in exactly
// one outcome.

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <functional>

namespace chromint {

struct PortalResponse {
    enum class Status {
        Success,
        NoPortal,    // no session bus, or no portal service on it
        NoInterface, // the portal service does not offer the interface or method
        Cancelled,   // the user cancelled (response 1)
        Failed,      // the portal reported a failure (response 2), an error or no answer in time
    };
    Status status = Status::Failed;
    QVariantMap results; // with Success
    QString error;       // what went wrong, for the user
};

// Calls interface.method(arguments..., options) on the portal object; options gets its own
// handle_token. done runs exactly once, from the event loop, with the response or the reason
// there is none (after timeoutMs at the latest); not at all when context goes first.
void CallPortalAsync(const QString& interface, const QString& method, const QVariantList& arguments,
                     QVariantMap options, int timeoutMs, QObject* context,
                     std::function<void(const PortalResponse&)> done);

// The same, waiting for the outcome in a local event loop.
PortalResponse CallPortal(const QString& interface, const QString& method,
                          const QVariantList& arguments, QVariantMap options, int timeoutMs);

// The "version" property of a portal interface: 0 when the service runs without it, -1
// when there is no session bus or no portal service. Asks the bus once per interface.
int PortalVersion(const QString& interface);

// The portal's service, object and Request interface names.
inline constexpr const char* PortalService = "org.freedesktop.portal.Desktop";
inline constexpr const char* PortalObject = "/org/freedesktop/portal/desktop";

// The Request object's path the portal will use for this connection's token (its unique name
// without the colon and with dots turned into underscores).
QString PortalRequestPath(const QString& uniqueName, const QString& token);

} // namespace chromint
