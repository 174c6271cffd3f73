// The text panes on a real X display (Xvfb), worked as a user works them:
// photos chosen in the album's grid and captioned, the site settings table,
// the head HTML typed, a price typed in the PayPal table and a group's pages.
// A picture of each pane is kept in the build folder's "test-artefacts".
#include "ui/editors/QZArraySelectView.h"
#include "ui/editors/QZArraySelectView2.h"
#include "ui/editors/panes/QZAlbumEditor.h"
#include "ui/editors/panes/QZGroupEditor.h"
#include "ui/editors/panes/QZHtmlEditor.h"
#include "ui/editors/panes/QZPayPalEditor.h"
#include "ui/editors/panes/QZWebsiteEditor.h"
#include "ui/editors/panes/TextEditorArea.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHeadHTML.h"
#include "model/site/XmlPayPalData.h"
#include "ui/widgets/ItemModelAdaptor.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/MyTextView.h"
#include "support/ui/OnXvfb.h"
#include "support/ui/PaneWindow.h"

#include <QHeaderView>
#include <QImage>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace {

int pixelsNear(const QImage& picture, const QColor& colour, int tolerance = 40)
{
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor seen(picture.pixel(x, y));
            if (std::abs(seen.red() - colour.red()) <= tolerance && std::abs(seen.green() - colour.green()) <= tolerance
                && std::abs(seen.blue() - colour.blue()) <= tolerance)
                ++count;
        }
    }
    return count;
}

using PanesScreenTest = PaneWindowTest;

TEST_F(PanesScreenTest, EachPaneWorksAsAUserMeetsIt)
{
    if (!runningOnXvfb()) {
        checkRunOnXvfb(runThisTestOnXvfb());
        return;
    }
    const auto keep = [&](const QString& name) {
        QApplication::processEvents();
        const QImage picture = window->grab().toImage();
        EXPECT_TRUE(picture.save(testArtefactsFolder() + QStringLiteral("/pane-") + name + QStringLiteral(".png")));
        return picture;
    };
    std::vector<std::shared_ptr<XmlPhoto>> photos;
    for (const auto& [name, colour] : { std::pair { "Harbour", QColor(200, 30, 30) }, std::pair { "Meadow", QColor(30, 170, 40) },
                                        std::pair { "Lake", QColor(30, 60, 200) } })
        photos.push_back(addPhoto(*album, QString::fromLatin1(name), colour));
    auto group = XmlGroup::create();
    document.site()->homepage()->addChild(group);
    group->newDocument();
    group->setContent(QStringLiteral("Family"));
    auto kids = XmlAlbum::create();
    group->addChild(kids);
    kids->newDocument();
    addPhoto(*kids, QStringLiteral("Kids"), QColor(230, 200, 20));

    // The album: a click on the second photo, its caption typed.
    show(album.get());
    auto* albumPane = pane<QZAlbumEditor>(EditorKind::Album);
    QZArraySelectView2* grid = albumPane->arrayView();
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->rectOfObjectAtIndex(1).center().toPoint());
    MyTextView* caption = albumPane->captionArea()->view();
    QTest::mouseClick(caption->viewport(), Qt::LeftButton, {}, QPoint(40, 10));
    QTest::keyClick(caption, Qt::Key_End);
    QTest::keyClicks(caption, QStringLiteral(" at dawn"));
    const QImage albumPicture = keep(QStringLiteral("album"));
    for (const QColor& colour : { QColor(200, 30, 30), QColor(30, 170, 40), QColor(30, 60, 200) })
        EXPECT_GT(pixelsNear(albumPicture, colour), 5000) << colour.name().toStdString();
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->rectOfObjectAtIndex(2).center().toPoint());
    EXPECT_TRUE(photos[1]->caption()->content().contains(QStringLiteral("Meadow at dawn")))
        << photos[1]->caption()->content().toStdString();

    // PayPal: a price typed into the second row.
    window->switchToPayPalEditor();
    auto* payPal = pane<QZPayPalEditor>(EditorKind::PayPal);
    MyTableView* items = payPal->details();
    const QModelIndex price = items->adaptor()->index(1, items->adaptor()->columnWithIdentifier(QStringLiteral("Price")));
    const QRect priceCell = items->visualRect(price);
    QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, priceCell.center());
    QTest::keyClick(items, Qt::Key_F2);
    ASSERT_NE(QApplication::focusWidget(), items);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("9.90"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(processEventsUntil([&] { return photos[1]->paypal()->price() == QStringLiteral("9.90"); }, 5000));
    keep(QStringLiteral("paypal"));
    window->switchToRegularEditor();

    // The site settings: the second page's kind becomes "Password:".
    show(document.site()->homepage());
    auto* site = pane<QZWebsiteEditor>(EditorKind::Website);
    ASSERT_TRUE(site->navTable()->adaptor()->setData(
        site->navTable()->adaptor()->index(1, site->navTable()->adaptor()->columnWithIdentifier(QStringLiteral("link"))),
        QZWebsiteEditor::PasswordPage, Qt::EditRole));
    EXPECT_TRUE(group->isPassword());
    keep(QStringLiteral("site-settings"));

    // The HTML: a line typed into the head.
    site->addHTML();
    auto* html = pane<QZHtmlEditor>(EditorKind::Html);
    QTest::mouseClick(html->headHTML()->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    QTest::keyClicks(html->headHTML(), QStringLiteral("<meta name=\"author\" content=\"Ann\">"));
    keep(QStringLiteral("html"));
    window->switchToRegularEditor();
    EXPECT_EQ(document.site()->homepage()->headHTML()->content(), QStringLiteral("<meta name=\"author\" content=\"Ann\">"));

    // The group with its page shown by its picture.
    show(group.get());
    const QImage groupPicture = keep(QStringLiteral("group"));
    EXPECT_GT(pixelsNear(groupPicture, QColor(230, 200, 20)), 5000);
    EXPECT_TRUE(document.isDocumentEdited());
}

} // namespace
