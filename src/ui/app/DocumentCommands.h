#pragma once

#include <QString>

class MyDocumentWindow;
namespace lq {
struct FilePanelRequest;
}

// The document commands of a window's File and Site menus: saving with a
// comment (each save is a version), saving under a new name, archiving,
// publishing and exporting, and the watermark. A failure is told in an
// alert of the window. It takes the window and keeps nothing of its own.
class DocumentCommands {
public:
    explicit DocumentCommands(MyDocumentWindow& window);

    // Asks for a comment and saves with it; the edited mark stays as it was.
    void saveWithComment();
    // Saves with the comment, pending panel values first; a failure is told.
    bool saveWithCommentText(const QString& comment);
    void fileSaveAs();
    void archiveDocument();
    // Publish: the changes since the last publication go at once when there
    // is a last published tree, else the publish panel opens.
    void publish();
    // Saves for a publication and opens the publish panel.
    void exportWebsite();
    void watermark();
    // A file panel of the window starting in the home folder (a save panel
    // proposes "Untitled").
    lq::FilePanelRequest filePanel(const QString& title, const QString& prompt, const QString& nameFieldLabel);

private:
    // Saves for a publication: the open editor first, a version only for a changed site.
    bool saveForExport();

    MyDocumentWindow& _window;
};
