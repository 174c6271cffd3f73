#include "ui/app/VersionList.h"

#include "document/MyDocument.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/SheetBuilder.h"
#include "ui/widgets/ScreenText.h"

#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

#include <cstdint>

namespace {
const QString nameColumn = QStringLiteral("name");
const QString commentColumn = QStringLiteral("comment");
} // namespace

VersionList::VersionList(MyDocument& document, QWidget* parent)
    : QWidget(parent)
    , _document(document)
    , _controller(&document)
{
    auto* layout = new QVBoxLayout(this);
    _table = new MyTableView(0, this);
    // Both columns are text the user may try to edit; the controller says
    // that only the comment takes it.
    _table->setDataSource(this, {TableColumn{nameColumn, QStringLiteral("Version"), TableColumn::Kind::Text, true, {}},
                                    TableColumn{commentColumn, QStringLiteral("Comment"), TableColumn::Kind::Text, true, {}}});
    _table->setDragEnabled(false);
    _table->setDragDropMode(QAbstractItemView::NoDragDrop);
    _table->setSelectionMode(QAbstractItemView::SingleSelection);
    _table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    _table->verticalHeader()->hide();
    _table->horizontalHeader()->setStretchLastSection(true);
    _table->setColumnWidth(0, 260);
    layout->addWidget(_table, 1);

    _statusMessage = lq::plainLabel(QStringLiteral("Removing older versions without a comment…"), this);
    _statusMessage->hide();
    layout->addWidget(_statusMessage);

    auto* buttons = new QWidget(this);
    new QVBoxLayout(buttons);
    buttons->layout()->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buttons);
    SheetBuilder row(buttons, this, {});
    const QList<MyButton*> made = row.buttonRow({{}, {QStringLiteral("Cancel"), [this] { cancel(); }},
        {QStringLiteral("Revert"), [this] { revert(); }}});
    _cancelButton = made.value(0);
    _revertButton = made.value(1);

    _controller.setReloadHandler([this] { reload(); });
}

VersionList::~VersionList()
{
    _controller.setReloadHandler({});
    _controller.setEditModeHandler({});
}

void VersionList::setEditModeHandler(std::function<void()> handler)
{
    _controller.setEditModeHandler(std::move(handler));
}

void VersionList::refreshFiles()
{
    _controller.refreshFiles();
    reload();
}

void VersionList::reload()
{
    _table->reloadData();
    _statusMessage->setVisible(_controller.statusVisible());
    _revertButton->setEnabled(_controller.numberOfRows() > 0);
}

int VersionList::selectedRow() const
{
    const QModelIndexList rows = _table->selectionModel() ? _table->selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void VersionList::cancel()
{
    lq::uiFrame(this, "cancel:", [&] {
        _controller.cancel();
        _statusMessage->hide();
    });
}

void VersionList::revert()
{
    lq::uiFrame(this, "revert:", [&] {
        const int row = selectedRow();
        const QString name = _controller.pathAtRow(row).isEmpty() ? QString() : _controller.objectValue(nameColumn, row);
        // What was saved is in a snapshot; what was not would be lost.
        if (!name.isEmpty() && _document.isDocumentEdited()) {
            const int choice = lq::runAlert(window(), QStringLiteral("Revert to the version of ") + name + QStringLiteral("?"),
                QStringLiteral("The changes you have not saved will be lost."), {QStringLiteral("Revert"), QStringLiteral("Cancel")});
            if (choice != 0)
                return;
        }
        const bool reverted = _controller.revert(row);
        _statusMessage->hide();
        if (!name.isEmpty() && !reverted)
            lq::runAlert(window(), QStringLiteral("The website could not be reverted"), _document.lastError());
    });
}

int VersionList::rowOf(const void* item)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(item)) - 1;
}

int VersionList::numberOfChildrenOfItem(const void* item) const
{
    return item ? 0 : _controller.numberOfRows();
}

void* VersionList::childOfItem(int index, const void* item) const
{
    // A table's rows: the row number (from 1, so that no row is the root).
    return item ? nullptr : reinterpret_cast<void*>(static_cast<std::intptr_t>(index) + 1);
}

QVariant VersionList::objectValueForColumn(const QString& column, const void* item) const
{
    return _controller.objectValue(column, rowOf(item));
}

bool VersionList::setObjectValueForColumn(const QVariant& value, const QString& column, void* item)
{
    if (!_controller.shouldEditColumn(column))
        return false;
    _controller.setObjectValue(value.toString(), column, rowOf(item));
    return true;
}

bool VersionList::shouldEditColumn(const QString& column, const void* item) const
{
    Q_UNUSED(item);
    return _controller.shouldEditColumn(column);
}
