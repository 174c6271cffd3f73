#include "app/ExportController.h"

#include "app/FSBrowser.h"
#include "document/MyDocument.h"
#include "app/MyDocumentWindow.h"
#include "app/WWRSSController.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlDescription.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Workspace.h"
#include "platform/widgets/ControlTags.h"
#include "platform/widgets/ModalHandler.h"
#include "platform/widgets/MyButton.h"
#include "platform/widgets/MyCheckBox.h"
#include "platform/widgets/MyMatrix.h"
#include "platform/widgets/MyPopUpButton.h"
#include "platform/widgets/MyTabView.h"
#include "platform/widgets/MyTextField.h"
#include "platform/widgets/SheetBuilder.h"
#include "publish/FolderExport.h"
#include "publish/XmlLocation.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// The .Mac service's WebDAV host.
const QString MacWebDAVHost = QStringLiteral("idisk.mac.com");
const QString MacHomePageHost = QStringLiteral("homepage.mac.com");
const QString LastPublishedTree = QStringLiteral("lastbom.xmlbase");

} // namespace

ExportController::ExportController(MyDocumentWindow* document, QWidget* exportview)
    : QObject(exportview)
    , _document(document)
    , _exportview(exportview)
{
    auto* outer = new QVBoxLayout(exportview);
    _firstTab = new MyTabView(exportview);
    outer->addWidget(_firstTab);
    auto* main = new QWidget;
    _firstTab->addTabViewItem(QStringLiteral("main"), QStringLiteral("Publish"), main);
    auto* mainLayout = new QVBoxLayout(main);
    auto* feed = new QWidget;
    _firstTab->addTabViewItem(QStringLiteral("rss"), QStringLiteral("RSS Feed"), feed);
    _rsscontroller = new WWRSSController(document, feed);

    auto act = [this](QWidget* sender) {
        if (qobject_cast<MyTextField*>(sender))
            controlTextDidChange(sender);
        else
            action(sender);
    };
    auto* top = new QWidget;
    SheetBuilder general(top, this, act);
    general.label(QStringLiteral("Server type"))
        .popUp(5000, {{QStringLiteral(".Mac"), 0}, {QStringLiteral("WebDAV"), 1}, {QStringLiteral("Folder"), 2}, {QStringLiteral("FTP"), 3}});
    general.label(QStringLiteral("Send"))
        .matrix(5001, {{QStringLiteral("Only the changes"), 1}, {QStringLiteral("Every file"), 0}});
    general.label(QStringLiteral("Language")).popUp(5017, {{QStringLiteral("English"), 0}, {QStringLiteral("Other"), 1}});
    general.label(QStringLiteral("Description")).textField(5018);
    mainLayout->addWidget(top);

    _exportTab = new MyTabView;
    auto page = [&](const QString& identifier, const QString& label) {
        auto* view = new QWidget;
        _exportTab->addTabViewItem(identifier, label, view);
        return view;
    };
    QWidget* mac = page(QStringLiteral("mac"), QStringLiteral(".Mac"));
    SheetBuilder macFields(mac, this, act);
    macFields.label(QStringLiteral("User")).textField(5002);
    macFields.label(QStringLiteral("Password")).textField(5003)->setEchoMode(QLineEdit::Password);
    macFields.label(QStringLiteral("Folder")).textField(5004);
    QWidget* webdav = page(QStringLiteral("webdav"), QStringLiteral("WebDAV"));
    SheetBuilder davFields(webdav, this, act);
    davFields.label(QStringLiteral("User")).textField(5005);
    davFields.label(QStringLiteral("Password")).textField(5006)->setEchoMode(QLineEdit::Password);
    davFields.label(QStringLiteral("Address")).textField(5008);
    davFields.check(5007, QStringLiteral("Digest authentication"));
    QWidget* folder = page(QStringLiteral("folder"), QStringLiteral("Folder"));
    auto* folderLayout = new QVBoxLayout(folder);
    _fsBrowser = new FSBrowser(folder);
    folderLayout->addWidget(_fsBrowser);
    auto* newFolder = new MyButton(0);
    newFolder->setText(QStringLiteral("New Folder"));
    folderLayout->addWidget(newFolder);
    connect(newFolder, &QPushButton::clicked, this, [this] {
        lq::uiFrame(this, "createFolder:", [&] {
            // The name comes from a small sheet; its answer is the name.
            QDialog sheet(_document);
            sheet.setWindowTitle(QStringLiteral("New Folder"));
            auto* name = new MyTextField(0, &sheet);
            auto* layout = new QVBoxLayout(&sheet);
            layout->addWidget(name);
            if (lq::modalHandler().runSheet(&sheet) == 1)
                createFolderNamed(name->text());
        });
    });
    QWidget* ftp = page(QStringLiteral("ftp"), QStringLiteral("FTP"));
    SheetBuilder ftpFields(ftp, this, act);
    ftpFields.label(QStringLiteral("Server")).textField(5013);
    ftpFields.label(QStringLiteral("User")).textField(5014);
    ftpFields.label(QStringLiteral("Password")).textField(5015)->setEchoMode(QLineEdit::Password);
    ftpFields.label(QStringLiteral("Client")).popUp(5009, {{QStringLiteral("Transmit"), 0}, {QStringLiteral("Cyberduck"), 1}});
    ftpFields.label(QStringLiteral("Type")).popUp(5010, {{QStringLiteral("FTP"), 0}, {QStringLiteral("SFTP"), 1}});
    ftpFields.label(QStringLiteral("Port")).textField(5011);
    ftpFields.check(5012, QStringLiteral("Default port"));
    ftpFields.label(QStringLiteral("Folder on the server")).textField(5016);
    mainLayout->addWidget(_exportTab);

    // Text fields store what is typed as it is typed.
    for (MyTextField* field : exportview->findChildren<MyTextField*>())
        connect(field, &QLineEdit::textEdited, this, [this, field] { controlTextDidChange(field); });

    _notice = new QLabel;
    _notice->setWordWrap(true);
    mainLayout->addWidget(_notice);
    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& title, auto slot) {
        auto* b = new MyButton(0);
        b->setText(title);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
    };
    button(QStringLiteral("Test connection"), [this] { testFTPExport(); });
    button(QStringLiteral("Preview"), [this] { previewInBrowserButton(); });
    buttons->addStretch();
    button(QStringLiteral("Cancel"), [this] { cancelButton(); });
    button(QStringLiteral("Export"), [this] { exportButton(); });
    mainLayout->addLayout(buttons);

    connect(_exportTab, &QTabWidget::currentChanged, this, [this] {
        if (!_updating)
            updateGUI();
    });
    _destination = destinationKey();
    updateGUI();
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

