#include "WallpaperSources.h"

#include <QStringList>
#include <QUrl>
#include <QXmlStreamReader>

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace chromint {

namespace {

using Style = TWallpaperStyle;

// A style name as a desktop writes it; Hidden where the desktop shows only its colour.
struct StyleName {
    const char* name;
    std::optional<Style> style;
};

constexpr std::optional<Style> Hidden = std::nullopt;

// GNOME, Cinnamon and MATE share picture-options.
constexpr StyleName kGSettingsStyles[] = {
    {"none", Hidden},           {"wallpaper", Style::wsTile},    {"centered", Style::wsCenter},
    {"scaled", Style::wsFit},   {"stretched", Style::wsStretch}, {"zoom", Style::wsFill},
    {"spanned", Style::wsFill},
};

// pcmanfm says "crop" where pcmanfm-qt says "zoom"; "color" and "none" show no picture.
constexpr StyleName kPcmanfmStyles[] = {
    {"color", Hidden},
    {"none", Hidden},
    {"stretch", Style::wsStretch},
    {"fit", Style::wsFit},
    {"center", Style::wsCenter},
    {"tile", Style::wsTile},
    {"crop", Style::wsFill},
    {"zoom", Style::wsFill},
    {"screen", Style::wsFill},
};

constexpr StyleName kFehStyles[] = {
    {"--bg-center", Style::wsCenter}, {"--bg-tile", Style::wsTile},
    {"--bg-scale", Style::wsStretch}, {"--bg-max", Style::wsFit},
    {"--bg-fill", Style::wsFill},
};

// Numbered styles, in the order each program numbers them.
constexpr std::optional<Style> kKdeFillModes[] = {
    Style::wsStretch, Style::wsFit,  Style::wsFill,   Style::wsTile,
    Style::wsTile,    Style::wsTile, Style::wsCenter,
};
constexpr std::optional<Style> kXfceImageStyles[] = {
    Hidden, Style::wsCenter, Style::wsTile, Style::wsStretch, Style::wsFit, Style::wsFill,
};
constexpr std::optional<Style> kNitrogenModes[] = {
    Style::wsStretch, Style::wsTile, Style::wsCenter, Style::wsFit, Style::wsFit, Style::wsFill,
};

// The style for name; fallback for a name the table does not know, so that a newer program's
// setting still shows its picture.
template <std::size_t N>
std::optional<Style> NamedStyle(const StyleName (&table)[N], const QString& name, Style fallback) {
    for (const StyleName& entry : table)
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.style;
    return fallback;
}

template <std::size_t N>
std::optional<Style> NumberedStyle(const std::optional<Style> (&table)[N], const QString& number,
                                   Style fallback) {
    bool ok = false;
    const int index = number.trimmed().toInt(&ok);
    if (!ok || index < 0 || std::size_t(index) >= N)
        return fallback;
    return table[index];
}

// A local path from a setting that holds either a path or a file: URL; empty for other URLs.
QString LocalPath(const QString& value) {
    const QString trimmed = value.trimmed();
    if (trimmed.startsWith(QLatin1Char('/')))
        return trimmed;
    const QUrl url(trimmed, QUrl::TolerantMode);
    if (url.isValid() && url.isLocalFile()) {
        // "file:file:/a.png" names no absolute path: it is neither a place nor a URL we read.
        const QString local = url.toLocalFile();
        return local.startsWith(QLatin1Char('/')) ? local : QString();
    }
    if (!url.scheme().isEmpty() || trimmed.isEmpty())
        return {};
    return trimmed; // relative or ~/: left for the caller to place
}

std::optional<TWallpaperSetting> Setting(const QString& value, std::optional<Style> style) {
    if (!style)
        return std::nullopt;
    const QString path = LocalPath(value);
    if (path.isEmpty())
        return std::nullopt;
    return TWallpaperSetting{path, *style};
}

// Undoes the escapes of GKeyFile, KConfig and QSettings that a path can hold.
QString UnescapeIniValue(QString value) {
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            result += c;
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case 's':
            result += QLatin1Char(' ');
            break;
        case 't':
            result += QLatin1Char('\t');
            break;
        case 'n':
            result += QLatin1Char('\n');
            break;
        default:
            result += next;
        }
    }
    return result;
}

struct IniEntry {
    QString section; // the whole header line without its outer brackets
    QString key;     // lower case, without underscores or a KConfig [$e] suffix
    QString value;
};

