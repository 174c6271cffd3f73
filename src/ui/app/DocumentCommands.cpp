// The document window's File and Site commands: saving with a comment,
// save as, archive, publish, export and the watermark.
#include "ui/app/DocumentCommands.h"

#include "ui/app/ExportController.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/app/VersionList.h"
#include "ui/app/WatermarkSheet.h"
#include "document/MyDocument.h"
#include "model/imaging/XmlWatermark.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/SheetBuilder.h"
#include "publish/PublisherBase.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>

DocumentCommands::DocumentCommands(MyDocumentWindow& window)
    : _window(window)
{
}

lq::FilePanelRequest DocumentCommands::filePanel(const QString& title, const QString& prompt, const QString& nameFieldLabel)
{
    lq::FilePanelRequest request;
    request.window = &_window;
    request.title = title;
    request.prompt = prompt;
    request.nameFieldLabel = nameFieldLabel;
    request.folder = QDir::homePath();
    request.proposedName = QStringLiteral("Untitled");
    return request;
}

// --- Saving -----------------------------------------------------------------------------------

bool DocumentCommands::saveWithCommentText(const QString& comment)
{
    MyDocument& document = _window.document();
    _window.saveEditor();
    if (document.saveFileWithComment(document.fileName(), comment))
        return true;
    lq::runAlert(&_window, QStringLiteral("The website could not be saved"),
        QStringLiteral("\"") + _window.displayName() + QStringLiteral("\" was not saved: ") + document.lastError());
    return false;
}

void DocumentCommands::saveWithComment()
{
    lq::uiFrame(&_window, "saveWithComment", [&] {
        QDialog sheet(&_window);
        sheet.setWindowTitle(QStringLiteral("Save with Comment"));
        SheetBuilder fields(&sheet, &_window, {});
        MyTextField* SaveWithComment = fields.label(QStringLiteral("Comment")).textField(0);
        SaveWithComment->setMinimumWidth(300);
        SaveWithComment->setPlaceholderText(QStringLiteral("What this version is"));
        fields.sheetButtons(&sheet, QStringLiteral("Save"));
        if (lq::modalHandler().runSheet(&sheet) != 1)
            return;
        // The comment names a version; the edited mark stays as it was.
        MyDocument& document = _window.document();
        const bool edited = document.isDocumentEdited();
        if (saveWithCommentText(SaveWithComment->text()) && edited)
            document.updateChangeCount(DocumentBase::ChangeDone);
    });
}

void DocumentCommands::fileSaveAs()
{
    lq::uiFrame(&_window, "fileSaveAs", [&] {
        lq::FilePanelRequest request = filePanel(QStringLiteral("Save File As"), QStringLiteral("Save"), QStringLiteral("Save As:"));
        request.documentExtension = QStringLiteral("lqxl");
        const QString chosen = lq::modalHandler().runSavePanel(request);
        if (chosen.isEmpty())
            return;
        const QFileInfo target(chosen);
        if (target.exists() || target.isSymLink()) {
            lq::runAlert(&_window, QStringLiteral("File Exists"),
                QStringLiteral("The File you select to 'Save As' already exists.  Lumenquill will not overwrite existing files."));
            return;
        }
        MyDocument& document = _window.document();
        _window.saveEditor();
        if (!document.saveAs(chosen)) {
            lq::runAlert(&_window, QStringLiteral("The website could not be saved"),
                QStringLiteral("\"") + _window.displayName() + QStringLiteral("\" was not saved as ") + chosen + QStringLiteral(": ")
                    + document.lastError());
            return;
        }
        _window.setWindowTitle(_window.displayName() + QStringLiteral("[*]"));
        _window.setWindowFilePath(document.fileName());
        _window.versionList()->refreshFiles();
        _window.activate();
    });
}

void DocumentCommands::archiveDocument()
{
    lq::uiFrame(&_window, "archiveDocument:", [&] {
        if (!_window.saveDocument())
            return;
        _window.activate();
        lq::FilePanelRequest request = filePanel(QStringLiteral("Archive Document"), QStringLiteral("Archive"), QStringLiteral("Archive As:"));
        request.fileTypes = {QStringLiteral("zip")};
        const QString chosen = lq::modalHandler().runSavePanel(request);
        if (chosen.isEmpty())
            return;
        // Made beside its place and moved there whole: an archive chosen to
        // be replaced is never added to, nor lost to a failure.
        const QString building = chosen + QStringLiteral(".part");
        QFile::remove(building);
        const bool made = _window.document().archiveDocument(building);
        if (made) {
            QFile::remove(chosen);
            QFile::rename(building, chosen);
        } else {
            QFile::remove(building);
        }
        if (!made || !QFileInfo(chosen).isFile())
            lq::runAlert(&_window, QStringLiteral("The website could not be archived"), chosen + QStringLiteral(": ") + _window.document().lastError());
    });
}

// --- Publishing ---------------------------------------------------------------------------------

bool DocumentCommands::saveForExport()
{
    return _window.saveForPublication();
}

void DocumentCommands::publish()
{
    lq::uiFrame(&_window, "publish", [&] {
        if (!QFileInfo::exists(_window.document().fileName() + QStringLiteral("/lastbom.xmlbase"))) {
            exportWebsite();
            return;
        }
        if (!saveForExport())
            return;
        if (PublisherBase* uploader = _window.exportController()->sender())
            uploader->sendChanges();
        _window.activate();
    });
}

void DocumentCommands::exportWebsite()
{
    lq::uiFrame(&_window, "exportWebsite", [&] {
        if (!saveForExport())
            return;
        _window.exportController()->exportWebsite();
        _window.activate();
    });
}

// --- Watermark ----------------------------------------------------------------------------------

void DocumentCommands::watermark()
{
    lq::uiFrame(&_window, "watermark", [&] {
        MyDocument& document = _window.document();
        XmlAlbum* page = _window.currentAlbum();
        if (!page || !page->watermark())
            return;
        WatermarkSheet sheet(&_window);
        sheet.fill(*page->watermark());
        if (lq::modalHandler().runSheet(&sheet) != 1)
            return;
        const bool everyPage = sheet.target() == WatermarkSheet::EveryPage;
        QList<XmlAlbum*> targets;
        if (everyPage) {
            for (const auto& item : document.webItems()) {
                if (auto* album = dynamic_cast<XmlAlbum*>(item.get()))
                    targets.append(album);
            }
        } else {
            targets.append(page);
        }
        for (XmlAlbum* target : targets) {
            if (target->watermark())
                sheet.applyTo(*target->watermark());
        }
        if (everyPage)
            document.rebuildEntireSite();
        else
            document.rebuildPhotoAlbum(page);
    });
}
