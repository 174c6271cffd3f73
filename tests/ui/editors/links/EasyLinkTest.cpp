// The link sheets over a real site in its window: the letter encoding of
// e-mail links (read back by the site script itself in headless Chromium),
// where the sheet opens for a link, what each choice writes into a link
// field or a rich-text editor, and the element chooser.
#include "ui/editors/links/EasyLink.h"
#include "ui/editors/links/EasyLink2.h"
#include "ui/editors/XmlOutlineView.h"
#include "ui/editors/text/QZTextEditor.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/files/XmlFolder.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlGroup.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/MyTextView.h"
#include "platform/Resources.h"
#include "support/HeadlessChromium.h"
#include "support/ui/CheckedModels.h"
#include "support/ui/SheetHands.h"
#include "support/ui/SiteWindow.h"

#include <QFile>
#include <QGroupBox>
#include <QRegularExpression>
#include <QUrl>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>

namespace {

// --- The encoding ----------------------------------------------------------------------------

TEST(EasyLinkEncoding, CharactersBecomeGroupsOfBase25Letters)
{
    const struct {
        QString text;
        QString encoded;
    } cases[] = {
        { QStringLiteral("abc"), QStringLiteral("exaeyaeza") },
        { QString(QChar(0)), QStringLiteral("ba") },
        { QString(QChar(24)), QStringLiteral("za") },
        { QString(QChar(25)), QStringLiteral("cba") },
        { QString(QChar(624)), QStringLiteral("zza") },
        { QString(QChar(625)), QStringLiteral("cbba") },
        { QString(QChar(15625)), QStringLiteral("cbbba") },
        { QString(QChar(0xFFFF)), QStringLiteral("ffwla") },
        { QString(), QString() },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoded.toStdString());
        EXPECT_EQ(EasyLink::encrypt(c.text), c.encoded);
        EXPECT_EQ(EasyLink::decrypt(c.encoded), c.text);
    }

    // "mailto:": every code lies between 25 and 624, so seven groups of two letters.
    const QString mailto = EasyLink::encrypt(QStringLiteral("mailto:"));
    static const QRegularExpression sevenPairs(QStringLiteral("^([b-z]{2}a){7}$"));
    EXPECT_TRUE(sevenPairs.match(mailto).hasMatch()) << mailto.toStdString();
    EXPECT_EQ(EasyLink::decrypt(mailto), QStringLiteral("mailto:"));
}

TEST(EasyLinkEncoding, DecodingReadsALastGroupWithoutItsEndAndRefusesWhatIsNoCode)
{
    EXPECT_EQ(EasyLink::decrypt(QStringLiteral("exaeyaez")), QStringLiteral("abc"));
    EXPECT_EQ(EasyLink::decrypt(QStringLiteral("a")), QString(QChar(0)));
    EXPECT_FALSE(EasyLink::decrypt(QStringLiteral("")).isNull());
    // Not letters of the code, and a group past sixteen bits.
    for (const char* text : { "exa1a", "EXA", "ex a", "zzzzza", "http://example.org/" })
        EXPECT_TRUE(EasyLink::decrypt(QString::fromLatin1(text)).isNull()) << text;
}

TEST(EasyLinkEncoding, AddressesBeyondLatin1RoundTrip)
{
    for (const QString& address : { QStringLiteral("mailto:zoë@example.org"), QStringLiteral("mailto:用户@例え.jp"),
             QStringLiteral("mailto:post@\U0001F600.example") }) {
        EXPECT_EQ(EasyLink::decrypt(EasyLink::encrypt(address)), address) << address.toStdString();
    }
}