std::vector<IniEntry> ParseIni(const QString& text) {
    std::vector<IniEntry> entries;
    QString section;
    for (const QStringView rawLine : QStringView(text).split(QLatin1Char('\n'))) {
        const QStringView line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).toString();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        QString key = line.left(equals).trimmed().toString().toLower();
        if (const qsizetype bracket = key.indexOf(QLatin1Char('[')); bracket > 0)
            key.truncate(bracket);
        key.remove(QLatin1Char('_'));
        entries.push_back(
            {section, key, UnescapeIniValue(line.mid(equals + 1).trimmed().toString())});
    }
    return entries;
}

// The first section, in file order, for which accept holds and that has the picture key; a
// later key is tried only where the earlier one gives no wallpaper.
template <typename Accept, typename Read>
std::optional<TWallpaperSetting> FirstSection(const QString& text,
                                              std::initializer_list<const char*> pictureKeys,
                                              const char* styleKey, Accept accept, Read read) {
    const std::vector<IniEntry> entries = ParseIni(text);
    for (const char* pictureKey : pictureKeys) {
        const auto candidate =
            std::find_if(entries.begin(), entries.end(), [&](const IniEntry& entry) {
                return entry.key == QLatin1String(pictureKey) && !entry.value.isEmpty() &&
                       accept(entry.section);
            });
        if (candidate == entries.end())
            continue;
        QString style;
        for (const IniEntry& entry : entries)
            if (entry.section == candidate->section && entry.key == QLatin1String(styleKey))
                style = entry.value;
        if (auto setting = read(candidate->value, style))
            return setting;
    }
    return std::nullopt;
}

// A line of a shell script split into words, with the quoting the shell would take off; stops
// at a comment or at the end of a command.
QStringList ShellWords(QStringView line) {
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('\'')) {
            const qsizetype end = line.indexOf(QLatin1Char('\''), i + 1);
            if (end < 0)
                return {}; // unbalanced: not a line feh wrote
            word += line.mid(i + 1, end - i - 1);
            inWord = true;
            i = end;
        } else if (c == QLatin1Char('"')) {
            inWord = true;
            for (++i; i < line.size() && line[i] != QLatin1Char('"'); ++i) {
                if (line[i] == QLatin1Char('\\') && i + 1 < line.size())
                    ++i;
                word += line[i];
            }
            if (i >= line.size())
                return {};
        } else if (c == QLatin1Char('\\') && i + 1 < line.size()) {
            word += line[++i];
            inWord = true;
        } else if (c.isSpace() || c == QLatin1Char(';') || c == QLatin1Char('&') ||
                   (c == QLatin1Char('#') && !inWord)) {
            if (inWord)
                words += std::exchange(word, {});
            inWord = false;
            if (c != QLatin1Char(' ') && c != QLatin1Char('\t'))
                break;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words += word;
    return words;
}

} // namespace

std::vector<TWallpaperSource> WallpaperSourceOrder(const QString& currentDesktop,
                                                   const QString& session) {
    using S = TWallpaperSource;
    // Without a known desktop a standalone setter is the likelier one to have drawn the
    // background than a desktop's settings left from an earlier session.
    std::vector<S> order;
    struct DesktopName {
        const char* prefix;
        std::vector<S> sources;
    };
    const DesktopName names[] = {
        {"gnome", {S::Gnome}},    {"ubuntu", {S::Gnome}},
        {"unity", {S::Gnome}},    {"budgie", {S::Gnome}},
        {"pantheon", {S::Gnome}}, {"cinnamon", {S::Cinnamon}},
        {"mate", {S::Mate}},      {"kde", {S::Kde}},
        {"plasma", {S::Kde}},     {"xfce", {S::Xfce}},
        {"xubuntu", {S::Xfce}},   {"lxde", {S::Pcmanfm}},
        {"lxqt", {S::PcmanfmQt}}, {"lubuntu", {S::PcmanfmQt, S::Pcmanfm}},
    };
    QStringList desktops = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    desktops += session;
    for (QString desktop : desktops) {
        desktop = desktop.trimmed().toLower();
        if (desktop.startsWith(QLatin1String("x-")))
            desktop.remove(0, 2);
        for (const DesktopName& name : names)
            if (desktop.startsWith(QLatin1String(name.prefix)))
                for (S source : name.sources)
                    if (std::find(order.begin(), order.end(), source) == order.end())
                        order.push_back(source);
    }
    for (S source : {S::Feh, S::Nitrogen, S::Kde, S::Xfce, S::Pcmanfm, S::PcmanfmQt, S::Gnome,
                     S::Cinnamon, S::Mate})
        if (std::find(order.begin(), order.end(), source) == order.end())
            order.push_back(source);
    return order;
}