QString ExportController::relativeExportFolder(const QString& stored)
{
    const QString home = QDir::homePath();
    QString relative = stored;
    if (relative == home)
        relative.clear();
    else if (relative.startsWith(home + QLatin1Char('/')))
        relative = relative.mid(home.size());
    if (!relative.startsWith(QLatin1Char('/')))
        relative.prepend(QLatin1Char('/'));
    return relative;
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
        static const QStringList tabs = {QStringLiteral("mac"), QStringLiteral("webdav"), QStringLiteral("folder"), QStringLiteral("ftp")};
        if (where->serverType() >= 0 && where->serverType() < tabs.size())
            _exportTab->selectTabViewItemWithIdentifier(tabs[where->serverType()]);
        for (int tag : {5002, 5005, 5014})
            setFieldText(tag, where->username());
        for (int tag : {5003, 5006, 5015})
            setFieldText(tag, where->password());
        for (int tag : {5004, 5008, 5013})
            setFieldText(tag, where->location());
        setFieldText(5011, where->ftpPort());
        setFieldText(5016, where->ftpFolder());
        qobject_cast<MyCheckBox*>(lq::viewWithTag(_exportview, 5007))->setChecked(where->digest() != 0);
        qobject_cast<MyCheckBox*>(lq::viewWithTag(_exportview, 5012))->setChecked(where->ftpDefault() != 0);
        qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, 5009))->setCurrentIndex(where->ftpApp());
        qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, 5010))->setCurrentIndex(where->ftpType() == 0 ? 0 : 1);
        qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, 5000))->setCurrentIndex(where->serverType());
        qobject_cast<MyMatrix*>(lq::viewWithTag(_exportview, 5001))->selectCellWithTag(where->exportType() == 1 ? 1 : 0);
        _fsBrowser->loadColumnZero();
        if (!_fsBrowser->setPath(relativeExportFolder(where->exportFolder())))
            _fsBrowser->setPath(QStringLiteral("/Desktop"));
        _updating = false;
        _rsscontroller->updateGUI();
    });
    _updating = false;
}

