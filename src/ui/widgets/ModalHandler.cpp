#include "ui/widgets/ModalHandler.h"

#include <QDialog>
#include <QDrag>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace lq {

namespace {
std::unique_ptr<ModalHandler>& installed()
{
    static std::unique_ptr<ModalHandler> handler = std::make_unique<ModalHandler>();
    return handler;
}

// "Files (*.qvzip *.lqtm)"; the label names the files when given.
QString typeFilter(const QStringList& types, const QString& label = QString())
{
    QStringList patterns;
    for (const QString& type : types)
        patterns.append(QStringLiteral("*.") + type);
    return (label.isEmpty() ? QStringLiteral("Files") : label) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}
} // namespace

std::unique_ptr<QMessageBox> makeAlertBox(const AlertRequest& request)
{
    auto box = std::make_unique<QMessageBox>(request.window);
    // The title bar names the program: a window manager cuts a long
    // question there to its width, and the box shows it whole.
    box->setWindowTitle(QGuiApplication::applicationDisplayName());
    box->setText(request.title);
    box->setInformativeText(request.message);
    box->setTextFormat(Qt::PlainText);
    if (request.window)
        box->setWindowModality(Qt::WindowModal);
    const QStringList buttons = request.buttons.isEmpty() ? QStringList{QStringLiteral("OK")} : request.buttons.mid(0, 3);
    QList<QPushButton*> made;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        made.append(box->addButton(buttons[i], i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole));
        made.last()->setProperty("alertIndex", static_cast<int>(i));
    }
    box->setDefaultButton(made.value(request.defaultButton, made.first()));
    const qsizetype cancel = buttons.indexOf(QStringLiteral("Cancel"));
    box->setEscapeButton(made[cancel < 0 ? 0 : cancel]);

    // The text decides the width, not the box's own narrow default: its
    // longest line, up to half the screen (less the icon and the margins).
    const QScreen* screen = request.window && request.window->screen() ? request.window->screen() : QGuiApplication::primaryScreen();
    const int half = screen ? screen->availableGeometry().width() / 2 : 640;
    const int room = std::max(200, half - 120);
    int widest = 0;
    for (const QString& text : {request.title, request.message}) {
        for (const QString& line : text.split(QLatin1Char('\n')))
            widest = std::max(widest, QFontMetrics(box->font()).horizontalAdvance(line));
    }
    for (QLabel* label : box->findChildren<QLabel*>()) {
        if (label->objectName() == QLatin1String("qt_msgbox_label") || label->objectName() == QLatin1String("qt_msgbox_informativelabel")) {
            // The message often quotes a server or names a file: its
            // characters are shown, never drawn as markup.
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setMinimumWidth(std::min(widest + 8, room));
            label->setMaximumWidth(room);
        }
    }
    return box;
}

int ModalHandler::runAlert(const AlertRequest& request)
{
    const std::unique_ptr<QMessageBox> box = makeAlertBox(request);
    box->exec();
    QAbstractButton* clicked = box->clickedButton();
    return clicked ? clicked->property("alertIndex").toInt() : static_cast<int>(box->buttons().size()) - 1;
}

namespace {
// Runs an open panel of the mode for the request; the files chosen, none when cancelled.
QStringList runOpen(const FilePanelRequest& request, QFileDialog::FileMode mode)
{
    QFileDialog panel(request.window, request.title, request.folder);
    panel.setAcceptMode(QFileDialog::AcceptOpen);
    panel.setFileMode(mode);
    if (request.chooseFolder)
        panel.setOption(QFileDialog::ShowDirsOnly);
    if (!request.prompt.isEmpty())
        panel.setLabelText(QFileDialog::Accept, request.prompt);
    if (!request.nameFieldLabel.isEmpty())
        panel.setLabelText(QFileDialog::FileName, request.nameFieldLabel);
    if (!request.fileTypes.isEmpty())
        panel.setNameFilter(typeFilter(request.fileTypes, request.typesLabel));
    if (request.window)
        panel.setWindowModality(Qt::WindowModal);
    if (panel.exec() != QDialog::Accepted)
        return {};
    return panel.selectedFiles();
}
} // namespace

QString ModalHandler::runOpenPanel(const FilePanelRequest& request)
{
    const QStringList chosen = runOpen(request,
        request.documentExtension.isEmpty() && !request.chooseFolder ? QFileDialog::ExistingFile : QFileDialog::Directory);
    return chosen.isEmpty() ? QString() : chosen.first();
}

QStringList ModalHandler::runOpenFilesPanel(const FilePanelRequest& request)
{
    return runOpen(request, QFileDialog::ExistingFiles);
}

QString ModalHandler::runSavePanel(const FilePanelRequest& request)
{
    QFileDialog panel(request.window, request.title, request.folder);
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.selectFile(request.proposedName);
    if (!request.prompt.isEmpty())
        panel.setLabelText(QFileDialog::Accept, request.prompt);
    if (!request.nameFieldLabel.isEmpty())
        panel.setLabelText(QFileDialog::FileName, request.nameFieldLabel);
    if (!request.fileTypes.isEmpty()) {
        panel.setNameFilter(typeFilter(request.fileTypes));
        panel.setDefaultSuffix(request.fileTypes.first());
    }
    if (request.window)
        panel.setWindowModality(Qt::WindowModal);
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return QString();
    return savePanelPath(panel.selectedFiles().first(), request);
}

int ModalHandler::runSheet(QDialog* sheet)
{
    if (sheet->parentWidget())
        sheet->setWindowModality(Qt::WindowModal);
    return sheet->exec();
}

Qt::DropAction ModalHandler::runDrag(QDrag* drag, Qt::DropActions actions, Qt::DropAction defaultAction)
{
    return drag->exec(actions, defaultAction);
}

ModalHandler& modalHandler()
{
    return *installed();
}

void setModalHandler(std::unique_ptr<ModalHandler> handler)
{
    installed() = handler ? std::move(handler) : std::make_unique<ModalHandler>();
}

int runAlert(QWidget* window, const QString& title, const QString& message, const QStringList& buttons)
{
    return modalHandler().runAlert(AlertRequest{window, title, message, buttons});
}

QString savePanelPath(const QString& chosen, const FilePanelRequest& request)
{
    return withDocumentExtension(chosen, request.documentExtension.isEmpty() ? request.fileTypes.value(0) : request.documentExtension);
}

QString withDocumentExtension(const QString& path, const QString& extension)
{
    if (path.isEmpty() || extension.isEmpty())
        return path;
    const QString suffix = QLatin1Char('.') + extension;
    return path.endsWith(suffix) ? path : path + suffix;
}

} // namespace lq
