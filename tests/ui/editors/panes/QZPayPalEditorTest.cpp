// The PayPal editor in the document window over a real site folder with
// real JPEG photos: the site's account, currency and weight unit, the items
// of the page's photos in the table, and what the PayPal forms of the
// generated page take from them.
#include "ui/editors/panes/QZAlbumEditor.h"
#include "ui/editors/panes/QZPayPalEditor.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/site/XmlPayPalCommon.h"
#include "model/site/XmlPayPalData.h"
#include "model/site/XmlTrash.h"
#include "ui/widgets/ItemModelAdaptor.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/MyTextField.h"
#include "support/Printers.h"
#include "support/ui/CheckedModels.h"
#include "theme/XmlTheme.h"
#include "templates/XmlStyleSheet.h"
#include "support/ui/PaneWindow.h"

#include <QLineEdit>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

// The album page "Holiday" with a red and a green photo, its PayPal pane shown.
class PayPalEditorTest : public PaneWindowTest {
protected:
    void SetUp() override
    {
        PaneWindowTest::SetUp();
        photos.push_back(addPhoto(*album, QStringLiteral("red"), Qt::red));
        photos.push_back(addPhoto(*album, QStringLiteral("green"), Qt::green));
        common = document.site()->homepage()->paypal().get();
        common->setPaypaladdress(QStringLiteral("shop@example.com"));
        common->setCurrency(QStringLiteral("EUR"));
        common->setWeightunit(1);
        document.clearChangeCount();
        show(album.get());
        window->switchToPayPalEditor();
        ASSERT_EQ(window->lastEditView(), editor());
        // The photos' table checks itself at every change it reports.
        models.watch(editor());
    }
    void TearDown() override
    {
        PaneWindowTest::TearDown();
        EXPECT_TRUE(CheckedModels::failures().isEmpty()) << CheckedModels::failures().join(QLatin1Char('\n')).toStdString();
    }
    QZPayPalEditor* editor() const { return pane<QZPayPalEditor>(EditorKind::PayPal); }
    ItemModelAdaptor* table() const { return editor()->details()->adaptor(); }
    QModelIndex cell(int row, const QString& column) const
    {
        return table()->index(row, table()->columnWithIdentifier(column));
    }
    // Loads the pane anew from what is stored.
    void reload()
    {
        window->switchToRegularEditor();
        window->switchToPayPalEditor();
    }

    CheckedModels models;
    std::vector<std::shared_ptr<XmlPhoto>> photos;
    XmlPayPalCommon* common = nullptr;
};

TEST_F(PayPalEditorTest, ShowsTheSitesSettingsAndStoresThemWithoutMarking)
{
    EXPECT_EQ(editor()->payPalAccount()->text(), QStringLiteral("shop@example.com"));
    EXPECT_EQ(editor()->currency()->selectedTag(), 6);
    EXPECT_TRUE(editor()->currency()->currentText().contains(QStringLiteral("EUR")));
    EXPECT_EQ(editor()->weight()->currentIndex(), 1);

    editor()->payPalAccount()->setText(QStringLiteral("sales@example.com"));
    editor()->currency()->selectItemWithTag(17);
    editor()->weight()->setCurrentIndex(0);
    window->switchToRegularEditor();
    EXPECT_EQ(common->paypaladdress(), QStringLiteral("sales@example.com"));
    EXPECT_EQ(common->currency(), QStringLiteral("CHF"));
    EXPECT_EQ(common->weightunit(), 0);
    EXPECT_FALSE(document.isDocumentEdited()) << "storing marks nothing by itself";

    // The user's own changes mark the document.
    window->switchToPayPalEditor();
    type(editor()->payPalAccount(), QStringLiteral("x"));
    EXPECT_TRUE(document.isDocumentEdited());
    document.clearChangeCount();
    editor()->currency()->setCurrentIndex(2);
    Q_EMIT editor()->currency()->activated(2);
    EXPECT_TRUE(document.isDocumentEdited());
}

TEST_F(PayPalEditorTest, ACurrencyCodeOutOfTheListShowsAndBecomesUSDollars)
{
    struct Case {
        QString stored;
        int tag;
        QString saved;
    };
    for (const Case& c : { Case { QStringLiteral("XYZ"), 0, QStringLiteral("USD") }, Case { QString(), 0, QStringLiteral("USD") },
                           Case { QStringLiteral("usd"), 0, QStringLiteral("USD") }, Case { QStringLiteral("GBP"), 2, QStringLiteral("GBP") },
                           Case { QStringLiteral("SEK"), 16, QStringLiteral("SEK") } }) {
        // Stored while another pane shows.
        window->switchToRegularEditor();
        common->setCurrency(c.stored);
        window->switchToPayPalEditor();
        EXPECT_EQ(editor()->currency()->selectedTag(), c.tag) << c.stored.toStdString();
        window->switchToRegularEditor();
        EXPECT_EQ(common->currency(), c.saved) << c.stored.toStdString();
    }
    // Every item carries the tag of its code.
    const QStringList& codes = XmlPayPalCommon::currencyCodes();
    ASSERT_EQ(editor()->currency()->count(), codes.size());
    for (int tag = 0; tag < codes.size(); ++tag)
        EXPECT_TRUE(editor()->currency()->itemText(editor()->currency()->indexOfItemWithTag(tag)).contains(codes[tag])) << tag;
}

