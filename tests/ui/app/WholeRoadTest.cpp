// The whole road a new user walks, on a real X display (Xvfb) with the
// program's own objects: the start window makes a site; the Site menu and
// the navigator add two pages and a group, named in their rows; ten JPEG
// photos come into an album page through "Add Photos…"; a title, a caption and a
// page text are typed in the panes; templates are chosen in the layout tab
// and the page title dragged on the canvas; the watermark sheet puts a
// watermark on the photos; the site is rebuilt, previewed and published to
// apache2 with mod_dav on 127.0.0.1; one page's text is changed and only that
// page goes to the server the second time; at last the Versions tab brings an
// older version back. Every step is checked on disk and on the server, the
// pages against the HTML 4.01 Transitional DTD and, fetched from the server,
// in headless Chromium, and the Activity log stays free of errors. A picture
// of the window after each step is kept in the build folder's
// "test-artefacts" (whole-road-*.png).
#include "ui/app/ExportController.h"
#include "ui/app/MenuTags.h"
#include "ui/app/MyDocumentController.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/app/SendPanel.h"
#include "ui/app/StartWindow.h"
#include "ui/app/VersionList.h"
#include "ui/app/WatermarkSheet.h"
#include "document/MyDocument.h"
#include "ui/editors/QZArraySelectView2.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/editors/QZNavViewer.h"
#include "ui/editors/XmlOutlineView.h"
#include "ui/editors/panes/QZAlbumEditor.h"
#include "ui/editors/panes/QZGroupEditor.h"
#include "ui/editors/panes/TextEditorArea.h"
#include "model/imaging/XmlWatermark.h"
#include "ui/layout/LayoutController.h"
#include "ui/layout/LayoutServices.h"
#include "ui/layout/QZLayoutView.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ItemModelAdaptor.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyIntegerField.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyOutlineView.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MySlider.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/MyTextView.h"
#include "publish/SendController.h"
#include "publish/XmlLocation.h"
#include "support/ScopedServices.h"
#include "support/ChildNames.h"
#include "support/EventLoop.h"
#include "support/RecordingPublishObserver.h"
#include "support/HeadlessChromium.h"
#include "support/SlideshowPage.h"
#include "support/HelperTools.h"
#include "support/HtmlValidator.h"
#include "support/PublishSite.h"
#include "support/TestFiles.h"
#include "support/TestServers.h"
#include "support/ui/DropEvents.h"
#include "support/ui/OnXvfb.h"
#include "support/ui/OutlineRows.h"
#include "support/ui/ScriptedModalHandler.h"
#include "support/ui/SheetButtons.h"
#include "support/ui/ViewMouse.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlStyleSheet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A photograph-like JPEG: a sky-to-ground gradient, a sun, hills and grain,
// different for every seed, as a camera would write it (quality 88).
QByteArray photographBytes(int seed, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor sky = QColor::fromHsv((seed * 37) % 360, 120, 230);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, sky);
    gradient.setColorAt(0.6, sky.lighter(140));
    gradient.setColorAt(1, QColor::fromHsv((seed * 53 + 90) % 360, 160, 110));
    painter.fillRect(image.rect(), gradient);
    QRadialGradient sun(QPointF(size.width() * (0.2 + 0.06 * seed), size.height() * 0.25), size.height() * 0.12);
    sun.setColorAt(0, QColor(255, 250, 210));
    sun.setColorAt(1, QColor(255, 220, 120, 0));
    painter.fillRect(image.rect(), sun);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromHsv((seed * 71 + 100) % 360, 140, 90));
    QPainterPath hills;
    hills.moveTo(0, size.height());
    for (int x = 0; x <= size.width(); x += size.width() / 8)
        hills.lineTo(x, size.height() * (0.62 + 0.08 * std::sin(x * 0.02 + seed)));
    hills.lineTo(size.width(), size.height());
    painter.drawPath(hills);
    painter.end();
    QRandomGenerator grain(static_cast<quint32>(seed));
    for (int y = 0; y < size.height(); y += 2) {
        for (int x = 0; x < size.width(); x += 2) {
            const QColor c(image.pixel(x, y));
            const int d = grain.bounded(-12, 13);
            image.setPixel(x, y, qRgb(std::clamp(c.red() + d, 0, 255), std::clamp(c.green() + d, 0, 255), std::clamp(c.blue() + d, 0, 255)));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(88);
    writer.write(image);
    return bytes;
}

// A click as the user gives it: in the middle of a push button, on the
// round mark of a radio button (its row may be wider than its label).
void clickButton(QAbstractButton* button)
{
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled()) << button->text().toStdString();
    ASSERT_TRUE(button->isVisible()) << button->text().toStdString();
    const QPoint at = qobject_cast<QRadioButton*>(button) ? QPoint(8, button->height() / 2) : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

// Types into the field as a user does: the focus, the old text selected, the keys.
void typeInto(QWidget* field, const QString& text)
{
    field->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

// Chooses the pop-up's item as a click on it does.
void chooseItem(QComboBox* popUp, const QString& title)
{
    ASSERT_NE(popUp, nullptr);
    const int index = popUp->findText(title);
    ASSERT_GE(index, 0) << title.toStdString();
    popUp->setCurrentIndex(index);
    Q_EMIT popUp->activated(index);
}

QRadioButton* radioTitled(QWidget* view, const QString& title)
{
    for (QRadioButton* radio : view->findChildren<QRadioButton*>()) {
        if (radio->text() == title)
            return radio;
    }
    return nullptr;
}

// How many pixels of the area are nearly white.
int pixelsNearWhite(const QImage& picture, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c(picture.pixel(x, y));
            count += c.red() > 210 && c.green() > 210 && c.blue() > 210 ? 1 : 0;
        }
    }
    return count;
}

