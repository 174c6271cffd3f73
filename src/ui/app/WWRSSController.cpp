#include "ui/app/WWRSSController.h"

#include "document/MyDocument.h"
#include "ui/app/MyDocumentWindow.h"
#include "model/core/DocumentBase.h"
#include "model/feed/XmlRSS.h"
#include "model/feed/XmlRSSItem.h"
#include "model/site/XmlWebItem.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/SheetBuilder.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace {

const QString TitleColumn = QStringLiteral("title");

} // namespace

WWRSSController::WWRSSController(MyDocumentWindow* document, QWidget* view)
    : QObject(view)
    , _document(document->document())
{
    auto* layout = new QVBoxLayout(view);
    auto* fields = new QWidget;
    SheetBuilder settings(fields, this, [this](QWidget* sender) {
        if (sender == Publish)
            clickPublish();
    });
    Publish = settings.check(0, QStringLiteral("Publish the RSS feed"));
    Title = settings.label(QStringLiteral("Title")).textField(0);
    Link = settings.label(QStringLiteral("Link")).textField(0);
    Description = settings.label(QStringLiteral("Description")).textField(0);
    for (MyTextField* field : {Title, Link, Description})
        connect(field, &QLineEdit::textEdited, this, [this] { controlTextDidChange(); });
    layout->addWidget(fields);

    EntryTable = new MyTableView(0);
    EntryTable->setDataSource(this, {TableColumn{TitleColumn, QStringLiteral("Entries"), TableColumn::Kind::Text, false, {}}});
    EntryTable->setSelectionMode(QAbstractItemView::SingleSelection);
    EntryTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    EntryTable->horizontalHeader()->setStretchLastSection(true);
    connect(EntryTable, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) { doubleClickItem(index.row()); });
    layout->addWidget(EntryTable);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* add = new MyButton(0, QStringLiteral("Add Entry"));
    connect(add, &QPushButton::clicked, this, [this] { addEntry(); });
    buttons->addWidget(add);
    layout->addLayout(buttons);

    // The entry sheet.
    RSSItemWindow = new QDialog(document);
    RSSItemWindow->setWindowTitle(QStringLiteral("RSS Entry"));
    auto* sheetLayout = new QVBoxLayout(RSSItemWindow);
    auto* sheetFields = new QWidget;
    SheetBuilder item(sheetFields, this, [](QWidget*) {});
    RSSItemTitle = item.label(QStringLiteral("Title")).textField(0);
    RSSItemDescription = item.label(QStringLiteral("Description")).textField(0);
    RSSItemLink = item.label(QStringLiteral("Page")).popUp(0, {});
    // OK (and Return) keeps what the sheet shows, Cancel (and Escape) changes nothing.
    item.sheetButtons(RSSItemWindow);
    sheetLayout->addWidget(sheetFields);

    updateGUI();
}

WWRSSController::~WWRSSController()
{
    // The table asks its data source until it is gone: it goes first.
    delete EntryTable;
}

XmlRSS* WWRSSController::rss() const
{
    return _document.rss();
}

void WWRSSController::changed()
{
    // The feed root tells the document of no change, so the edit is marked here.
    _document.updateChangeCount(DocumentBase::ChangeDone);
}

void WWRSSController::updateGUI()
{
    lq::uiFrame(this, "updateGUI", [&] {
        XmlRSS* feed = rss();
        _updating = true;
        Publish->setChecked(feed && feed->publish());
        for (auto [field, text] : {std::pair{Title, feed ? feed->title() : QString()},
                 std::pair{Link, feed ? feed->link() : QString()},
                 std::pair{Description, feed ? feed->description() : QString()}}) {
            if (field->text() != text)
                field->setText(text);
        }
        EntryTable->reloadData();
    });
    _updating = false;
}

void WWRSSController::clickPublish()
{
    lq::uiFrame(this, "clickPublish:", [&] {
        if (_updating)
            return;
        if (XmlRSS* feed = rss()) {
            feed->setPublish(Publish->isChecked());
            changed();
        }
    });
}

