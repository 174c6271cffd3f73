// Table and outline views over a data source: cells by column identifier
// (text, check, pop-up, image), the outline's tree, the Delete keys, drags
// and drops through the source, and the icon-and-text cell. Qt's model
// tester watches every model the views make.
#include "ui/widgets/ImageAndTextCell.h"
#include "ui/widgets/ItemViewBehaviour.h"
#include "ui/widgets/MyOutlineView.h"
#include "ui/widgets/MyTableView.h"
#include "support/ui/CheckedModels.h"
#include "support/ui/DropEvents.h"
#include "support/ui/ScriptedModalHandler.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
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

    // Drags carry the names; drops are recorded and answered with `dropAnswer`.
    bool allowsDrags = true;
    Qt::DropAction dropAnswer = Qt::MoveAction;
    struct Drop {
        QString target;   // the name of the item dropped onto, "" for the root
        int childIndex = 0;
        QString text;
        friend bool operator==(const Drop&, const Drop&) = default;
    };
    QList<Drop> validated;
    QList<Drop> accepted;
    QList<Qt::DropAction> dragsEnded;

    std::optional<QStringList> dragIdentifiersForItems(const QList<void*>& items) override
    {
        if (!allowsDrags)
            return std::nullopt;
        QStringList names;
        for (void* item : items)
            names.append(entry(item)->name);
        return names;
    }
    Drop dropOf(const QMimeData* data, const void* item, int childIndex) const
    {
        return { item ? entry(item)->name : QString(), childIndex, data->text() };
    }
    Qt::DropAction validateDrop(const QMimeData* data, const void* item, int childIndex) override
    {
        validated.append(dropOf(data, item, childIndex));
        return dropAnswer;
    }
    bool acceptDrop(const QMimeData* data, void* item, int childIndex) override
    {
        accepted.append(dropOf(data, item, childIndex));
        return true;
    }
    void dragOpDone(Qt::DropAction action) override { dragsEnded.append(action); }
};

const QList<TableColumn> columns{
    {QStringLiteral("check"), QString(), TableColumn::Kind::Check, true, {}},
    {QStringLiteral("name"), QStringLiteral("Name"), TableColumn::Kind::Text, true, {}},
    {QStringLiteral("choice"), QStringLiteral("Kind"), TableColumn::Kind::PopUp, true, {QStringLiteral("Page"), QStringLiteral("Album")}},
    {QStringLiteral("icon"), QString(), TableColumn::Kind::Image, false, {}},
};

// A view given its source here has its model checked by Qt's model tester
// from then on.
class CheckedViewTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(CheckedModels::failures().isEmpty()) << CheckedModels::failures().join(QLatin1Char('\n')).toStdString();
    }
    template <class View>
    void setSource(View& view, EntrySource& source, const QList<TableColumn>& shown = columns)
    {
        view.setDataSource(&source, shown);
        models.watch(&view);
    }

    CheckedModels models;
};
class ItemViews : public CheckedViewTest {};

TEST_F(ItemViews, TableCellsByColumnIdentifier)
{
    EntrySource source;
    source.root.add(QStringLiteral("Home"));
    source.root.add(QStringLiteral("Travel"))->choice = 1;
    MyTableView table(120);
    setSource(table, source);
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
    setSource(table, source, reordered);
    EXPECT_EQ(table.adaptor()->index(1, 0).data().toString(), QStringLiteral("Travel"));

    // Rows the source adds show after reloading.
    source.root.add(QStringLiteral("Contact"));
    table.reloadData();
    EXPECT_EQ(table.adaptor()->rowCount(), 3);
}