std::optional<QString> ParseGVariantString(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.size() < 2)
        return std::nullopt;
    const QChar quote = trimmed.front();
    if ((quote != QLatin1Char('\'') && quote != QLatin1Char('"')) || trimmed.back() != quote)
        return std::nullopt;
    QString result;
    for (qsizetype i = 1; i + 1 < trimmed.size(); ++i) {
        QChar c = trimmed[i];
        if (c == quote)
            return std::nullopt; // two strings or trailing junk
        if (c == QLatin1Char('\\')) {
            if (i + 2 >= trimmed.size())
                return std::nullopt;
            c = trimmed[++i];
        }
        result += c;
    }
    return result;
}

std::optional<TWallpaperSetting> ParseGSettingsBackground(const QString& pictureText,
                                                          const QString& optionsText) {
    const std::optional<QString> picture = ParseGVariantString(pictureText);
    if (!picture)
        return std::nullopt;
    // picture-options is 'zoom' until the user picks another.
    const std::optional<QString> options = ParseGVariantString(optionsText);
    return Setting(*picture,
                   NamedStyle(kGSettingsStyles, options.value_or(QString()), Style::wsFill));
}

std::optional<TWallpaperSetting> ParseKdeAppletsrc(const QString& text) {
    return FirstSection(
        text, {"image"}, "fillmode",
        [](const QString& section) {
            return section.startsWith(QLatin1String("Containments][")) &&
                   section.endsWith(QLatin1String("][Wallpaper][org.kde.image][General"));
        },
        [](const QString& image, const QString& fillMode) {
            return Setting(image, NumberedStyle(kKdeFillModes, fillMode, Style::wsFill));
        });
}

std::optional<TWallpaperSetting> ParseXfceDesktop(const QString& text) {
    // Each workspace is a property holding last-image and image-style among its children.
    struct Workspace {
        QString image;
        QString style;
    };
    std::vector<Workspace> open;
    QXmlStreamReader xml(text);
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement && xml.name() == QLatin1String("property")) {
            const QXmlStreamAttributes attributes = xml.attributes();
            const QStringView name = attributes.value(QLatin1String("name"));
            const QString value = attributes.value(QLatin1String("value")).toString();
            if (!open.empty() && name == QLatin1String("last-image"))
                open.back().image = value;
            else if (!open.empty() && name == QLatin1String("image-style"))
                open.back().style = value;
            open.push_back({});
        } else if (token == QXmlStreamReader::EndElement &&
                   xml.name() == QLatin1String("property") && !open.empty()) {
            const Workspace closed = open.back();
            open.pop_back();
            if (closed.image.isEmpty())
                continue;
            // Style 5, zoomed, is what a new workspace gets.
            if (auto setting = Setting(
                    closed.image, NumberedStyle(kXfceImageStyles, closed.style, Style::wsFill)))
                return setting;
        }
    }
    return std::nullopt;
}

std::optional<TWallpaperSetting> ParsePcmanfmDesktop(const QString& text) {
    // With a picture per workspace (wallpaper_common=0) the first workspace's stands in.
    return FirstSection(
        text, {"wallpaper", "wallpaper0"}, "wallpapermode",
        [](const QString& section) {
            return section == QLatin1String("*") || section == QLatin1String("Desktop");
        },
        [](const QString& picture, const QString& mode) {
            return Setting(picture, NamedStyle(kPcmanfmStyles, mode, Style::wsStretch));
        });
}

std::optional<TWallpaperSetting> ParseFehbg(const QString& text) {
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        const QStringList words = ShellWords(line);
        const auto feh = std::find_if(words.begin(), words.end(), [](const QString& word) {
            return word == QLatin1String("feh") || word.endsWith(QLatin1String("/feh"));
        });
        if (feh == words.end() || std::next(feh) == words.end())
            continue;
        const QString& picture = words.back();
        if (picture.startsWith(QLatin1Char('-')))
            continue;
        // feh's own default is to fill the screen.
        std::optional<Style> style = Style::wsFill;
        for (auto word = std::next(feh); word != std::prev(words.end()); ++word)
            if (word->startsWith(QLatin1String("--bg-")))
                style = NamedStyle(kFehStyles, *word, Style::wsFill);
        if (auto setting = Setting(picture, style))
            return setting;
    }
    return std::nullopt;
}

std::optional<TWallpaperSetting> ParseNitrogenConfig(const QString& text) {
    return FirstSection(
        text, {"file"}, "mode", [](const QString&) { return true; },
        [](const QString& file, const QString& mode) {
            return Setting(file, NumberedStyle(kNitrogenModes, mode, Style::wsFit));
        });
}

} // namespace chromint
