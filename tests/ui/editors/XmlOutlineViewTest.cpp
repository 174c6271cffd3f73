// The element outline: rows are the elements of a subtree named by UUID;
// drops move elements through the outline's own handlers (synthetic drag
// events with the drag text), the Delete key takes the selected element out
// and selects the next, and a controller answers what it chooses to.
#include "ui/editors/XmlOutlineController.h"
#include "ui/editors/XmlOutlineView.h"
#include "model/core/ElementPasteboard.h"
#include "model/files/XmlExternalFiles.h"
#include "model/files/XmlFile.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "ui/widgets/ImageAndTextCell.h"
#include "ui/widgets/ItemViewBehaviour.h"
#include "application/MyApplication.h"
#include "platform/StringTable.h"
#include "support/ChildNames.h"
#include "support/SiteInDocument.h"
#include "support/TestFiles.h"
#include "support/ui/CheckedModels.h"
#include "support/ui/DropEvents.h"
#include "support/ui/GridPictures.h"
#include "support/ui/OutlineRows.h"
#include "support/ui/ScriptedModalHandler.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

template <class Page>
std::shared_ptr<Page> page(XmlBase& parent, const QString& name)
{
    auto made = Page::create();
    made->setName(name);
    parent.addChild(made);
    return made;
}

// Records what the outline asked and answers from what the test set.
class RecordingController : public XmlOutlineController {
public:
    std::optional<bool> allowsDelete;
    std::optional<bool> allowsDrag;
    std::optional<bool> filesDrop;
    std::optional<bool> itemDrop;
    XmlBaseList trashed;
    XmlBaseList selected;
    int selectionChanges = 0;
    int dropsDone = 0;
    int made = 0;
    QList<QStringList> droppedFiles;

    std::optional<bool> canDeleteObject(XmlBase&) override { return allowsDelete; }
    void addToTrash(const XmlBasePtr& element) override { trashed.append(element); }
    void selectObject(XmlBase& element) override { selected.append(element.sharedFromThis()); }
    void selectionChanged(XmlOutlineView&) override { ++selectionChanges; }
    std::optional<bool> outlineViewAllowDragItems(XmlOutlineView&, const XmlBaseList&) override { return allowsDrag; }
    void dropDone() override { ++dropsDone; }
    std::optional<XmlBasePtr> createFromPasteboard(const lq::Pasteboard& pasteboard) override
    {
        ++made;
        return lq::createFromPasteboard(pasteboard);
    }
    std::optional<bool> outlineViewCanDropFilesOnItem(XmlOutlineView&, XmlBase&) override { return filesDrop; }
    std::optional<bool> outlineViewDropFilesOnItemChildIndex(XmlOutlineView&, XmlBase& files, XmlBase&, int) override
    {
        QStringList paths;
        for (const XmlBasePtr& file : files.children())
            paths.append(XmlFile::cast(file.get())->filename());
        droppedFiles.append(paths);
        return true;
    }
    std::optional<bool> outlineViewCanDropItemOnItem(XmlOutlineView&, XmlBase&, XmlBase&) override { return itemDrop; }

    // Elements from outside the document: offered, and taken by the drop hook.
    std::optional<bool> foreignCopy;
    std::optional<bool> itemDropAnswer;
    XmlBaseList droppedItems;
    std::optional<bool> outlineViewCanCopyForeignItemOnItem(XmlOutlineView&, XmlBase&, XmlBase&) override { return foreignCopy; }
    std::optional<bool> outlineViewDropItemOnItemChildIndex(XmlOutlineView&, XmlBase& dragged, XmlBase&, int) override
    {
        if (itemDropAnswer)
            droppedItems.append(dragged.sharedFromThis());
        return itemDropAnswer;
    }
};

