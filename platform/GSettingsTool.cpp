#include "GSettingsTool.h"

#include <QProcess>
#include <QStandardPaths>

namespace chromint {

namespace {

QString ToolPath() {
    return QStandardPaths::findExecutable(QStringLiteral("gsettings"));
}

} // namespace

bool GSettingsToolFound() {
    return !ToolPath().isEmpty();
}

std::optional<QString> RunGSettings(const QStringList& arguments, int timeoutMs,
                                    qint64 maxOutputBytes) {
    const QString program = ToolPath();
    if (program.isEmpty())
        return std::nullopt;
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(timeoutMs);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput().left(maxOutputBytes));
}

} // namespace chromint
