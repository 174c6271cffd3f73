#include "ui/app/ExportController.h"

#include "ui/app/FSBrowser.h"
#include "document/MyDocument.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/app/WWRSSController.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlDescription.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Workspace.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/SheetBuilder.h"
#include "platform/SupportPaths.h"
#include "publish/FolderExport.h"
#include "publish/PublicationRecords.h"
#include "publish/PublishAddress.h"
#include "publish/PublishRequest.h"
#include "publish/PublisherBase.h"
#include "publish/ServerKind.h"
#include "publish/SiteBuilder.h"
#include "publish/XmlLocation.h"
#include "ui/widgets/ScreenText.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QScrollArea>
#include <QSettings>
#include <QStandardItemModel>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString LastPublishedTree = QStringLiteral("lastbom.xmlbase");
const QString DestinationChanged = QStringLiteral("The destination changed: the next publication sends the whole site.");

// The fields of a server tab that hold the account and the address.
struct TabFields {
    const char* tab;
    int user;
    int password;
    int address;
};
const TabFields ServerTabFields[] = {
    {"mac", PublishTag::MacUser, PublishTag::MacPassword, PublishTag::MacFolder},
    {"webdav", PublishTag::WebDAVUser, PublishTag::WebDAVPassword, PublishTag::WebDAVAddress},
    {"ftp", PublishTag::FtpUser, PublishTag::FtpPassword, PublishTag::FtpServer},
};

const TabFields* fieldsOfTab(const char* tab)
{
    for (const TabFields& fields : ServerTabFields) {
        if (qstrcmp(fields.tab, tab) == 0)
            return &fields;
    }
    return nullptr;
}

// The kind of server whose account and address a tab's fields show.
QString kindOfTab(const char* tab, const XmlLocation& where)
{
    const ServerKind* kind = ServerKind::withTab(QLatin1String(tab));
    return kind ? XmlLocation::accountKind(kind->type, where.ftpType()) : QString();
}

// The tab whose account field, address field or FTP setting the tag is.
const TabFields* tabOfField(int tag)
{
    for (const TabFields& fields : ServerTabFields) {
        if (tag == fields.user || tag == fields.password || tag == fields.address)
            return &fields;
    }
    return tag == PublishTag::FtpPort ? fieldsOfTab("ftp") : nullptr;
}

using lq::isFileAddress;

} // namespace

ExportController::ExportController(MyDocumentWindow* document, QWidget* exportview)
    : QObject(exportview)
    , _document(document)
    , _exportview(exportview)
{
    auto* outer = new QVBoxLayout(exportview);
    _firstTab = new MyTabView(exportview);
    outer->addWidget(_firstTab);
    // The settings scroll rather than make the window taller than the
    // screen; the notice and the buttons below them stay in sight.
    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    auto* settings = new QWidget;
    new QVBoxLayout(settings);
    auto* scroller = new QScrollArea;
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(settings);
    pageLayout->addWidget(scroller);
    _firstTab->addTabViewItem(QStringLiteral("main"), QStringLiteral("Publish"), page);
    auto* feed = new QWidget;
    _firstTab->addTabViewItem(QStringLiteral("rss"), QStringLiteral("RSS Feed"), feed);
    _rsscontroller = new WWRSSController(document, feed);

    buildGeneral(settings);
    buildServerTabs(settings);
    // Text fields store what is typed as it is typed.
    for (MyTextField* field : exportview->findChildren<MyTextField*>())
        connect(field, &QLineEdit::textEdited, this, [this, field] { controlTextDidChange(field); });
    buildButtons(page);

    // A retired kind (.Mac) is offered only to a site that publishes there
    // already (before the tabs choose: hiding the selected tab selects another).
    for (int index = 0; index < ServerKind::count(); ++index) {
        const ServerKind& kind = ServerKind::at(index);
        if (!kind.retired || (location() && location()->serverType() == kind.type))
            continue;
        _exportTab->setTabVisible(_exportTab->indexOfTabViewItemWithIdentifier(QLatin1String(kind.tab)), false);
        auto* serverType = qobject_cast<MyPopUpButton*>(lq::viewWithTag(exportview, PublishTag::ServerType));
        if (auto* list = qobject_cast<QListView*>(serverType->view()))
            list->setRowHidden(kind.type, true);
        if (auto* items = qobject_cast<QStandardItemModel*>(serverType->model()))
            items->item(kind.type)->setEnabled(false);
    }
    // The tabs choose the server type as the pop-up does: both show the one stored type.
    connect(_exportTab, &QTabWidget::currentChanged, this, [this](int) {
        if (_updating)
            return;
        lq::uiFrame(this, "tabView:didSelectTabViewItem:", [&] {
            const ServerKind* kind = ServerKind::withTab(_exportTab->selectedIdentifier());
            if (!kind)
                return;
            changeServerType(kind->type, location()->ftpType());
            changed();
            updateGUI();
        });
    });
    for (int tag : {PublishTag::WebDAVAddress, PublishTag::FtpServer}) {
        auto* field = qobject_cast<MyTextField*>(lq::viewWithTag(exportview, tag));
        connect(field, &QLineEdit::editingFinished, this, [this, tag] {
            if (!_updating)
                lq::uiFrame(this, "controlTextDidEndEditing:", [&] { tidyAddress(tag); });
        });
    }
    _destination = destinationKey();
    updateGUI();
}

