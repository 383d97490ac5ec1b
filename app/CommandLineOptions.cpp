#include "CommandLineOptions.h"

#include "AboutDlg.h"

#include <QCommandLineParser>

namespace chromint {

TStartOptions ParseStartOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption pick(QStringLiteral("pick"));
    const QCommandLineOption print(QStringLiteral("print"));
    parser.addOptions({help, version, pick, print});

    TStartOptions options;
    if (!parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    options.pick = parser.isSet(pick);
    options.print = parser.isSet(print);
    options.files = parser.positionalArguments();
    if (options.print && !options.pick && !options.help && !options.version)
        options.error = QStringLiteral("--print goes with --pick");
    return options;
}

QString StartOptionsHelp() {
    return QStringLiteral(
        "Usage: chromint [OPTION]... [PICTURE]...\n"
        "A colour tool: one current colour seen as RGB, HSL, CMYK and CIE L*a*b*, picked\n"
        "from the screen or from pictures.\n"
        "\n"
        "  --pick           pick a colour from the screen and make it the current colour of\n"
        "                   the running Chromint (starting one if none runs)\n"
        "  --pick --print   pick a colour from the screen and print it as #RRGGBB\n"
        "  -h, --help       show this help and exit\n"
        "  -v, --version    show the version and exit\n"
        "\n"
        "Keys while picking: the pointer or the arrow keys move (Shift: 10 pixels); a click,\n"
        "Enter or Ctrl+Shift+X takes the colour; Esc cancels.\n"
        "\n"
        "Exit status: 0 on success, 1 when no colour was picked (cancelled, or the screen\n"
        "cannot be read), 2 for a command line that cannot be followed.\n");
}

QString VersionText() {
    return QStringLiteral("chromint %1.%2.%3.%4")
        .arg(ProgramVersion.major)
        .arg(ProgramVersion.minor)
        .arg(ProgramVersion.release)
        .arg(ProgramVersion.build);
}

} // namespace chromint
