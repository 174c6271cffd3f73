#include "ui/app/ThemeCommands.h"

#include "ui/app/DocumentCommands.h"
#include "ui/app/IncludeFiles.h"
#include "ui/app/MyDocumentWindow.h"
#include "document/LayoutControllerBase.h"
#include "document/MyDocument.h"
#include "document/ThemeArchive.h"
#include "model/core/SuppressedChanges.h"
#include "model/files/XmlFiles.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/ScreenText.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ThemeCommands::ThemeCommands(MyDocumentWindow& window)
    : _window(window)
{
}

void ThemeCommands::importTemplate()
{
    lq::uiFrame(&_window, "importTemplate", [&] {
        lq::FilePanelRequest request = DocumentCommands(_window).filePanel(QStringLiteral("Import Theme"), QStringLiteral("Open"), QStringLiteral("Open:"));
        request.fileTypes = {QStringLiteral("qvzip"), QStringLiteral("lqtm")};
        const QString chosen = lq::modalHandler().runOpenPanel(request);
        if (!chosen.isEmpty())
            setNewTheme(chosen);
    });
}

void ThemeCommands::setNewTheme(const QString& path)
{
    lq::uiFrame(&_window, "setNewTheme:", [&] {
        const QString extension = QFileInfo(path).suffix().toLower();
        if (extension != QStringLiteral("qvzip") && extension != QStringLiteral("lqtm")) {
            lq::runAlert(&_window, QStringLiteral("Not a theme"),
                QFileInfo(path).fileName() + QStringLiteral(" is no theme: themes are \".qvzip\" archives or \".lqtm\" files."));
            return;
        }
        // The site as it was before the theme came stays among the versions.
        if (!DocumentCommands(_window).saveWithCommentText(QStringLiteral("autosave before new Theme selected")))
            return;
        const bool imported = extension == QStringLiteral("lqtm") ? importLegacyTheme(path) : importThemeArchive(path);
        if (!imported)
            return;
        _window.refreshEditor();
        if (LayoutControllerBase* layout = _window.layout())
            layout->updateTemplateSelector();
    });
}

