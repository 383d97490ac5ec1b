// The desktop's background colour in a Wayland session, through the desktop's own settings:
// gsettings for GNOME, Cinnamon and MATE, the shell's scripting interface for KDE Plasma.

#include "GSettingsTool.h"
#include "PlatformBackends.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QRegularExpression>

#include <cstdlib>

namespace chromint::backend {

namespace {

constexpr int kToolTimeoutMs = 3000;
constexpr int kScriptTimeoutMs = 5000;

const QString PlasmaService = QStringLiteral("org.kde.plasmashell");

QString ColorText(std::uint32_t rgb) {
    return QStringLiteral("#%1").arg(rgb & 0xffffff, 6, 16, QLatin1Char('0'));
}

// "#rrggbb", "'#rrggbb'" or "r,g,b"; nothing for anything else.
std::optional<std::uint32_t> ParseColor(QString text) {
    text = text.trimmed();
    if (text.size() >= 2 && text.front() == QLatin1Char('\'') && text.back() == QLatin1Char('\''))
        text = text.mid(1, text.size() - 2);
    static const QRegularExpression hex(QStringLiteral("^#([0-9a-fA-F]{6})$"));
    if (const auto match = hex.match(text); match.hasMatch())
        return match.captured(1).toUInt(nullptr, 16);
    static const QRegularExpression triple(QStringLiteral("^(\\d{1,3}),(\\d{1,3}),(\\d{1,3})$"));
    if (const auto match = triple.match(text); match.hasMatch()) {
        std::uint32_t rgb = 0;
        for (int i = 1; i <= 3; ++i) {
            const uint channel = match.captured(i).toUInt();
            if (channel > 255)
                return std::nullopt;
            rgb = (rgb << 8) | channel;
        }
        return rgb;
    }
    return std::nullopt;
}

bool GSettingsSet(const QString& schema, const QString& key, const QString& value) {
    return RunGSettings({QStringLiteral("set"), schema, key, value}, kToolTimeoutMs).has_value();
}

enum class Desktop { None, Gnome, Cinnamon, Mate, Plasma };

Desktop CurrentDesktop() {
    const char* value = std::getenv("XDG_CURRENT_DESKTOP");
    const QStringList names =
        QString::fromLocal8Bit(value != nullptr ? value : "").toLower().split(QLatin1Char(':'));
    for (const QString& name : names) {
        if (name == QLatin1String("gnome") || name == QLatin1String("ubuntu") ||
            name == QLatin1String("unity") || name == QLatin1String("budgie"))
            return Desktop::Gnome;
        if (name == QLatin1String("x-cinnamon") || name == QLatin1String("cinnamon"))
            return Desktop::Cinnamon;
        if (name == QLatin1String("mate"))
            return Desktop::Mate;
        if (name == QLatin1String("kde"))
            return Desktop::Plasma;
    }
    return Desktop::None;
}

QString SchemaOf(Desktop desktop) {
    switch (desktop) {
    case Desktop::Gnome:
        return QStringLiteral("org.gnome.desktop.background");
    case Desktop::Cinnamon:
        return QStringLiteral("org.cinnamon.desktop.background");
    case Desktop::Mate:
        return QStringLiteral("org.mate.background");
    default:
        return {};
    }
}

std::optional<QString> PlasmaScript(const QString& script) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return std::nullopt;
    QDBusMessage call = QDBusMessage::createMethodCall(
        PlasmaService, QStringLiteral("/PlasmaShell"), QStringLiteral("org.kde.PlasmaShell"),
        QStringLiteral("evaluateScript"));
    call << script;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kScriptTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return std::nullopt;
    return reply.arguments().value(0).toString();
}

const char* const kPlasmaSelectColor = "var all = desktops();"
                                       "for (var i = 0; i < all.length; ++i) {"
                                       "  var d = all[i];"
                                       "  %1"
                                       "}";

} // namespace

bool DesktopSettingsKnown() {
    const Desktop desktop = CurrentDesktop();
    if (desktop == Desktop::None)
        return false;
    if (desktop == Desktop::Plasma)
        return QDBusConnection::sessionBus().isConnected();
    return GSettingsToolFound();
}

bool SetDesktopBackgroundSettings(std::uint32_t rgb) {
    const Desktop desktop = CurrentDesktop();
    if (desktop == Desktop::Plasma) {
        const QString body =
            QStringLiteral("d.wallpaperPlugin = 'org.kde.color';"
                           "d.currentConfigGroup = ['Wallpaper', 'org.kde.color', 'General'];"
                           "d.writeConfig('Color', '%1');")
                .arg(ColorText(rgb));
        return PlasmaScript(QString::fromLatin1(kPlasmaSelectColor).arg(body)).has_value();
    }
    const QString schema = SchemaOf(desktop);
    if (schema.isEmpty())
        return false;
    if (!GSettingsSet(schema, QStringLiteral("primary-color"), ColorText(rgb)))
        return false;
    // A solid colour shows only without a picture over it.
    GSettingsSet(schema, QStringLiteral("color-shading-type"), QStringLiteral("solid"));
    GSettingsSet(schema, QStringLiteral("picture-options"), QStringLiteral("none"));
    return true;
}

std::optional<std::uint32_t> GetDesktopBackgroundSettings() {
    const Desktop desktop = CurrentDesktop();
    if (desktop == Desktop::Plasma) {
        const auto printed =
            PlasmaScript(QString::fromLatin1(kPlasmaSelectColor)
                             .arg(QStringLiteral("d.currentConfigGroup = ['Wallpaper', "
                                                 "'org.kde.color', 'General'];"
                                                 "print(d.readConfig('Color')); break;")));
        return printed ? ParseColor(*printed) : std::nullopt;
    }
    const QString schema = SchemaOf(desktop);
    if (schema.isEmpty())
        return std::nullopt;
    const auto printed = RunGSettings(
        {QStringLiteral("get"), schema, QStringLiteral("primary-color")}, kToolTimeoutMs);
    return printed ? ParseColor(*printed) : std::nullopt;
}

} // namespace chromint::backend
