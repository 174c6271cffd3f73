// The inspector on a real X display (Xvfb): each element of the starter
// site's photo page is clicked on the canvas, its sheet comes to the front,
// and every control of the sheet that shows lies inside the inspector with
// its text readable. The pictures of the sheets are kept in the build
// folder's "test-artefacts".
#include "elements/XmlVornBox.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/ControlTags.h"
#include "support/Printers.h"
#include "support/ui/LayoutWindow.h"
#include "support/ui/OnXvfb.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using InspectorScreenTest = LayoutWindowTest;

// What of the shown sheet does not fit: controls reaching past the
// inspector's right edge, and labels and buttons whose text is cut.
QStringList unfitControls(QScrollArea& sheet)
{
    QStringList unfit;
    QWidget* body = sheet.widget();
    const int right = sheet.viewport()->width();
    for (QWidget* control : body->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(body) || lq::widgetTag(control) == 0)
            continue;
        const QString name = QString::number(lq::widgetTag(control));
        const QRect frame(control->mapTo(body, QPoint(0, 0)), control->size());
        if (frame.right() > right)
            unfit.append(name + QStringLiteral(" reaches past the edge"));
        // Labels, check boxes and radio buttons need their whole size; a push
        // button its title.
        QString text;
        int needed = 0;
        if (auto* label = qobject_cast<QLabel*>(control)) {
            text = label->text();
            needed = label->minimumSizeHint().width();
        } else if (auto* push = qobject_cast<QPushButton*>(control)) {
            text = push->text();
            needed = push->fontMetrics().horizontalAdvance(text) + 6;
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            text = button->text();
            needed = button->minimumSizeHint().width();
        }
        if (!text.isEmpty() && control->width() < needed)
            unfit.append(name + QStringLiteral(" cuts \"") + text + QLatin1Char('"'));
    }
    return unfit;
}

TEST_F(InspectorScreenTest, EachElementClickedOnTheCanvasShowsItsWholeSheet)
{
    if (!runningOnXvfb()) {
        checkRunOnXvfb(runThisTestOnXvfb());
        return;
    }
    const auto photos = page(QStringLiteral("Photos"));
    ASSERT_NE(addPhoto(*photos, QStringLiteral("sea.jpg"), Qt::darkCyan), nullptr);
    ASSERT_NE(addPhoto(*photos, QStringLiteral("sky.jpg"), Qt::darkBlue), nullptr);
    window->resize(1280, 880);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->setCurrentObject(photos.get());
    showTab(QStringLiteral("layout"));
    QCoreApplication::processEvents();
    XmlStyleSheet& sheet = *photos->getTemplate();

    struct Case {
        const char* element;
        const char* sheet;
    };
    const Case cases[] = {
        {"Masthead", "masthead"}, {"Page Title", "pagetitle"}, {"Navigation", "navigation"}, {"Content", "content"},
        {"Photo Album", "photoalbum"}, {"Footer", "footer"},
    };
    const QString folder = testArtefactsFolder();
    int clicked = 0;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.element);
        auto* element = XmlBoxModel::cast(sheet.getElementWithName(QLatin1String(test.element)).get());
        if (!element || !element->baseVisibility())
            continue;
        // A click near the middle of the element, where no other one lies.
        const lq::Rect rect = element->objectRect();
        const QPoint at(int(rect.x() + rect.width() / 2) + canvas().pageOffset().x(),
                        int(rect.y() + std::min<double>(rect.height() / 2, 12)) + canvas().pageOffset().y());
        canvas().setCurrentSelectedObject(nullptr);
        QTest::mouseClick(&canvas(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
        if (canvas().currentSelectedObject().get() != element)
            continue;
        ++clicked;
        EXPECT_EQ(layout->tabview()->selectedIdentifier(), QLatin1String(test.sheet));
        auto* shown = qobject_cast<QScrollArea*>(layout->tabview()->currentWidget());
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(unfitControls(*shown).join(QStringLiteral("; ")), QString());
        // The whole sheet, however long, in one picture.
        shown->widget()->grab().save(folder + QStringLiteral("/inspector-") + QLatin1String(test.sheet) + QStringLiteral(".png"));
    }
    EXPECT_GE(clicked, 4);
    window->grab().save(folder + QStringLiteral("/inspector-window.png"));

    // The page sheet, the border panel, the slideshow and PayPal sheets.
    canvas().setCurrentSelectedObject(nullptr);
    layout->setBorderMode(true);
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("content"));
    layout->setBorderMode(false);
    for (const char* identifier : {"borders", "page", "slideshow", "paypal"}) {
        SCOPED_TRACE(identifier);
        auto* view = qobject_cast<QScrollArea*>(layout->sheetView(QLatin1String(identifier)));
        ASSERT_NE(view, nullptr);
        if (identifier != std::string("borders"))
            layout->tabview()->selectTabViewItemWithIdentifier(QLatin1String(identifier));
        QCoreApplication::processEvents();
        if (view->isVisible()) {
            EXPECT_EQ(unfitControls(*view).join(QStringLiteral("; ")), QString());
        }
        view->widget()->grab().save(folder + QStringLiteral("/inspector-") + QLatin1String(identifier) + QStringLiteral(".png"));
    }
}