TEST_F(PayPalEditorTest, EachColumnEditsItsFieldOfThePhotosItem)
{
    struct Case {
        QString column;
        QString typed;
        const QString& (XmlPayPalData::*stored)() const;
    };
    const Case cases[] = {
        { QStringLiteral("ID"), QStringLiteral("P-7"), &XmlPayPalData::itemid },
        { QStringLiteral("Name"), QStringLiteral("Print 8\"x10\""), &XmlPayPalData::itemname },
        { QStringLiteral("Price"), QStringLiteral("12.50"), &XmlPayPalData::price },
        { QStringLiteral("Weight"), QStringLiteral("0.4"), &XmlPayPalData::weight },
        { QStringLiteral("Shipping"), QStringLiteral("3.00"), &XmlPayPalData::shipping },
        { QStringLiteral("Tax"), QStringLiteral("1.10"), &XmlPayPalData::salestax },
    };
    ASSERT_EQ(table()->rowCount(), 2);
    for (const Case& c : cases) {
        document.clearChangeCount();
        ASSERT_TRUE(table()->setData(cell(1, c.column), c.typed, Qt::EditRole)) << c.column.toStdString();
        EXPECT_EQ((photos[1]->paypal().get()->*c.stored)(), c.typed) << c.column.toStdString();
        EXPECT_EQ(cell(1, c.column).data(Qt::DisplayRole), QVariant(c.typed));
        EXPECT_TRUE(document.isDocumentEdited()) << c.column.toStdString();
        EXPECT_TRUE((photos[0]->paypal().get()->*c.stored)().isNull()) << "the other photo's item stays";
    }
    EXPECT_TRUE(photos[1]->paypal()->canBePurchased());
    EXPECT_FALSE(photos[0]->paypal()->canBePurchased());
}

TEST_F(PayPalEditorTest, ClearingThePriceLeavesThePhotoWithoutPriceAndNotForSale)
{
    XmlPayPalData& item = *photos[0]->paypal();
    item.setItemname(QStringLiteral("Poster"));
    item.setPrice(QStringLiteral("20"));
    ASSERT_TRUE(item.canBePurchased());
    // As a user clears the cell: its editor, emptied, then Return.
    MyTableView* view = editor()->details();
    view->setFocus(Qt::MouseFocusReason);
    view->setCurrentIndex(cell(0, QStringLiteral("Price")));
    QTest::keyClick(view, Qt::Key_F2);
    const QList<QLineEdit*> fields = view->viewport()->findChildren<QLineEdit*>();
    ASSERT_EQ(fields.size(), 1);
    fields.first()->clear();
    QTest::keyClick(fields.first(), Qt::Key_Return);
    ASSERT_TRUE(processEventsUntil([&] { return item.price().isNull(); }));
    EXPECT_FALSE(item.canBePurchased());
}

TEST_F(PayPalEditorTest, ThePictureColumnShowsEachPhotoAndCannotBeEdited)
{
    const QModelIndex picture = cell(0, QStringLiteral("Item"));
    const QPixmap shown = picture.data(Qt::DecorationRole).value<QPixmap>();
    ASSERT_FALSE(shown.isNull());
    const QColor centre = shown.toImage().pixelColor(shown.width() / 2, shown.height() / 2);
    EXPECT_GT(centre.red(), 200);
    EXPECT_LT(centre.green(), 60);
    EXPECT_FALSE(table()->flags(picture).testFlag(Qt::ItemIsEditable));
    EXPECT_FALSE(table()->setData(picture, QStringLiteral("x"), Qt::EditRole));
    EXPECT_TRUE(table()->flags(cell(0, QStringLiteral("Name"))).testFlag(Qt::ItemIsEditable));
}

TEST_F(PayPalEditorTest, PhotosAddedMeanwhileShowAfterTheNextLoad)
{
    addPhoto(*album, QStringLiteral("blue"), Qt::blue);
    reload();
    EXPECT_EQ(table()->rowCount(), 3);
}

TEST_F(PayPalEditorTest, KilogramsGoIntoThePayPalForms)
{
    // The photo album of a template of the site's theme writes the forms.
    const auto sheet = XmlStyleSheet::create();
    document.theme()->addTemplate(sheet);
    const auto photoAlbum = XmlWebPhotoAlbum::create();
    sheet->addChild(photoAlbum);
    for (int unit : { 0, 1 }) {
        editor()->weight()->setCurrentIndex(unit);
        window->switchToRegularEditor();
        EXPECT_EQ(photoAlbum->textSubberPhoto(QStringLiteral("{MEASUREMENT}"), photos[0].get()),
                  unit == 0 ? QStringLiteral("lbs") : QStringLiteral("kgs"));
        window->switchToPayPalEditor();
    }
}

TEST_F(PayPalEditorTest, AnAlbumWithoutAHomePageAboveChangesNothing)
{
    // The page goes to the trash while its PayPal pane shows.
    album->removeFromParentWithoutDeletingChildren();
    document.site()->trash()->addChild(album);
    editor()->payPalAccount()->setText(QStringLiteral("other@example.com"));
    editor()->saveEditor();
    editor()->loadEditor();
    EXPECT_EQ(common->paypaladdress(), QStringLiteral("shop@example.com"));
    EXPECT_EQ(editor()->payPalAccount()->text(), QStringLiteral("other@example.com"));
}

TEST_F(PayPalEditorTest, TheBackButtonShowsTheAlbumEditor)
{
    editor()->backToContent();
    EXPECT_EQ(window->lastEditView(), pane<QZAlbumEditor>(EditorKind::Album));
    EXPECT_EQ(window->currentObject().get(), album.get());
}

} // namespace
