#include "ui/app/MyDocumentController.h"
#include "ui/app/MyDocumentWindow.h"
#include <QCoreApplication>
#include <QTimer>

#include "ui/app/BuildInfo.h"
#include "ui/app/MenuTags.h"
#include "ui/app/MyBugController.h"
#include "document/MyDocument.h"
#include "ui/app/UserPreferences.h"
#include "ui/app/StartWindow.h"
#include "ui/app/ThemeLibrary.h"
#include "ui/app/VersionCheck.h"
#include "application/MyApplication.h"
#include "pipeline/ProcessorQueue.h"
#include "pipeline/XmlProcessor.h"
#include "pipeline/XmlRun.h"
#include "platform/DelayedCall.h"
#include "platform/Resources.h"
#include "platform/text/RtfCodec.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyImageView.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/MyTextView.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/RulerUnit.h"
#include "ui/widgets/SheetBuilder.h"
#include "ui/widgets/ScreenText.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QUrl>
#include <QVBoxLayout>

namespace {
const QString processorKey = QStringLiteral("processor:");
const QString recentKey = QStringLiteral("RecentDocuments");
constexpr int recentLimit = 10;

QString canonical(const QString& path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString resolved = QFileInfo(clean).canonicalFilePath();
    return resolved.isEmpty() ? clean : resolved;
}
} // namespace

MyDocumentController::MyDocumentController(lq::UserDefaults& defaults, const QString& supportFolder, QObject* parent)
    : QObject(parent)
    , _defaults(defaults)
    , _supportFolder(supportFolder)
    , bugs(new MyBugController())
    , _versionCheck(new VersionCheck(this))
{
    bugs->setLogFolder(supportFolder);
    connect(_versionCheck, &VersionCheck::finished, this, [this](const QString& message, bool) {
        lq::uiFrame(this, "checkForUpdate:", [&] {
            if (message.isEmpty())
                return;
            lq::runAlert(_startWindow, QStringLiteral("Version check"), message);
        });
    });
    if (MyApplication* app = MyApplication::instance())
        app->setBugHandler([this](const QString& text) { bugs->bugs(text); });
}

MyDocumentController::~MyDocumentController()
{
    stopProcessor();
    if (MyApplication* app = MyApplication::instance())
        app->setBugHandler({});
    delete bugs;
    delete Preferences;
    delete AboutBox;
    delete _startWindow;
    _windows.clear();
}

bool MyDocumentController::applicationDidFinishLaunching()
{
    return lq::uiFrame(this, "applicationDidFinishLaunching:", [this] {
        if (!systemCheck()) {
            lq::runAlert(nullptr, QStringLiteral("Error"),
                QStringLiteral("Parts of the system are missing.  Lumenquill can not launch.  Please install the packages zip and unzip, "
                               "or contact Lumenquill support for more information."));
            return false;
        }
        lq::log(QStringLiteral("------------------build ") + QString::number(BuildInfo::buildNumber) + QStringLiteral("--------------------------"));
        readPreferences();
        checkForPrefsUpdate();
        if (MyApplication::shared().checkForUpdates() != 0)
            checkForUpdate(false);
        makeGrummets();
        ThemeLibrary::seedThemeLibrary(_supportFolder, ThemeLibrary::defaultArchive());
        bugs->setMyDocumentController(this);
        return true;
    });
}

void MyDocumentController::applicationWillTerminate()
{
    writePreferences();
}

bool MyDocumentController::closeAllDocuments()
{
    std::vector<MyDocumentWindow*> open;
    for (const auto& window : _windows)
        open.push_back(window.get());
    for (MyDocumentWindow* window : open) {
        if (!window->closeForQuit())
            return false;
    }
    return true;
}

void MyDocumentController::terminate()
{
    lq::uiFrame(this, "terminate:", [&] {
        if (closeAllDocuments())
            QCoreApplication::quit();
    });
}

QStringList MyDocumentController::requiredTools()
{
    return {QStringLiteral("/usr/bin/zip"), QStringLiteral("/usr/bin/unzip")};
}