void ExportController::changed()
{
    _document->document().updateChangeCount(DocumentBase::ChangeDone);
    forgetLastPublishedTreeIfMoved();
}

QString ExportController::destinationKey() const
{
    XmlLocation* where = location();
    if (!where)
        return QString();
    QString key = QString::number(where->serverType());
    switch (where->serverType()) {
    case XmlLocation::LocalFolder:
        key += QLatin1Char('|') + relativeExportFolder(where->exportFolder());
        break;
    case XmlLocation::FTPServer:
        key += QLatin1Char('|') + where->location() + QLatin1Char('|') + where->ftpFolder();
        break;
    default:
        key += QLatin1Char('|') + where->location();
        break;
    }
    return key;
}

void ExportController::forgetLastPublishedTreeIfMoved()
{
    const QString now = destinationKey();
    if (now == _destination)
        return;
    _destination = now;
    const QString tree = sitePath() + QLatin1Char('/') + LastPublishedTree;
    if (QFileInfo::exists(tree) && QFile::remove(tree)) {
        _notice->setText(QStringLiteral("The destination changed: the next publication sends the whole site."));
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
        case 5000: where->setServerType(popUp->currentIndex()); break;
        case 5001: where->setExportType(qobject_cast<MyMatrix*>(sender)->selectedTag()); break;
        case 5007: where->setDigest(check->isChecked() ? 1 : 0); break;
        case 5009: where->setFtpApp(popUp->currentIndex()); break;
        case 5010: where->setFtpType(popUp->currentIndex()); break;
        case 5012: where->setFtpDefault(check->isChecked() ? 1 : 0); break;
        case 5017:
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
        switch (lq::widgetTag(sender)) {
        case 5002: case 5005: case 5014: where->setUsername(text); break;
        case 5003: case 5006: case 5015: where->setPassword(text); break;
        case 5004: case 5008: case 5013: where->setLocation(text); break;
        case 5011: where->setFtpPort(text); break;
        case 5016: where->setFtpFolder(text); break;
        case 5018:
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
        const int type = qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, 5000))->currentIndex();
        const QString path = _fsBrowser->path();
        if (type == XmlLocation::LocalFolder && (path == QStringLiteral("/") || path == QStringLiteral("/Desktop"))) {
            lq::runAlert(_document, QStringLiteral("Whoops"),
                QStringLiteral("You have chosen to export your website to either your home directory or your Desktop.\t"
                               "This is not a good idea as this will mess up your workspace.\n\n"
                               "To keep things tidy and organized use the \"New Folder\" button to create a folder to export your website to."));
            return;
        }
        startExport();
    });
}

void ExportController::storeFtpFields()
{
    XmlLocation* where = location();
    where->setUsername(fieldText(5014));
    where->setPassword(fieldText(5015));
    where->setLocation(fieldText(5013));
    where->setFtpApp(qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, 5009))->currentIndex());
    where->setFtpType(qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, 5010))->currentIndex());
    where->setFtpPort(fieldText(5011));
    where->setFtpDefault(qobject_cast<MyCheckBox*>(lq::viewWithTag(_exportview, 5012))->isChecked() ? 1 : 0);
    where->setFtpFolder(fieldText(5016));
}

void ExportController::startExport()
{
    lq::uiFrame(this, "startExport", [&] {
        XmlLocation* where = location();
        where->setServerType(qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, 5000))->currentIndex());
        where->setExportType(qobject_cast<MyMatrix*>(lq::viewWithTag(_exportview, 5001))->selectedTag());
        switch (where->serverType()) {
        case XmlLocation::MacAccount: {
            QString user = fieldText(5002);
            if (const int at = user.indexOf(QLatin1Char('@')); at >= 0) {
                user = user.left(at);
                setFieldText(5002, user);
            }
            where->setUsername(user);
            where->setPassword(fieldText(5003));
            where->setLocation(fieldText(5004));
            const QString user64 = XmlBase::urlescape(user);
            const QString folder = XmlBase::urlescape(where->location());
            _baseURL = QStringLiteral("http://") + MacWebDAVHost + QLatin1Char('/') + user64 + QStringLiteral("/Sites/") + folder;
            _openURL = QStringLiteral("http://") + MacHomePageHost + QLatin1Char('/') + user64 + QLatin1Char('/') + folder + QLatin1Char('/');
            _passPhrase = user + QLatin1Char(':') + where->password();
            _digest = 0;
            break;
        }
        case XmlLocation::WebDAV:
            where->setUsername(fieldText(5005));
            where->setPassword(fieldText(5006));
            where->setLocation(fieldText(5008));
            where->setDigest(qobject_cast<MyCheckBox*>(lq::viewWithTag(_exportview, 5007))->isChecked() ? 1 : 0);
            _baseURL = QStringLiteral("http://") + XmlBase::urlescape(where->location());
            _openURL.clear();
            _passPhrase = where->username() + QLatin1Char(':') + where->password();
            _digest = where->digest();
            break;
        case XmlLocation::LocalFolder:
            where->setExportFolder(_fsBrowser->path());
            break;
        case XmlLocation::FTPServer:
            storeFtpFields();
            break;
        default:
            break;
        }
        forgetLastPublishedTreeIfMoved();
        MyDocument& doc = _document->document();
        doc.saveFileWithComment(doc.fileName(), QStringLiteral("Website exported"));
        _document->prepareForExport([this] { startExport2(); });
    });
}

