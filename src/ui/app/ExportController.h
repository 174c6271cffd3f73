#pragma once
#include "ui/widgets/SheetBuilder.h"
#include "publish/PublishObserver.h"
#include "publish/ServerKind.h"
#include "publish/XmlLocation.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class FSBrowser;
class MyButton;
class MyDocumentWindow;
class MyTabView;
class PublisherBase;
class QLabel;
class QWidget;
class SiteBuilder;
class WWRSSController;
struct PublishRequest;

// The tags of the publish panel's controls.
namespace PublishTag {
enum : int {
    ServerType = 5000,      // pop-up: .Mac, WebDAV, folder, FTP
    ExportType = 5001,      // matrix: 1 only the changes, 0 every file
    MacUser = 5002,
    MacPassword = 5003,
    MacFolder = 5004,
    WebDAVUser = 5005,
    WebDAVPassword = 5006,
    WebDAVDigest = 5007,    // check box: digest authentication
    WebDAVAddress = 5008,
    FtpApp = 5009,          // pop-up: the FTP client application
    FtpType = 5010,         // pop-up: FTP or SFTP
    FtpPort = 5011,
    FtpDefaultPort = 5012,  // check box
    FtpServer = 5013,
    FtpUser = 5014,
    FtpPassword = 5015,
    FtpFolder = 5016,
    Language = 5017,        // pop-up: the site's language
    SiteDescription = 5018,
};
} // namespace PublishTag

// The publish panel, the "Send" tab of the document window: edits the
// site's publishing destination in its tagged controls, starts a
// publication from the panel or of the changes only, tests an FTP or SFTP
// connection, previews the built site in the browser, and hands a request
// made from the destination to the publisher, which tells it back what
// stopped a publication before its road took it.
class ExportController : public QObject, public PublishObserver {
    Q_OBJECT
public:
    // Builds the panel into the view of the "Send" tab.
    ExportController(MyDocumentWindow* document, QWidget* exportview);
    ~ExportController() override;

    // The publisher that builds and sends (not owned; may be none).
    void setSender(PublisherBase* sender) { _sender = sender; }
    PublisherBase* sender() const { return _sender; }
    // What the preview builds the site with (not owned; none: it shows the site as built).
    void setSiteBuilder(SiteBuilder* builder) { _builder = builder; }
    XmlLocation* location() const;

    void exportWebsite();
    void updateGUI();
    // Publishes the changes with the stored settings; false when nothing
    // was asked of the publisher (a folder destination, or one that cannot
    // be used, said in an alert).
    bool exportChanges();
    void previewInBrowser();

    // What stopped a publication before its road took it.
    void buildFailed(const QString& why) override;
    void publicationRefused(const QString& title, const QString& why) override;
    void destinationNeeded() override;
    // A run ended: the folder line tells whether the export made its folder.
    void runEnded(const Ending& ending) override;

    // Actions of the controls.
    void action(QWidget* sender);
    void controlTextDidChange(QWidget* sender);
    void exportButton();
    void cancelButton();
    void testFTPExport();
    void previewInBrowserButton();
    // The new-folder sheet; the name is what the user typed.
    void createFolderNamed(const QString& name);

    QWidget* exportview() const { return _exportview; }
    FSBrowser* fsBrowser() const { return _fsBrowser; }
    // The feed settings, refreshed together with the panel.
    WWRSSController* rssController() const { return _rsscontroller; }
    MyTabView* exportTab() const { return _exportTab; }
    MyTabView* firstTab() const { return _firstTab; }
    // The line under the controls that tells what happened to the destination.
    QLabel* notice() const { return _notice; }
    const QString& baseURL() const { return _baseURL; }
    const QString& openURL() const { return _openURL; }
    const QString& passPhrase() const { return _passPhrase; }

    // The export folder relative to the home folder, beginning with "/",
    // whether it was stored relative or as an absolute path under home.
    static QString relativeExportFolder(const QString& stored);
    // How a chosen folder is stored: relative to the home folder when it is
    // below it, else as a file address ("file:///srv/site").
    static QString storedExportFolder(const QString& folder);
    // Where a folder export goes: the folder chosen outside the home
    // folder, else the browser's folder below it.
    QString exportFolderPath() const;
    // The folder chooser: any folder the user may write to.
    void chooseExportFolder();

private:
    // The parts of the panel.
    void buildGeneral(QWidget* main);
    void buildServerTabs(QWidget* main);
    QWidget* buildFolderPage();
    void buildButtons(QWidget* main);
    void runNewFolderSheet();
    // Sends a control's change to action or controlTextDidChange.
    SheetBuilder::Action controlAction();

    void startExport();
    // The FTP tab's own settings: FTP or SFTP, the port, the folder on the server.
    void storeFtpSettings();
    // Stores the chosen server type and the fields of its tab.
    void storeDestination();
    // The request for the stored destination; none, with an alert that
    // says why, when the destination cannot be used.
    std::optional<PublishRequest> requestFor(bool changesOnly);
    void showExportFolder();
    QString fieldText(int tag) const;
    void setFieldText(int tag, const QString& text);
    void changed();
    // The destination as one text (the place, never the password): each
    // destination has its own record of the last publication there.
    QString destinationKey() const;
    // When the destination changed, its record of the last publication
    // takes the place of the one before, which waits for its destination.
    void followDestination();
    QString sitePath() const;

    // Fills the address fields of every tab; not the one being typed into.
    void showAddresses(int typing = 0);
    // Chooses the server type and FTP's type: each kind's own account comes back.
    void changeServerType(int type, int ftpType);
    // Changes the account of the kind whose field the tag is.
    void storeAccount(int tag, const std::function<void(XmlLocation::Account&)>& change);
    // An address as it is typed, without the user and password it may hold.
    void storeTypedAddress(int tag, const QString& text);
    // Takes a user and password out of the address field into the account,
    // and the port and folder of a whole address out of the FTP server
    // field; false, with the reason under the controls, when the address
    // cannot be used.
    bool tidyAddress(int tag);

    MyDocumentWindow* _document;
    PublisherBase* _sender = nullptr;
    SiteBuilder* _builder = nullptr;
    QWidget* _exportview;
    MyTabView* _firstTab = nullptr;
    MyTabView* _exportTab = nullptr;
    FSBrowser* _fsBrowser = nullptr;
    WWRSSController* _rsscontroller = nullptr;
    QLabel* _notice = nullptr;
    QLabel* _exportFolderLabel = nullptr;
    MyButton* _testButton = nullptr;
    QString _baseURL;
    QString _openURL;
    QString _passPhrase;
    QString _destination;
    bool _updating = false;
    QString _addressError;
};
