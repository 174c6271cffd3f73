// The inspector's element tables over the starter site, used through their
// table views as a user ticks and edits their cells.
#include "elements/XmlVornBox.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/layout/ElementTableSource.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ItemModelAdaptor.h"
#include "ui/widgets/MyTableView.h"
#include "support/Printers.h"
#include "support/ui/LayoutWindow.h"

#include <gtest/gtest.h>

namespace {

class ElementTablesTest : public LayoutWindowTest {
protected:
    void SetUp() override
    {
        LayoutWindowTest::SetUp();
        about = page(QStringLiteral("About"));
        sheet = about->getTemplate();
        ASSERT_NE(sheet, nullptr);
    }
    void show() { layout->setPreviewPageIndex(about->UUID(), -1); }

    static QModelIndex cell(MyTableView* table, int row, const QString& column)
    {
        ItemModelAdaptor* model = table->adaptor();
        return model->index(row, model->columnWithIdentifier(column));
    }
    static QStringList column(MyTableView* table, const QString& identifier)
    {
        QStringList values;
        for (int row = 0; row < table->adaptor()->rowCount(); ++row) {
            const QModelIndex index = cell(table, row, identifier);
            values.append(identifier == u"name" ? index.data().toString()
                                                : QString::number(index.data(Qt::CheckStateRole).toInt() == Qt::Checked));
        }
        return values;
    }
    static bool tick(MyTableView* table, int row, const QString& identifier, bool on)
    {
        return table->adaptor()->setData(cell(table, row, identifier), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    }

    std::shared_ptr<XmlAlbum> about;
    std::shared_ptr<XmlStyleSheet> sheet;
};

TEST_F(ElementTablesTest, TheElementListShowsWhichElementsThePagesShowAndOnlyThatCanBeChanged)
{
    show();
    MyTableView* table = layout->elementTables().editElementList();
    ASSERT_EQ(lq::viewWithTag(layout->sheetView(QStringLiteral("page")), 113), table);
    ASSERT_EQ(table->adaptor()->rowCount(), layout->elementTables().numberElements());
    QStringList names;
    QStringList shown;
    for (int row = 0; row < layout->elementTables().numberElements(); ++row) {
        names.append(layout->elementTables().getElementAtIndex(row)->name());
        shown.append(QString::number(layout->elementTables().getVisibilityOfElementAtIndex(row)));
    }
    EXPECT_EQ(column(table, QStringLiteral("name")), names);
    EXPECT_EQ(column(table, QStringLiteral("visible")), shown);

    // Unticking the masthead hides it on the pages and takes its sheet away.
    const int masthead = int(names.indexOf(QStringLiteral("Masthead")));
    ASSERT_GE(masthead, 0);
    ASSERT_TRUE(layout->elementTables().getVisibilityOfElementAtIndex(masthead));
    EXPECT_TRUE(tick(table, masthead, QStringLiteral("visible"), false));
    EXPECT_FALSE(XmlCSS::cast(sheet->getElementWithName(QStringLiteral("Masthead")).get())->baseVisibility());
    EXPECT_LT(layout->tabview()->indexOfTabViewItemWithIdentifier(QStringLiteral("masthead")), 0);
    EXPECT_EQ(layout->elementTables().visibleElements(), sheet->visibleElements());
    EXPECT_EQ(layout->elementTables().slideElementList()->adaptor()->rowCount(), sheet->visibleElements().size());
    EXPECT_TRUE(tick(table, masthead, QStringLiteral("visible"), true));
    EXPECT_GE(layout->tabview()->indexOfTabViewItemWithIdentifier(QStringLiteral("masthead")), 0);

    // The names are not edited here.
    const QModelIndex name = cell(table, masthead, QStringLiteral("name"));
    EXPECT_FALSE(table->adaptor()->flags(name) & Qt::ItemIsEditable);
    EXPECT_FALSE(table->adaptor()->setData(name, QStringLiteral("Banner"), Qt::EditRole));
    EXPECT_EQ(layout->elementTables().getElementAtIndex(masthead)->name(), QStringLiteral("Masthead"));
}

TEST_F(ElementTablesTest, TheVornBoxListShowsEachBoxOnThePageInTheSlideshowAndByName)
{
    const auto first = sheet->addVornBox();
    const auto second = sheet->addVornBox();
    first->setFullname(QStringLiteral("Weather"));
    second->setFullname(QStringLiteral("Clock"));
    second->setVisibleInSlideshow(false);
    show();
    MyTableView* table = layout->elementTables().vornBoxList();
    ASSERT_EQ(table->adaptor()->rowCount(), sheet->getVornBoxes().size());
    const int row = int(sheet->getVornBoxes().indexOf(second));
    ASSERT_GE(row, 0);
    EXPECT_EQ(cell(table, row, QStringLiteral("name")).data().toString(), QStringLiteral("Clock"));
    EXPECT_EQ(cell(table, row, QStringLiteral("main")).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(cell(table, row, QStringLiteral("slideshow")).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);

    // Unticking "slideshow" hides the box in the slideshow view only.
    const int other = int(sheet->getVornBoxes().indexOf(first));
    EXPECT_TRUE(tick(table, other, QStringLiteral("slideshow"), false));
    EXPECT_FALSE(first->visibleInSlideshow());
    EXPECT_TRUE(first->baseVisibility());
    EXPECT_EQ(cell(table, other, QStringLiteral("main")).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    // "main" hides it on the pages.
    EXPECT_TRUE(tick(table, other, QStringLiteral("main"), false));
    EXPECT_FALSE(first->baseVisibility());
    // Every cell of the list is editable, the name too.
    const QModelIndex name = cell(table, row, QStringLiteral("name"));
    EXPECT_TRUE(table->adaptor()->flags(name) & Qt::ItemIsEditable);
    EXPECT_TRUE(table->adaptor()->setData(name, QStringLiteral("Big Clock"), Qt::EditRole));
    EXPECT_EQ(second->fullname(), QStringLiteral("Big Clock"));
}

TEST_F(ElementTablesTest, TheVornBoxListsMainColumnIsThePagesTickWhicheverViewTheTemplateShows)
{
    // The photo page's template also lays out a slideshow view, where a
    // box's visibility is the slideshow's.
    const std::shared_ptr<XmlAlbum> photos = page(QStringLiteral("Photos"));
    ASSERT_NE(photos, nullptr);
    ASSERT_NE(addPhoto(*photos, QStringLiteral("sea.jpg"), Qt::darkCyan), nullptr);
    const std::shared_ptr<XmlStyleSheet> photoSheet = photos->getTemplate();
    XmlWebPhotoAlbum::cast(photoSheet->getElementWithName(QStringLiteral("Photo Album")).get())
        ->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::SlideshowPage);
    const auto box = photoSheet->addVornBox();
    box->setVisibleInSlideshow(false);
    layout->setPreviewPageIndex(photos->UUID(), -1);
    photoSheet->setPageView(photos.get(), XmlStyleSheet::View::Slideshow);
    ASSERT_TRUE(photoSheet->showsSlideshowView());
    MyTableView* table = layout->elementTables().vornBoxList();
    table->reloadData();
    const int row = int(photoSheet->getVornBoxes().indexOf(box));
    ASSERT_GE(row, 0);
    // "main" shows and ticks what the pages show; "slideshow" the slideshow view.
    EXPECT_EQ(cell(table, row, QStringLiteral("main")).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(cell(table, row, QStringLiteral("slideshow")).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_TRUE(tick(table, row, QStringLiteral("main"), false));
    EXPECT_FALSE(box->baseVisibility());
    EXPECT_FALSE(box->visibleInSlideshow());
    EXPECT_EQ(cell(table, row, QStringLiteral("main")).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_TRUE(tick(table, row, QStringLiteral("slideshow"), true));
    EXPECT_TRUE(box->visibleInSlideshow());
    EXPECT_EQ(cell(table, row, QStringLiteral("main")).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

TEST_F(ElementTablesTest, TheElementListsRowAndTheVornBoxListsRowFollowTheCanvasSelection)
{
    const auto first = sheet->addVornBox();
    const auto second = sheet->addVornBox();
    show();
    MyTableView* elements = layout->elementTables().editElementList();
    MyTableView* boxes = layout->elementTables().vornBoxList();
    const auto selectedRows = [](MyTableView* table) {
        QList<int> rows;
        for (const QModelIndex& index : table->selectionModel()->selectedRows())
            rows.append(index.row());
        return rows;
    };

    // Each element of the page's list, chosen on the canvas, is the one row chosen in the list.
    for (int row = 0; row < layout->elementTables().numberElements(); ++row) {
        XmlCSS* element = XmlCSS::cast(layout->elementTables().getElementAtIndex(row).get());
        ASSERT_NE(element, nullptr) << row;
        if (!XmlBoxModel::cast(element))
            continue;
        canvas().setCurrentSelectedObject(element);
        EXPECT_EQ(selectedRows(elements), QList<int> {row}) << qPrintable(element->name());
    }
    // The page itself, or an element of another template, leaves no row chosen.
    canvas().setCurrentSelectedObject(nullptr);
    EXPECT_TRUE(selectedRows(elements).isEmpty());
    canvas().setCurrentSelectedObject(XmlCSS::cast(layout->elementTables().getElementAtIndex(0).get()));
    const std::shared_ptr<XmlStyleSheet> other = page(QStringLiteral("Photos"))->getTemplate();
    ASSERT_NE(other, sheet);
    layout->setSelectedObject(XmlBoxModel::cast(other->getElementWithName(QStringLiteral("Photo Album")).get()));
    EXPECT_TRUE(selectedRows(elements).isEmpty());

    // A box chosen on the canvas is the box list's row and the template's current box.
    for (const auto& box : {second, first}) {
        canvas().setCurrentSelectedObject(box.get());
        EXPECT_EQ(selectedRows(boxes), QList<int> {int(sheet->getVornBoxes().indexOf(box))});
        EXPECT_EQ(sheet->currentWidget(), box->UUID());
    }
}

TEST_F(ElementTablesTest, TheSlideshowListTicksTheSlideshowVisibilityOfTheNamedElements)
{
    show();
    MyTableView* table = layout->elementTables().slideElementList();
    const QStringList names = layout->elementTables().visibleElements();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(column(table, QStringLiteral("name")), names);
    XmlCSS* element = XmlCSS::cast(sheet->getElementWithName(names.first()).get());
    ASSERT_NE(element, nullptr);
    element->setVisibleInSlideshow(true);
    table->reloadData();
    EXPECT_EQ(cell(table, 0, QStringLiteral("visible")).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_TRUE(tick(table, 0, QStringLiteral("visible"), false));
    EXPECT_FALSE(element->visibleInSlideshow());
    EXPECT_EQ(cell(table, 0, QStringLiteral("visible")).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_FALSE(table->adaptor()->flags(cell(table, 0, QStringLiteral("name"))) & Qt::ItemIsEditable);
}

TEST_F(ElementTablesTest, AnyOtherTableListsTheElementNamesAndChangesNothing)
{
    show();
    MyTableView other;
    ElementTableSource source(layout->elementTables(), &other);
    EXPECT_EQ(source.numberOfChildrenOfItem(nullptr), 8);
    QStringList names;
    for (int row = 0; row < 8; ++row)
        names.append(source.objectValueForColumn(QStringLiteral("name"), source.childOfItem(row, nullptr)).toString());
    EXPECT_EQ(names, (QStringList {"Page Background", "Text Contents", "Masthead", "Footer", "Page Title", "Navigation",
                          "Photo Album", "Slideshow"}));
    EXPECT_EQ(source.objectValueForColumn(QStringLiteral("main"), source.childOfItem(0, nullptr)), QVariant(QString()));
    EXPECT_FALSE(layout->elementTables().tableViewShouldEditTableColumnRow(&other, QStringLiteral("name"), 0));
    EXPECT_TRUE(layout->elementTables().tableViewShouldEditTableColumnRow(&other, QStringLiteral("visible"), 0));
    EXPECT_FALSE(source.setObjectValueForColumn(QStringLiteral("x"), QStringLiteral("name"), source.childOfItem(0, nullptr)));
}

} // namespace
