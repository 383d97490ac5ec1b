#pragma once

#include <QString>
#include <QStringList>

namespace chromint {

// What the command line asks for.
struct TStartOptions {
    bool help = false;
    bool version = false;
    bool pick = false;  // pick one colour from the screen
    bool print = false; // with pick: print it instead of handing it to the program
    QStringList files;
    QString error; // set when the command line cannot be followed
};

// arguments[0] is the program.
TStartOptions ParseStartOptions(const QStringList& arguments);

// What --help prints.
QString StartOptionsHelp();
// What --version prints: "chromint 1.3.0.2610".
QString VersionText();

} // namespace chromint