void WWRSSController::controlTextDidChange()
{
    lq::uiFrame(this, "controlTextDidChange:", [&] {
        if (_updating)
            return;
        if (XmlRSS* feed = rss()) {
            feed->setTitle(Title->text());
            feed->setLink(Link->text());
            feed->setDescription(Description->text());
            changed();
        }
    });
}

int WWRSSController::numberOfChildrenOfItem(const void* item) const
{
    return lq::uiFrame(this, "numberOfRowsInTableView:", [&] {
        XmlRSS* feed = rss();
        return item || !feed ? 0 : feed->numberChildren();
    });
}

void* WWRSSController::childOfItem(int index, const void* item) const
{
    return lq::uiFrame(this, "childOfItem", [&]() -> void* {
        XmlRSS* feed = rss();
        if (item || !feed || index < 0 || index >= feed->numberChildren())
            return nullptr;
        return feed->childAtIndex(index).get();
    });
}

void* WWRSSController::parentOfItem(const void*) const
{
    return nullptr;
}

QVariant WWRSSController::objectValueForColumn(const QString& column, const void* item) const
{
    return lq::uiFrame(this, "tableView:objectValueForTableColumn:row:", [&] {
        auto* entry = XmlRSSItem::cast(static_cast<XmlBase*>(const_cast<void*>(item)));
        return column == TitleColumn && entry ? QVariant(entry->title()) : QVariant();
    });
}

bool WWRSSController::editRSSItem(XmlRSSItem* entry)
{
    return lq::uiFrame(this, "editRSSItem:", [&] {
        if (!entry)
            return false;
        RSSItemTitle->setText(entry->title());
        RSSItemDescription->setText(entry->description());
        const QList<std::shared_ptr<XmlBase>> pages = _document.webItems();
        RSSItemLink->clear();
        int selected = 0;
        for (int i = 0; i < pages.size(); ++i) {
            RSSItemLink->addItemWithTag(pages[i]->name(), i);
            auto* page = XmlWebItem::cast(pages[i].get());
            if (page && page->pageUUID() == entry->link())
                selected = i;
        }
        RSSItemLink->setCurrentIndex(pages.isEmpty() ? -1 : selected);

        if (lq::modalHandler().runSheet(RSSItemWindow) != 1)
            return false;

        entry->setTitle(RSSItemTitle->text());
        entry->setDescription(RSSItemDescription->text());
        const int chosen = RSSItemLink->currentIndex();
        if (chosen >= 0 && chosen < pages.size()) {
            if (auto* page = XmlWebItem::cast(pages[chosen].get()))
                entry->setLink(page->pageUUID());
        }
        changed();
        return true;
    });
}

void WWRSSController::doneRSSItem()
{
    lq::uiFrame(this, "doneRSSItem:", [&] { RSSItemWindow->done(1); });
}

void WWRSSController::doubleClickItem(int row)
{
    lq::uiFrame(this, "doubleClickItem:", [&] {
        editRSSItem(XmlRSSItem::cast(static_cast<XmlBase*>(childOfItem(row, nullptr))));
        EntryTable->reloadData();
    });
}

void WWRSSController::addEntry()
{
    lq::uiFrame(this, "addEntry:", [&] {
        XmlRSS* feed = rss();
        if (!feed)
            return;
        auto entry = XmlRSSItem::create();
        entry->setTitle(QStringLiteral("Type Title Here"));
        entry->setDescription(QStringLiteral("Type Description Here"));
        if (!editRSSItem(entry.get()))
            return;
        feed->insertChildAtIndex(entry, 0);
        while (feed->numberChildren() > maxEntries)
            feed->removeChild(feed->lastChild().get());
        EntryTable->reloadData();
        changed();
    });
}

bool WWRSSController::deleteKeyPressed(QAbstractItemView* view)
{
    lq::uiFrame(this, "deleteKeyPressed:", [&] {
        XmlRSS* feed = rss();
        const QModelIndexList rows = view && view->selectionModel() ? view->selectionModel()->selectedRows() : QModelIndexList();
        const int row = rows.isEmpty() ? -1 : rows.first().row();
        if (feed && row >= 0 && row < feed->numberChildren()) {
            feed->removeChild(feed->childAtIndex(row).get());
            changed();
        }
        EntryTable->reloadData();
    });
    return true;
}