// The site script of every generated page decodes what the sheet encodes.
TEST(EasyLinkEncoding, TheSiteScriptReadsTheAddressBack)
{
    QTemporaryDir site;
    ASSERT_TRUE(QFile::copy(lq::resourcePath(QStringLiteral("site/lumenquill.js")), site.filePath(QStringLiteral("lumenquill.js"))));
    const QString address = QStringLiteral("mailto:zoë.müller@例え.jp");
    const QString page = QStringLiteral("<html><head><meta charset=\"utf-8\">"
                                        "<script type=\"text/javascript\" src=\"lumenquill.js\"></script></head><body>"
                                        "<script type=\"text/javascript\">document.body.setAttribute('data-lqtest', "
                                        "encodeURIComponent(lqDecodeLink('")
        + EasyLink::encrypt(address) + QStringLiteral("')));</script></body></html>");
    QFile file(site.filePath(QStringLiteral("index.html")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(page.toUtf8());
    file.close();

    QByteArray out;
    QByteArray err;
    if (runHeadlessChromium({ QStringLiteral("--headless"), QStringLiteral("--dump-dom") },
            QUrl::fromLocalFile(file.fileName()).toString(), &out, &err) != 0)
        GTEST_SKIP() << "chromium cannot start here: " << err.left(400).constData();
    static const QRegularExpression result(QStringLiteral("data-lqtest=\"([^\"]*)\""));
    const auto match = result.match(QString::fromUtf8(out));
    ASSERT_TRUE(match.hasMatch()) << err.constData();
    EXPECT_EQ(QUrl::fromPercentEncoding(match.captured(1).toUtf8()), address);
}

// --- The link sheet --------------------------------------------------------------------------

// A site with the album page "Holiday" (page 7, "holiday.html"), the group
// "Trips" holding the page "Paris" (page 8), the external-link page "Blog",
// and the site files pics/logo.png and notes.txt, in its window.
class EasyLinkTest : public SiteWindowTest {
protected:
    void SetUp() override
    {
        SiteWindowTest::SetUp();
        album->setPageSeqNumber(7);
        album->setFileName(QStringLiteral("holiday.html"));
        trips = XmlGroup::create();
        trips->setName(QStringLiteral("Trips"));
        paris = XmlAlbum::create();
        paris->setName(QStringLiteral("Paris"));
        paris->setPageSeqNumber(8);
        paris->setFileName(QStringLiteral("paris.html"));
        trips->addChild(paris);
        blog = XmlAlbum::create();
        blog->setName(QStringLiteral("Blog"));
        blog->setIsExternalLink(true);
        blog->setExternalLink(QStringLiteral("http://blog.example.org/"));
        home().addChild(trips);
        home().addChild(blog);
        addPhoto(*album, QStringLiteral("Beach"), Qt::yellow);

        XmlFiles& files = *document.site()->files();
        pics = files.folderWithName(QStringLiteral("pics"));
        ASSERT_TRUE(pics);
        ASSERT_TRUE(pics->importFilename(sourcePicture(QStringLiteral("logo.png"), Qt::red)));
        logo = std::dynamic_pointer_cast<XmlFile>(pics->firstChild());
        ASSERT_TRUE(logo);
        writeAll(sources.filePath(QStringLiteral("notes.txt")), "notes");
        ASSERT_TRUE(files.importFilename(sources.filePath(QStringLiteral("notes.txt"))));
        document.clearChangeCount();
    }
    // The outlines of every sheet shown check themselves while it is answered.
    void TearDown() override
    {
        EXPECT_TRUE(CheckedModels::failures().isEmpty()) << CheckedModels::failures().join(QLatin1Char('\n')).toStdString();
    }
    XmlHomePage& home() { return *document.site()->homepage(); }
    EasyLink& links() { return window->easyLink(); }

    // What the sheet showed when it opened.
    struct Opened {
        int linkType = -1;
        int popUpIndex = -1;
        XmlBasePtr selected;
        QString email;
        bool treeShown = false;
        bool emailShown = false;
        XmlBasePtr root;
    };
    // The hands: look at the sheet when it opens, then act (or end it with
    // Escape when no action is given); answers the sheet's result.
    void onSheet(std::function<void(QDialog*)> act = {})
    {
        modal.state->sheetAnswer = models.checkingSheets([this, act](QDialog* sheet) {
            sheet->show();
            opened = { links().currentLinkType(), links().linkTypePopUp()->currentIndex(), links().linkList()->selectedObject(),
                links().emailAddress()->text(), links().linkList()->isVisibleTo(sheet),
                links().emailAddress()->parentWidget()->isVisibleTo(sheet), links().linkList()->rootElement() };
            if (act)
                act(sheet);
            else
                endSheet(sheet, links().linkList(), Ending::Escape);
            sheet->hide();
            return sheet->result();
        });
    }
    // Runs the sheet on a field holding the text; answers the field's text afterwards.
    QString runOnField(const QString& text)
    {
        MyTextField field;
        field.setText(text);
        links().easyLink(&field);
        return field.text();
    }

    std::shared_ptr<XmlGroup> trips;
    std::shared_ptr<XmlAlbum> paris;
    std::shared_ptr<XmlAlbum> blog;
    std::shared_ptr<XmlFolder> pics;
    std::shared_ptr<XmlFile> logo;
    Opened opened;
    CheckedModels models;
};

TEST_F(EasyLinkTest, TheSheetOpensOnWhatTheLinkNames)
{
    const QString mail = QStringLiteral("javascript:clickLink('") + EasyLink::encrypt(QStringLiteral("mailto:ann@example.org")) + QStringLiteral("')");
    const QString notMail = QStringLiteral("javascript:clickLink('") + EasyLink::encrypt(QStringLiteral("http://example.org/")) + QStringLiteral("')");
    const struct {
        const char* name;
        QString link;
        int linkType;
        std::function<XmlBasePtr()> selected;
        QString email;
    } cases[] = {
        { "a file of the site", QStringLiteral("pics/logo.png"), EasyLink::FileLink, [&] { return XmlBasePtr(logo); }, {} },
        { "a file at the top", QStringLiteral("notes.txt"), EasyLink::FileLink,
            [&] { return document.site()->files()->firstChildOfType<XmlFile>(); }, {} },
        { "a file that is gone", QStringLiteral("pics/missing.png"), EasyLink::PageLink, [&] { return XmlBasePtr(album); }, {} },
        { "a folder", QStringLiteral("pics"), EasyLink::PageLink, [&] { return XmlBasePtr(album); }, {} },
        { "an e-mail link", mail, EasyLink::EmailLink, [] { return XmlBasePtr(); }, QStringLiteral("ann@example.org") },
        { "a coded link that is no e-mail", notMail, EasyLink::PageLink, [&] { return XmlBasePtr(album); }, {} },
        { "a coded link without its end", mail.chopped(2), EasyLink::PageLink, [&] { return XmlBasePtr(album); }, {} },
        { "a page's address", QStringLiteral("paris.html"), EasyLink::PageLink, [&] { return XmlBasePtr(paris); }, {} },
        { "an external page's address", QStringLiteral("http://blog.example.org/"), EasyLink::PageLink, [&] { return XmlBasePtr(blog); }, {} },
        { "an address", QStringLiteral("http://example.org/"), EasyLink::PageLink, [&] { return XmlBasePtr(album); }, {} },
        { "nothing", QString(), EasyLink::PageLink, [&] { return XmlBasePtr(album); }, {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        onSheet();
        EXPECT_EQ(runOnField(c.link), c.link); // Escape changes nothing
        EXPECT_EQ(opened.linkType, c.linkType);
        EXPECT_EQ(opened.popUpIndex, c.linkType);
        EXPECT_EQ(opened.selected, c.selected());
        EXPECT_EQ(opened.email, c.email);
        EXPECT_EQ(opened.treeShown, c.linkType != EasyLink::EmailLink);
        EXPECT_EQ(opened.emailShown, c.linkType == EasyLink::EmailLink);
        if (c.linkType == EasyLink::FileLink) {
            EXPECT_EQ(opened.root.get(), document.site()->files());
        } else if (c.linkType == EasyLink::PageLink) {
            EXPECT_EQ(opened.root.get(), &home());
        }
    }
    EXPECT_FALSE(document.isDocumentEdited());
}

TEST_F(EasyLinkTest, AChoiceConfirmedBecomesTheFieldsLink)
{
    const struct {
        const char* name;
        int linkType;
        std::function<XmlBase*()> choose;
        QString typed;
        QString written; // "" for the link kept
    } cases[] = {
        { "an album page", EasyLink::PageLink, [&] { return album.get(); }, {}, QStringLiteral("holiday.html") },
        { "a page in a group", EasyLink::PageLink, [&] { return paris.get(); }, {}, QStringLiteral("paris.html") },
        { "an external page", EasyLink::PageLink, [&] { return blog.get(); }, {}, QStringLiteral("http://blog.example.org/") },
        { "a group", EasyLink::PageLink, [&] { return trips.get(); }, {}, {} },
        { "a file in a folder", EasyLink::FileLink, [&] { return logo.get(); }, {}, QStringLiteral("pics/logo.png") },
        { "a folder", EasyLink::FileLink, [&] { return pics.get(); }, {}, {} },
        { "an address", EasyLink::EmailLink, [] { return nullptr; }, QStringLiteral("zoë@例え.jp"),
            QStringLiteral("javascript:clickLink('") + EasyLink::encrypt(QStringLiteral("mailto:zoë@例え.jp")) + QStringLiteral("')") },
        { "no address", EasyLink::EmailLink, [] { return nullptr; }, {},
            QStringLiteral("javascript:clickLink('") + EasyLink::encrypt(QStringLiteral("mailto:")) + QStringLiteral("')") },
    };
    const QString kept = QStringLiteral("kept.html");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        onSheet([&](QDialog* sheet) {
            choosePopUpItem(links().linkTypePopUp(), c.linkType);
            if (XmlBase* chosen = c.choose())
                links().linkList()->selectObject(chosen);
            if (c.linkType == EasyLink::EmailLink)
                links().emailAddress()->insert(c.typed);
            pressDefaultButton(sheet);
        });
        EXPECT_EQ(runOnField(kept), c.written.isEmpty() ? kept : c.written);
    }
}

TEST_F(EasyLinkTest, TheSheetEndsWithReturnAndCancelsWithEscapeOrCancel)
{
    for (const Ending ending : { Ending::Return, Ending::Escape, Ending::CancelButton }) {
        SCOPED_TRACE(endingName(ending));
        onSheet([&](QDialog* sheet) {
            choosePopUpItem(links().linkTypePopUp(), EasyLink::EmailLink);
            QTest::keyClicks(links().emailAddress(), QStringLiteral("ann@example.org"));
            endSheet(sheet, links().emailAddress(), ending);
        });
        const QString written = runOnField(QStringLiteral("pics/logo.png"));
        if (ending == Ending::Return)
            EXPECT_EQ(EasyLink::decrypt(written.mid(22).chopped(2)), QStringLiteral("mailto:ann@example.org")) << written.toStdString();
        else
            EXPECT_EQ(written, QStringLiteral("pics/logo.png"));
    }
    // A double click on a page chooses it at once.
    onSheet([&](QDialog*) {
        links().linkList()->selectObject(paris.get());
        const QRect row = links().linkList()->visualRect(links().linkList()->currentIndex());
        QTest::mouseClick(links().linkList()->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(links().linkList()->viewport(), Qt::LeftButton, {}, row.center());
    });
    EXPECT_EQ(runOnField(QString()), QStringLiteral("paris.html"));
}

TEST_F(EasyLinkTest, ThePageTreeShowsPagesOnlyAndNothingInItIsChangedFromHere)
{
    onSheet([&](QDialog* sheet) {
        XmlOutlineView* list = links().linkList();
        // Album pages are leaves: their photos are no targets; groups open.
        EXPECT_FALSE(list->isItemExpandable(album.get()));
        EXPECT_EQ(list->numberOfChildrenOfItem(album.get()), 0);
        EXPECT_TRUE(list->isItemExpandable(trips.get()));
        EXPECT_FALSE(list->shouldEditColumn(QStringLiteral("name"), album.get()));
        EXPECT_FALSE(list->dragIdentifiersForItems({ album.get() }).has_value());
        list->selectObject(album.get());
        QTest::keyClick(list, Qt::Key_Delete);
        endSheet(sheet, list, Ending::Escape);
    });
    runOnField(QString());
    EXPECT_EQ(album->parent(), &home());
    EXPECT_EQ(album->numberChildren(), 1);
    EXPECT_FALSE(document.isDocumentEdited());
}

// The rich-text editor of a pane, with the window's sheet as its link picker.
TEST_F(EasyLinkTest, TheEditorsLinkIsEditedThroughTheSheet)
{
    QWidget pane;
    auto* layout = new QVBoxLayout(&pane);
    auto* bar = new QWidget(&pane);
    auto* view = new MyTextView(&pane);
    layout->addWidget(bar);
    layout->addWidget(view);
    QZTextEditor editor;
    editor.setControls(QZTextEditor::buildControls(bar, {}));
    editor.setDocument(&document);
    editor.setCtv(view);
    editor.setEasyLinkOpener(&links());
    album->webcontent()->setContent(QStringLiteral("<p>see <a pseq=\"8\">Paris</a> soon</p>"));
    editor.loadMyTextView(album->webcontent().get());

    // The caret in the link: the sheet opens on its page; the user picks Holiday.
    view->setSelectedRange({ 5, 0 });
    onSheet([&](QDialog* sheet) {
        links().linkList()->selectObject(album.get());
        pressDefaultButton(sheet);
    });
    editor.controls().linkButton->click();
    EXPECT_EQ(opened.selected, XmlBasePtr(paris));
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>see <a pseq=\"7\">Paris</a> soon</p>"));
    EXPECT_EQ(editor.controls().lLink->text(), QStringLiteral("holiday.html"));

    // A word with no link gets a file link; Cancel leaves a chosen page unused.
    view->setSelectedRange({ 11, 0 });
    onSheet([&](QDialog* sheet) {
        choosePopUpItem(links().linkTypePopUp(), EasyLink::FileLink);
        links().linkList()->selectObject(logo.get());
        pressDefaultButton(sheet);
    });
    editor.controls().linkButton->click();
    EXPECT_EQ(opened.selected, XmlBasePtr(album)); // no link: the default page
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>see <a pseq=\"7\">Paris</a> <a href=\"pics/logo.png\">soon</a></p>"));
    onSheet([&](QDialog* sheet) {
        links().linkList()->selectObject(paris.get());
        endSheet(sheet, links().linkList(), Ending::CancelButton);
    });
    editor.controls().linkButton->click();
    EXPECT_EQ(opened.linkType, EasyLink::FileLink);
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>see <a pseq=\"7\">Paris</a> <a href=\"pics/logo.png\">soon</a></p>"));
}