ThemeCommands::ThemeChoice ThemeCommands::askAddOrReplace()
{
    QDialog sheet(&_window);
    sheet.setWindowTitle(QStringLiteral("Import Theme"));
    auto* layout = new QVBoxLayout(&sheet);
    auto* question = lq::plainLabel(QStringLiteral("Add the templates of this theme to the website's templates, or replace the "
                                               "website's theme with it?\n\nReplacing gives every page the first template of the new theme, and "
                                               "discards the website's templates with every change made to them in the inspector."),
        &sheet);
    question->setWordWrap(true);
    question->setMinimumWidth(440);
    layout->addWidget(question);
    auto* buttons = new QDialogButtonBox(&sheet);
    QPushButton* add = buttons->addButton(QStringLiteral("Add"), QDialogButtonBox::AcceptRole);
    QPushButton* replace = buttons->addButton(QStringLiteral("Replace"), QDialogButtonBox::DestructiveRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    add->setDefault(true);
    QObject::connect(add, &QPushButton::clicked, &sheet, [&sheet] { sheet.done(static_cast<int>(ThemeChoice::Add)); });
    QObject::connect(replace, &QPushButton::clicked, &sheet, [&sheet] { sheet.done(static_cast<int>(ThemeChoice::Replace)); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &sheet, [&sheet] { sheet.done(static_cast<int>(ThemeChoice::Cancel)); });
    layout->addWidget(buttons);
    const int answer = lq::modalHandler().runSheet(&sheet);
    if (answer == static_cast<int>(ThemeChoice::Add) || answer == static_cast<int>(ThemeChoice::Replace))
        return static_cast<ThemeChoice>(answer);
    return ThemeChoice::Cancel;
}

bool ThemeCommands::importThemeArchive(const QString& path)
{
    const std::unique_ptr<ThemeArchive> archive = ThemeArchive::unpack(path);
    if (!archive) {
        lq::runAlert(&_window, QStringLiteral("The theme could not be imported"),
            QFileInfo(path).fileName() + QStringLiteral(" could not be read as a theme archive."));
        return false;
    }
    const std::shared_ptr<XmlTheme>& theme = archive->theme();
    // Without a theme the archive brings nothing; the editors show the site anew.
    if (!theme)
        return true;
    ThemeChoice choice = ThemeChoice::Add;
    if (theme->autoAdd() != 1)
        choice = askAddOrReplace();
    if (choice == ThemeChoice::Cancel)
        return false;

    // The templates come with their pictures and files in one save, or
    // nothing comes: a theme without its pictures would spoil every page,
    // and pictures and files without their theme belong to nothing.
    MyDocument& document = _window.document();
    QStringList kept;
    if (!document.importTheme(*archive, choice == ThemeChoice::Replace, QStringLiteral("Theme imported"), &kept)) {
        lq::runAlert(&_window, QStringLiteral("The theme could not be imported"),
            QFileInfo(path).fileName() + QStringLiteral(" was not imported, and the website is as it was: ") + document.lastError());
        return false;
    }
    if (XmlSite* site = document.site(); site && site->files()) {
        // The files tree shows the folder as it now is; it is no part of the saved site.
        const SuppressedChanges quiet(*site);
        site->files()->removeAllChildren();
        site->refreshFiles();
    }
    QStringList keptFiles;
    for (const QString& file : kept) {
        document.addActivityString(QStringLiteral("The theme's ") + file + QStringLiteral(" was not copied: the website has its own."));
        if (file.startsWith(QStringLiteral("files/")))
            keptFiles.append(file);
    }
    if (!keptFiles.isEmpty())
        lq::runAlert(&_window, QStringLiteral("Some files of the theme were not copied"),
            QStringLiteral("The website already has these files, which stay as they are:\n") + keptFiles.join(QLatin1Char('\n')));
    return true;
}

bool ThemeCommands::importLegacyTheme(const QString& path)
{
    // Its pictures and templates are converted aside, then come into the
    // site as a theme archive's do: saved together, or not at all.
    MyDocument& document = _window.document();
    const std::unique_ptr<ThemeArchive> converted = ThemeArchive::convertLegacy(path, &document);
    if (!converted) {
        lq::runAlert(&_window, QStringLiteral("The theme could not be imported"),
            QFileInfo(path).fileName() + QStringLiteral(" could not be read as a theme file."));
        return false;
    }
    if (!document.importTheme(*converted, true, QStringLiteral("Theme imported"))) {
        lq::runAlert(&_window, QStringLiteral("The theme could not be imported"),
            QFileInfo(path).fileName() + QStringLiteral(" was not imported, and the website is as it was: ") + document.lastError());
        return false;
    }
    document.theme()->crossReferenceXmlSite(document.site());
    return true;
}

void ThemeCommands::exportTemplate()
{
    lq::uiFrame(&_window, "exportTemplate", [&] {
        MyDocument& document = _window.document();
        IncludeFiles includeFiles(&_window, document);
        if (!includeFiles.includeFiles())
            return;
        lq::FilePanelRequest request = DocumentCommands(_window).filePanel(QStringLiteral("Export Template"), QStringLiteral("Export"), QStringLiteral("Export As:"));
        request.fileTypes = {QStringLiteral("qvzip")};
        const QString chosen = lq::modalHandler().runSavePanel(request);
        if (chosen.isEmpty())
            return;
        // The archive is made from the saved files.
        if (!DocumentCommands(_window).saveWithCommentText(QStringLiteral("Theme Exported")))
            return;
        XmlSite* site = document.site();
        const std::shared_ptr<lq::ConfinedFolder> folder = document.siteFolder();
        QString why;
        if (!folder || !ThemeArchive::write(chosen, *folder, site ? site->files() : nullptr, &why))
            lq::runAlert(&_window, QStringLiteral("The theme could not be exported"),
                QStringLiteral("Writing ") + chosen + QStringLiteral(" failed") + (why.isEmpty() ? QString() : QStringLiteral(": ") + why)
                    + QStringLiteral("."));
    });
}

void ThemeCommands::themes()
{
    _window.setMainTab(QStringLiteral("Themes"));
}