SheetBuilder::Action ExportController::controlAction()
{
    return [this](QWidget* sender) {
        if (qobject_cast<MyTextField*>(sender))
            controlTextDidChange(sender);
        else
            action(sender);
    };
}

void ExportController::buildGeneral(QWidget* main)
{
    SheetBuilder general(main, this, controlAction());
    SheetBuilder::TaggedItems kinds;
    for (int index = 0; index < ServerKind::count(); ++index)
        kinds.append({QString::fromLatin1(ServerKind::at(index).title), ServerKind::at(index).type});
    general.label(QStringLiteral("Server type")).popUp(PublishTag::ServerType, kinds);
    general.label(QStringLiteral("Send"))
        .matrix(PublishTag::ExportType, {{QStringLiteral("Only the changes"), 1}, {QStringLiteral("Every file"), 0}});
    general.label(QStringLiteral("Language")).popUp(PublishTag::Language, {{QStringLiteral("English"), 0}, {QStringLiteral("Other"), 1}});
    general.label(QStringLiteral("Description")).textField(PublishTag::SiteDescription);
}

void ExportController::buildServerTabs(QWidget* main)
{
    _exportTab = new MyTabView;
    main->layout()->addWidget(_exportTab);
    auto page = [&](const QString& identifier, const QString& label) {
        auto* view = new QWidget;
        _exportTab->addTabViewItem(identifier, label, view);
        return view;
    };
    SheetBuilder mac(page(QStringLiteral("mac"), QStringLiteral(".Mac")), this, controlAction());
    mac.label(QStringLiteral("User")).textField(PublishTag::MacUser);
    mac.label(QStringLiteral("Password")).textField(PublishTag::MacPassword)->setEchoMode(QLineEdit::Password);
    mac.label(QStringLiteral("Folder")).textField(PublishTag::MacFolder);

    SheetBuilder dav(page(QStringLiteral("webdav"), QStringLiteral("WebDAV")), this, controlAction());
    dav.label(QStringLiteral("User")).textField(PublishTag::WebDAVUser);
    dav.label(QStringLiteral("Password")).textField(PublishTag::WebDAVPassword)->setEchoMode(QLineEdit::Password);
    dav.label(QStringLiteral("Address")).textField(PublishTag::WebDAVAddress)
        ->setPlaceholderText(QStringLiteral("https://example.com/folder or example.com:8080/folder"));
    dav.check(PublishTag::WebDAVDigest, QStringLiteral("Digest authentication"));

    _exportTab->addTabViewItem(QStringLiteral("folder"), QStringLiteral("Folder"), buildFolderPage());

    SheetBuilder ftp(page(QStringLiteral("ftp"), QStringLiteral("FTP")), this, controlAction());
    ftp.label(QStringLiteral("Server")).textField(PublishTag::FtpServer)->setPlaceholderText(QStringLiteral("ftp.example.com"));
    ftp.label(QStringLiteral("User")).textField(PublishTag::FtpUser);
    ftp.label(QStringLiteral("Password")).textField(PublishTag::FtpPassword)->setEchoMode(QLineEdit::Password);
    ftp.label(QStringLiteral("Type")).popUp(PublishTag::FtpType, {{QStringLiteral("FTP"), 0}, {QStringLiteral("SFTP"), 1}});
    ftp.label(QStringLiteral("Port")).textField(PublishTag::FtpPort)->setPlaceholderText(QStringLiteral("21 for FTP, 22 for SFTP"));
    ftp.check(PublishTag::FtpDefaultPort, QStringLiteral("Default port"));
    ftp.label(QStringLiteral("Folder on the server")).textField(PublishTag::FtpFolder)->setPlaceholderText(QStringLiteral("public_html/site"));
}