// --- The element chooser ---------------------------------------------------------------------

TEST_F(EasyLinkTest, TheChooserAnswersThePickOnOKAndNothingOnCancel)
{
    XmlFiles* files = document.site()->files();
    ASSERT_EQ(EasyLink2::elementWithPath(files, QStringLiteral("pics/logo.png")), XmlBasePtr(logo));
    EXPECT_EQ(EasyLink2::elementWithPath(files, QStringLiteral("logo.png")), nullptr);
    EXPECT_EQ(EasyLink2::elementWithPath(files, QString()), nullptr);

    EasyLink2 chooser;
    XmlBasePtr preselected;
    const struct {
        const char* name;
        std::function<void(QDialog*)> act;
        XmlBasePtr answer;
    } cases[] = {
        { "OK as it opened", [&](QDialog* sheet) { endSheet(sheet, chooser.linkList(), Ending::Return); }, logo },
        { "another pick", [&](QDialog* sheet) {
              chooser.linkList()->selectObject(files->firstChildOfType<XmlFile>().get());
              pressDefaultButton(sheet);
          }, files->firstChildOfType<XmlFile>() },
        { "Cancel", [&](QDialog* sheet) { endSheet(sheet, chooser.linkList(), Ending::CancelButton); }, nullptr },
        { "Escape", [&](QDialog* sheet) { endSheet(sheet, chooser.linkList(), Ending::Escape); }, nullptr },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        modal.state->sheetAnswer = models.checkingSheets([&](QDialog* sheet) {
            sheet->show();
            EXPECT_EQ(sheet->parentWidget(), window.get());
            preselected = chooser.linkList()->selectedObject();
            c.act(sheet);
            return sheet->result();
        });
        EXPECT_EQ(chooser.easyLinkSelectParentWindow(files, logo.get(), window.get()), c.answer);
        EXPECT_EQ(preselected, XmlBasePtr(logo));
    }
    EXPECT_EQ(logo->parent(), pics.get());
}

} // namespace