bool MyDocumentController::systemCheck()
{
    for (const QString& tool : requiredTools()) {
        if (!MyApplication::checkUnixAvail(tool)) {
            lq::log(QStringLiteral("Missing tool: ") + tool);
            return false;
        }
    }
    return true;
}

void MyDocumentController::readPreferences()
{
    UserPreferences::readPreferences(_defaults, MyApplication::shared());
}

void MyDocumentController::checkForPrefsUpdate()
{
    UserPreferences::checkForPrefsUpdate(_defaults, MyApplication::shared());
}

void MyDocumentController::writePreferences()
{
    UserPreferences::writePreferences(_defaults, MyApplication::shared());
}

void MyDocumentController::checkForUpdate(bool userAsked)
{
    _versionCheck->checkForUpdate(serverAddress(), userAsked);
}

// --- The application's processor queue ------------------------------------------------------

void MyDocumentController::startProcessor(const std::shared_ptr<XmlProcessor>& script)
{
    if (!script || script->numberChildren() == 0)
        return;
    script->setTotalCount();
    stopProcessor();
    _processors.append(script);
    lq::performAfter(this, processorKey, ProcessorQueue::rearmSeconds, [this] { processor(); });
}

void MyDocumentController::processor()
{
    try {
        QElapsedTimer turn;
        turn.start();
        bool ran = false;
        while (turn.elapsed() < qint64(ProcessorQueue::sliceSeconds * 1000)) {
            while (!_processors.isEmpty() && _processors.first()->numberChildren() == 0)
                _processors.removeFirst();
            if (_processors.isEmpty())
                return;
            // The turn holds the script and the step while the step runs.
            const std::shared_ptr<XmlProcessor> script = _processors.first();
            const XmlBasePtr next = script->firstChild();
            script->removeChildWithoutDeletingChildren(next.get());
            ran = true;
            const auto step = std::dynamic_pointer_cast<XmlRun>(next);
            if (!step)
                continue;
            step->setParent(script.get());
            try {
                step->run();
            } catch (...) {
                const auto [name, reason] = ProcessorQueue::currentFailure();
                lq::log(QStringLiteral("**** ERROR ****"));
                lq::log(QStringLiteral("processor error: ") + name + QStringLiteral(": ") + reason);
            }
            step->setParent(nullptr);
        }
        if (ran)
            lq::performAfter(this, processorKey, ProcessorQueue::rearmSeconds, [this] { processor(); });
    } catch (...) {
        const auto [name, reason] = ProcessorQueue::currentFailure();
        lq::log(QStringLiteral("*** FATAL ERROR IN PROCESSOR ***"));
        lq::log(QStringLiteral("processor error: ") + name + QStringLiteral(": ") + reason);
    }
}

void MyDocumentController::stopProcessor()
{
    lq::cancel(this, processorKey);
}

bool MyDocumentController::processorArmed() const
{
    return lq::pendingCalls(this, processorKey) > 0;
}

void MyDocumentController::makeGrummets()
{
    if (_grummetsMade)
        return;
    QString abbreviation = MyApplication::shared().localized(QStringLiteral("gt"));
    if (abbreviation == QStringLiteral(" "))
        abbreviation.clear();
    RulerUnit::registerUnit(RulerUnit{QStringLiteral("Grummets"), abbreviation, 100.0, {2.0}, {0.5, 0.2}});
    _grummetsMade = true;
}

QString MyDocumentController::serverAddress() const
{
    return UserPreferences::serverAddress(_defaults);
}

void MyDocumentController::openServerPage(const QString& path, const QString& query)
{
    const QString server = serverAddress();
    if (server.isEmpty()) {
        lq::runAlert(_startWindow, QStringLiteral("Lumenquill"), QStringLiteral("The online pages are off: no server address is set in the preferences."));
        return;
    }
    QUrl url(server + path);
    if (!query.isEmpty())
        url.setQuery(query);
    lq::openURL(url);
}

