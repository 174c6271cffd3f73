#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPayPalCommon.h"
#include "model/site/XmlPayPalData.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"
#include "support/SiteInDocument.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

std::shared_ptr<XmlHomePage> readHome(const QString& text)
{
    return std::dynamic_pointer_cast<XmlHomePage>(XmlBase::createWithXmlRootDir(text, QString()));
}

std::shared_ptr<XmlPhoto> readPhoto(const QString& text)
{
    return std::dynamic_pointer_cast<XmlPhoto>(XmlBase::createWithXmlRootDir(text, QString()));
}

// The element text of the part as its owner writes it, without indentation.
QString partText(XmlBase& part)
{
    return part.createXml().trimmed();
}

TEST(XmlPayPalCommonTest, NewSettingsWriteEmptyTextsAndReadBackUnset)
{
    const auto home = XmlHomePage::create();
    XmlPayPalCommon& settings = *home->paypal();
    EXPECT_TRUE(settings.paypaladdress().isNull());
    EXPECT_TRUE(settings.currency().isNull());
    EXPECT_EQ(settings.weightunit(), 0);
    EXPECT_EQ(settings.currencyTag(), 0);
    EXPECT_EQ(partText(settings), QString("<QZpaypalcommon paypaladdress=\"\" currency=\"\" weightunit=\"0\"/>"));

    const auto copy = readHome(home->createXml());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->paypal()->paypaladdress().isNull());
    EXPECT_TRUE(copy->paypal()->currency().isNull());
    EXPECT_EQ(copy->paypal()->parent(), copy.get());
    EXPECT_EQ(copy->numberChildren(), 0);
}

TEST(XmlPayPalCommonTest, SettingsAreEscapedAndReadBackInPlace)
{
    const auto home = XmlHomePage::create();
    home->paypal()->setPaypaladdress("a&b\"c@example.com");
    home->paypal()->setCurrency("SEK");
    home->paypal()->setWeightunit(1);
    EXPECT_EQ(partText(*home->paypal()),
        QString("<QZpaypalcommon paypaladdress=\"a&amp;b&quot;c@example.com\" currency=\"SEK\" weightunit=\"1\"/>"));
    const auto copy = readHome(home->createXml());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->paypal()->paypaladdress(), QString("a&b\"c@example.com"));
    EXPECT_EQ(copy->paypal()->currencyTag(), 16);
    EXPECT_EQ(copy->paypal()->weightunit(), 1);
    EXPECT_EQ(copy->createXml(), home->createXml());
}

TEST(XmlPayPalCommonTest, CurrencyTagsBothWays)
{
    const QStringList codes = { "USD", "AUD", "GBP", "CAD", "CZK", "DKK", "EUR", "HKD", "HUF",
        "ILS", "JPY", "MXN", "NZD", "NOK", "PLN", "SGD", "SEK", "CHF" };
    const auto settings = XmlPayPalCommon::create();
    for (int tag = 0; tag < codes.size(); ++tag) {
        settings->setCurrencyTag(tag);
        EXPECT_EQ(settings->currency(), codes.at(tag)) << tag;
        EXPECT_EQ(settings->currencyTag(), tag) << tag;
    }
    for (const int tag : { 18, -1, 1000 }) {
        settings->setCurrencyTag(1);
        settings->setCurrencyTag(tag);
        EXPECT_EQ(settings->currency(), QString("USD")) << tag;
    }
    // Codes are compared exactly; anything else is the first entry.
    for (const char* code : { "eur", "", "XYZ", " EUR" }) {
        settings->setCurrency(code);
        EXPECT_EQ(settings->currency(), QString(code));
        EXPECT_EQ(settings->currencyTag(), 0) << code;
    }
}

TEST(XmlPayPalDataTest, NewItemWritesNoAttributes)
{
    const auto item = XmlPayPalData::create();
    EXPECT_EQ(partText(*item), QString("<QZpaypal/>"));
    item->setPrice("");
    EXPECT_TRUE(item->price().isNull());
    EXPECT_EQ(partText(*item), QString("<QZpaypal/>"));
}