// A site in a recording document, its home page holding six album pages
// p0 to p5 and a group g with two pages, shown in an outline rooted at the
// home page.
class XmlOutlineViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = site.site->homepage();
        for (int i = 0; i < 6; ++i)
            pages.append(page<XmlAlbum>(*home, QStringLiteral("p") + QString::number(i)));
        group = page<XmlGroup>(*home, QStringLiteral("g"));
        page<XmlAlbum>(*group, QStringLiteral("g0"));
        page<XmlAlbum>(*group, QStringLiteral("g1"));
        outline.setController(&controller);
        outline.setTextImageCell();
        outline.setAllowsDragging();
        outline.setXmlBase(home->UUID());
        outline.resize(320, 400);
        outline.show();
        models.watch(&outline);
    }
    void TearDown() override
    {
        EXPECT_TRUE(CheckedModels::failures().isEmpty()) << CheckedModels::failures().join(QLatin1Char('\n')).toStdString();
    }

    QModelIndex rowOf(const XmlBase* element) const { return ::rowOf(outline, element); }
    QRect rectOf(const XmlBase* element) const { return ::rectOf(outline, element); }
    DragAnswer drop(const XmlBase& dragged, QPoint at)
    {
        const std::unique_ptr<QMimeData> data = dragTextData(dragged.UUID());
        return dragAndDrop(outline.viewport(), data.get(), at);
    }
    void pressDelete(const XmlBase& element)
    {
        outline.selectObject(const_cast<XmlBase*>(&element));
        QTest::keyClick(&outline, Qt::Key_Backspace);
    }

    ScopedModalHandler modal;
    SiteInDocument site;
    XmlHomePage* home = nullptr;
    QList<std::shared_ptr<XmlAlbum>> pages;
    std::shared_ptr<XmlGroup> group;
    RecordingController controller;
    XmlOutlineView outline;
    CheckedModels models;
};

