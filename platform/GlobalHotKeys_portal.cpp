// Global hot keys in a Wayland session through the GlobalShortcuts portal: the program asks
// for shortcuts with a preferred trigger, the desktop lets the user confirm or change them
// and reports each activation.

#include "KeyNames.h"
#include "PlatformBackends.h"
#include "PortalRequest.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QObject>
#include <QPointer>

#include <map>
#include <utility>

namespace chromint {

struct PortalShortcut {
    QString id;
    QVariantMap options;
};
using PortalShortcutList = QList<PortalShortcut>;

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.options;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.options;
    argument.endStructure();
    return argument;
}

} // namespace chromint

Q_DECLARE_METATYPE(chromint::PortalShortcut)
Q_DECLARE_METATYPE(chromint::PortalShortcutList)

namespace chromint::backend {

namespace {

const QString ShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
constexpr int SessionTimeoutMs = 15000;
// Binding may show the desktop's own dialog and wait for the user.
constexpr int BindTimeoutMs = 300000;

// "ALT+x", "CTRL+SHIFT+F5": the trigger notation the GlobalShortcuts portal takes.
QString TriggerText(unsigned modifiers, int virtualKey) {
    QString key = QString::fromLatin1(EnglishKeyName(virtualKey).data(),
                                      qsizetype(EnglishKeyName(virtualKey).size()));
    if (key.size() == 1)
        key = key.toLower();
    QString text;
    if (modifiers & GlobalHotKeys::ModCtrl)
        text += QStringLiteral("CTRL+");
    if (modifiers & GlobalHotKeys::ModShift)
        text += QStringLiteral("SHIFT+");
    if (modifiers & GlobalHotKeys::ModAlt)
        text += QStringLiteral("ALT+");
    if (modifiers & GlobalHotKeys::ModWin)
        text += QStringLiteral("LOGO+");
    return text + key;
}

QString ShortcutId(unsigned modifiers, int virtualKey) {
    return QStringLiteral("hotkey-%1-%2").arg(modifiers).arg(virtualKey);
}

class GlobalHotKeysPortal final : public QObject, public GlobalHotKeys {
    Q_OBJECT
public:
    GlobalHotKeysPortal() {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<PortalShortcutList>();
    }

    bool Available() const override { return PortalVersion(ShortcutsInterface) >= 1; }

    GrabResult Grab(unsigned modifiers, int virtualKey) override {
        if (!Available())
            return GrabResult::Unavailable;
        if (EnglishKeyName(virtualKey).empty())
            return GrabResult::NoSuchKey;
        const auto key = std::make_pair(modifiers, virtualKey);
        if (held_.contains(key))
            return GrabResult::Taken;
        held_.emplace(key, ShortcutId(modifiers, virtualKey));
        BindAll();
        return GrabResult::Grabbed;
    }

    bool Ungrab(unsigned modifiers, int virtualKey) override {
        if (held_.erase(std::make_pair(modifiers, virtualKey)) == 0)
            return false;
        BindAll();
        return true;
    }

    bool Holds(unsigned modifiers, int virtualKey) const override {
        return held_.contains(std::make_pair(modifiers, virtualKey));
    }

public slots:
    void OnActivated(const QDBusObjectPath& session, const QString& id, qulonglong,
                     const QVariantMap&) {
        if (session.path() != session_ || !OnPressed)
            return;
        for (const auto& [key, heldId] : held_) {
            if (heldId == id) {
                OnPressed(key.first, key.second);
                return;
            }
        }
    }

private:
    // The portal binds a session's whole list at once: the first call opens the session, and
    // every change sends the list again.
    void BindAll() {
        if (session_.isEmpty()) {
            if (opening_)
                return;
            opening_ = true;
            QVariantMap options;
            options.insert(QStringLiteral("session_handle_token"),
                           QStringLiteral("chromint_hotkeys"));
            CallPortalAsync(
                ShortcutsInterface, QStringLiteral("CreateSession"), {}, options, SessionTimeoutMs,
                this, [this](const PortalResponse& response) {
                    opening_ = false;
                    session_ = response.results.value(QStringLiteral("session_handle")).toString();
                    if (response.status != PortalResponse::Status::Success || session_.isEmpty())
                        return;
                    QDBusConnection::sessionBus().connect(
                        QString::fromLatin1(PortalService), QString::fromLatin1(PortalObject),
                        ShortcutsInterface, QStringLiteral("Activated"), this,
                        SLOT(OnActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
                    BindAll();
                });
            return;
        }
        PortalShortcutList shortcuts;
        for (const auto& [key, id] : held_) {
            PortalShortcut shortcut;
            shortcut.id = id;
            shortcut.options.insert(QStringLiteral("description"),
                                    QStringLiteral("Pick a colour from the screen"));
            shortcut.options.insert(QStringLiteral("preferred_trigger"),
                                    TriggerText(key.first, key.second));
            shortcuts << shortcut;
        }
        CallPortalAsync(ShortcutsInterface, QStringLiteral("BindShortcuts"),
                        {QVariant::fromValue(QDBusObjectPath(session_)),
                         QVariant::fromValue(shortcuts), QString()},
                        {}, BindTimeoutMs, this, [](const PortalResponse&) {});
    }

    std::map<std::pair<unsigned, int>, QString> held_;
    QString session_;
    bool opening_ = false;
};

} // namespace

std::unique_ptr<GlobalHotKeys> CreateGlobalHotKeysPortal() {
    return std::make_unique<GlobalHotKeysPortal>();
}

} // namespace chromint::backend

#include "GlobalHotKeys_portal.moc"