QWidget* ExportController::buildFolderPage()
{
    auto* folder = new QWidget;
    auto* layout = new QVBoxLayout(folder);
    _fsBrowser = new FSBrowser(folder);
    layout->addWidget(_fsBrowser);
    connect(_fsBrowser, &FSBrowser::pathChanged, this, [this](const QString& path) {
        if (_updating)
            return;
        lq::uiFrame(this, "browser:selectRow:", [&] {
            location()->setExportFolder(path);
            changed();
            showExportFolder();
        });
    });
    _exportFolderLabel = lq::plainLabel();
    _exportFolderLabel->setWordWrap(true);
    _exportFolderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(_exportFolderLabel);
    SheetBuilder buttons(folder, this, {});
    buttons.buttonRow({{QStringLiteral("New Folder"), [this] { runNewFolderSheet(); }},
        {QStringLiteral("Choose Folder…"), [this] { chooseExportFolder(); }}, {}});
    return folder;
}

void ExportController::runNewFolderSheet()
{
    lq::uiFrame(this, "createFolder:", [&] {
        // The name comes from a small sheet; its answer is the name.
        QDialog sheet(_document);
        sheet.setWindowTitle(QStringLiteral("New Folder"));
        SheetBuilder fields(&sheet, this, {});
        MyTextField* name = fields.label(QStringLiteral("Name")).textField(0);
        fields.sheetButtons(&sheet, QStringLiteral("Create"));
        if (lq::modalHandler().runSheet(&sheet) == 1)
            createFolderNamed(name->text());
    });
}

void ExportController::buildButtons(QWidget* main)
{
    _notice = lq::plainLabel();
    _notice->setWordWrap(true);
    main->layout()->addWidget(_notice);
    SheetBuilder buttons(main, this, {});
    const QList<MyButton*> made = buttons.buttonRow({{QStringLiteral("Test connection"), [this] { testFTPExport(); }},
        {QStringLiteral("Preview"), [this] { previewInBrowserButton(); }}, {},
        {QStringLiteral("Cancel"), [this] { cancelButton(); }}, {QStringLiteral("Export"), [this] { exportButton(); }}});
    _testButton = made.first();
    made.last()->setDefault(true);
}

ExportController::~ExportController() = default;

XmlLocation* ExportController::location() const
{
    return _document->document().location();
}

QString ExportController::sitePath() const
{
    return _document->document().fileName();
}

QString ExportController::fieldText(int tag) const
{
    auto* field = qobject_cast<QLineEdit*>(lq::viewWithTag(_exportview, tag));
    return field ? field->text() : QString();
}

void ExportController::setFieldText(int tag, const QString& text)
{
    if (auto* field = qobject_cast<QLineEdit*>(lq::viewWithTag(_exportview, tag))) {
        if (field->text() != text)
            field->setText(text);
    }
}

QString ExportController::storedExportFolder(const QString& folder)
{
    const QString home = QDir::homePath();
    if (folder == home || folder.startsWith(home + QLatin1Char('/')))
        return relativeExportFolder(folder);
    return QUrl::fromLocalFile(folder).toString();
}

QString ExportController::exportFolderPath() const
{
    const QString stored = location()->exportFolder();
    if (isFileAddress(stored))
        return QUrl(stored).toLocalFile();
    return lq::folderExportDestination(_fsBrowser->path());
}