void MyDocumentController::menuClicked(int tag)
{
    lq::uiFrame(this, "menuClicked:", [&] {
        switch (tag) {
        case MenuTag::NewSite: newDocument(); break;
        case MenuTag::Open: openDocument(); break;
        case MenuTag::Preferences: showPreferences(); break;
        case MenuTag::About: showAboutBox(); break;
        case MenuTag::Manual:
            openServerPage(QStringLiteral("/LQ2Manual/start.php"), QStringLiteral("build=") + QString::number(BuildInfo::buildNumber));
            break;
        case MenuTag::ReportBug: bugs->bugs(); break;
        case MenuTag::CheckForUpdates: checkForUpdate(true); break;
        case MenuTag::Quit: terminate(); break;
        case MenuTag::Tips: openServerPage(QStringLiteral("/lqtricks/")); break;
        case MenuTag::TemplatesPage: openServerPage(QStringLiteral("/lqtemplates/")); break;
        case MenuTag::Supplement: openServerPage(QStringLiteral("/LQSupplement/")); break;
        case MenuTag::HelpIndex: openServerPage(QStringLiteral("/lqhelpindex/")); break;
        default:
            // Document commands (100 and above) need a document window; none is current here.
            break;
        }
    });
}

bool MyDocumentController::compareDocPath(const QString& path) const
{
    const QString wanted = canonical(path);
    for (const auto& document : _documents) {
        if (canonical(document->fileName()) == wanted)
            return true;
    }
    return false;
}

void MyDocumentController::newDocument()
{
    lq::FilePanelRequest request;
    request.window = _startWindow;
    request.title = QStringLiteral("Create New Lumenquill Website");
    request.prompt = QStringLiteral("Create");
    request.folder = QDir::homePath();
    request.proposedName = QStringLiteral("MyWebsite");
    request.documentExtension = QStringLiteral("lqxl");
    const QString chosen = lq::modalHandler().runSavePanel(request);
    if (chosen.isEmpty())
        return;
    newDocumentPath = lq::withDocumentExtension(chosen, QStringLiteral("lqxl"));
    if (compareDocPath(newDocumentPath)) {
        newDocumentPath.clear();
        lq::runAlert(_startWindow, QStringLiteral("Whoops"),
            QStringLiteral("A document with that name is already open.  Close the existing document first to create a new document with that name."));
        return;
    }
    auto document = std::make_unique<MyDocument>();
    const QString path = std::exchange(newDocumentPath, QString());
    if (!document->newDocument(path)) {
        lq::runAlert(_startWindow, QStringLiteral("Whoops"),
            QStringLiteral("The website could not be created at ") + path + QStringLiteral(".\n\n") + document->lastError());
        return;
    }
    lq::log(QStringLiteral("New website: ") + path);
    _documents.push_back(std::move(document));
    addRecentDocument(path);
    openWindow(*_documents.back());
}

void MyDocumentController::openDocument()
{
    lq::FilePanelRequest request;
    request.window = _startWindow;
    request.title = QStringLiteral("Open Lumenquill Website");
    request.prompt = QStringLiteral("Open");
    request.folder = QDir::homePath();
    request.documentExtension = QStringLiteral("lqxl");
    const QString chosen = lq::modalHandler().runOpenPanel(request);
    if (!chosen.isEmpty())
        openDocumentAtPath(chosen);
}

bool MyDocumentController::openDocumentAtPath(const QString& path)
{
    if (compareDocPath(path))
        return true;
    auto document = std::make_unique<MyDocument>();
    if (!document->readFromFile(path)) {
        // One alert, with the reason; the log keeps it too.
        const QString why = QStringLiteral("The website at ") + path + QStringLiteral(" could not be opened: ") + document->lastError() + QLatin1Char('.');
        lq::log(why);
        lq::runAlert(_startWindow, QStringLiteral("Whoops"), why);
        return false;
    }
    lq::log(QStringLiteral("Opened website: ") + path);
    _documents.push_back(std::move(document));
    addRecentDocument(path);
    openWindow(*_documents.back());
    // A full disk leaves the site without its lock: it opens all the same,
    // and the user is told.
    const QString unlocked = _documents.back()->lockWarning();
    if (!unlocked.isEmpty())
        lq::runAlert(_windows.back().get(), QStringLiteral("The website is not locked"),
            QStringLiteral("The website at ") + path + QStringLiteral(" is open, but another program could open it too: ") + unlocked
                + QStringLiteral(". Your saves stay whole; the website is locked again at a save once the disk has room."));
    return true;
}

