#include "ui/app/CommandLine.h"

#include "ui/app/BuildInfo.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

// Qt's own options, which the application object reads itself; those with a value first.
const QStringList qtOptionsWithValue = {
    QStringLiteral("platform"), QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"), QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"), QStringLiteral("qwindowtitle"), QStringLiteral("session"),
    QStringLiteral("style"), QStringLiteral("stylesheet"), QStringLiteral("display"), QStringLiteral("geometry"),
    QStringLiteral("name"), QStringLiteral("title"), QStringLiteral("visual"), QStringLiteral("ncols"), QStringLiteral("im"),
};
const QStringList qtFlags = {
    QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("cmap"), QStringLiteral("nograb"), QStringLiteral("dograb"),
    QStringLiteral("sync"),
};

} // namespace

QString CommandLine::version()
{
    return QStringLiteral("Lumenquill ") + QStringLiteral(LQ_VERSION) + QStringLiteral(" (build ") + QString::number(BuildInfo::buildNumber)
        + QLatin1Char(')');
}

QString CommandLine::usage(const QString& program)
{
    return QStringLiteral("Usage: ") + program + QStringLiteral(" [options] [website.lqxl ...]\n"
                                                                 "Designs a personal website and publishes it.\n\n"
                                                                 "Options:\n"
                                                                 "  -h, --help                 Show this help and quit.\n"
                                                                 "  -v, --version              Show the version and quit.\n"
                                                                 "  --tab <identifier>         The tab the last opened website shows (Editing, Activity, Versions, Themes, Send,\n"
                                                                 "                             content, layout, preview).\n"
                                                                 "  --screenshot <file>        Save a picture of the start window (or of the last website opened) and quit.\n"
                                                                 "  --quit-after-launch        Quit as soon as the launch is done.\n\n"
                                                                 "Arguments:\n"
                                                                 "  website.lqxl               Website folders to open.\n");
}

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine line;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")});
    const QCommandLineOption showVersion(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(), QStringLiteral("file"));
    const QCommandLineOption quitAfterLaunch(QStringLiteral("quit-after-launch"));
    const QCommandLineOption tab(QStringLiteral("tab"), QString(), QStringLiteral("identifier"));
    for (const QCommandLineOption& option : {help, showVersion, screenshot, quitAfterLaunch, tab})
        parser.addOption(option);
    for (const QString& name : qtOptionsWithValue)
        parser.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    for (const QString& name : qtFlags)
        parser.addOption(QCommandLineOption(name));

    // What follows "--webEngineArgs" belongs to the web views' engine.
    const qsizetype engine = arguments.indexOf(QStringLiteral("--webEngineArgs"));
    if (!parser.parse(engine < 0 ? arguments : arguments.mid(0, engine))) {
        line.action = Action::Mistake;
        line.mistake = parser.errorText();
        return line;
    }
    if (parser.isSet(help)) {
        line.action = Action::ShowHelp;
        return line;
    }
    if (parser.isSet(showVersion)) {
        line.action = Action::ShowVersion;
        return line;
    }
    line.screenshot = parser.value(screenshot);
    line.quitAfterLaunch = parser.isSet(quitAfterLaunch);
    line.tab = parser.value(tab);
    line.websites = parser.positionalArguments();
    return line;
}