TEST_F(ItemViews, OutlineFollowsTheSourceTree)
{
    EntrySource source;
    Entry* site = source.root.add(QStringLiteral("Site"));
    site->add(QStringLiteral("Home"));
    Entry* albums = site->add(QStringLiteral("Albums"));
    Entry* summer = albums->add(QStringLiteral("Summer"));
    MyOutlineView outline;
    setSource(outline, source);
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

TEST_F(ItemViews, DeleteKeysGoToASourceThatHandlesThem)
{
    EntrySource source;
    source.root.add(QStringLiteral("Home"));
    MyTableView table;
    setSource(table, source);
    table.show();
    QTest::keyClick(&table, Qt::Key_Delete);       // Forward Delete
    QTest::keyClick(&table, Qt::Key_Backspace);    // Delete
    EXPECT_EQ(source.deletes, 2);
    EXPECT_EQ(source.deletedIn, &table);
    QTest::keyClick(&table, Qt::Key_A);
    EXPECT_EQ(source.deletes, 2);

    source.handlesDelete = false;
    MyOutlineView outline;
    setSource(outline, source);
    QTest::keyClick(&outline, Qt::Key_Delete);
    EXPECT_EQ(source.deletes, 2);
}

TEST_F(ItemViews, DragsCarryTheSourcesTextAndTellHowTheyEnded)
{
    ScopedModalHandler modal;
    modal.state->dropper = [](QDrag*) { return Qt::MoveAction; };
    EntrySource source;
    for (const char* name : {"Home", "Travel", "Contact"})
        source.root.add(QString::fromLatin1(name));
    MyOutlineView outline;
    setSource(outline, source);
    outline.setSelectionMode(QAbstractItemView::ExtendedSelection);
    outline.resize(300, 200);
    outline.selectionModel()->select(outline.adaptor()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    outline.selectionModel()->select(outline.adaptor()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);

    ItemViewBehaviour::startDrag(&outline, Qt::MoveAction | Qt::CopyAction, &source);
    EXPECT_EQ(modal.state->dragTexts, QStringList{QStringLiteral("Home|Contact")});
    EXPECT_EQ(source.dragsEnded, QList<Qt::DropAction>{Qt::MoveAction});

    // A source that refuses the drag: nothing is dragged, nothing ends.
    source.allowsDrags = false;
    ItemViewBehaviour::startDrag(&outline, Qt::MoveAction, &source);
    EXPECT_EQ(modal.state->dragTexts.size(), 1);
    EXPECT_EQ(source.dragsEnded.size(), 1);
}

// Where a drop over the outline goes, as the source is told: onto an item
// that holds others, between rows, or at the end below every row; and the
// action the drop reports is the one the source chose.
TEST_F(ItemViews, DropsGoToTheSourceAsItemAndChildIndex)
{
    EntrySource source;
    source.root.add(QStringLiteral("Home"));
    Entry* albums = source.root.add(QStringLiteral("Albums"));
    albums->add(QStringLiteral("Summer"));
    source.root.add(QStringLiteral("Contact"));
    MyOutlineView outline;
    setSource(outline, source);
    outline.resize(300, 300);
    outline.show();
    const auto rowRect = [&](int row) { return outline.visualRect(outline.adaptor()->index(row, 1)); };

    struct Case {
        const char* what;
        QPoint at;
        Qt::DropAction answer;
        Qt::DropActions offered;
        EntrySource::Drop expected;
    };
    const std::vector<Case> cases {
        { "onto a row that holds others", rowRect(1).center(), Qt::MoveAction, Qt::MoveAction, { "Albums", -1, "Home" } },
        { "a file copy onto it", rowRect(1).center(), Qt::CopyAction, Qt::CopyAction | Qt::MoveAction, { "Albums", -1, "Home" } },
        { "on a row's top edge", rowRect(2).topLeft() + QPoint(20, 1), Qt::MoveAction, Qt::MoveAction, { "", 2, "Home" } },
        { "over a row that holds nothing", rowRect(0).center() + QPoint(0, 2), Qt::MoveAction, Qt::MoveAction, { "", 1, "Home" } },
        { "below every row", QPoint(20, outline.viewport()->height() - 5), Qt::MoveAction, Qt::MoveAction, { "", 3, "Home" } },
    };
    for (const Case& c : cases) {
        source.validated.clear();
        source.accepted.clear();
        source.dropAnswer = c.answer;
        const std::unique_ptr<QMimeData> data = dragTextData(QStringLiteral("Home"));
        const DragAnswer answer = dragAndDrop(outline.viewport(), data.get(), c.at, c.offered);
        EXPECT_TRUE(answer.accepted) << c.what;
        EXPECT_EQ(answer.action, c.answer) << c.what;
        ASSERT_EQ(source.accepted.size(), 1) << c.what;
        EXPECT_EQ(source.accepted.first(), c.expected) << c.what;
    }

    // A drop the source refuses is never taken, and a move the drag does
    // not offer is refused too.
    for (const auto& [answer, offered] : {std::pair{Qt::IgnoreAction, Qt::DropActions(Qt::MoveAction)}, std::pair{Qt::MoveAction, Qt::DropActions(Qt::CopyAction)}}) {
        source.accepted.clear();
        source.dropAnswer = answer;
        const std::unique_ptr<QMimeData> data = dragTextData(QStringLiteral("Home"));
        EXPECT_FALSE(dragAndDrop(outline.viewport(), data.get(), rowRect(1).center(), offered).accepted);
        EXPECT_TRUE(source.accepted.isEmpty());
    }
}

TEST(ImageAndTextCell, IconBesideTheTextAtItsSizeOrScaledToTheRow)
{
    struct Case {
        const char* what;
        QRect cell;
        QSize icon;
        QRect drawn;
        int textLeft;
    };
    const std::vector<Case> cases {
        { "16 high in a row of 17: own size, centred", QRect(10, 40, 200, 17), QSize(16, 16), QRect(13, 41, 16, 16), 10 + 16 + 3 },
        { "up to 5 taller: own size, overhanging", QRect(0, 0, 200, 17), QSize(20, 22), QRect(3, -2, 20, 22), 23 },
        { "6 taller or more: scaled to the row", QRect(0, 0, 200, 17), QSize(64, 64), QRect(3, 0, 17, 17), 20 },
        { "a wide picture keeps its shape", QRect(0, 20, 200, 17), QSize(90, 60), QRect(3, 20, 26, 17), 29 },
        { "no icon: the whole cell is text", QRect(0, 0, 200, 17), QSize(), QRect(), 0 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ImageAndTextCell::drawnImageFrame(c.cell, c.icon), c.drawn) << c.what;
        EXPECT_EQ(ImageAndTextCell::textFrame(c.cell, c.icon).left(), c.textLeft) << c.what;
        EXPECT_EQ(ImageAndTextCell::textFrame(c.cell, c.icon).right(), c.cell.right()) << c.what;
    }
    EXPECT_EQ(ImageAndTextCell::imageFrameForCellFrame(QRect(0, 0, 100, 17), QSize(64, 64)), QRect(3, -23, 64, 64));
}

// Entries whose names show beside a red icon.
struct IconSource : EntrySource {
    QSize iconSize{16, 16};
    void willDisplayCell(CellAppearance& cell, const QString& column, const void*) const override
    {
        if (column != QLatin1String("name"))
            return;
        cell.image = QImage(iconSize, QImage::Format_ARGB32);
        cell.image.fill(Qt::red);
        cell.textColour = QColor(Qt::darkGray);
    }
};

class ImageAndTextCellInOutline : public CheckedViewTest {
protected:
    // The outline shows the source's names alone, in the icon-and-text cell.
    void showNames(MyOutlineView& outline, EntrySource& source, int width)
    {
        setSource(outline, source, {columns[1]});
        outline.setItemDelegateForColumn(0, new ImageAndTextCell(&outline));
        outline.setRootIsDecorated(false);
        outline.resize(width, 100);
    }
};

// The icon of each row drawn in the outline: a red icon shows 3 pixels in
// from the cell, scaled down to the row when it is much taller.
TEST_F(ImageAndTextCellInOutline, DrawsTheSourcesIconInTheOutline)
{
    for (const QSize size : {QSize(12, 12), QSize(48, 48)}) {
        IconSource source;
        source.iconSize = size;
        source.root.add(QStringLiteral("Home"));
        MyOutlineView outline;
        showNames(outline, source, 200);
        EXPECT_EQ(outline.adaptor()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::darkGray));

        const QRect cell = outline.visualRect(outline.adaptor()->index(0, 0));
        const QImage shot = outline.viewport()->grab().toImage();
        const QRect drawn = ImageAndTextCell::drawnImageFrame(cell, size);
        EXPECT_EQ(QColor(shot.pixel(drawn.center())), QColor(Qt::red)) << size.width();
        EXPECT_EQ(drawn.left(), cell.left() + 3);
        EXPECT_NE(QColor(shot.pixel(cell.left() + 1, drawn.center().y())), QColor(Qt::red));
        EXPECT_NE(QColor(shot.pixel(drawn.right() + 2, drawn.center().y())), QColor(Qt::red));
        // The tall icon is drawn no higher than the row.
        EXPECT_EQ(drawn.height(), std::min(size.height(), cell.height())) << size.width();
        EXPECT_NE(QColor(shot.pixel(drawn.center().x(), drawn.bottom() + 1)), QColor(Qt::red)) << size.width();
    }
}

// The in-place editor of a name beside its icon covers the whole name it
// replaces: cleared, it shows none of the old letters ("PagPage 4").
TEST_F(ImageAndTextCellInOutline, TheInPlaceEditorCoversTheNameItReplaces)
{
    IconSource source;
    source.root.add(QStringLiteral("WWWWWWWWWW"));
    MyOutlineView outline;
    showNames(outline, source, 300);
    outline.show();
    const QModelIndex row = outline.adaptor()->index(0, 0);
    outline.edit(row);
    auto* editor = outline.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->isVisible());
    const QRect text = ImageAndTextCell::textFrame(outline.visualRect(row), QSize(16, 16));
    EXPECT_EQ(editor->geometry(), text);
    editor->clear();
    const QImage shot = outline.viewport()->grab().toImage();
    const QColor base = editor->palette().color(QPalette::Base);
    // The whole text frame but where the editor's text cursor blinks.
    int showing = 0;
    for (int y = text.top() + 3; y <= text.bottom() - 3; ++y) {
        for (int x = text.left(); x <= text.right() - 3; ++x) {
            if (x < editor->x() || x > editor->x() + 8)
                showing += QColor(shot.pixel(x, y)) != base ? 1 : 0;
        }
    }
    EXPECT_EQ(showing, 0) << "pixels of the old name beside the editor";
}

} // namespace
