#include "application/MyApplication.h"
#include "platform/StringTable.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

// Installs a string table for one test and puts the resource table back after it.
class LocalizedTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        lq::StringTable resources;
        resources.loadFile(QStringLiteral(LQ_TEST_RESOURCES "/strings/Localizable.strings"));
        MyApplication::shared().setStringTable(resources);
    }
};

} // namespace

TEST_F(LocalizedTest, PrefixedEntryWinsThenPlainThenABlank)
{
    lq::StringTable table;
    table.insert(QStringLiteral("SOK"), QStringLiteral("Okay"));
    table.insert(QStringLiteral("OK"), QStringLiteral("Fine"));
    table.insert(QStringLiteral("SSave"), QStringLiteral("Sichern"));
    table.insert(QStringLiteral("Cancel"), QStringLiteral("Abbrechen"));
    table.insert(QStringLiteral("SEmpty"), QStringLiteral(" "));
    table.insert(QStringLiteral("Empty"), QStringLiteral("Fallback"));
    MyApplication& app = MyApplication::shared();
    app.setStringTable(table);

    struct Case {
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        { "OK", "Okay" },          // both entries: the prefixed one
        { "Save", "Sichern" },     // only the prefixed entry
        { "Cancel", "Abbrechen" }, // only the plain entry
        { "Nope", " " },           // neither
        { "Empty", "Fallback" },   // a prefixed entry of one blank counts as missing
    };
    for (const Case& c : cases)
        EXPECT_EQ(app.localized(QString::fromLatin1(c.key)), QString::fromLatin1(c.expected)) << c.key;
}

TEST(MyApplication, TheResourceTableHoldsTheEntityCharacters)
{
    const QString chars = MyApplication::shared().localized(QStringLiteral("moreEscapeChars"));
    ASSERT_GE(chars.size(), 82);
    EXPECT_EQ(chars[0], QChar(0x00A1)); // &iexcl;
    EXPECT_EQ(chars[16], QChar(0x2022)); // &#149;
    EXPECT_EQ(chars[81], QChar(0x00FF)); // &yuml;
}

TEST(MyApplication, Policies)
{
    MyApplication& app = MyApplication::shared();
    app.setJpgCompressionFactor(0.3f);
    EXPECT_FLOAT_EQ(app.storedJpgCompressionFactor(), 0.6f);
    app.setJpgCompressionFactor(1.0f);
    EXPECT_FLOAT_EQ(app.storedJpgCompressionFactor(), 0.95f);
    app.setJpgCompressionFactor(0.8f);
    EXPECT_FLOAT_EQ(app.storedJpgCompressionFactor(), 0.8f);
    EXPECT_FLOAT_EQ(app.jpgCompressionFactor(), 0.95f);
    EXPECT_TRUE(app.resizeOnImport());

    const QStringList types = app.allowedImportFileTypes();
    EXPECT_EQ(types,
        (QStringList { QStringLiteral("jpg"), QStringLiteral("JPG"), QStringLiteral("jpeg"), QStringLiteral("JPEG"),
            QStringLiteral("gif"), QStringLiteral("GIF"), QStringLiteral("psd"), QStringLiteral("tif"),
            QStringLiteral("tiff"), QStringLiteral("TIF"), QStringLiteral("TIFF"), QStringLiteral("bmp"),
            QStringLiteral("BMP"), QStringLiteral("") }));
    EXPECT_TRUE(types.contains(QStringLiteral("jpg")));
    EXPECT_TRUE(types.contains(QStringLiteral("TIF")));
    EXPECT_TRUE(types.contains(QStringLiteral("")));
    EXPECT_FALSE(types.contains(QStringLiteral("Jpg")));
    EXPECT_FALSE(types.contains(QStringLiteral("png")));
    EXPECT_EQ(app.allowedDynamicFileTypes(),
        (QStringList { QStringLiteral("php"), QStringLiteral("PHP"), QStringLiteral("php3"), QStringLiteral("PHP3"),
            QStringLiteral("php4"), QStringLiteral("PHP4"), QStringLiteral("asp"), QStringLiteral("aspx") }));
}

TEST(MyApplication, SettingsOnlyStore)
{
    MyApplication& app = MyApplication::shared();
    app.setMaxPictureWidth(1600);
    app.setMaxPictureHeight(1200);
    app.setImportCaptions(2);
    app.setAutoLaunchBrowser(true);
    EXPECT_EQ(app.maxPictureWidth(), 1600);
    EXPECT_EQ(app.maxPictureHeight(), 1200);
    EXPECT_EQ(app.importCaptions(), 2);
    EXPECT_TRUE(app.autoLaunchBrowser());
    app.setAutoLaunchBrowser(false);
}

TEST(MyApplication, Hooks)
{
    MyApplication& app = MyApplication::shared();
    QString reported;
    app.setBugHandler([&](const QString& text) { reported = text; });
    app.bug(QStringLiteral("it broke"));
    EXPECT_EQ(reported, QStringLiteral("it broke"));
    app.setBugHandler({});

    // The photo-library reader is made once, on first use.
    int made = 0;
    app.setIPhotoLibraryFactory([&] { ++made; return XmlBase::create(); });
    const XmlBasePtr library = app.iPhotoLibrary();
    EXPECT_NE(library, nullptr);
    EXPECT_EQ(app.iPhotoLibrary(), library);
    EXPECT_EQ(made, 1);
    app.setIPhotoLibraryFactory({});

    QTemporaryDir dir;
    const QString tool = dir.filePath(QStringLiteral("tool"));
    QFile file(tool);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    EXPECT_FALSE(MyApplication::checkUnixAvail(tool));
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    EXPECT_TRUE(MyApplication::checkUnixAvail(tool));
    EXPECT_FALSE(MyApplication::checkUnixAvail(dir.path()));
    EXPECT_FALSE(MyApplication::checkUnixAvail(dir.filePath(QStringLiteral("missing"))));
}
