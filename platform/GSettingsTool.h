#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace chromint {

// The desktop's `gsettings` tool, the way into GNOME, Cinnamon and MATE settings from outside
// their own processes.
bool GSettingsToolFound();

// Runs `gsettings arguments...` and gives what it printed (at most maxOutputBytes), or nothing
// when the tool is missing, fails, or has not ended within timeoutMs (then it is killed, so a
// hung tool never holds the caller longer).
std::optional<QString> RunGSettings(const QStringList& arguments, int timeoutMs,
                                    qint64 maxOutputBytes = 4096);

} // namespace chromint
