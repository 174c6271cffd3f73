// The program's entry point: the command line (help, version and mistakes
// answered on the terminal, with no display and no log), then the support
// folder and its log, the Qt application, the application services, the
// hooks each layer answers for the ones below it (lq::Services) and the
// delegate's launch, then the event loop.
//
// Options (CommandLine): --screenshot FILE saves a picture of the start
// window (or of the last website opened) as the display shows it and quits;
// --tab IDENTIFIER shows that tab of the last website opened ("Send",
// "layout"); --quit-after-launch quits as soon as the launch is done.
#include "ui/app/CommandLine.h"
#include "ui/app/MyDocumentController.h"
#include "ui/app/StartWindow.h"
#include "ui/app/StartupLog.h"
#include "application/MyApplication.h"
#include "document/DocumentElements.h"
#include "ui/editors/iphoto/PhotoLibraryServices.h"
#include "ui/layout/LayoutServices.h"
#include "platform/Log.h"
#include "platform/Random.h"
#include "platform/Services.h"
#include "platform/SupportPaths.h"
#include "platform/UserDefaults.h"
#include "ui/widgets/GuiApplication.h"
#include "ui/widgets/WidgetServices.h"

#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

#include "platform/Resources.h"
#include "document/MyDocument.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/widgets/MyTabView.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("HOME"))
        return 0;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const QString program = QFileInfo(arguments.value(0, QStringLiteral("lumenquill"))).fileName();
    const CommandLine options = CommandLine::parse(arguments);
    switch (options.action) {
    case CommandLine::Action::ShowHelp:
        std::fputs(CommandLine::usage(program).toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::ShowVersion:
        std::fputs((CommandLine::version() + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Mistake:
        std::fputs((program + QStringLiteral(": ") + options.mistake + QStringLiteral("\n\n") + CommandLine::usage(program)).toLocal8Bit().constData(),
            stderr);
        return 1;
    case CommandLine::Action::StartWindows:
        break;
    }

    // The windows start: the log of this run begins (the older logs move up
    // unless another copy of the program is writing there). The whole path
    // of the support folder is made, parents included.
    const QString support = lq::supportFolder();
    const StartupLog::Start logStart = StartupLog::begin(support);

    GuiApplication qtApp(argc, argv);
    lq::setApplicationIdentity();
    QGuiApplication::setDesktopFileName(QStringLiteral("lumenquill"));
    QApplication::setWindowIcon(QIcon(lq::resourcePath(QStringLiteral("images/lumenquill.png"))));
    lq::seedRandomFromEntropy();
    if (logStart == StartupLog::Start::Shared)
        lq::log(QStringLiteral("Another copy of Lumenquill is running: this one adds its lines to the same log"));

    MyApplication application;
    lq::registerDocumentElements();
    // Alerts in the active window, callout text typed in place on the photo
    // canvas, each site's photo library and its captions, and every document
    // window's layout editor.
    lq::Services services;
    lq::registerWidgetServices(services);
    lq::registerPhotoLibraryServices(services, application);
    lq::registerLayoutServices(services);
    const lq::ServicesScope installed(services);
    lq::UserDefaults defaults;
    int status = 0;
    {
        MyDocumentController controller(defaults, support);
        QObject::connect(&qtApp, &QCoreApplication::aboutToQuit, &controller, [&controller] { controller.applicationWillTerminate(); });
        QTimer::singleShot(0, &controller, [&] {
            if (!controller.applicationDidFinishLaunching()) {
                QCoreApplication::exit(1);
                return;
            }
            QWidget* window = controller.startWindow();
            window->show();
            for (const QString& path : options.websites) {
                if (controller.openDocumentAtPath(QFileInfo(path).absoluteFilePath()))
                    window = controller.windowOf(controller.documents().back().get());
            }
            if (auto* documentWindow = qobject_cast<MyDocumentWindow*>(window); documentWindow && !options.tab.isEmpty()) {
                // An outer tab ("Send"), or one inside "Editing" ("layout").
                if (!documentWindow->tabView()->selectTabViewItemWithIdentifier(options.tab))
                    documentWindow->setMainTab(options.tab);
            }
            if (options.quitAfterLaunch) {
                QTimer::singleShot(0, &qtApp, &QCoreApplication::quit);
            } else if (!options.screenshot.isEmpty()) {
                const QString file = options.screenshot;
                QTimer::singleShot(800, window, [window, file] {
                    // What the display shows where the window is; the window's own
                    // rendering where the platform has no screen to read.
                    QPixmap picture;
                    if (QScreen* screen = window->screen())
                        picture = screen->grabWindow(0, window->x(), window->y(), window->width(), window->height());
                    if (picture.isNull() || QGuiApplication::platformName() == QLatin1String("offscreen"))
                        picture = window->grab();
                    const bool saved = picture.save(file);
                    lq::log(QStringLiteral("Screenshot ") + (saved ? QStringLiteral("saved: ") : QStringLiteral("failed: ")) + file);
                    QCoreApplication::exit(saved ? 0 : 2);
                });
            }
        });
        status = qtApp.exec();
    }
    return status;
}