// The Vorn Box sheet with each kind of box, and the photo album's thumbnail
// and collage dialogs as they open over the window.
TEST_F(InspectorScreenTest, TheVornBoxSheetAndTheAlbumDialogsFitAndShowTheirControls)
{
    if (!runningOnXvfb()) {
        checkRunOnXvfb(runThisTestOnXvfb());
        return;
    }
    const auto photos = page(QStringLiteral("Photos"));
    ASSERT_NE(addPhoto(*photos, QStringLiteral("sea.jpg"), Qt::darkCyan), nullptr);
    window->resize(1280, 880);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->setCurrentObject(photos.get());
    showTab(QStringLiteral("layout"));
    layout->forward = true;
    XmlStyleSheet& sheet = *photos->getTemplate();
    const std::shared_ptr<XmlVornBox> box = sheet.addVornBox();
    box->htmlSnippet()->setContent(QStringLiteral("<p>A snippet</p>"));
    layout->elementTables().vornBoxList()->reloadData();
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("vornbox"));
    layout->setSelectedObject(box.get());
    const QString folder = testArtefactsFolder();
    auto* shown = qobject_cast<QScrollArea*>(layout->sheetView(QStringLiteral("vornbox")));
    ASSERT_NE(shown, nullptr);
    const struct {
        int type;
        int external;
        const char* name;
    } kinds[] = {{0, 0, "web"}, {0, 3, "picture"}, {1, 0, "text"}, {2, 0, "snippet"}, {3, 0, "layer"}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        box->settings().setType(kind.type);
        box->settings().setExternalType(kind.external);
        layout->setSelectedObject(box.get());
        QCoreApplication::processEvents();
        const QString unfit = unfitControls(*shown).join(QStringLiteral("; "));
        EXPECT_TRUE(unfit.isEmpty()) << qPrintable(unfit);
        shown->widget()->grab().save(folder + QStringLiteral("/inspector-vornbox-") + QLatin1String(kind.name) + QStringLiteral(".png"));
    }

    XmlWebPhotoAlbum* album = XmlWebPhotoAlbum::cast(sheet.getElementWithName(QStringLiteral("Photo Album")).get());
    ASSERT_NE(album, nullptr);
    QStringList pictures;
    modal.state->sheetAnswer = [&](QDialog* dialog) {
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
        const QString name = folder + QStringLiteral("/album-dialog-") + QString::number(pictures.size()) + QStringLiteral(".png");
        dialog->grab().save(name);
        pictures.append(name);
        // Every control shows whole inside the dialog.
        for (QWidget* control : dialog->findChildren<QWidget*>()) {
            if (!control->isVisibleTo(dialog))
                continue;
            const QRect frame(control->mapTo(dialog, QPoint(0, 0)), control->size());
            EXPECT_TRUE(dialog->rect().contains(frame)) << lq::widgetTag(control);
        }
        dialog->reject();
        return dialog->result();
    };
    layout->albumDialogs().changeThumbnailSize(album);
    layout->albumDialogs().changeCollageSettings(album);
    EXPECT_EQ(pictures.size(), 2);
}

} // namespace
