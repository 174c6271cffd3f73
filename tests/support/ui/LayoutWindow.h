#pragma once

// A new site made from the starter archive, open in a document window whose
// layout editor notes the calls it gets from the canvas and the sheets (the
// selection, moves and their commits, the album options, the Vorn Box
// sheet's fitting) and, apart, what the inspector's controls send.
#include "ui/app/MyDocumentWindow.h"
#include "document/MyDocument.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "application/MyApplication.h"
#include "ui/layout/AlbumDialogs.h"
#include "ui/layout/BorderPanel.h"
#include "ui/layout/CanvasController.h"
#include "ui/layout/ElementTables.h"
#include "ui/layout/LayoutController.h"
#include "ui/layout/NavigationSheet.h"
#include "ui/layout/PageNavigation.h"
#include "ui/layout/PayPalSheet.h"
#include "ui/layout/PhotoAlbumSheet.h"
#include "ui/layout/TemplateSelector.h"
#include "ui/layout/VornBoxSheet.h"
#include "ui/layout/QZLayoutView.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/MyTabView.h"
#include "support/ScopedServices.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "support/ui/CheckedModels.h"
#include "support/ui/ScriptedModalHandler.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlStyleSheet.h"

#include <QStringList>
#include <QTemporaryDir>

#include <initializer_list>

#include <gtest/gtest.h>

class SpyLayoutController : public LayoutController {
public:
    using LayoutController::LayoutController;

    void setSelectedObject(XmlBoxModel* element) override
    {
        note(QStringLiteral("setSelectedObject:"), element);
        LayoutController::setSelectedObject(element);
    }
    void albumOptionsSet() override
    {
        calls.append(QStringLiteral("albumOptionsSet"));
        LayoutController::albumOptionsSet();
    }
    // The controls' actions, noted with the sender's tag in "sent"; they
    // reach the model only when the test asks for it (forward).
    void action(QWidget* sender) override
    {
        sent.append(QStringLiteral("action: ") + QString::number(lq::widgetTag(sender)));
        if (forward)
            LayoutController::action(sender);
    }
    void action2(QWidget* sender) override
    {
        sent.append(QStringLiteral("action2: ") + QString::number(lq::widgetTag(sender)));
        if (forward)
            LayoutController::action2(sender);
    }
    void action3(QWidget* sender) override
    {
        sent.append(QStringLiteral("action3: ") + QString::number(lq::widgetTag(sender)));
        if (forward)
            LayoutController::action3(sender);
    }
    void textChange(QWidget* sender) override
    {
        sent.append(QStringLiteral("textChange: ") + QString::number(lq::widgetTag(sender)));
        if (forward)
            LayoutController::textChange(sender);
    }
    void textDidChange(QWidget* view) override
    {
        sent.append(QStringLiteral("textDidChange:"));
        if (forward)
            LayoutController::textDidChange(view);
    }
    void correctVornBoxUI(XmlVornBox* box) override
    {
        note(QStringLiteral("correctVornBoxUI:"), box);
        if (forward)
            LayoutController::correctVornBoxUI(box);
    }
    // Every layout of the template starts by clearing the tracking data.
    void clearTrackingData() override
    {
        ++layouts;
        LayoutController::clearTrackingData();
    }
    void moveSelectedObject(XmlBoxModel* element) override
    {
        note(QStringLiteral("moveSelectedObject:"), element);
        LayoutController::moveSelectedObject(element);
    }
    // Noted with the rectangle asked for.
    lq::Rect willMoveObjectRect(XmlCSS* element, const lq::Rect& rect) override
    {
        note(QStringLiteral("willMoveObject:rect:"), element);
        calls.last() += QLatin1Char(' ') + rect.toString();
        return LayoutController::willMoveObjectRect(element, rect);
    }
    void compactUI(bool compact) override
    {
        calls.append(QStringLiteral("compactUI: ") + QString::number(compact));
        LayoutController::compactUI(compact);
    }

    // The calls since the last look.
    QStringList taken()
    {
        QStringList noted = calls;
        calls.clear();
        return noted;
    }
    QStringList calls;
    QStringList sent;
    int layouts = 0;
    bool forward = false;

private:
    void note(const QString& call, XmlBase* element)
    {
        calls.append(call + QLatin1Char(' ') + (element ? element->name() : QStringLiteral("nil")));
    }
};