void ExportController::startExport2()
{
    lq::uiFrame(this, "startExport2", [&] {
        XmlLocation* where = location();
        const QString pathName = sitePath() + QStringLiteral("/homepage");
        const bool changesOnly = where->exportType() == 1;
        if (_sender) {
            switch (where->serverType()) {
            case XmlLocation::MacAccount:
            case XmlLocation::WebDAV:
                _sender->startSending({where->serverType(), _baseURL, pathName, _passPhrase, _openURL, _digest, changesOnly});
                break;
            case XmlLocation::LocalFolder:
                _sender->exportToFolder(pathName, lq::folderExportDestination(relativeExportFolder(where->exportFolder())), changesOnly);
                break;
            case XmlLocation::FTPServer:
                _sender->sendFTPBom(where, pathName, changesOnly);
                break;
            default:
                break;
            }
        }
        _document->switchToEditMode();
    });
}

bool ExportController::exportChanges()
{
    return lq::uiFrame(this, "exportChanges", [&] {
        XmlLocation* where = location();
        switch (where->serverType()) {
        case XmlLocation::MacAccount: {
            const QString user = XmlBase::urlescape(where->username());
            const QString folder = XmlBase::urlescape(where->location());
            _baseURL = QStringLiteral("http://") + MacWebDAVHost + QLatin1Char('/') + user + QStringLiteral("/Sites/") + folder;
            _openURL = QStringLiteral("http://") + MacHomePageHost + QLatin1Char('/') + user + QLatin1Char('/') + folder + QLatin1Char('/');
            break;
        }
        case XmlLocation::WebDAV:
            _baseURL = QStringLiteral("http://") + XmlBase::urlescape(where->location());
            _openURL.clear();
            break;
        case XmlLocation::FTPServer:
            break;
        default:
            return false;
        }
        _passPhrase = where->username() + QLatin1Char(':') + where->password();
        _digest = where->digest();
        _document->prepareForExport([this] { exportChanges2(); });
        return true;
    });
}

void ExportController::exportChanges2()
{
    lq::uiFrame(this, "exportChanges2", [&] {
        XmlLocation* where = location();
        const QString pathName = sitePath() + QStringLiteral("/homepage");
        if (!_sender)
            return;
        if (where->serverType() == XmlLocation::FTPServer)
            _sender->sendFTPBom(where, pathName, true);
        else
            _sender->sendBom({where->serverType(), _baseURL, pathName, _passPhrase, _openURL, _digest, true});
    });
}

void ExportController::testFTPExport()
{
    lq::uiFrame(this, "testFTPExport:", [&] {
        XmlLocation* where = location();
        where->setServerType(qobject_cast<MyPopUpButton*>(lq::viewWithTag(_exportview, 5000))->currentIndex());
        where->setExportType(qobject_cast<MyMatrix*>(lq::viewWithTag(_exportview, 5001))->selectedTag());
        if (where->serverType() != XmlLocation::FTPServer)
            return;
        storeFtpFields();
        forgetLastPublishedTreeIfMoved();
        if (_sender)
            _sender->ftpTestExport(where, sitePath() + QStringLiteral("/homepage"));
    });
}

void ExportController::previewInBrowserButton()
{
    lq::uiFrame(this, "previewInBrowser:", [&] {
        MyDocument& doc = _document->document();
        doc.saveFileWithComment(doc.fileName(), QStringLiteral("Website exported"));
        _document->prepareForExport([this] { previewInBrowser(); });
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
