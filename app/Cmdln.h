#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace chromint {

// The program's command line and the location of its executable, captured once at start.
// Chromint reads no option; the directory is what the rest of the program uses.
class TCommandLine {
public:
    // arguments[0] is the program as it was started, the rest its parameters; fileName is
    // the executable's full path.
    TCommandLine(const QStringList& arguments, const QString& fileName);

    // This process: its arguments from /proc/self/cmdline, its executable from
    // /proc/self/exe (or, failing that, the first argument made absolute).
    static TCommandLine FromProcess();

    // The whole command line, arguments separated by blanks; an argument holding blanks or
    // quotes, or an empty one, is put in double quotes.
    const QString& Line() const { return FCommandLine; }
    const QString& FileName() const { return FFileName; }
    // Without a trailing separator: "/opt/chromint/bin" ("" for the root folder).
    const QString& Directory() const { return FDirectory; }
    // With a trailing separator: "/opt/chromint/bin/".
    const QString& Path() const { return FPath; }
    const QString& ExeName() const { return FExeName; }
    int Count() const { return FParamCount; }
    const QStringList& ParamList() const { return FParamList; }

    // True when some parameter is "-" or "/" followed by exactly the switch.
    bool HasSwitch(const QString& ASwitch, bool IgnoreCase) const;
    // "lang:de" with ':' gives "lang"; the whole switch without the separator, or when the
    // separator is the null character.
    static QString Filter(const QString& ASwitch, QChar AValueSeparator);
    // "lang:de" with ':' gives "de"; empty without the separator, or when the separator is
    // the null character.
    static QString SwitchParam(const QString& ASwitch, QChar AValueSeparator);

private:
    QString FCommandLine;
    QString FFileName;
    QString FDirectory;
    QString FPath;
    QString FExeName;
    int FParamCount = 0;
    QStringList FParamList;
};

// The process-wide command line, captured on first use.
const TCommandLine& CommandLine();

} // namespace chromint