TEST(XmlPayPalDataTest, SetFieldsAreWrittenInOrderEscapedAndReadBack)
{
    const auto photo = XmlPhoto::create();
    XmlPayPalData& item = *photo->paypal();
    // Set out of order: the text keeps its own order.
    item.setSalestax("7%");
    item.setWeight("1.5");
    item.setItemid("A<1>");
    item.setItemname("Print \"Sunset\"");
    item.setPrice("12.50");
    item.setShipping("3");
    EXPECT_EQ(partText(item),
        QString("<QZpaypal itemid=\"A&lt;1&gt;\" itemname=\"Print &quot;Sunset&quot;\" price=\"12.50\" weight=\"1.5\" "
                "shipping=\"3\" salestax=\"7%\"/>"));

    const auto copy = readPhoto(photo->createXml());
    ASSERT_NE(copy, nullptr);
    const XmlPayPalData& read = *copy->paypal();
    EXPECT_EQ(read.itemid(), QString("A<1>"));
    EXPECT_EQ(read.itemname(), QString("Print \"Sunset\""));
    EXPECT_EQ(read.price(), QString("12.50"));
    EXPECT_EQ(read.weight(), QString("1.5"));
    EXPECT_EQ(read.shipping(), QString("3"));
    EXPECT_EQ(read.salestax(), QString("7%"));
    EXPECT_EQ(copy->createXml(), photo->createXml());

    // Only the fields that are set are written.
    item.setWeight("");
    item.setItemid("");
    item.setSalestax("");
    EXPECT_EQ(partText(item), QString("<QZpaypal itemname=\"Print &quot;Sunset&quot;\" price=\"12.50\" shipping=\"3\"/>"));
}

TEST(XmlPayPalDataTest, APhotoCanBeBoughtWithANameAndAPrice)
{
    struct Case {
        const char* name;
        const char* price;
        bool purchasable;
    };
    const std::vector<Case> cases = {
        { "", "", false },
        { "Print", "", false },
        { "", "5", false },
        { "Print", "5", true },
        { " ", "0", true }, // any text counts, even a blank or zero
    };
    for (const Case& c : cases) {
        const auto photo = XmlPhoto::create();
        photo->paypal()->setItemname(c.name);
        photo->paypal()->setPrice(c.price);
        EXPECT_EQ(photo->paypal()->canBePurchased(), c.purchasable) << c.name << "/" << c.price;
        EXPECT_EQ(photo->canBePurchased(), c.purchasable) << c.name << "/" << c.price;
    }
    const auto photo = XmlPhoto::create();
    photo->paypal()->setItemname("Print");
    photo->paypal()->setPrice("5");
    photo->paypal()->setItemname("");
    EXPECT_FALSE(photo->canBePurchased());
}

TEST(XmlPayPalDataTest, EverySetterMarksTheDocumentChanged)
{
    SiteInDocument fixture;
    const auto album = XmlAlbum::create();
    fixture.site->homepage()->addChild(album);
    const auto photo = XmlPhoto::create();
    album->addChild(photo);
    XmlPayPalData& item = *photo->paypal();
    XmlPayPalCommon& settings = *fixture.site->homepage()->paypal();

    expectEachMarksTheDocumentOnce(fixture.document, {
        { "setItemid", [&] { item.setItemid("1"); } },
        { "setItemname", [&] { item.setItemname("n"); } },
        { "setPrice", [&] { item.setPrice("2"); } },
        { "setWeight", [&] { item.setWeight("3"); } },
        { "setShipping", [&] { item.setShipping("4"); } },
        { "setSalestax", [&] { item.setSalestax("5"); } },
        { "clearing a field", [&] { item.setPrice(""); } },
        { "setPaypaladdress", [&] { settings.setPaypaladdress("me@example.com"); } },
        { "setCurrency", [&] { settings.setCurrency("GBP"); } },
        { "setCurrencyTag", [&] { settings.setCurrencyTag(2); } },
        { "setWeightunit", [&] { settings.setWeightunit(1); } },
    });
}

} // namespace