// The lines of the Activity log that tell of a failure.
QStringList errorLines(const QString& activity)
{
    QStringList errors;
    for (const QString& line : activity.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.contains(QStringLiteral("rror"), Qt::CaseInsensitive) || line.contains(QStringLiteral("fail"), Qt::CaseInsensitive)
            || line.contains(QStringLiteral("could not"), Qt::CaseInsensitive))
            errors.append(line);
    }
    return errors;
}

// The paths the server was asked to store ("/site/notes.html"), in order.
QStringList storedPaths(const QStringList& requests)
{
    QStringList paths;
    for (const QString& request : requests) {
        if (request.startsWith(QStringLiteral("PUT ")))
            paths.append(request.section(QLatin1Char(' '), 1, 1));
    }
    return paths;
}

class WholeRoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        oldHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        useBuiltHelperTools();
        lq::setOpenURLHandler([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
        defaults = std::make_unique<lq::UserDefaults>(
            std::make_unique<QSettings>(home.filePath(QStringLiteral("prefs.conf")), QSettings::IniFormat));
        support = home.filePath(QStringLiteral(".local/share/Lumenquill"));
        ASSERT_TRUE(QDir().mkpath(support));
        controller = std::make_unique<MyDocumentController>(*defaults, support);
    }
    void TearDown() override
    {
        controller.reset();
        lq::setOpenURLHandler({});
        qputenv("HOME", oldHome);
    }

    // Chooses the menu item as a click on it does, after checking it is enabled there.
    void triggerMenuItem(int tag)
    {
        QAction* item = window->menuItem(tag);
        ASSERT_NE(item, nullptr) << tag;
        for (QAction* menu : window->menuBar()->actions()) {
            if (menu->menu() && menu->menu()->actions().contains(item))
                Q_EMIT menu->menu()->aboutToShow();
        }
        ASSERT_TRUE(item->isEnabled()) << item->text().toStdString();
        item->trigger();
        QApplication::processEvents();
    }
    // A picture of the window as the display shows it, kept as a test artefact.
    void picture(const QString& step)
    {
        QApplication::processEvents();
        const QString file = testArtefactsFolder() + QStringLiteral("/whole-road-") + step + QStringLiteral(".png");
        EXPECT_TRUE(window->grab().save(file)) << file.toStdString();
    }
    MyDocument& document() { return window->document(); }
    XmlHomePage& homePage() { return *document().site()->homepage(); }
    std::shared_ptr<XmlAlbum> pageNamed(const QString& name)
    {
        for (const XmlBasePtr& item : document().webItems()) {
            if (item->name() == name)
                return std::dynamic_pointer_cast<XmlAlbum>(item);
        }
        return nullptr;
    }
    XmlStyleSheet* templateNamed(const QString& name)
    {
        for (const XmlBasePtr& child : document().theme()->children()) {
            if (child->name() == name)
                return XmlStyleSheet::cast(child.get());
        }
        return nullptr;
    }
    QString site(const QString& name = QString()) { return document().fileName() + QStringLiteral("/homepage/") + name; }
    XmlOutlineView& navigator() { return *dynamic_cast<QZNavViewer*>(window->panel(EditorKind::Navigator))->outline(); }
    // Clicks the element's row in the navigator, which makes it current, and
    // lets its pane lay itself out.
    void chooseRow(XmlBase* element)
    {
        XmlOutlineView& outline = navigator();
        outline.expandObject(element->parent());
        const QModelIndex row = rowOf(outline, element);
        ASSERT_TRUE(row.isValid()) << element->name().toStdString();
        outline.scrollTo(row);
        QTest::mouseClick(outline.viewport(), Qt::LeftButton, Qt::NoModifier, outline.visualRect(row).center());
        QApplication::processEvents();
        ASSERT_EQ(window->currentObject().get(), element) << element->name().toStdString();
    }
    // Renames the element in its navigator row, as a double click and typing do.
    void renameRow(XmlBase* element, const QString& name)
    {
        XmlOutlineView& outline = navigator();
        outline.expandObject(element->parent());
        const QModelIndex row = rowOf(outline, element);
        ASSERT_TRUE(row.isValid()) << element->name().toStdString();
        outline.scrollTo(row);
        outline.edit(row);
        QApplication::processEvents();
        auto* field = outline.viewport()->findChild<QLineEdit*>();
        ASSERT_NE(field, nullptr) << "the row's name is editable";
        typeInto(field, name);
        QTest::keyClick(field, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(element->name(), name);
    }
    // Makes the page current by its navigator row, on the Editing tab's content.
    void show(XmlBase* element)
    {
        window->setMainTab(QStringLiteral("Editing"));
        window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("content"));
        chooseRow(element);
    }
    void drainQueue() { ASSERT_TRUE(processEventsUntil([&] { return document().queue().isIdle(); }, 120000)); }
    template <typename T>
    T* publishControl(int tag) { return qobject_cast<T*>(lq::viewWithTag(window->exportController()->exportview(), tag)); }
    // Runs the event loop until the uploader has ended its next run.
    bool waitForTheUploader()
    {
        return uploaderReports.waitForEnding(uploaderReports.endings.size(), 180000);
    }
    // Chooses the template in the layout tab's template list with a click on its row.
    void chooseTemplate(XmlAlbum& page, const QString& name)
    {
        // The navigator is on the "content" tab: the page is chosen there.
        window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("content"));
        show(&page);
        window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("layout"));
        auto* layout = dynamic_cast<LayoutController*>(window->layout());
        ASSERT_NE(layout, nullptr);
        MyOutlineView* list = layout->templateList();
        XmlStyleSheet* sheet = templateNamed(name);
        ASSERT_NE(sheet, nullptr) << name.toStdString();
        const QModelIndex row = list->adaptor()->indexForItem(sheet);
        ASSERT_TRUE(row.isValid());
        list->scrollTo(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualRect(row).center());
        QApplication::processEvents();
        EXPECT_EQ(page.getTemplate().get(), sheet) << name.toStdString();
    }

    // Every document window gets the real layout editor, as in the program.
    const ScopedServices layouts { lq::registerLayoutServices };
    QTemporaryDir home;
    QByteArray oldHome;
    QString support;
    ScopedModalHandler modal;
    std::unique_ptr<lq::UserDefaults> defaults;
    // What the window's uploader tells; it outlives the window.
    RecordingPublishObserver uploaderReports;
    std::unique_ptr<MyDocumentController> controller;
    MyDocumentWindow* window = nullptr;
    QList<QUrl> opened;
};

