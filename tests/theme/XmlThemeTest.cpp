#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "support/FakeDocument.h"
#include "support/PublishSite.h"
#include "support/ScopedServices.h"
#include "templates/XmlCSSImage.h"
#include "support/LogCapture.h"
#include "support/Printers.h"
#include "templates/XmlStyleSheet.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::shared_ptr<XmlTheme> readTheme(const QString& text)
{
    return std::dynamic_pointer_cast<XmlTheme>(XmlBase::createWithXmlRootDir(text, QString()));
}

std::shared_ptr<XmlStyleSheet> sheetAt(XmlTheme& theme, int index)
{
    return std::dynamic_pointer_cast<XmlStyleSheet>(theme.childAtIndex(index));
}

TEST(XmlThemeTest, CountersHandOutThenAdvanceAndWritingTakesNoNumber)
{
    const auto theme = XmlTheme::create();
    EXPECT_EQ(theme->templateSeqNumber(), 0);
    EXPECT_EQ(theme->templateSeqNumber(), 1);
    EXPECT_EQ(theme->vornboxSeqNumber(), 0);
    const QString first = theme->createXml();
    EXPECT_TRUE(first.contains(QStringLiteral(" tseq=\"2\" xseq=\"1\""))) << first.toStdString();
    EXPECT_EQ(theme->createXml(), first);

    const auto sheet = XmlStyleSheet::create();
    theme->addTemplate(sheet);
    EXPECT_EQ(sheet->templateSeqNum(), 2);
    EXPECT_EQ(theme->lastChild(), sheet);
    EXPECT_EQ(theme->peekTemplateSeqNumber(), 3);
}

TEST(XmlThemeTest, ThemeWithTemplatesReadsAndWritesBackIdentically)
{
    const auto theme = XmlTheme::create();
    theme->setTemplateSeqNumber(4);
    theme->setVornboxSeqNumber(9);
    const auto first = XmlStyleSheet::create();
    first->setName(QStringLiteral("Default"));
    first->setTicon(3);
    first->setPageTopOffset(12);
    first->setCenterHorz(true);
    theme->addChild(first);
    const auto second = XmlStyleSheet::create();
    second->setTemplateSeqNum(2);
    second->setCustom(1);
    second->setHasNav(false);
    theme->addChild(second);

    const QString text = theme->createXml();
    const auto read = readTheme(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->createXml(), text);
    EXPECT_EQ(read->numberChildren(), 2);
    EXPECT_EQ(read->peekTemplateSeqNumber(), 4);
    EXPECT_EQ(read->peekVornboxSeqNumber(), 9);
    EXPECT_EQ(sheetAt(*read, 0)->ticon(), 3);
    EXPECT_TRUE(sheetAt(*read, 0)->centerHorz());
    EXPECT_EQ(sheetAt(*read, 1)->templateSeqNum(), 2);
    EXPECT_FALSE(sheetAt(*read, 1)->hasNav());
}

TEST(XmlThemeTest, AutoAddIsReadButNeverWritten)
{
    const auto theme = readTheme(QStringLiteral("<theme tseq=\"1\" xseq=\"0\" autoAdd=\"1\"></theme>"));
    ASSERT_TRUE(theme);
    EXPECT_EQ(theme->autoAdd(), 1);
    EXPECT_FALSE(theme->createXml().contains(QStringLiteral("autoAdd")));
    const auto junk = readTheme(QStringLiteral("<theme tseq=\"x\" xseq=\"\"></theme>"));
    EXPECT_EQ(junk->peekTemplateSeqNumber(), 0);
}

TEST(XmlThemeTest, OnlyTemplatesAreAttached)
{
    const auto theme = readTheme(QStringLiteral(
        "<theme tseq=\"1\" xseq=\"0\"><cssWebMenu v=\"1\" v2=\"1\"></cssWebMenu>"
        "<cssStyleSheet v=\"1\" v2=\"1\"></cssStyleSheet></theme>"));
    ASSERT_TRUE(theme);
    ASSERT_EQ(theme->numberChildren(), 1);
    EXPECT_TRUE(XmlStyleSheet::cast(theme->firstChild().get()));
}

TEST(XmlThemeTest, CheckTemplateSeqNumsMakesNumbersUnique)
{
    struct Case {
        std::vector<int> numbers;
        int counter;
        std::vector<int> expected;
        int expectedCounter;
    };
    const std::vector<Case> cases = {
        { { 5, 5, 7 }, 9, { 0, 5, 7 }, 9 },
        { { 0, 0, 0 }, 1, { 0, 1, 2 }, 3 },
        { { 3, 1, 1 }, 1, { 0, 1, 2 }, 3 },
        { { 4 }, 0, { 0 }, 0 },
        { {}, 5, {}, 5 },
    };
    for (const Case& c : cases) {
        const auto theme = XmlTheme::create();
        theme->setTemplateSeqNumber(c.counter);
        for (int number : c.numbers) {
            const auto sheet = XmlStyleSheet::create();
            sheet->setTemplateSeqNum(number);
            theme->addChild(sheet);
        }
        theme->checkTemplateSeqNums();
        std::vector<int> result;
        for (int i = 0; i < theme->numberChildren(); ++i)
            result.push_back(sheetAt(*theme, i)->templateSeqNum());
        EXPECT_EQ(result, c.expected) << "first case number " << (c.numbers.empty() ? -1 : c.numbers[0]);
        EXPECT_EQ(theme->peekTemplateSeqNumber(), c.expectedCounter);
    }
}

