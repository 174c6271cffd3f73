#pragma once
// Every alert, sheet, file panel and drag of the program goes through one
// replaceable handler. The standard handler shows window-modal dialogs and
// waits for them, and runs the platform's drag loop; tests install their
// own, which answers at once, so nothing blocks on the offscreen platform.
#include <QString>
#include <QStringList>
#include <Qt>

#include <memory>

class QDialog;
class QDrag;
class QMessageBox;
class QWidget;

namespace lq {

struct AlertRequest {
    QWidget* window = nullptr;   // the window the alert belongs to, or none
    QString title;
    QString message;
    QStringList buttons;         // one to three
    int defaultButton = 0;       // the one Return presses (a question whose yes cannot be undone names its no)
};

struct FilePanelRequest {
    QWidget* window = nullptr;
    QString title;
    QString prompt;              // the accepting button's text
    QString nameFieldLabel;      // the label of the file name field ("" for the standard one)
    QString folder;              // where the panel starts
    QString proposedName;        // save panels only
    QString documentExtension;   // e.g. "lqxl": folders of that extension are documents
    bool chooseFolder = false;   // open panels: a folder is chosen, not a file
    QStringList fileTypes;       // the extensions of the files offered ("qvzip"); a save panel adds the first
    QString typesLabel;          // what the offered files are ("Pictures"; "" for "Files")
};

// The path a save panel answers for the name the user gave: with the
// document extension, else the first file type, when the name lacks it.
QString savePanelPath(const QString& chosen, const FilePanelRequest& request);

class ModalHandler {
public:
    virtual ~ModalHandler() = default;
    // The index of the button chosen (0 for the first).
    virtual int runAlert(const AlertRequest& request);
    // The chosen path, or "" when the user cancelled. Without a document
    // extension one existing file is chosen.
    virtual QString runOpenPanel(const FilePanelRequest& request);
    // Several existing files chosen at once, in the order the panel lists
    // them; none when the user cancelled.
    virtual QStringList runOpenFilesPanel(const FilePanelRequest& request);
    virtual QString runSavePanel(const FilePanelRequest& request);
    // Runs the dialog as a sheet of its parent window; the dialog's result code.
    virtual int runSheet(QDialog* sheet);
    // Runs the drag until the user lets go; the action the drop target
    // accepted, or Qt::IgnoreAction when nothing took the drop.
    virtual Qt::DropAction runDrag(QDrag* drag, Qt::DropActions actions, Qt::DropAction defaultAction);
};

ModalHandler& modalHandler();
// Installs a handler; nullptr restores the standard one.
void setModalHandler(std::unique_ptr<ModalHandler> handler);

// The alert box the standard handler shows: the title as its text, the
// message below it, the request's default button (the first unless it
// names another) pressed by Return, a button titled
// "Cancel" (else the first) pressed by Escape; as wide as its longest line
// needs, up to half the screen, wrapping beyond.
std::unique_ptr<QMessageBox> makeAlertBox(const AlertRequest& request);

// Shorthands through the installed handler.
int runAlert(QWidget* window, const QString& title, const QString& message, const QStringList& buttons = {QStringLiteral("OK")});

// Adds the extension when the name lacks it ("MyWebsite" -> "MyWebsite.lqxl").
QString withDocumentExtension(const QString& path, const QString& extension);

} // namespace lq
