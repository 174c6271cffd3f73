// Table and outline views over a data source: cells by column identifier
// (text, check, pop-up, image), the outline's tree, the Delete keys.
#include "platform/widgets/MyOutlineView.h"
#include "platform/widgets/MyTableView.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A small tree of named entries with a check mark, a choice and a picture.
struct Entry {
    QString name;
    int check = 0;
    int choice = 0;
    Entry* parent = nullptr;
    std::vector<std::unique_ptr<Entry>> children;

    Entry* add(const QString& childName)
    {
        children.push_back(std::make_unique<Entry>());
        children.back()->name = childName;
        children.back()->parent = this;
        return children.back().get();
    }
};

class EntrySource : public ItemDataSource {
public:
    Entry root;
    bool handlesDelete = true;
    int deletes = 0;
    QAbstractItemView* deletedIn = nullptr;

    const Entry* entry(const void* item) const { return item ? static_cast<const Entry*>(item) : &root; }
    int numberOfChildrenOfItem(const void* item) const override { return static_cast<int>(entry(item)->children.size()); }
    void* childOfItem(int index, const void* item) const override { return entry(item)->children[index].get(); }
    void* parentOfItem(const void* item) const override
    {
        Entry* parent = entry(item)->parent;
        return parent == &root ? nullptr : parent;
    }
    QVariant objectValueForColumn(const QString& column, const void* item) const override
    {
        const Entry* e = entry(item);
        if (column == QLatin1String("name"))
            return e->name;
        if (column == QLatin1String("check"))
            return e->check;
        if (column == QLatin1String("choice"))
            return e->choice;
        if (column == QLatin1String("icon")) {
            QImage icon(8, 8, QImage::Format_RGB32);
            icon.fill(Qt::red);
            return icon;
        }
        return QVariant();
    }
    bool setObjectValueForColumn(const QVariant& value, const QString& column, void* item) override
    {
        auto* e = static_cast<Entry*>(item);
        if (column == QLatin1String("name"))
            e->name = value.toString();
        else if (column == QLatin1String("check"))
            e->check = value.toInt();
        else if (column == QLatin1String("choice"))
            e->choice = value.toInt();
        else
            return false;
        return true;
    }
    bool deleteKeyPressed(QAbstractItemView* view) override
    {
        if (!handlesDelete)
            return false;
        ++deletes;
        deletedIn = view;
        return true;
    }
};

const QList<TableColumn> columns{
    {QStringLiteral("check"), QString(), TableColumn::Kind::Check, true, {}},
    {QStringLiteral("name"), QStringLiteral("Name"), TableColumn::Kind::Text, true, {}},
    {QStringLiteral("choice"), QStringLiteral("Kind"), TableColumn::Kind::PopUp, true, {QStringLiteral("Page"), QStringLiteral("Album")}},
    {QStringLiteral("icon"), QString(), TableColumn::Kind::Image, false, {}},
};

TEST(ItemViews, TableCellsByColumnIdentifier)
{
    EntrySource source;
    source.root.add(QStringLiteral("Home"));
    source.root.add(QStringLiteral("Travel"))->choice = 1;
    MyTableView table(120);
    table.setDataSource(&source, columns);
    ItemModelAdaptor* model = table.adaptor();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->columnWithIdentifier(QStringLiteral("choice")), 2);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Name"));
    EXPECT_EQ(model->index(1, 1).data().toString(), QStringLiteral("Travel"));
    EXPECT_EQ(model->index(1, 2).data().toString(), QStringLiteral("Album"));
    EXPECT_EQ(model->index(0, 2).data().toString(), QStringLiteral("Page"));
    EXPECT_FALSE(model->index(0, 3).data(Qt::DecorationRole).value<QPixmap>().isNull());
    EXPECT_EQ(model->index(0, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);

    // Edits go back to the source by identifier.
    EXPECT_TRUE(model->setData(model->index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(source.root.children[0]->check, 1);
    EXPECT_TRUE(model->setData(model->index(0, 2), 1, Qt::EditRole));
    EXPECT_EQ(source.root.children[0]->choice, 1);
    EXPECT_TRUE(model->setData(model->index(0, 1), QStringLiteral("Start"), Qt::EditRole));
    EXPECT_EQ(source.root.children[0]->name, QStringLiteral("Start"));
    EXPECT_FALSE(model->setData(model->index(0, 3), QImage(), Qt::EditRole));
    EXPECT_FALSE(model->flags(model->index(0, 3)) & Qt::ItemIsEditable);

    // Columns in another order still show their own values.
    QList<TableColumn> reordered{columns[1], columns[0]};
    table.setDataSource(&source, reordered);
    EXPECT_EQ(table.adaptor()->index(1, 0).data().toString(), QStringLiteral("Travel"));

    // Rows the source adds show after reloading.
    source.root.add(QStringLiteral("Contact"));
    table.reloadData();
    EXPECT_EQ(table.adaptor()->rowCount(), 3);
}

TEST(ItemViews, OutlineFollowsTheSourceTree)
{
    EntrySource source;
    Entry* site = source.root.add(QStringLiteral("Site"));
    site->add(QStringLiteral("Home"));
    Entry* albums = site->add(QStringLiteral("Albums"));
    Entry* summer = albums->add(QStringLiteral("Summer"));
    MyOutlineView outline;
    outline.setDataSource(&source, columns);
    ItemModelAdaptor* model = outline.adaptor();
    const QModelIndex siteIndex = model->index(0, 0);
    ASSERT_EQ(model->rowCount(siteIndex), 2);
    const QModelIndex albumsIndex = model->index(1, 1, siteIndex);
    EXPECT_EQ(albumsIndex.data().toString(), QStringLiteral("Albums"));
    EXPECT_EQ(model->parent(albumsIndex), siteIndex);
    const QModelIndex summerIndex = model->indexForItem(summer, 1);
    EXPECT_EQ(summerIndex.data().toString(), QStringLiteral("Summer"));
    EXPECT_EQ(model->parent(summerIndex).row(), 1);
    EXPECT_EQ(model->itemForIndex(summerIndex), summer);
    EXPECT_FALSE(model->parent(siteIndex).isValid());
}

TEST(ItemViews, DeleteKeysGoToASourceThatHandlesThem)
{
    EntrySource source;
    source.root.add(QStringLiteral("Home"));
    MyTableView table;
    table.setDataSource(&source, columns);
    table.show();
    QTest::keyClick(&table, Qt::Key_Delete);       // Forward Delete
    QTest::keyClick(&table, Qt::Key_Backspace);    // Delete
    EXPECT_EQ(source.deletes, 2);
    EXPECT_EQ(source.deletedIn, &table);
    QTest::keyClick(&table, Qt::Key_A);
    EXPECT_EQ(source.deletes, 2);

    source.handlesDelete = false;
    MyOutlineView outline;
    outline.setDataSource(&source, columns);
    QTest::keyClick(&outline, Qt::Key_Delete);
    EXPECT_EQ(source.deletes, 2);
}

} // namespace
