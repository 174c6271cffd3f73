#pragma once
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class MyBugController;
class XmlProcessor;
class MyDocument;
class MyDocumentWindow;
class StartWindow;
class VersionCheck;
class QDialog;
class MyCheckBox;
class MyMatrix;
class MyTextField;
class MyTextView;
namespace lq {
class UserDefaults;
}

// The application delegate: the launch sequence (tools, build banner,
// preferences, version check, ruler unit, theme library), the application
// commands of the start window and menus, the new-site and open panels, the
// preferences panel and what happens at quit.
class MyDocumentController : public QObject {
    Q_OBJECT
public:
    MyDocumentController(lq::UserDefaults& defaults, const QString& supportFolder, QObject* parent = nullptr);
    ~MyDocumentController() override;

    // The launch in order; false when the program cannot run (a tool is
    // missing) and must quit.
    bool applicationDidFinishLaunching();
    void applicationWillTerminate();
    // Closes the document windows in turn, each asking about its unsaved
    // changes; answers false, and stops there, when one stays open.
    bool closeAllDocuments();
    // Quit: every document window closes first (or quitting stops).
    void terminate();

    // The outside tools the program runs, all of which must be there.
    static QStringList requiredTools();
    bool systemCheck();
    void readPreferences();
    void checkForPrefsUpdate();
    void writePreferences();
    // The version check; a quiet launch check shows only a newer version.
    // The menu's "Check for Updates…" and the bug-report window ask for it.
    void checkForUpdate(bool userAsked);
    void makeGrummets();
    bool grummetsMade() const { return _grummetsMade; }

    // Application commands by tag (MenuTag): 50 new site, 51 open, 53
    // preferences, 54 about, 55 manual, 56 version check, 57 bug report, 59 quit, 61 tips, 62
    // templates, 63 supplement, 64 help index. A document's own commands
    // (100 and above) are its window's.
    void menuClicked(int tag);
    void newDocument();
    void openDocument();
    // Opens the document folder; answers whether it did.
    bool openDocumentAtPath(const QString& path);
    bool compareDocPath(const QString& path) const;
    void showPreferences();
    void donePrefs();
    // The About box: the program's name, build and what it is made with.
    void showAboutBox();
    QDialog* aboutBox() const { return AboutBox; }
    // The About box's view of the licence agreement.
    MyTextView* agreementView() const { return _agreementView; }

    // The licence agreement, a resource, in the application the system opens RTF files with.
    void openSLA();
    static QString agreementPath();

    // The application's own queue of processor scripts, for work that
    // belongs to no document: its steps run without one, in turns on the
    // event loop (steps for half a second, the next turn a tenth of a second
    // later). A step that fails is written to the program's log and the
    // next one runs. Nothing shows its progress.
    void startProcessor(const std::shared_ptr<XmlProcessor>& script);
    // One turn.
    void processor();
    // Cancels the next turn; the queue stays as it is.
    void stopProcessor();
    const QList<std::shared_ptr<XmlProcessor>>& processors() const { return _processors; }
    bool processorArmed() const;

    QString serverAddress() const;
    QStringList recentDocuments() const;
    const std::vector<std::unique_ptr<MyDocument>>& documents() const { return _documents; }
    StartWindow* startWindow();
    // The window of an open document.
    MyDocumentWindow* windowOf(const MyDocument* document) const;
    MyBugController* bugController() { return bugs; }
    QDialog* preferencesPanel() { return Preferences; }

Q_SIGNALS:
    void recentDocumentsChanged();

private:
    void openServerPage(const QString& path, const QString& query = QString());
    void addRecentDocument(const QString& path);
    void buildPreferencesPanel();
    // "Check for updates" as the server address allows: off and disabled without one.
    void showUpdateCheck();
    void openWindow(MyDocument& document);
    void closeWindow(MyDocumentWindow* window);

    lq::UserDefaults& _defaults;
    QString _supportFolder;
    QPointer<StartWindow> _startWindow;
    MyBugController* bugs;
    VersionCheck* _versionCheck;
    QDialog* Preferences = nullptr;
    QDialog* AboutBox = nullptr;
    MyCheckBox* CheckForUpdates = nullptr;
    MyCheckBox* AutoLaunchBrowser = nullptr;
    MyCheckBox* EnableRTL = nullptr;
    MyCheckBox* EnableBeforeAfter = nullptr;
    MyMatrix* ImportCaptions = nullptr;
    MyTextField* ServerAddress = nullptr;
    MyTextView* _agreementView = nullptr;
    QString newDocumentPath;
    bool _grummetsMade = false;
    QList<std::shared_ptr<XmlProcessor>> _processors;
    std::vector<std::unique_ptr<MyDocument>> _documents;
    // Declared after the documents: the windows go first.
    std::vector<std::unique_ptr<MyDocumentWindow>> _windows;
};