TEST_F(WholeRoadTest, ANewSiteIsMadePublishedChangedAndRevertedAsAUserDoesIt)
{
    if (!runningOnXvfb()) {
        checkRunOnXvfb(runThisTestOnXvfb());
        return;
    }
    testservers::WebDAVServer server;
    if (!server.start(false))
        GTEST_SKIP() << server.why.toStdString();

    // --- The start window makes a new site in the home folder -----------------------------
    ASSERT_TRUE(controller->applicationDidFinishLaunching());
    StartWindow* start = controller->startWindow();
    start->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(start));
    modal.state->panelAnswer = home.filePath(QStringLiteral("MyWebsite"));
    clickButton(buttonTitled(start, QStringLiteral("New Website…")));
    ASSERT_EQ(controller->documents().size(), 1u);
    window = controller->windowOf(controller->documents().back().get());
    ASSERT_NE(window, nullptr);
    const QString folder = home.filePath(QStringLiteral("MyWebsite.lqxl"));
    EXPECT_EQ(document().fileName(), folder);
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/site.xmlbase")).isFile());
    // The snapshots are told apart by the second of their save: each save here is a minute later.
    int minutes = 0;
    const QDateTime began = QDateTime::currentDateTime();
    document().setNow([&] { return began.addSecs(60 * ++minutes); });
    window->resize(1200, 860);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->sender()->addObserver(&uploaderReports);
    picture(QStringLiteral("01-new-site"));

    // --- Two pages and a group, from the Site menu beside the navigator's choice ---------------------
    chooseRow(&homePage());
    triggerMenuItem(MenuTag::AddAlbum);
    auto travel = std::dynamic_pointer_cast<XmlAlbum>(homePage().lastChild());
    ASSERT_NE(travel, nullptr);
    EXPECT_EQ(travel->name(), QStringLiteral("Page ") + QString::number(travel->pageSeqNumber()));
    renameRow(travel.get(), QStringLiteral("Travel"));
    triggerMenuItem(MenuTag::AddGroup);
    auto group = std::dynamic_pointer_cast<XmlGroup>(homePage().lastChild());
    ASSERT_NE(group, nullptr);
    renameRow(group.get(), QStringLiteral("Journal"));
    chooseRow(group.get());
    triggerMenuItem(MenuTag::AddAlbum);
    ASSERT_EQ(group->numberChildren(), 1);
    auto notes = std::dynamic_pointer_cast<XmlAlbum>(group->lastChild());
    ASSERT_NE(notes, nullptr);
    renameRow(notes.get(), QStringLiteral("Notes"));
    EXPECT_EQ(rowNames(navigator(), rowOf(navigator(), group.get())), QStringList{QStringLiteral("Notes")});
    EXPECT_EQ(homePage().childrenOfType<XmlAlbum>().size(), 5u) << "Home, Photos, About, Travel and the group";
    show(group.get());
    auto* groupPane = dynamic_cast<QZGroupEditor*>(window->panel(EditorKind::Group));
    ASSERT_NE(groupPane, nullptr);
    ASSERT_EQ(window->lastEditView(), groupPane);
    typeInto(groupPane->groupTitle(), QStringLiteral("My journal"));
    show(notes.get());
    EXPECT_EQ(group->content(), QStringLiteral("My journal"));
    picture(QStringLiteral("02-pages-and-group"));

    // --- Ten photos added to the album page through "Add Photos…" --------------------------------
    show(travel.get());
    auto* albumPane = dynamic_cast<QZAlbumEditor*>(window->panel(EditorKind::Album));
    ASSERT_NE(albumPane, nullptr);
    ASSERT_EQ(window->lastEditView(), albumPane);
    QTemporaryDir camera;
    QStringList photos;
    for (int i = 1; i <= 10; ++i) {
        const QString path = camera.filePath(QStringLiteral("IMG_%1.jpg").arg(1000 + i));
        writeAll(path, photographBytes(i, i % 3 == 0 ? QSize(480, 640) : QSize(800, 600)));
        photos.append(path);
    }
    QZArraySelectView2* grid = albumPane->arrayView();
    // "Add Photos…" in the album pane: the file panel chooses the ten pictures.
    modal.state->filesPanelAnswer = photos;
    clickButton(albumPane->addPhotosButton());
    EXPECT_EQ(modal.state->panels.last().title, QStringLiteral("Add Photos"));
    drainQueue();
    ASSERT_EQ(travel->numberPhotos(), 10);
    QStringList inOrder;
    for (int i = 1; i <= 10; ++i)
        inOrder.append(QStringLiteral("IMG_%1").arg(1000 + i));
    EXPECT_EQ(childNames(*travel), inOrder) << "the photos keep the order of the files chosen";
    for (const XmlBasePtr& photo : travel->photoObjects()) {
        auto* p = XmlPhoto::cast(photo.get());
        ASSERT_NE(p, nullptr);
        EXPECT_TRUE(QFileInfo(p->originalFilename()).isFile()) << p->originalFilename().toStdString();
    }
    picture(QStringLiteral("03-ten-photos"));

    // --- A caption and the page's text typed in the album pane -----------------------------------
    EXPECT_EQ(albumPane->albumTitle()->text(), QStringLiteral("Some Photos")) << "a new page's title";
    typeInto(albumPane->albumTitle(), QStringLiteral("On the road"));
    QApplication::processEvents();
    click(*grid, grid->rectOfObjectAtIndex(0).center());
    MyTextView* caption = albumPane->captionArea()->view();
    ASSERT_FALSE(caption->isReadOnly());
    caption->selectAll();
    typeInto(caption, QStringLiteral("Sunrise over the harbour"));
    click(*grid, grid->rectOfObjectAtIndex(1).center());
    auto* firstPhoto = XmlPhoto::cast(travel->photoObjects().value(0).get());
    ASSERT_NE(firstPhoto, nullptr);
    EXPECT_TRUE(firstPhoto->caption()->content().contains(QStringLiteral("Sunrise over the harbour")));
    show(notes.get());
    MyTextView* pageText = albumPane->descriptionArea()->view();
    pageText->selectAll();
    typeInto(pageText, QStringLiteral("First notes from the road"));
    show(travel.get());
    EXPECT_TRUE(notes->webcontent()->content().contains(QStringLiteral("First notes from the road")));
    EXPECT_TRUE(document().isDocumentEdited());
    picture(QStringLiteral("04-caption-and-text"));

    // --- Templates chosen in the layout tab ---------------------------------------------------
    chooseTemplate(*travel, QStringLiteral("Photo Album"));
    // The photo album chosen on the canvas; its sheet makes it four columns wide.
    {
        auto* layout = dynamic_cast<LayoutController*>(window->layout());
        ASSERT_NE(layout, nullptr);
        QZLayoutView& canvas = *layout->layoutView();
        auto* photoAlbum = dynamic_cast<XmlWebPhotoAlbum*>(templateNamed(QStringLiteral("Photo Album"))->getElementWithName(QStringLiteral("Photo Album")).get());
        ASSERT_NE(photoAlbum, nullptr);
        const lq::Rect area = photoAlbum->objectRect();
        click(canvas, QPointF(area.x() + 20 + canvas.pageOffset().x(), area.y() + 20 + canvas.pageOffset().y()));
        auto* columns = qobject_cast<MyIntegerField*>(layout->controlWithTag(528));
        ASSERT_NE(columns, nullptr);
        ASSERT_TRUE(columns->isVisible()) << "the album's sheet shows";
        typeInto(columns, QStringLiteral("4"));
        QTest::keyClick(columns, Qt::Key_Return);
        EXPECT_EQ(photoAlbum->settings().cols(), 4);
        // The thumbnails of the new cell size are made by the queue, then drawn.
        drainQueue();
        QCoreApplication::processEvents();
        for (const XmlBasePtr& photo : travel->photoObjects())
            EXPECT_FALSE(XmlPhoto::cast(photo.get())->pendingResize()) << "every thumbnail is drawn again";
        picture(QStringLiteral("05-album-sheet"));
    }
    chooseTemplate(*notes, QStringLiteral("Text Page"));
    // On the canvas the page title is dragged 40 points down.
    auto* layout = dynamic_cast<LayoutController*>(window->layout());
    ASSERT_NE(layout, nullptr);
    QZLayoutView& canvas = *layout->layoutView();
    auto* pageTitle = dynamic_cast<XmlBoxModel*>(templateNamed(QStringLiteral("Text Page"))->getElementWithName(QStringLiteral("Page Title")).get());
    ASSERT_NE(pageTitle, nullptr);
    const lq::Rect titleBefore = pageTitle->objectRect();
    const QPointF grip(titleBefore.x() + titleBefore.width() / 2 + canvas.pageOffset().x(), titleBefore.y() + titleBefore.height() / 2 + canvas.pageOffset().y());
    click(canvas, grip);
    drag(canvas, grip, grip + QPointF(0, 40));
    const lq::Rect titleAfter = pageTitle->objectRect();
    EXPECT_GT(titleAfter.y(), titleBefore.y() + 30) << "moved down, held at most by a guide";
    EXPECT_EQ(titleAfter.x(), titleBefore.x());
    picture(QStringLiteral("05-template"));
    window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("content"));

    // --- A watermark on the album page's photos, from the Site menu's sheet -------------------------
    // In the bottom right corner of each picture, white and nearly opaque.
    show(travel.get());
    modal.state->sheetAnswer = [&](QDialog* shown) {
        auto* sheet = dynamic_cast<WatermarkSheet*>(shown);
        EXPECT_NE(sheet, nullptr);
        if (!sheet)
            return 0;
        sheet->show();
        typeInto(sheet->text(), QStringLiteral("© Ann Walker"));
        chooseItem(sheet->type(), QStringLiteral("Bottom right corner"));
        sheet->textColor()->setColor(Qt::white);
        sheet->opacity()->setValue(90);
        sheet->grab().save(testArtefactsFolder() + QStringLiteral("/whole-road-05-watermark-sheet.png"));
        return pressButton(sheet, QStringLiteral("Apply"));
    };
    triggerMenuItem(MenuTag::Watermark);
    modal.state->sheetAnswer = {};
    EXPECT_EQ(travel->watermark()->content(), QStringLiteral("© Ann Walker"));
    EXPECT_EQ(travel->watermark()->placement(), 5);
    drainQueue();

    // --- Rebuild, build and preview ------------------------------------------------------------------
    // The Site menu's rebuild makes every photo's pictures anew and clears the generated site.
    writeAll(site(QStringLiteral("stale.html")), "<p>left from an earlier build</p>");
    triggerMenuItem(MenuTag::Rebuild);
    drainQueue();
    EXPECT_FALSE(QFileInfo::exists(site(QStringLiteral("stale.html"))));
    for (const XmlBasePtr& photo : travel->photoObjects())
        EXPECT_TRUE(QFileInfo(XmlPhoto::cast(photo.get())->iconFilename()).isFile()) << photo->name().toStdString();
    window->setMainTab(QStringLiteral("Send"));
    clickButton(buttonTitled(window->exportController()->exportview(), QStringLiteral("Preview")));
    ASSERT_TRUE(processEventsUntil([&] { return !opened.isEmpty(); }, 180000));
    EXPECT_EQ(opened.last(), QUrl::fromLocalFile(site(QStringLiteral("index.html"))));
    const QString travelFile = travel->fileName();
    const QString notesFile = notes->fileName();
    for (const QString& page : {QStringLiteral("index.html"), travelFile, notesFile, group->fileName()})
        EXPECT_TRUE(QFileInfo(site(page)).isFile()) << page.toStdString();
    // The caption wraps under its thumbnail: one paragraph a line.
    const QString travelHtml = QString::fromUtf8(readAll(site(travelFile)));
    EXPECT_TRUE(travelHtml.contains(QStringLiteral("<title>On the road</title>")));
    EXPECT_TRUE(travelHtml.contains(QStringLiteral(">Sunrise over the </p>"))) << travelHtml.toStdString();
    for (int i = 1; i <= 10; ++i)
        EXPECT_TRUE(QFileInfo(site(QStringLiteral("pictures/thumb%1.jpg").arg(i))).isFile()) << i;
    // Four thumbnails a row: the fourth beside the first, the fifth below it.
    const auto topOf = [&](int thumb) {
        const QString start = QStringLiteral("src=\"pictures/thumb%1.jpg\"").arg(thumb);
        const qsizetype at = travelHtml.indexOf(start);
        const qsizetype top = travelHtml.indexOf(QStringLiteral("top: "), at);
        return at < 0 || top < 0 ? QString() : travelHtml.mid(top, travelHtml.indexOf(QLatin1Char(';'), top) - top);
    };
    EXPECT_FALSE(topOf(1).isEmpty());
    EXPECT_EQ(topOf(4), topOf(1));
    EXPECT_NE(topOf(5), topOf(1));
    const QString notesHtml = QString::fromUtf8(readAll(site(notesFile)));
    EXPECT_TRUE(notesHtml.contains(QStringLiteral("First notes from the road")));
    EXPECT_TRUE(notesHtml.contains(QStringLiteral("<div id=\"pagetitlebox\" style=\"top: ") + QString::number(int(titleAfter.y())) + QStringLiteral("px;")))
        << "the title where the canvas put it";
    if (htmlValidatorAvailable()) {
        for (const QString& page : QDir(site()).entryList({QStringLiteral("*.html")}, QDir::Files)) {
            const QString errors = validationErrors(site(page));
            EXPECT_TRUE(errors.isEmpty()) << page.toStdString() << ":\n" << errors.left(2000).toStdString();
        }
    }
    // The watermark is on the slides: white letters over the dark hills of the bottom right corner.
    const QImage slide(site(QStringLiteral("pictures/slide1.jpg")));
    ASSERT_FALSE(slide.isNull());
    slide.save(testArtefactsFolder() + QStringLiteral("/whole-road-06-slide.png"));
    const QImage source = QImage(photos[0]).scaled(slide.size());
    const QRect corner(slide.width() * 2 / 3, slide.height() * 5 / 6, slide.width() / 3, slide.height() / 6);
    EXPECT_GT(pixelsNearWhite(slide, corner), 100);
    EXPECT_EQ(pixelsNearWhite(source, corner), 0);
    picture(QStringLiteral("06-built"));

    // --- Published to WebDAV on 127.0.0.1 -----------------------------------------------------
    ExportController* panel = window->exportController();
    chooseItem(publishControl<MyPopUpButton>(PublishTag::ServerType), QStringLiteral("WebDAV"));
    typeInto(publishControl<MyTextField>(PublishTag::WebDAVUser), QStringLiteral("tester"));
    typeInto(publishControl<MyTextField>(PublishTag::WebDAVPassword), QStringLiteral("secret"));
    typeInto(publishControl<MyTextField>(PublishTag::WebDAVAddress), QStringLiteral("http://") + server.address() + QStringLiteral("/site"));
    clickButton(radioTitled(publishControl<MyMatrix>(PublishTag::ExportType), QStringLiteral("Only the changes")));
    EXPECT_EQ(document().location()->exportType(), 1);
    EXPECT_EQ(document().location()->serverType(), XmlLocation::WebDAV);
    clickButton(buttonTitled(panel->exportview(), QStringLiteral("Export")));
    ASSERT_TRUE(waitForTheUploader());
    SendController* uploader = window->sender();
    EXPECT_FALSE(uploader->taskError()) << uploader->status1().toStdString() << " / " << uploader->status2().toStdString();
    EXPECT_TRUE(uploader->status1().startsWith(QStringLiteral("Published "))) << uploader->status1().toStdString();
    const QString served = server.davRoot() + QStringLiteral("/site");
    EXPECT_EQ(filesBelow(served), filesBelow(site()));
    EXPECT_TRUE(sameFiles(site(), served));
    picture(QStringLiteral("07-published"));
    const QStringList first = server.requests();

    // The published site, as the server gives it, opens in headless Chromium with its photos and caption.
    const QString address = QStringLiteral("http://tester:secret@") + server.address() + QStringLiteral("/site/") + travelFile;
    QByteArray dom;
    QByteArray chromiumErrors;
    const int chromium = runHeadlessChromium({QStringLiteral("--headless"), QStringLiteral("--dump-dom")}, address, &dom, &chromiumErrors);
    if (chromium >= 0) {
        EXPECT_EQ(chromium, 0) << chromiumErrors.constData();
        EXPECT_TRUE(dom.contains(">Sunrise over the </p>")) << dom.left(3000).constData();
        EXPECT_TRUE(dom.contains(">IMG_1010</p>")) << dom.left(3000).constData();
        EXPECT_TRUE(dom.contains("Journal")) << "the menu names the group";
        QByteArray out;
        runHeadlessChromium({QStringLiteral("--headless"), QStringLiteral("--window-size=1100,900"),
                                QStringLiteral("--screenshot=") + testArtefactsFolder() + QStringLiteral("/whole-road-07-chromium.png")},
            address, &out, &chromiumErrors);

        // The thumbnails open the slideshow page: its menu, slide, caption
        // and text stand apart and its controls work. The measuring copy is
        // served beside it and taken away again.
        const QString slideshow = QStringLiteral("slideshow%1.html").arg(travel->pageSeqNumber());
        const QString probe = QStringLiteral("probe-") + slideshow;
        ASSERT_TRUE(slideshowpage::writeProbe(readAll(served + QLatin1Char('/') + slideshow), served + QLatin1Char('/') + probe));
        const slideshowpage::Look look =
            slideshowpage::look(QStringLiteral("http://tester:secret@") + server.address() + QStringLiteral("/site/") + probe);
        ASSERT_TRUE(QFile::remove(served + QLatin1Char('/') + probe));
        EXPECT_TRUE(look.browser) << look.why.toStdString();
        slideshowpage::expectLooksRight(look, !travel->webcontent()->content().isEmpty());
        runHeadlessChromium(slideshowpage::chromiumArguments()
                << QStringLiteral("--screenshot=") + testArtefactsFolder() + QStringLiteral("/whole-road-07-slideshow.png"),
            QStringLiteral("http://tester:secret@") + server.address() + QStringLiteral("/site/") + slideshow, &out, &chromiumErrors);
    }

    // --- One page's text changed: only that page goes to the server ---------------------------------
    uploader->cancel();
    const QStringList beforeSecond = server.requests();
    window->setMainTab(QStringLiteral("Editing"));
    show(notes.get());
    pageText = albumPane->descriptionArea()->view();
    pageText->selectAll();
    typeInto(pageText, QStringLiteral("Second notes, written at home"));
    show(travel.get());
    EXPECT_TRUE(window->isWindowModified());
    // Site ▸ Publish sends the changes at once, the site having been published.
    triggerMenuItem(MenuTag::Publish);
    ASSERT_TRUE(waitForTheUploader());
    EXPECT_FALSE(uploader->taskError()) << uploader->status1().toStdString() << " / " << uploader->status2().toStdString();
    const QStringList second = server.requests().mid(beforeSecond.size());
    // Chromium fetched the page, its style sheet and its thumbnails from the server.
    if (chromium >= 0) {
        const QStringList fetched = beforeSecond.mid(first.size());
        EXPECT_TRUE(fetched.contains(QStringLiteral("GET /site/") + travelFile + QStringLiteral(" 200"))) << fetched.join(u'\n').toStdString();
        EXPECT_TRUE(fetched.contains(QStringLiteral("GET /site/pictures/thumb10.jpg 200"))) << fetched.join(u'\n').toStdString();
    }
    EXPECT_EQ(storedPaths(second), QStringList{QStringLiteral("/site/") + notesFile}) << second.join(u'\n').toStdString();
    EXPECT_TRUE(uploader->status1().startsWith(QStringLiteral("Published 1 file ("))) << uploader->status1().toStdString();
    EXPECT_TRUE(document().activityText().contains(uploader->status1()));
    EXPECT_TRUE(QString::fromUtf8(readAll(served + QLatin1Char('/') + notesFile)).contains(QStringLiteral("Second notes, written at home")));
    EXPECT_TRUE(sameFiles(site(), served));
    picture(QStringLiteral("08-published-again"));

    // --- An older version comes back ------------------------------------------------------------------
    uploader->cancel();
    triggerMenuItem(MenuTag::Versions);
    ASSERT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Versions"));
    const QFileInfoList snapshots =
        QDir(folder + QStringLiteral("/revert")).entryInfoList({QStringLiteral("*.qvzip")}, QDir::Files, QDir::Time);
    ASSERT_GE(snapshots.size(), 3);
    VersionList* versions = window->versionList();
    QAbstractItemModel* table = versions->table()->model();
    ASSERT_EQ(table->rowCount(), snapshots.size());
    // The version the preview saved: the notes' first text.
    const QString older = MyDocument::snapshotName(began.addSecs(60 * 1)).replace(QLatin1Char('_'), QLatin1Char(':'));
    const int nameColumn = versions->table()->adaptor()->columnWithIdentifier(QStringLiteral("name"));
    int row = -1;
    for (int r = 0; r < table->rowCount(); ++r) {
        if (table->data(table->index(r, nameColumn), Qt::DisplayRole).toString() == older)
            row = r;
    }
    ASSERT_GE(row, 0) << older.toStdString();
    const QRect cell = versions->table()->visualRect(table->index(row, nameColumn));
    QTest::mouseClick(versions->table()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    picture(QStringLiteral("09-versions"));
    clickButton(versions->revertButton());
    EXPECT_TRUE(modal.state->alerts.isEmpty()) << "everything was saved: nothing to ask";
    auto reverted = pageNamed(QStringLiteral("Notes"));
    ASSERT_NE(reverted, nullptr);
    EXPECT_TRUE(reverted->webcontent()->content().contains(QStringLiteral("First notes from the road")));
    EXPECT_EQ(pageNamed(QStringLiteral("Travel"))->numberPhotos(), 10);
    EXPECT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Editing"));
    picture(QStringLiteral("10-reverted"));

    const QStringList errors = errorLines(document().activityText());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

} // namespace
