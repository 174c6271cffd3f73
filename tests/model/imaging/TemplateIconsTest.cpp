#include "model/imaging/TemplateIcons.h"
#include "model/imaging/XmlImage.h"
#include "platform/ImageFiles.h"
#include "platform/Resources.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

TEST(TemplateIcons, SlotsHoldTheNumberedIconsForTheRun)
{
    const auto pixelsOf = [](const QString& name) {
        return lq::loadImageFile(lq::resourcePath(QStringLiteral("templates/") + name))
            .convertToFormat(QImage::Format_RGBA8888);
    };
    const std::shared_ptr<XmlImage> fourth = lq::ticon(3);
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(fourth->image().toQImage().convertToFormat(QImage::Format_RGBA8888), pixelsOf(QStringLiteral("ticon4.png")));
    EXPECT_NE(fourth->image().toQImage().convertToFormat(QImage::Format_RGBA8888), pixelsOf(QStringLiteral("ticon1.png")));
    EXPECT_EQ(fourth->bodyRect().size, fourth->image().size());
    EXPECT_EQ(lq::ticon(3), fourth) << "kept, not read again";
    EXPECT_EQ(lq::ticon(9), lq::ticon(0));
    EXPECT_EQ(lq::ticon(-1), lq::ticon(0));
    EXPECT_NE(lq::ticon(6), lq::ticon(0));
}