void ExportController::showExportFolder()
{
    const QString folder = exportFolderPath();
    const bool made = QFileInfo(folder).isDir();
    _exportFolderLabel->setText(QStringLiteral("Export to: ") + folder + (made ? QString() : QStringLiteral(" (a new folder, made by the export)")));
}

void ExportController::chooseExportFolder()
{
    lq::uiFrame(this, "chooseFolder:", [&] {
        lq::FilePanelRequest request;
        request.window = _document;
        request.title = QStringLiteral("Choose the Folder to Export To");
        request.prompt = QStringLiteral("Choose");
        request.folder = exportFolderPath();
        request.chooseFolder = true;
        const QString chosen = lq::modalHandler().runOpenPanel(request);
        if (chosen.isEmpty())
            return;
        const QFileInfo folder(chosen);
        if (!folder.isDir() || !folder.isWritable()) {
            lq::runAlert(_document, QStringLiteral("Whoops"),
                chosen + QStringLiteral(" is not a folder you can write to. Choose another one, or make one with the \"New Folder\" button."));
            return;
        }
        location()->setExportFolder(storedExportFolder(folder.absoluteFilePath()));
        changed();
        updateGUI();
    });
}

QString ExportController::relativeExportFolder(const QString& stored)
{
    return lq::relativeExportFolder(stored);
}

void ExportController::exportWebsite()
{
    lq::uiFrame(this, "exportWebsite", [&] {
        _document->setMainTab(QStringLiteral("Send"));
        _firstTab->selectTabViewItemWithIdentifier(QStringLiteral("main"));
        _exportTab->setVisible(true);
        updateGUI();
    });
}

void ExportController::updateGUI()
{
    lq::uiFrame(this, "updateGUI", [&] {
        XmlLocation* where = location();
        if (!where)
            return;
        _updating = true;
        const ServerKind& kind = ServerKind::of(where->serverType());
        if (*kind.tab)
            _exportTab->selectTabViewItemWithIdentifier(QLatin1String(kind.tab));
        // Each tab shows the account of its own kind of server.
        for (const TabFields& fields : ServerTabFields) {
            const XmlLocation::Account account = where->account(kindOfTab(fields.tab, *where));
            setFieldText(fields.user, account.username);
            setFieldText(fields.password, account.password);
        }
        showAddresses();
        setFieldText(PublishTag::FtpPort, where->account(kindOfTab("ftp", *where)).port);
        qobject_cast<MyCheckBox*>(lq::viewWithTag(_exportview, PublishTag::WebDAVDigest))->setChecked(where->digest() != 0);
        qobject_cast<MyCheckBox*>(lq::viewWithTag(_exportview, PublishTag::FtpDefaultPort))->setChecked(where->ftpDefault() != 0);
        lq::viewWithTag(_exportview, PublishTag::FtpPort)->setEnabled(where->ftpDefault() == 0);
        qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, PublishTag::FtpType))->setCurrentIndex(where->ftpType() == 0 ? 0 : 1);
        qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, PublishTag::ServerType))->setCurrentIndex(where->serverType());
        qobject_cast<MyMatrix*>(lq::viewWithTag(_exportview, PublishTag::ExportType))->selectCellWithTag(where->exportType() == 1 ? 1 : 0);
        // The site's language and description show what is stored, so that
        // a description typed before is not met as an empty field.
        if (XmlSite* site = _document->document().site(); site && site->homepage()) {
            auto* language = qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, PublishTag::Language));
            if (site->homepage()->langcode() >= 0 && site->homepage()->langcode() < language->count())
                language->setCurrentIndex(site->homepage()->langcode());
            if (site->homepage()->description())
                setFieldText(PublishTag::SiteDescription, site->homepage()->description()->content());
        }
        // The folders are read anew: one made outside the program shows.
        _fsBrowser->loadColumnZero();
        if (!isFileAddress(where->exportFolder()) && !_fsBrowser->setPath(relativeExportFolder(where->exportFolder())))
            _fsBrowser->setPath(QStringLiteral("/Desktop"));
        showExportFolder();
        _testButton->setEnabled(kind.testable());
        _updating = false;
        _rsscontroller->updateGUI();
    });
    _updating = false;
}

