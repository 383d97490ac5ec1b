#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace chromint {

// The program's name on the session bus and everywhere else it needs one: the maker's
// reverse domain and the program.
inline constexpr const char* ApplicationId = "org.example.qelvo.Chromint";
inline constexpr const char* InstanceObjectPath = "/org/example/qelvo/Chromint";

// The running program's own service on the session bus: other invocations (chromint --pick)
// hand their request to it instead of starting a second window.
class TInstanceService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.example.qelvo.Chromint")
public:
    using QObject::QObject;

    // Takes the name and publishes the object; false without a session bus or when another
    // instance already holds the name (this one then runs on without it).
    bool Register();

public slots:
    // Picks a colour from the screen and makes it current; answers at once.
    Q_SCRIPTABLE void Pick();
    // Opens pictures (absolute paths) in "From image..."; answers at once.
    Q_SCRIPTABLE void OpenFiles(const QStringList& files);

signals:
    void PickRequested();
    void FilesRequested(const QStringList& files);
};

// Hands a pick to the running instance; false when none answers on the session bus.
bool RequestPickFromRunningInstance();
// Hands pictures to the running instance; false when none answers on the session bus.
bool RequestOpenFilesInRunningInstance(const QStringList& files);

} // namespace chromint
