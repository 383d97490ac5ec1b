#include "Cmdln.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace chromint {

namespace {

QString QuoteArgument(const QString& argument) {
    if (!argument.isEmpty() && !argument.contains(QLatin1Char(' ')) &&
        !argument.contains(QLatin1Char('\t')) && !argument.contains(QLatin1Char('"')))
        return argument;
    QString quoted = argument;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    quoted.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The arguments exactly as the kernel holds them, NUL-separated, before Qt takes out the
// options it understands.
QStringList ProcessArguments() {
    QFile file(QStringLiteral("/proc/self/cmdline"));
    QStringList arguments;
    if (!file.open(QIODevice::ReadOnly))
        return arguments;
    QByteArray data = file.readAll();
    if (data.endsWith('\0'))
        data.chop(1);
    if (data.isEmpty())
        return arguments;
    for (const QByteArray& argument : data.split('\0'))
        arguments.append(QFile::decodeName(argument));
    return arguments;
}

QString ExecutablePath(const QStringList& arguments) {
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    if (!exe.isEmpty())
        return exe;
    if (arguments.isEmpty())
        return {};
    const QString& first = arguments.front();
    if (first.contains(QLatin1Char('/')))
        return QFileInfo(first).absoluteFilePath();
    return QStandardPaths::findExecutable(first);
}

} // namespace

TCommandLine::TCommandLine(const QStringList& arguments, const QString& fileName)
    : FFileName(QDir::cleanPath(fileName)) {
    QStringList quoted;
    for (const QString& argument : arguments)
        quoted.append(QuoteArgument(argument));
    FCommandLine = quoted.join(QLatin1Char(' '));

    const qsizetype slash = FFileName.lastIndexOf(QLatin1Char('/'));
    FDirectory = slash < 0 ? QString() : FFileName.left(slash);
    FPath = slash < 0 ? QString() : FDirectory + QLatin1Char('/');
    FExeName = FFileName.mid(slash + 1);

    FParamCount = arguments.isEmpty() ? 0 : static_cast<int>(arguments.size() - 1);
    FParamList = arguments.mid(1);
}

TCommandLine TCommandLine::FromProcess() {
    const QStringList arguments = ProcessArguments();
    return TCommandLine(arguments, ExecutablePath(arguments));
}

bool TCommandLine::HasSwitch(const QString& ASwitch, bool IgnoreCase) const {
    const Qt::CaseSensitivity sensitivity = IgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (const QString& param : FParamList) {
        if (param.size() < 1 || (param[0] != QLatin1Char('-') && param[0] != QLatin1Char('/')))
            continue;
        if (QStringView(param).mid(1).compare(ASwitch, sensitivity) == 0)
            return true;
    }
    return false;
}

QString TCommandLine::Filter(const QString& ASwitch, QChar AValueSeparator) {
    const qsizetype at = AValueSeparator.isNull() ? -1 : ASwitch.indexOf(AValueSeparator);
    return at < 0 ? ASwitch : ASwitch.left(at);
}

QString TCommandLine::SwitchParam(const QString& ASwitch, QChar AValueSeparator) {
    const qsizetype at = AValueSeparator.isNull() ? -1 : ASwitch.indexOf(AValueSeparator);
    return at < 0 ? QString() : ASwitch.mid(at + 1);
}

const TCommandLine& CommandLine() {
    static const TCommandLine instance = TCommandLine::FromProcess();
    return instance;
}

} // namespace chromint
