#pragma once
#include "ui/widgets/ItemDataSource.h"

#include <QObject>

class MyButton;
class MyCheckBox;
class MyDocument;
class MyDocumentWindow;
class MyPopUpButton;
class MyTableView;
class MyTextField;
class QDialog;
class QWidget;
class XmlRSS;
class XmlRSSItem;

// The feed settings of the publish panel: whether the site's feed is
// published, its title, link and description, and its entries (at most ten,
// newest first), each edited in a sheet with a title, a description and one
// page of the site it links to.
class WWRSSController : public QObject, public ItemDataSource {
    Q_OBJECT
public:
    // At most this many entries stay in the feed.
    static constexpr int maxEntries = 10;

    // Builds the controls into the view; the entry sheet belongs to the
    // document window.
    WWRSSController(MyDocumentWindow* document, QWidget* view);
    ~WWRSSController() override;

    void updateGUI();
    void addEntry();
    // Runs the entry sheet; stores what it shows unless it was cancelled.
    bool editRSSItem(XmlRSSItem* item);
    void doneRSSItem();
    // Edits the entry of the row (nothing for a row without an entry).
    void doubleClickItem(int row);
    void clickPublish();
    void controlTextDidChange();

    // The table's data source: one row per entry, showing its title.
    int numberOfChildrenOfItem(const void* item) const override;
    void* childOfItem(int index, const void* item) const override;
    void* parentOfItem(const void* item) const override;
    QVariant objectValueForColumn(const QString& column, const void* item) const override;
    // Removes the entry of the selected row.
    bool deleteKeyPressed(QAbstractItemView* view) override;

    MyCheckBox* publishBox() const { return Publish; }
    MyTextField* titleField() const { return Title; }
    MyTextField* linkField() const { return Link; }
    MyTextField* descriptionField() const { return Description; }
    MyTableView* entryTable() const { return EntryTable; }
    QDialog* itemWindow() const { return RSSItemWindow; }
    MyTextField* itemTitle() const { return RSSItemTitle; }
    MyTextField* itemDescription() const { return RSSItemDescription; }
    MyPopUpButton* itemLink() const { return RSSItemLink; }

private:
    XmlRSS* rss() const;
    void changed();

    MyCheckBox* Publish = nullptr;
    MyTextField* Title = nullptr;
    MyTextField* Link = nullptr;
    MyTextField* Description = nullptr;
    MyTableView* EntryTable = nullptr;
    QDialog* RSSItemWindow = nullptr;
    MyTextField* RSSItemTitle = nullptr;
    MyTextField* RSSItemDescription = nullptr;
    MyPopUpButton* RSSItemLink = nullptr;
    // The site, which outlives its window and so this controller's controls.
    MyDocument& _document;
    bool _updating = false;
};