TEST_F(XmlOutlineViewTest, ShowsTheRootsChildrenWithIconsAndEditableNames)
{
    ItemModelAdaptor* model = outline.adaptor();
    ASSERT_EQ(model->rowCount(), 7);
    EXPECT_EQ(model->index(6, 0).data().toString(), QStringLiteral("g"));
    EXPECT_EQ(model->rowCount(model->index(6, 0)), 2);
    EXPECT_TRUE(model->hasChildren(model->index(0, 0))) << "an album page can hold photos";
    EXPECT_FALSE(model->index(6, 0).data(Qt::DecorationRole).value<QImage>().isNull());
    EXPECT_EQ(model->index(6, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
    EXPECT_TRUE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    // Each row draws its element's icon 3 pixels in from its cell.
    outline.expandObject(group.get());
    const QImage shot = widgetPicture(outline, QStringLiteral("element-outline.png"));
    const QRect cell = outline.visualRect(rowOf(group.get()));
    const QRect icon = ImageAndTextCell::drawnImageFrame(cell, model->index(6, 0).data(Qt::DecorationRole).value<QImage>().size());
    EXPECT_GT(countPixels(shot, icon, [](QColor c) { return c != QColor(Qt::white); }), 20);
    EXPECT_EQ(icon.left(), cell.left() + 3);

    // A name typed in the outline goes to the element.
    EXPECT_TRUE(model->setData(model->index(0, 0), QStringLiteral("Start"), Qt::EditRole));
    EXPECT_EQ(pages[0]->name(), QStringLiteral("Start"));
    EXPECT_GT(site.document.changes, 0);
}

TEST_F(XmlOutlineViewTest, CheckColumnShowsAndSetsTheMark)
{
    outline.setColumns({ { QStringLiteral("check"), QString(), TableColumn::Kind::Check, true, {} },
        { QStringLiteral("name"), QStringLiteral("Page"), TableColumn::Kind::Text, true, {} } });
    ItemModelAdaptor* model = outline.adaptor();
    EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("p0"));
    EXPECT_EQ(model->index(0, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
    EXPECT_TRUE(model->setData(model->index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(pages[0]->check(), 1);
    // The icon moved to the name column with it.
    EXPECT_FALSE(model->index(0, 1).data(Qt::DecorationRole).value<QImage>().isNull());
    EXPECT_FALSE(model->index(0, 0).data(Qt::DecorationRole).isValid());
}

TEST_F(XmlOutlineViewTest, DropOntoARowMakesTheFirstChild)
{
    outline.expandObject(group.get());
    const DragAnswer answer = drop(*pages[0], rectOf(group.get()).center());
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.action, Qt::MoveAction);
    EXPECT_EQ(childNames(*group), (QStringList { "p0", "g0", "g1" }));
    EXPECT_EQ(childNames(*home), (QStringList { "p1", "p2", "p3", "p4", "p5", "g" }));
    EXPECT_EQ(pages[0]->parent(), group.get());
    // The outline shows the new tree at once.
    EXPECT_EQ(outline.adaptor()->rowCount(), 6);

    // The same through the data source's hooks, the items named by their
    // elements, in an outline that has shown nothing yet.
    XmlOutlineView hidden;
    hidden.setXmlBase(home->UUID());
    const std::unique_ptr<QMimeData> data = dragTextData(pages[1]->UUID());
    EXPECT_EQ(hidden.validateDrop(data.get(), group.get(), -1), Qt::MoveAction);
    EXPECT_TRUE(hidden.acceptDrop(data.get(), group.get(), -1));
    EXPECT_EQ(childNames(*group), (QStringList { "p1", "p0", "g0", "g1" }));
}

TEST_F(XmlOutlineViewTest, MovingDownLandsWhereTheUserDropped)
{
    // From index 1 to the gap before index 4: it ends at index 3.
    const DragAnswer answer = drop(*pages[1], rectOf(pages[4].get()).topLeft() + QPoint(30, 1));
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(childNames(*home), (QStringList { "p0", "p2", "p3", "p1", "p4", "p5", "g" }));
    EXPECT_EQ(home->indexOfChild(pages[1].get()), 3);
    // Moving up: from 5 to the gap before 1.
    EXPECT_TRUE(drop(*pages[5], rectOf(pages[2].get()).topLeft() + QPoint(30, 1)).accepted);
    EXPECT_EQ(childNames(*home), (QStringList { "p0", "p5", "p2", "p3", "p1", "p4", "g" }));
}

TEST_F(XmlOutlineViewTest, RefusesDropsTheTreeCannotTake)
{
    outline.expandObject(group.get());
    const QModelIndex g0 = rowOf(group->childAtIndex(0).get());
    ASSERT_TRUE(g0.isValid());
    struct Case {
        const char* what;
        XmlBasePtr dragged;
        QPoint at;
    };
    const std::vector<Case> cases {
        { "a group into itself", group, outline.visualRect(g0).topLeft() + QPoint(30, 1) },
        { "a page onto an album page", pages[2], rectOf(pages[3].get()).center() },
        { "the home page into its own tree", home->sharedFromThis(), rectOf(pages[3].get()).topLeft() + QPoint(30, 1) },
    };
    const QString before = home->createXml();
    for (const Case& c : cases) {
        EXPECT_FALSE(drop(*c.dragged, c.at).accepted) << c.what;
        EXPECT_EQ(home->createXml(), before) << c.what;
    }
    EXPECT_EQ(home->parent(), site.site.get());
}

TEST_F(XmlOutlineViewTest, ElementsOfAnotherDocumentAreNeverDropped)
{
    SiteInDocument other;
    auto stranger = page<XmlAlbum>(*other.site->homepage(), QStringLiteral("stranger"));
    XmlHomePage* otherHome = other.site->homepage();

    // Refused while hovering and at the drop, whatever the controller says.
    controller.itemDrop = true;
    const std::unique_ptr<QMimeData> data = dragTextData(stranger->UUID());
    EXPECT_EQ(outline.validateDrop(data.get(), nullptr, 0), Qt::IgnoreAction);
    EXPECT_FALSE(outline.acceptDrop(data.get(), nullptr, 0));
    EXPECT_FALSE(drop(*stranger, rectOf(pages[3].get()).topLeft() + QPoint(30, 1)).accepted);
    EXPECT_EQ(stranger->parent(), otherHome);
    EXPECT_EQ(childNames(*otherHome), QStringList { "stranger" });
    EXPECT_EQ(home->numberChildren(), 7);

    // Within one document the controller decides.
    controller.itemDrop = false;
    EXPECT_FALSE(drop(*pages[0], rectOf(pages[3].get()).topLeft() + QPoint(30, 1)).accepted);
    controller.itemDrop = true;
    EXPECT_TRUE(drop(*pages[0], rectOf(pages[3].get()).topLeft() + QPoint(30, 1)).accepted);
    EXPECT_EQ(home->indexOfChild(pages[0].get()), 2);
}

TEST_F(XmlOutlineViewTest, AForeignElementGoesOnlyToAControllerThatCopiesIt)
{
    SiteInDocument other;
    auto stranger = page<XmlAlbum>(*other.site->homepage(), QStringLiteral("stranger"));
    // An element of no document at all.
    auto loose = XmlAlbum::create();
    const QPoint gap = rectOf(pages[3].get()).topLeft() + QPoint(30, 1);
    // A drag from another tree offers a move or a copy.
    const auto offer = [&](const XmlBase& dragged) {
        const std::unique_ptr<QMimeData> data = dragTextData(dragged.UUID());
        return dragAndDrop(outline.viewport(), data.get(), gap, Qt::MoveAction | Qt::CopyAction);
    };
    for (const XmlBasePtr& foreign : XmlBaseList { stranger, loose }) {
        // Offered as a copy, but a controller that only offers it and takes
        // no part in the drop gets nothing: the outline never moves it.
        controller.foreignCopy = true;
        const std::unique_ptr<QMimeData> data = dragTextData(foreign->UUID());
        EXPECT_EQ(outline.validateDrop(data.get(), nullptr, 0), Qt::CopyAction);
        EXPECT_FALSE(offer(*foreign).accepted);
        EXPECT_EQ(home->numberChildren(), 7);

        // The controller's drop hook takes it, and the element stays where it was.
        controller.itemDropAnswer = true;
        const DragAnswer answer = offer(*foreign);
        EXPECT_TRUE(answer.accepted);
        EXPECT_EQ(answer.action, Qt::CopyAction);
        EXPECT_EQ(controller.droppedItems.last(), foreign);
        EXPECT_EQ(foreign->parent(), foreign == stranger ? other.site->homepage() : nullptr);

        // Refused again once the controller says no.
        controller.foreignCopy = false;
        EXPECT_FALSE(offer(*foreign).accepted);
        controller.itemDropAnswer.reset();
    }
    EXPECT_EQ(controller.droppedItems.size(), 2);
    EXPECT_EQ(home->numberChildren(), 7);
}

TEST_F(XmlOutlineViewTest, DragsWriteTheRowsUUIDsJoinedByBars)
{
    outline.setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (int i : { 0, 2, 4 })
        outline.selectionModel()->select(rowOf(pages[i].get()), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ItemViewBehaviour::startDrag(&outline, Qt::MoveAction, &outline);
    ASSERT_EQ(modal.state->dragTexts.size(), 1);
    const QString text = modal.state->dragTexts.first();
    EXPECT_EQ(text, pages[0]->UUID() + QLatin1Char('|') + pages[2]->UUID() + QLatin1Char('|') + pages[4]->UUID());
    EXPECT_EQ(controller.dropsDone, 1);

    // Such a text names no element: the drop is decided by what the
    // controller makes of it (nothing), and refused.
    controller.made = 0;
    EXPECT_FALSE(dragAndDrop(outline.viewport(), dragTextData(text).get(), rectOf(group.get()).center()).accepted);
    EXPECT_GE(controller.made, 1);
    EXPECT_EQ(home->numberChildren(), 7);

    // A controller that refuses the drag: nothing is dragged.
    controller.allowsDrag = false;
    ItemViewBehaviour::startDrag(&outline, Qt::MoveAction, &outline);
    EXPECT_EQ(modal.state->dragTexts.size(), 1);
}

TEST_F(XmlOutlineViewTest, FilesFromOutsideMakeOneListPerDrag)
{
    QTemporaryDir folder;
    const QStringList paths { folder.filePath(QStringLiteral("b.jpg")), folder.filePath(QStringLiteral("A.jpg")) };
    for (const QString& path : paths)
        writeAll(path, jpegBytes(8, 8));
    controller.filesDrop = true;
    const std::unique_ptr<QMimeData> data = fileManagerData(paths);
    const QPoint at = rectOf(pages[1].get()).center();
    sendDragEnter(outline.viewport(), data.get(), at, Qt::CopyAction | Qt::MoveAction);
    EXPECT_EQ(sendDragMove(outline.viewport(), data.get(), at, Qt::CopyAction | Qt::MoveAction).action, Qt::CopyAction);
    EXPECT_EQ(sendDragMove(outline.viewport(), data.get(), at + QPoint(1, 0), Qt::CopyAction | Qt::MoveAction).action, Qt::CopyAction);
    const DragAnswer answer = sendDrop(outline.viewport(), data.get(), at, Qt::CopyAction | Qt::MoveAction);
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.action, Qt::CopyAction);
    EXPECT_EQ(controller.made, 1);
    ASSERT_EQ(controller.droppedFiles.size(), 1);
    EXPECT_EQ(controller.droppedFiles.first(), (QStringList { paths[1], paths[0] }));

    // Without the controller's yes, files go nowhere.
    controller.filesDrop = false;
    EXPECT_FALSE(dragAndDrop(outline.viewport(), data.get(), at, Qt::CopyAction).accepted);
    EXPECT_EQ(home->numberChildren(), 7);
}

TEST_F(XmlOutlineViewTest, DeleteSelectsTheNextRow)
{
    outline.expandObject(group.get());
    XmlBasePtr g0 = group->childAtIndex(0);
    XmlBasePtr g1 = group->childAtIndex(1);

    // The child after it.
    pressDelete(*pages[2]);
    EXPECT_EQ(childNames(*home), (QStringList { "p0", "p1", "p3", "p4", "p5", "g" }));
    EXPECT_EQ(outline.selectedObject(), pages[3]);
    // The last child: the parent's first child.
    pressDelete(*g1);
    EXPECT_EQ(outline.selectedObject(), g0);
    EXPECT_EQ(controller.selected.last(), g0);
    // An only child: its parent.
    pressDelete(*g0);
    EXPECT_EQ(outline.selectedObject(), group);
    EXPECT_EQ(group->numberChildren(), 0);
    // Each went to the controller's trash, in one piece.
    EXPECT_EQ(controller.trashed, (XmlBaseList { pages[2], g1, g0 }));
    EXPECT_EQ(pages[2]->parent(), nullptr);
}

TEST_F(XmlOutlineViewTest, DeleteRefusedByTheControllerDoesNothing)
{
    controller.allowsDelete = false;
    outline.selectObject(pages[1].get());
    const int changes = controller.selectionChanges;
    for (const Qt::Key key : { Qt::Key_Backspace, Qt::Key_Delete }) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&outline, &press);
        EXPECT_TRUE(press.isAccepted()) << "the key goes no further";
    }
    EXPECT_EQ(home->numberChildren(), 7);
    EXPECT_EQ(outline.selectedObject(), pages[1]);
    EXPECT_EQ(controller.selectionChanges, changes);
    EXPECT_TRUE(controller.trashed.isEmpty());
}

TEST_F(XmlOutlineViewTest, ReloadKeepsOpenRowsAndTheSelection)
{
    auto inner = page<XmlAlbum>(*group, QStringLiteral("g2"));
    outline.selectObject(inner.get());
    EXPECT_TRUE(outline.isExpanded(rowOf(group.get())));
    EXPECT_EQ(controller.selectionChanges, 1);
    page<XmlAlbum>(*home, QStringLiteral("p6"));
    outline.reloadData();
    EXPECT_EQ(outline.adaptor()->rowCount(), 8);
    EXPECT_TRUE(outline.isExpanded(rowOf(group.get())));
    EXPECT_EQ(outline.selectedObject(), inner);
    EXPECT_EQ(controller.selectionChanges, 1) << "bringing the selection back is no change";
}

TEST_F(XmlOutlineViewTest, ARootThatIsGoneShowsNothingAndTakesNothing)
{
    auto other = page<XmlAlbum>(*home, QStringLiteral("root"));
    outline.setXmlBase(other->UUID());
    EXPECT_EQ(outline.adaptor()->rowCount(), 0);
    home->removeChild(other.get());
    const QString uuid = other->UUID();
    other.reset();
    ASSERT_EQ(XmlBase::UUID(uuid), nullptr);
    outline.reloadData();
    EXPECT_EQ(outline.adaptor()->rowCount(), 0);
    EXPECT_EQ(outline.rootElement(), nullptr);
    const std::unique_ptr<QMimeData> data = dragTextData(pages[0]->UUID());
    EXPECT_EQ(outline.validateDrop(data.get(), nullptr, 0), Qt::IgnoreAction);
    EXPECT_FALSE(outline.acceptDrop(data.get(), nullptr, 0));
}

TEST_F(XmlOutlineViewTest, RowsOfElementsThatWentAnswerNothing)
{
    // The tree changes under the outline before it is reloaded: the rows of
    // the removed pages answer nothing instead of reading freed elements.
    ItemModelAdaptor* model = outline.adaptor();
    const QModelIndex stale = model->index(1, 0);
    const std::weak_ptr<XmlAlbum> gone = pages[1];
    home->removeChild(pages[1].get());
    pages.removeAt(1);
    ASSERT_TRUE(gone.expired());
    EXPECT_EQ(outline.objectValueForColumn(QStringLiteral("name"), stale.internalPointer()).toString(), QString());
    EXPECT_EQ(outline.numberOfChildrenOfItem(stale.internalPointer()), 0);
    outline.reloadData();
    EXPECT_EQ(model->rowCount(), 6);
}

// Views made with a tag of 99 or less have no tool tip, and become their
// own data source only when first given a root; from 100 on both at once.
TEST(XmlOutlineViewTags, ATagOf99OrLessHasNoToolTip)
{
    lq::StringTable table;
    table.parse(QStringLiteral(R"("Tooltip0" = "never";
"Tooltip99" = "never either";
"Tooltip100" = "The pages";
"Tooltip250" = "The files";
)"));
    MyApplication::shared().setStringTable(table);
    struct Case {
        int tag;
        const char* toolTip;
    };
    const Case cases[] = {{0, ""}, {99, ""}, {100, "The pages"}, {250, "The files"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        XmlOutlineView view(c.tag);
        EXPECT_EQ(view.toolTip().toStdString(), c.toolTip);
        EXPECT_EQ(view.dataSource() == &view, c.tag > 99);
    }
    lq::StringTable resources;
    resources.loadFile(QStringLiteral(LQ_TEST_RESOURCES "/strings/Localizable.strings"));
    MyApplication::shared().setStringTable(resources);
}

} // namespace
