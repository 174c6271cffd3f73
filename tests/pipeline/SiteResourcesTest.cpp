// The files every generated site may receive: the site script, the
// lightbox and the bitmaps, found by the resource lookup and copied by the
// copy step.
#include "pipeline/XmlProcessor.h"
#include "platform/Escaping.h"
#include "platform/Resources.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SiteResources, BitmapsHaveTheSizesThePagesGiveThem)
{
    const struct {
        const char* name;
        int width;
        int height; // 0: any
    } bitmaps[] = {
        { "blank.gif", 1, 1 },      { "transparent.gif", 1, 1 }, { "createdwith.gif", 99, 31 },
        { "close.gif", 0, 0 },      { "loading.gif", 0, 0 },     { "next.gif", 0, 0 },
        { "prev.gif", 0, 0 },       { "buynow.png", 86, 0 },     { "addtocart.png", 96, 0 },
    };
    for (const auto& bitmap : bitmaps) {
        const QImage image(lq::resourcePath(QStringLiteral("site/") + QLatin1String(bitmap.name)));
        ASSERT_FALSE(image.isNull()) << bitmap.name;
        if (bitmap.width) {
            EXPECT_EQ(image.width(), bitmap.width) << bitmap.name;
        }
        if (bitmap.height) {
            EXPECT_EQ(image.height(), bitmap.height) << bitmap.name;
        }
    }
    // The clear pictures are clear; the spinner turns.
    for (const char* name : { "blank.gif", "transparent.gif" })
        EXPECT_EQ(qAlpha(QImage(lq::resourcePath(QStringLiteral("site/") + QLatin1String(name))).pixel(0, 0)), 0) << name;
    QImageReader spinner(lq::resourcePath(QStringLiteral("site/loading.gif")));
    EXPECT_GT(spinner.imageCount(), 1);
}

TEST(SiteResources, CopyStepsBringTheScriptAndTheLightboxIntoTheSite)
{
    QTemporaryDir site;
    ASSERT_TRUE(site.isValid());
    ASSERT_TRUE(QDir(site.path()).mkpath(QStringLiteral("homepage/bitmaps")));
    const QStringList files = { "lumenquill.js", "lightbox.js", "lightbox.css", "prototype.js", "scriptaculous.js", "effects.js" };
    const QStringList bitmaps = { "close.gif", "loading.gif", "next.gif", "prev.gif", "transparent.gif", "buynow.png" };
    QString steps;
    for (const QString& name : files)
        steps += QStringLiteral("<QZcopy dir=\"homepage\" filename=\"") + name + QStringLiteral("\" />\n");
    for (const QString& name : bitmaps)
        steps += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"") + name + QStringLiteral("\" />\n");
    const auto processor = std::dynamic_pointer_cast<XmlProcessor>(XmlBase::createWithXmlRootDir(
        QStringLiteral("<QZprocessor rootDir=\"") + lq::escape(site.path()) + QStringLiteral("\" status=\"Page\">\n")
            + steps + QStringLiteral("</QZprocessor>\n"),
        QString()));
    ASSERT_TRUE(processor);
    processor->run();
    for (const QString& name : files)
        EXPECT_EQ(readAll(site.filePath(QStringLiteral("homepage/") + name)), readAll(lq::resourcePath(QStringLiteral("site/") + name)))
            << qPrintable(name);
    for (const QString& name : bitmaps)
        EXPECT_TRUE(QFileInfo::exists(site.filePath(QStringLiteral("homepage/bitmaps/") + name))) << qPrintable(name);
}