void MyDocumentController::openWindow(MyDocument& document)
{
    auto window = std::make_unique<MyDocumentWindow>(document, &_defaults);
    connect(window.get(), &MyDocumentWindow::applicationMenuClicked, this, &MyDocumentController::menuClicked);
    connect(window.get(), &MyDocumentWindow::closed, this, [this](MyDocumentWindow* closed) {
        // The window goes first (it still speaks to its document), after the close has returned.
        QTimer::singleShot(0, this, [this, closed] { closeWindow(closed); });
    });
    window->show();
    _windows.push_back(std::move(window));
}

void MyDocumentController::closeWindow(MyDocumentWindow* window)
{
    for (auto it = _windows.begin(); it != _windows.end(); ++it) {
        if (it->get() != window)
            continue;
        MyDocument* document = &window->document();
        _windows.erase(it);
        std::erase_if(_documents, [document](const auto& open) { return open.get() == document; });
        return;
    }
}

MyDocumentWindow* MyDocumentController::windowOf(const MyDocument* document) const
{
    for (const auto& window : _windows) {
        if (&window->document() == document)
            return window.get();
    }
    return nullptr;
}

QStringList MyDocumentController::recentDocuments() const
{
    return _defaults.objectForKey(recentKey).toStringList();
}

void MyDocumentController::addRecentDocument(const QString& path)
{
    QStringList recent = recentDocuments();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > recentLimit)
        recent.removeLast();
    _defaults.setObject(recentKey, recent);
    _defaults.synchronize();
    Q_EMIT recentDocumentsChanged();
}

void MyDocumentController::buildPreferencesPanel()
{
    Preferences = new QDialog(_startWindow);
    Preferences->setWindowTitle(QStringLiteral("Preferences"));
    auto* layout = new QVBoxLayout(Preferences);
    auto* controls = new QWidget(Preferences);
    layout->addWidget(controls);
    SheetBuilder b(controls, this, {});
    CheckForUpdates = b.check(11, QStringLiteral("Check for updates at launch"));
    AutoLaunchBrowser = b.check(12, QStringLiteral("Open the published site in the browser"));
    EnableRTL = b.check(13, QStringLiteral("Right-to-left text"));
    EnableBeforeAfter = b.check(14, QStringLiteral("Before-and-after slideshows"));
    ImportCaptions = b.label(QStringLiteral("Captions of imported photos:"))
                         .matrix(15, {{QStringLiteral("Title"), 0}, {QStringLiteral("Comments"), 1}, {QStringLiteral("Both"), 2}});
    ServerAddress = b.label(QStringLiteral("Server address:")).textField(16);
    ServerAddress->setPlaceholderText(QStringLiteral("none: version check and bug reports are off"));
    ServerAddress->setMinimumWidth(ServerAddress->fontMetrics().horizontalAdvance(ServerAddress->placeholderText()) + 24);
    // Without a server there is nothing to check: the box shows off and waits for an address.
    connect(ServerAddress, &QLineEdit::textChanged, this, [this] { showUpdateCheck(); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, Preferences);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { lq::uiFrame(this, "DonePrefs:", [this] { donePrefs(); }); });
}

void MyDocumentController::showPreferences()
{
    if (!Preferences)
        buildPreferencesPanel();
    const MyApplication& app = MyApplication::shared();
    AutoLaunchBrowser->setChecked(app.autoLaunchBrowser());
    EnableRTL->setChecked(app.enableRTL() != 0);
    EnableBeforeAfter->setChecked(app.enableBeforeAfter() != 0);
    if (!ImportCaptions->selectCellWithTag(app.importCaptions()))
        ImportCaptions->selectCellWithTag(0);
    ServerAddress->setText(serverAddress());
    showUpdateCheck();
    Preferences->show();
    Preferences->raise();
}