class LayoutWindowTest : public ::testing::Test {
protected:
    // The window's layout editor is a spy on the real one.
    const ScopedServices spyLayouts { [this](lq::Services& services) {
        services.layoutFactory = [this](MyDocumentWindow& window) {
            auto made = std::make_unique<SpyLayoutController>(window);
            layout = made.get();
            return made;
        };
    } };

    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        ASSERT_TRUE(document.newDocument(work.filePath(QStringLiteral("Site.lqxl")))) << qPrintable(document.lastError());
        window = std::make_unique<MyDocumentWindow>(document, nullptr);
        ASSERT_NE(layout, nullptr);
        // The tables and outlines of the window, its panes and the layout
        // editor (the template list, the element tables) check themselves.
        models.watch(window.get());
        models.watch(layout);
        for (EditorKind kind : { EditorKind::Album, EditorKind::Group, EditorKind::PayPal, EditorKind::Website, EditorKind::ImageWell,
                 EditorKind::Trash, EditorKind::Files, EditorKind::IPhoto, EditorKind::Html, EditorKind::Navigator })
            models.watch(dynamic_cast<QObject*>(window->panel(kind)));
    }
    void TearDown() override
    {
        EXPECT_TRUE(CheckedModels::failures().isEmpty()) << CheckedModels::failures().join(QLatin1Char('\n')).toStdString();
        window.reset();
    }

    XmlHomePage& home() { return *document.site()->homepage(); }
    std::shared_ptr<XmlAlbum> page(const QString& name)
    {
        for (const XmlBasePtr& item : home().webItems()) {
            if (item->name() == name)
                return std::dynamic_pointer_cast<XmlAlbum>(item);
        }
        return nullptr;
    }
    XmlStyleSheet* templateNamed(const QString& name)
    {
        for (const XmlBasePtr& child : document.theme()->children()) {
            if (child->name() == name)
                return XmlStyleSheet::cast(child.get());
        }
        return nullptr;
    }
    QZLayoutView& canvas() { return *layout->layoutView(); }
    // A photo of the page made from a real JPEG picture of one colour.
    std::shared_ptr<XmlPhoto> addPhoto(XmlAlbum& onto, const QString& name, const QColor& colour)
    {
        const QString picture = work.filePath(name);
        writeAll(picture, jpegBytes(160, 120, colour));
        const auto photo = XmlPhoto::createFromFile(picture);
        EXPECT_NE(photo, nullptr) << qPrintable(picture);
        if (!photo)
            return nullptr;
        onto.addChild(photo);
        photo->newDocument(QString());
        return photo;
    }
    void showTab(const QString& identifier) { window->tabView()->selectTabViewItemWithIdentifier(identifier); }

    QTemporaryDir work;
    ScopedModalHandler modal;
    MyDocument document;
    std::unique_ptr<MyDocumentWindow> window;
    SpyLayoutController* layout = nullptr;
    CheckedModels models;
};

// The starter site's photo page and its template, with the before-and-after
// preference put back after the test.
class PhotoPageLayoutTest : public LayoutWindowTest {
protected:
    void SetUp() override
    {
        LayoutWindowTest::SetUp();
        photos = page(QStringLiteral("Photos"));
        ASSERT_NE(photos, nullptr);
        sheet = photos->getTemplate().get();
        ASSERT_NE(sheet, nullptr);
    }
    void TearDown() override
    {
        MyApplication::shared().setEnableBeforeAfter(beforeAfter);
        LayoutWindowTest::TearDown();
    }

    // The page with two photos and the named elements shown, in the layout editor.
    void showPhotosWith(std::initializer_list<const char*> shown)
    {
        ASSERT_NE(addPhoto(*photos, QStringLiteral("sea.jpg"), Qt::darkCyan), nullptr);
        ASSERT_NE(addPhoto(*photos, QStringLiteral("sky.jpg"), Qt::darkBlue), nullptr);
        for (const char* name : shown) {
            if (auto* element = XmlCSS::cast(sheet->getElementWithName(QLatin1String(name)).get()))
                element->setVisible(true);
        }
    }
    void showLayoutOfPhotos()
    {
        showTab(QStringLiteral("layout"));
        layout->setPreviewPageIndex(photos->UUID(), -1);
    }
    template <class Element = XmlBoxModel>
    Element* element(const char* name)
    {
        auto* found = dynamic_cast<Element*>(sheet->getElementWithName(QLatin1String(name)).get());
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    XmlWebPhotoAlbum* album() { return element<XmlWebPhotoAlbum>("Photo Album"); }

    std::shared_ptr<XmlAlbum> photos;
    XmlStyleSheet* sheet = nullptr;
    const int beforeAfter = MyApplication::shared().enableBeforeAfter();
};