TEST(XmlThemeTest, CrossReferenceTellsTheSiteEachTemplate)
{
    const auto site = XmlSite::create();
    site->newDocument();
    const auto album = XmlAlbum::create();
    site->homepage()->addChild(album);
    album->setTemplateNum(1);

    const auto theme = XmlTheme::create();
    theme->setTemplateSeqNumber(1);
    const auto first = XmlStyleSheet::create();
    const auto second = XmlStyleSheet::create();
    first->setTemplateSeqNum(0);
    second->setTemplateSeqNum(0); // clashes: takes 1
    theme->addChild(first);
    theme->addChild(second);

    theme->crossReferenceXmlSite(site.get());
    EXPECT_EQ(second->templateSeqNum(), 1);
    EXPECT_EQ(album->templateUUID(), second->UUID());
    EXPECT_EQ(album->getTemplate(), second);

    // Without templates the site hears nothing.
    const auto empty = XmlTheme::create();
    empty->crossReferenceXmlSite(site.get());
    EXPECT_EQ(album->templateUUID(), second->UUID());
}

TEST(XmlThemeTest, AlbumBindsTheTemplateNumberAndUUID)
{
    const auto theme = XmlTheme::create();
    const auto sheet = XmlStyleSheet::create();
    theme->addTemplate(XmlStyleSheet::create());
    theme->addTemplate(sheet);
    const auto album = XmlAlbum::create();
    album->setTemplate(sheet.get());
    EXPECT_EQ(album->templateNum(), 1);
    EXPECT_EQ(album->templateUUID(), sheet->UUID());
    EXPECT_TRUE(album->createXml().contains(QStringLiteral(" template=\"1\"")));
}

TEST(XmlThemeTest, ChangeNoticesReachTheDocument)
{
    FakeDocument document;
    const auto theme = XmlTheme::create();
    const auto sheet = XmlStyleSheet::create();
    theme->addChild(sheet);

    theme->setRootDir(QStringLiteral("/nowhere")); // no document yet: nothing to tell
    EXPECT_EQ(document.notices, 0);

    theme->setDocument(&document);
    EXPECT_EQ(sheet->myDocument(), &document);
    sheet->setPageMinHeight(700);
    EXPECT_EQ(document.changes, 1);
    // Numbering and counters send no notice.
    sheet->setTemplateSeqNum(3);
    theme->setTemplateSeqNumber(8);
    theme->templateSeqNumber();
    EXPECT_EQ(document.notices, 1);

    theme->falseAlarm(true);
    EXPECT_EQ(document.suppressed, 1);
    sheet->setTicon(2);
    EXPECT_EQ(document.changes, 1);
    theme->falseAlarm(false);
    EXPECT_EQ(document.suppressed, 0);
    theme->setDocument(nullptr);
}

TEST(XmlThemeTest, MissingFolderIsReportedAndAnsweredAllTheSame)
{
    QTemporaryDir dir;
    const QString missing = dir.path() + QStringLiteral("/gone");
    std::vector<QString> alerts;
    const ScopedServices alerting([&](lq::Services& services) {
        services.alertHandler = [&](const QString& title, const QString& message, const QString& button) {
            alerts.push_back(title + QLatin1Char('|') + message + QLatin1Char('|') + button);
        };
    });
    LogCapture log;
    const auto theme = XmlTheme::create();
    EXPECT_EQ(theme->rootDir(), QString());
    theme->setRootDir(dir.path());
    EXPECT_EQ(theme->rootDir(), dir.path());
    EXPECT_TRUE(alerts.empty());

    theme->setRootDir(missing);
    const auto sheet = XmlStyleSheet::create();
    theme->addChild(sheet);
    EXPECT_EQ(sheet->rootDir(), missing);
    EXPECT_EQ(theme->rootDir(), missing);
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[0], QStringLiteral("Fatal Error!|Can't find this file-\n\n %1.\n\nThis file has been renamed or moved "
                                        "to another location. This is a fatal error.  Please close your document.|OK")
                             .arg(missing));
    EXPECT_TRUE(log.lines.contains(QStringLiteral("Can't find %1").arg(missing)));
}

} // namespace

TEST(XmlThemeTest, IdenticalBackgroundBitmapsAreShared)
{
    PublishSite folder;
    const QString bitmaps = folder.dir.path() + QStringLiteral("/bitmaps2/");
    writeAll(bitmaps + QStringLiteral("AAA.png"), "same picture");
    writeAll(bitmaps + QStringLiteral("BBB.png"), "same picture");
    writeAll(bitmaps + QStringLiteral("CCC.jpg"), "another picture");
    const auto theme = XmlTheme::create();
    const auto sheet = XmlStyleSheet::create();
    const auto first = XmlCSSImage::create();
    first->setImageUUID(QStringLiteral("AAA"));
    const auto other = XmlCSSImage::create();
    other->setImageUUID(QStringLiteral("CCC"));
    sheet->addChild(first);
    sheet->addChild(other);
    theme->addChild(sheet);
    theme->setRootDir(folder.dir.path());
    theme->setDocument(&folder.document);
    theme->crossReferenceXmlSite(nullptr);
    // Of identical files the last one listed is kept.
    EXPECT_EQ(first->imageUUID(), QStringLiteral("BBB"));
    EXPECT_EQ(other->imageUUID(), QStringLiteral("CCC"));
}
