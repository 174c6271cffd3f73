#include "platform/widgets/ModalHandler.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace lq {

namespace {
std::unique_ptr<ModalHandler>& installed()
{
    static std::unique_ptr<ModalHandler> handler = std::make_unique<ModalHandler>();
    return handler;
}
} // namespace

int ModalHandler::runAlert(const AlertRequest& request)
{
    QMessageBox box(request.window);
    box.setWindowTitle(request.title);
    box.setText(request.title);
    box.setInformativeText(request.message);
    box.setTextFormat(Qt::PlainText);
    if (request.window)
        box.setWindowModality(Qt::WindowModal);
    const QStringList buttons = request.buttons.isEmpty() ? QStringList{QStringLiteral("OK")} : request.buttons.mid(0, 3);
    QList<QAbstractButton*> made;
    for (qsizetype i = 0; i < buttons.size(); ++i)
        made.append(box.addButton(buttons[i], i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole));
    box.setDefaultButton(qobject_cast<QPushButton*>(made.first()));
    box.exec();
    const qsizetype index = made.indexOf(box.clickedButton());
    return index < 0 ? static_cast<int>(made.size()) - 1 : static_cast<int>(index);
}

QString ModalHandler::runOpenPanel(const FilePanelRequest& request)
{
    QFileDialog panel(request.window, request.title, request.folder);
    panel.setAcceptMode(QFileDialog::AcceptOpen);
    panel.setFileMode(request.documentExtension.isEmpty() ? QFileDialog::ExistingFile : QFileDialog::Directory);
    if (!request.prompt.isEmpty())
        panel.setLabelText(QFileDialog::Accept, request.prompt);
    if (!request.nameFieldLabel.isEmpty())
        panel.setLabelText(QFileDialog::FileName, request.nameFieldLabel);
    if (request.window)
        panel.setWindowModality(Qt::WindowModal);
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return QString();
    return panel.selectedFiles().first();
}

QString ModalHandler::runSavePanel(const FilePanelRequest& request)
{
    QFileDialog panel(request.window, request.title, request.folder);
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.selectFile(request.proposedName);
    if (!request.prompt.isEmpty())
        panel.setLabelText(QFileDialog::Accept, request.prompt);
    if (request.window)
        panel.setWindowModality(Qt::WindowModal);
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return QString();
    return withDocumentExtension(panel.selectedFiles().first(), request.documentExtension);
}

int ModalHandler::runSheet(QDialog* sheet)
{
    if (sheet->parentWidget())
        sheet->setWindowModality(Qt::WindowModal);
    return sheet->exec();
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

QString withDocumentExtension(const QString& path, const QString& extension)
{
    if (path.isEmpty() || extension.isEmpty())
        return path;
    const QString suffix = QLatin1Char('.') + extension;
    return path.endsWith(suffix) ? path : path + suffix;
}

} // namespace lq
