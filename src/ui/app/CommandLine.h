#pragma once
// The program's command line, read before anything else starts: help,
// version and mistakes are answered on the terminal without a display and
// without touching the log; everything else starts the windows.
#include <QString>
#include <QStringList>

struct CommandLine {
    enum class Action { StartWindows, ShowHelp, ShowVersion, Mistake };

    Action action = Action::StartWindows;
    QString mistake;        // what was wrong (Mistake)
    QString screenshot;     // --screenshot FILE
    bool quitAfterLaunch = false;
    QString tab;            // --tab IDENTIFIER
    QStringList websites;   // the website folders to open

    // Reads the arguments (the program's name first). Qt's own options
    // (-platform, -style, -display ...) are left for the application object,
    // and everything after "--webEngineArgs" for the web views' engine.
    static CommandLine parse(const QStringList& arguments);

    static QString usage(const QString& program);
    static QString version();
};