void ExportController::showAddresses(int typing)
{
    const XmlLocation& where = *location();
    // Each tab shows its own address, or the one in use in its form; the
    // field being typed into keeps what is typed.
    for (const TabFields& fields : ServerTabFields) {
        const XmlLocation::Address shown = where.addressFor(kindOfTab(fields.tab, where));
        if (fields.address != typing)
            setFieldText(fields.address, shown.location);
        if (ServerKind::withTab(QLatin1String(fields.tab))->stores(ServerKind::FtpSettings) && typing != PublishTag::FtpFolder)
            setFieldText(PublishTag::FtpFolder, shown.ftpFolder);
    }
}

void ExportController::changed()
{
    _document->document().updateChangeCount(DocumentBase::ChangeDone);
    followDestination();
}

QString ExportController::destinationKey() const
{
    XmlLocation* where = location();
    if (!where)
        return QString();
    return QString::number(where->serverType()) + QLatin1Char('|') + ServerKind::of(where->serverType()).place(*where);
}

void ExportController::followDestination()
{
    const QString now = destinationKey();
    if (now == _destination)
        return;
    const QString before = _destination;
    _destination = now;
    // The site folder's own files, moved through its gateway (a link in
    // the record's place goes, never what it points at).
    const std::shared_ptr<lq::ConfinedFolder> folder = lq::ConfinedFolder::open(sitePath());
    if (!folder)
        return;
    const bool hadRecord = folder->status(LastPublishedTree).exists();
    QString why;
    if (lq::switchPublicationRecord(*folder, before, now, &why)) {
        if (_notice->text() == DestinationChanged)
            _notice->clear();
        return;
    }
    if (!why.isEmpty())
        _document->document().addActivityString(why);
    if (hadRecord) {
        _notice->setText(DestinationChanged);
        _document->document().addActivityString(QStringLiteral("New destination: the whole site is sent next time."));
    }
}

void ExportController::action(QWidget* sender)
{
    lq::uiFrame(this, "action:", [&] {
        if (_updating)
            return;
        XmlLocation* where = location();
        const int tag = lq::widgetTag(sender);
        auto* popUp = qobject_cast<MyPopUpButton*>(sender);
        auto* check = qobject_cast<MyCheckBox*>(sender);
        switch (tag) {
        case PublishTag::ServerType: changeServerType(popUp->currentIndex(), where->ftpType()); break;
        case PublishTag::ExportType: where->setExportType(qobject_cast<MyMatrix*>(sender)->selectedTag()); break;
        case PublishTag::WebDAVDigest: where->setDigest(check->isChecked() ? 1 : 0); break;
        case PublishTag::FtpType: changeServerType(where->serverType(), popUp->currentIndex()); break;
        case PublishTag::FtpDefaultPort: where->setFtpDefault(check->isChecked() ? 1 : 0); break;
        case PublishTag::Language:
            if (XmlSite* site = _document->document().site())
                site->homepage()->setLangcode(popUp->currentIndex());
            break;
        default: break;
        }
        changed();
        updateGUI();
    });
}

void ExportController::controlTextDidChange(QWidget* sender)
{
    lq::uiFrame(this, "controlTextDidChange:", [&] {
        if (_updating)
            return;
        XmlLocation* where = location();
        const QString text = qobject_cast<QLineEdit*>(sender)->text();
        const int tag = lq::widgetTag(sender);
        switch (tag) {
        case PublishTag::MacUser: case PublishTag::WebDAVUser: case PublishTag::FtpUser:
            storeAccount(tag, [&](XmlLocation::Account& account) { account.username = text; });
            break;
        case PublishTag::MacPassword: case PublishTag::WebDAVPassword: case PublishTag::FtpPassword:
            storeAccount(tag, [&](XmlLocation::Account& account) { account.password = text; });
            break;
        case PublishTag::MacFolder: case PublishTag::WebDAVAddress: case PublishTag::FtpServer:
            storeTypedAddress(tag, text);
            showAddresses(tag);
            break;
        case PublishTag::FtpPort: storeAccount(tag, [&](XmlLocation::Account& account) { account.port = text; }); break;
        case PublishTag::FtpFolder:
            where->setFtpFolder(text);
            showAddresses(tag);
            break;
        case PublishTag::SiteDescription:
            if (XmlSite* site = _document->document().site(); site && site->homepage()->description())
                site->homepage()->description()->setContent(text);
            break;
        default: break;
        }
        changed();
    });
}

