#include "model/site/XmlAlbum.h"
#include "model/files/XmlFile.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlPhotoRep.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "model/site/XmlWidgetPhoto.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::shared_ptr<XmlPhoto> photoNumbered(int number)
{
    const auto photo = XmlPhoto::create();
    photo->setImageSeqNumber(number);
    return photo;
}

TEST(XmlTrashTest, AcceptsPagesAndPhotosOnly)
{
    const auto site = XmlSite::create();
    site->newDocument();
    XmlTrash* trash = site->trash();
    ASSERT_NE(trash, nullptr);
    const auto otherTrash = XmlTrash::create();
    struct Case {
        const char* what;
        XmlBase* child;
        bool accepted;
    };
    const auto album = XmlAlbum::create();
    const auto group = XmlGroup::create();
    const auto photo = XmlPhoto::create();
    const auto rep = XmlPhotoRep::create();
    const auto widget = XmlWidgetPhoto::create();
    const auto home = XmlHomePage::create();
    const auto file = XmlFile::create();
    const std::vector<Case> cases = {
        { "album page", album.get(), true },
        { "group page", group.get(), true },
        { "photo", photo.get(), true },
        { "representative picture", rep.get(), true },
        { "widget photo", widget.get(), true },
        { "home page", home.get(), false },
        { "the site's home page", site->homepage(), false },
        { "the site", site.get(), false },
        { "the trash itself", trash, false },
        { "another trash", otherTrash.get(), false },
        { "file", file.get(), false },
        { "nothing", nullptr, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(trash->canYouBeMyParent(c.child), c.accepted) << c.what;
}

TEST(XmlTrashTest, GroupIsReadWithItsPagesAndTheHomePageIsRefused)
{
    const auto trash = std::dynamic_pointer_cast<XmlTrash>(XmlBase::createWithXmlRootDir(
        "<QZtrash name=\"ignored\"><QZhomepage/><QZgroup seq=\"4\"><QZalbum seq=\"5\"/></QZgroup>"
        "<QZphoto iseq=\"3\"/><QZtrash/></QZtrash>",
        QString()));
    ASSERT_NE(trash, nullptr);
    EXPECT_EQ(trash->name(), QString("Trash"));
    ASSERT_EQ(trash->numberChildren(), 2);
    auto* group = XmlGroup::cast(trash->firstChild().get());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->numberChildren(), 1);
    EXPECT_NE(XmlPhoto::cast(trash->lastChild().get()), nullptr);
}

TEST(XmlTrashTest, EmptyTrashIsOneEmptyElementAndItsNameIsNeverWritten)
{
    const auto trash = XmlTrash::create();
    trash->setName("Bin");
    EXPECT_EQ(trash->name(), QString("Trash"));
    EXPECT_FALSE(trash->canEditName());
    EXPECT_EQ(trash->createXml(), QString("<QZtrash/>\n"));
}

TEST(XmlTrashTest, PicturesOfDeletedItemsStayInUse)
{
    const auto site = XmlSite::create();
    site->newDocument();
    const auto page = XmlAlbum::create();
    page->addChild(photoNumbered(4));
    site->homepage()->addChild(page);

    XmlTrash* trash = site->trash();
    trash->addChild(photoNumbered(7));
    const auto deleted = XmlAlbum::create();
    deleted->addChild(photoNumbered(8));
    trash->addChild(deleted);
    const auto group = XmlGroup::create();
    const auto inGroup = XmlAlbum::create();
    inGroup->addChild(photoNumbered(9));
    group->addChild(inGroup);
    trash->addChild(group);

    // Pages without a representative picture name picture 0.
    EXPECT_EQ(trash->picturesInSite(),
        (QStringList { "image7.jpg", "image0.jpg", "image8.jpg", "image0.jpg", "image9.jpg" }));
    EXPECT_EQ(site->picturesInSite(),
        (QStringList { "image0.jpg", "image4.jpg", "image7.jpg", "image0.jpg", "image8.jpg", "image0.jpg", "image9.jpg" }));
}

TEST(XmlTrashTest, PagesInTheTrashKeepTheirTemplateBindingButNoHomePage)
{
    const auto site = XmlSite::create();
    site->newDocument();
    const auto live = XmlAlbum::create();
    site->homepage()->addChild(live);
    const auto deleted = XmlAlbum::create();
    const auto group = XmlGroup::create();
    const auto inGroup = XmlAlbum::create();
    group->addChild(inGroup);
    site->trash()->addChild(deleted);
    site->trash()->addChild(group);
    deleted->setTemplateNum(2);
    inGroup->setTemplateNum(2);
    group->setTemplateNum(1);

    site->setTemplateForUUID(2, "T2");
    EXPECT_EQ(deleted->templateUUID(), QString("T2"));
    EXPECT_EQ(inGroup->templateUUID(), QString("T2"));
    EXPECT_TRUE(group->templateUUID().isEmpty());
    EXPECT_TRUE(live->templateUUID().isEmpty());

    site->setTemplateForUUID(-1, "ALL");
    for (XmlAlbum* page : { live.get(), deleted.get(), static_cast<XmlAlbum*>(group.get()), inGroup.get() })
        EXPECT_EQ(page->templateUUID(), QString("ALL"));

    EXPECT_EQ(deleted->homepage(), nullptr);
    EXPECT_EQ(inGroup->homepage(), nullptr);
    EXPECT_EQ(live->homepage(), site->homepage());
}

TEST(XmlTrashTest, BindingDoesNotMarkTheDocumentChanged)
{
    const auto site = XmlSite::create();
    site->newDocument();
    const auto deleted = XmlAlbum::create();
    site->trash()->addChild(deleted);
    FakeDocument document;
    site->setDocument(&document);
    site->setTemplateForUUID(-1, "ALL");
    EXPECT_EQ(document.notices, 0);
    site->setDocument(nullptr);
}

} // namespace
