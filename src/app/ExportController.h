#pragma once
#include "app/SendControllerBase.h"

#include <QObject>
#include <QString>

class FSBrowser;
class MyDocumentWindow;
class MyTabView;
class QLabel;
class QWidget;
class WWRSSController;
class XmlLocation;

// The publish panel, the "Send" tab of the document window: edits the
// site's publishing destination in its tagged controls, starts a
// publication from the panel or of the changes only, tests an FTP or SFTP
// connection, previews the built site in the browser, and hands the work to
// the uploader panel.
class ExportController : public QObject {
    Q_OBJECT
public:
    // Builds the panel into the view of the "Send" tab.
    ExportController(MyDocumentWindow* document, QWidget* exportview);
    ~ExportController() override;

    // The uploader panel that does the transfers (not owned; may be none).
    void setSender(SendControllerBase* sender) { _sender = sender; }
    XmlLocation* location() const;

    void exportWebsite();
    void updateGUI();
    bool exportChanges();
    void startExport2();
    void exportChanges2();
    void previewInBrowser();

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

private:
    void startExport();
    void storeFtpFields();
    QString fieldText(int tag) const;
    void setFieldText(int tag, const QString& text);
    void changed();
    // The destination as one text: when it changes, the last published tree
    // no longer tells what the new place holds.
    QString destinationKey() const;
    void forgetLastPublishedTreeIfMoved();
    QString sitePath() const;

    MyDocumentWindow* _document;
    SendControllerBase* _sender = nullptr;
    QWidget* _exportview;
    MyTabView* _firstTab = nullptr;
    MyTabView* _exportTab = nullptr;
    FSBrowser* _fsBrowser = nullptr;
    WWRSSController* _rsscontroller = nullptr;
    QLabel* _notice = nullptr;
    QString _baseURL;
    QString _openURL;
    QString _passPhrase;
    int _digest = 0;
    QString _destination;
    bool _updating = false;
};