void ExportController::exportButton()
{
    lq::uiFrame(this, "exportButton:", [&] {
        const int type = qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, PublishTag::ServerType))->currentIndex();
        const QString folder = QDir::cleanPath(exportFolderPath());
        const QString home = QDir::cleanPath(QDir::homePath());
        if (ServerKind::of(type).road == PublishRequest::Road::Folder && (folder == home || folder == home + QStringLiteral("/Desktop"))) {
            lq::runAlert(_document, QStringLiteral("Whoops"),
                QStringLiteral("You have chosen to export your website to either your home directory or your Desktop.\t"
                               "This is not a good idea as this will mess up your workspace.\n\n"
                               "To keep things tidy and organized use the \"New Folder\" button to create a folder to export your website to."));
            return;
        }
        startExport();
    });
}

void ExportController::storeFtpSettings()
{
    XmlLocation* where = location();
    where->setFtpType(qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, PublishTag::FtpType))->currentIndex());
    where->setFtpPort(fieldText(PublishTag::FtpPort));
    where->setFtpDefault(qobject_cast<MyCheckBox*>(lq::viewWithTag(_exportview, PublishTag::FtpDefaultPort))->isChecked() ? 1 : 0);
    where->setFtpFolder(fieldText(PublishTag::FtpFolder));
}

void ExportController::storeDestination()
{
    XmlLocation* where = location();
    where->setServerType(qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, PublishTag::ServerType))->currentIndex());
    where->setExportType(qobject_cast<MyMatrix*>(lq::viewWithTag(_exportview, PublishTag::ExportType))->selectedTag());
    const ServerKind& kind = ServerKind::of(where->serverType());
    if (const TabFields* fields = fieldsOfTab(kind.tab)) {
        QString user = fieldText(fields->user);
        if (const int at = user.indexOf(QLatin1Char('@')); at >= 0 && kind.stores(ServerKind::UserWithoutDomain)) {
            user = user.left(at);
            setFieldText(fields->user, user);
        }
        where->setUsername(user);
        where->setPassword(fieldText(fields->password));
        where->setLocation(fieldText(fields->address));
    }
    if (kind.stores(ServerKind::Digest))
        where->setDigest(qobject_cast<MyCheckBox*>(lq::viewWithTag(_exportview, PublishTag::WebDAVDigest))->isChecked() ? 1 : 0);
    if (kind.stores(ServerKind::FtpSettings))
        storeFtpSettings();
    if (kind.stores(ServerKind::ExportFolder) && !isFileAddress(where->exportFolder()))
        where->setExportFolder(_fsBrowser->path());
    followDestination();
}

std::optional<PublishRequest> ExportController::requestFor(bool changesOnly)
{
    PublishRequest request = PublishRequest::fromLocation(*location(), sitePath() + QStringLiteral("/homepage"), changesOnly);
    if (request.destinationChanged) {
        changed();
        updateGUI();
    }
    if (!request.error.isEmpty()) {
        lq::runAlert(_document, request.errorTitle, request.error);
        return std::nullopt;
    }
    _baseURL = request.baseURL;
    _openURL = request.openURL;
    _passPhrase = request.passPhrase;
    return request;
}

void ExportController::startExport()
{
    lq::uiFrame(this, "startExport", [&] {
        storeDestination();
        const std::optional<PublishRequest> request = requestFor(location()->exportType() == 1);
        if (!request)
            return;
        _notice->clear();
        if (!_document->saveForPublication())
            return;
        // The window stays on "Send", where the uploader tells how it went.
        if (_sender)
            _sender->publish(*request);
    });
}

bool ExportController::exportChanges()
{
    return lq::uiFrame(this, "exportChanges", [&] {
        const std::optional<PublishRequest> request = requestFor(true);
        if (!request || request->road == PublishRequest::Road::Folder)
            return false;
        if (_sender)
            _sender->publishChanges(*request);
        return true;
    });
}