void MyDocumentController::showUpdateCheck()
{
    const bool server = !ServerAddress->text().trimmed().isEmpty();
    CheckForUpdates->setEnabled(server);
    CheckForUpdates->setChecked(server && MyApplication::shared().checkForUpdates() != 0);
}

void MyDocumentController::donePrefs()
{
    if (!Preferences)
        return;
    MyApplication& app = MyApplication::shared();
    if (CheckForUpdates->isEnabled())
        app.setCheckForUpdates(CheckForUpdates->isChecked() ? 1 : 0);
    app.setAutoLaunchBrowser(AutoLaunchBrowser->isChecked());
    app.setEnableRTL(EnableRTL->isChecked() ? 1 : 0);
    app.setEnableBeforeAfter(EnableBeforeAfter->isChecked() ? 1 : 0);
    app.setImportCaptions(std::max(0, ImportCaptions->selectedTag()));
    UserPreferences::setServerAddress(_defaults, ServerAddress->text());
    Preferences->hide();
    writePreferences();
    // Right-to-left text reaches the editors of every open window at once.
    for (const auto& window : _windows)
        window->setSimpleMode();
}

StartWindow* MyDocumentController::startWindow()
{
    if (!_startWindow)
        _startWindow = new StartWindow(this);
    return _startWindow;
}

QString MyDocumentController::agreementPath()
{
    return lq::resourcePath(QStringLiteral("SLA.rtf"));
}

void MyDocumentController::openSLA()
{
    lq::openURL(QUrl::fromLocalFile(agreementPath()));
}

void MyDocumentController::showAboutBox()
{
    if (!AboutBox) {
        AboutBox = new QDialog(_startWindow);
        AboutBox->setWindowTitle(QStringLiteral("About Lumenquill"));
        AboutBox->setAutoFillBackground(true);
        QPalette grey = AboutBox->palette();
        grey.setColor(QPalette::Window, QColor(0xe8, 0xe8, 0xe8));
        AboutBox->setPalette(grey);
        auto* layout = new QVBoxLayout(AboutBox);
        auto* icon = new MyImageView(2000, AboutBox);
        icon->setFixedSize(96, 96);
        icon->localize();
        layout->addWidget(icon, 0, Qt::AlignHCenter);
        auto* text = lq::richLabel(QStringLiteral("<p align=center><b>Lumenquill</b><br>Build ") + QString::number(BuildInfo::buildNumber)
                + QStringLiteral("</p><p align=center>Design your website and publish it.</p><p align=center>Made with Qt ")
                + QString::fromLatin1(qVersion()) + QStringLiteral("</p>"),
            AboutBox);
        layout->addWidget(text);
        // The licence agreement, to read here or in the system's RTF reader.
        _agreementView = new MyTextView(AboutBox);
        _agreementView->setReadOnly(true);
        _agreementView->setMinimumSize(420, 200);
        QFile file(agreementPath());
        if (file.open(QIODevice::ReadOnly)) {
            if (const std::optional<lq::StyledText> agreement = lq::RtfCodec::fromRtf(file.readAll())) {
                _agreementView->setStyledText(*agreement);
                _agreementView->moveCursor(QTextCursor::Start);
            }
        }
        layout->addWidget(_agreementView, 1);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, AboutBox);
        QPushButton* open = buttons->addButton(QStringLiteral("Open Agreement…"), QDialogButtonBox::ActionRole);
        open->setAutoDefault(false);
        lq::connectAction(open, &QPushButton::clicked, this, "openSLA:", [this] { openSLA(); });
        connect(buttons, &QDialogButtonBox::rejected, AboutBox, &QDialog::hide);
        layout->addWidget(buttons);
    }
    AboutBox->show();
    AboutBox->raise();
}