void ExportController::testFTPExport()
{
    lq::uiFrame(this, "testFTPExport:", [&] {
        storeDestination();
        const std::optional<PublishRequest> request = requestFor(true);
        // A folder has no connection to test.
        if (request && request->road != PublishRequest::Road::Folder && _sender)
            _sender->testConnection(*request);
    });
}

void ExportController::buildFailed(const QString& why)
{
    _notice->setText(why);
}

void ExportController::publicationRefused(const QString& title, const QString& why)
{
    lq::runAlert(_document, title, why);
}

void ExportController::destinationNeeded()
{
    exportWebsite();
}

void ExportController::runEnded(const Ending&)
{
    lq::uiFrame(this, "runEnded", [&] { showExportFolder(); });
}

void ExportController::previewInBrowserButton()
{
    lq::uiFrame(this, "previewInBrowser:", [&] {
        if (!_document->saveForPublication())
            return;
        if (!_builder) {
            previewInBrowser();
            return;
        }
        _notice->setText(QStringLiteral("Building the site for the preview…"));
        _builder->buildSite(
            [this] {
                _notice->clear();
                previewInBrowser();
            },
            [this](const QString& why) { buildFailed(why); }, {});
    });
}

void ExportController::previewInBrowser()
{
    lq::uiFrame(this, "previewInBrowser", [&] {
        lq::openURL(QUrl::fromLocalFile(sitePath() + QStringLiteral("/homepage/index.html")));
    });
}

void ExportController::cancelButton()
{
    lq::uiFrame(this, "cancelButton:", [&] { _document->switchToEditMode(); });
}

void ExportController::createFolderNamed(const QString& name)
{
    lq::uiFrame(this, "createFolderCreate:", [&] {
        if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QStringLiteral("..") || name == QStringLiteral("."))
            return;
        const QString browserPath = _fsBrowser->path() == QStringLiteral("/") ? QString() : _fsBrowser->path();
        const QString made = QDir::homePath() + browserPath + QLatin1Char('/') + name;
        if (QFileInfo::exists(made) || !QDir().mkdir(made))
            return;
        _fsBrowser->loadColumnZero();
        _fsBrowser->setPath(browserPath + QLatin1Char('/') + name);
    });
}

void ExportController::changeServerType(int type, int ftpType)
{
    XmlLocation* where = location();
    if (type != where->serverType() || ftpType != where->ftpType())
        where->chooseServerType(type, ftpType);
}

void ExportController::storeAccount(int tag, const std::function<void(XmlLocation::Account&)>& change)
{
    const TabFields* fields = tabOfField(tag);
    if (!fields)
        return;
    const QString kind = kindOfTab(fields->tab, *location());
    XmlLocation::Account account = location()->account(kind);
    change(account);
    location()->keepAccount(kind, account);
}

void ExportController::storeTypedAddress(int tag, const QString& text)
{
    const TabFields* fields = tabOfField(tag);
    const PublishAddress typed = tag == PublishTag::WebDAVAddress ? PublishAddress::fromWebDAV(text)
        : tag == PublishTag::FtpServer                            ? PublishAddress::fromFtpHost(text)
                                                                  : PublishAddress();
    storeAccount(tag, [&](XmlLocation::Account& account) {
        account.location = text;
        // A user and password typed into the address go to the account at
        // once: whatever comes next, a save or another server type before
        // the field is left, the address is never stored with them.
        if (typed.isValid() && typed.hasCredentials()) {
            account.location = PublishAddress::withoutCredentials(text);
            account.username = typed.user();
            account.password = typed.password();
            setFieldText(fields->user, account.username);
            setFieldText(fields->password, account.password);
        }
    });
}

bool ExportController::tidyAddress(int tag)
{
    // A field left after its tab was: its address is kept already.
    if (const TabFields* fields = tabOfField(tag); !fields || kindOfTab(fields->tab, *location()) != location()->accountKindInUse())
        return true;
    bool moved = false;
    QString why;
    if (!location()->takeAddress(fieldText(tag), tag == PublishTag::WebDAVAddress, &moved, &why)) {
        _addressError = why;
        _notice->setText(_addressError);
        return false;
    }
    if (!_addressError.isEmpty() && _notice->text() == _addressError)
        _notice->clear();
    _addressError.clear();
    if (moved) {
        changed();
        updateGUI();
    }
    return true;
}
