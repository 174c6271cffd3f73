// The slideshow's settings as the inspector changes them on a site made
// from the shipped starter: each change is an edit of the document, and
// every setting is what the reopened site has.
#include "document/MyDocument.h"
#include "elements/XmlSlideshow.h"
#include "theme/XmlTheme.h"
#include "support/StarterSite.h"
#include "templates/XmlStyleSheet.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class SlideshowSettingsTest : public StarterSiteTest {
protected:
    SlideshowSettingsTest()
        : StarterSiteTest(QStringLiteral("Slides.lqxl"))
    {
    }

    // The slideshow of the theme's first template that has one.
    static XmlSlideshow* slideshowOf(MyDocument& document)
    {
        for (const XmlBasePtr& child : document.theme()->children()) {
            if (auto* sheet = XmlStyleSheet::cast(child.get()))
                if (auto* slideshow = XmlSlideshow::cast(sheet->getElementWithName(QStringLiteral("Slideshow")).get()))
                    return slideshow;
        }
        return nullptr;
    }
};

// One setting: its change to a value no starter template has, and the check
// that a slideshow holds it.
struct Setting {
    const char* name;
    std::function<void(XmlSlideshow&)> change;
    std::function<bool(XmlSlideshow&)> holds;
};

const QString label = QStringLiteral("«Next» <&\"'>");

std::vector<Setting> everySetting()
{
    return {
        { "style", [](XmlSlideshow& s) { s.settings().setStyle(1); }, [](XmlSlideshow& s) { return s.style() == 1; } },
        { "showCaptions", [](XmlSlideshow& s) { s.settings().setShowCaptions(0); },
          [](XmlSlideshow& s) { return s.settings().showCaptions() == 0; } },
        { "showPrevNextControls", [](XmlSlideshow& s) { s.settings().setShowPrevNextControls(false); },
          [](XmlSlideshow& s) { return !s.settings().showPrevNextControls(); } },
        { "nextLabel", [](XmlSlideshow& s) { s.settings().setNextLabel(label); }, [](XmlSlideshow& s) { return s.settings().nextLabel() == label; } },
        { "prevLabel", [](XmlSlideshow& s) { s.settings().setPrevLabel(QStringLiteral("Back")); },
          [](XmlSlideshow& s) { return s.settings().prevLabel() == u"Back"; } },
        { "showPlayControls", [](XmlSlideshow& s) { s.settings().setShowPlayControls(false); },
          [](XmlSlideshow& s) { return !s.settings().showPlayControls(); } },
        { "playLabel", [](XmlSlideshow& s) { s.settings().setPlayLabel(QStringLiteral("Go")); },
          [](XmlSlideshow& s) { return s.settings().playLabel() == u"Go"; } },
        { "stopLabel", [](XmlSlideshow& s) { s.settings().setStopLabel(QStringLiteral("Halt")); },
          [](XmlSlideshow& s) { return s.settings().stopLabel() == u"Halt"; } },
        { "showBeforeAfterControls", [](XmlSlideshow& s) { s.settings().setShowBeforeAfterControls(false); },
          [](XmlSlideshow& s) { return !s.settings().showBeforeAfterControls(); } },
        { "beforeLabel", [](XmlSlideshow& s) { s.settings().setBeforeLabel(QStringLiteral("Then")); },
          [](XmlSlideshow& s) { return s.settings().beforeLabel() == u"Then"; } },
        { "afterLabel", [](XmlSlideshow& s) { s.settings().setAfterLabel(QStringLiteral("Now")); },
          [](XmlSlideshow& s) { return s.settings().afterLabel() == u"Now"; } },
        { "thumbRollovers", [](XmlSlideshow& s) { s.settings().setThumbRollovers(true); },
          [](XmlSlideshow& s) { return s.settings().thumbRollovers(); } },
        { "slideRollovers", [](XmlSlideshow& s) { s.settings().setSlideRollovers(true); },
          [](XmlSlideshow& s) { return s.settings().slideRollovers(); } },
        { "reverseThumbs", [](XmlSlideshow& s) { s.settings().setReverseThumbs(true); },
          [](XmlSlideshow& s) { return s.settings().reverseThumbs(); } },
        { "randomOrder", [](XmlSlideshow& s) { s.settings().setRandomOrder(true); }, [](XmlSlideshow& s) { return s.settings().randomOrder(); } },
        { "showIndexLabel", [](XmlSlideshow& s) { s.settings().setShowIndexLabel(false); },
          [](XmlSlideshow& s) { return !s.settings().showIndexLabel(); } },
        { "indexLabel", [](XmlSlideshow& s) { s.settings().setIndexLabel(QStringLiteral("Index")); },
          [](XmlSlideshow& s) { return s.settings().indexLabel() == u"Index"; } },
        { "seconds", [](XmlSlideshow& s) { s.settings().setSeconds(12); }, [](XmlSlideshow& s) { return s.settings().seconds() == 12; } },
        { "autoStart", [](XmlSlideshow& s) { s.settings().setAutoStart(true); }, [](XmlSlideshow& s) { return s.settings().autoStart(); } },
        { "fade", [](XmlSlideshow& s) { s.settings().setFade(true); }, [](XmlSlideshow& s) { return s.settings().fade(); } },
        { "showBkgndBox", [](XmlSlideshow& s) { s.settings().setShowBkgndBox(false); },
          [](XmlSlideshow& s) { return !s.settings().showBkgndBox(); } },
        { "allowBkgndImage", [](XmlSlideshow& s) { s.settings().setAllowBkgndImage(false); },
          [](XmlSlideshow& s) { return !s.allowBkgndImage(); } },
        { "topAlignPic", [](XmlSlideshow& s) { s.settings().setTopAlignPic(true); }, [](XmlSlideshow& s) { return s.settings().topAlignPic(); } },
        { "loopSlideshow", [](XmlSlideshow& s) { s.settings().setLoopSlideshow(false); },
          [](XmlSlideshow& s) { return !s.settings().loopSlideshow(); } },
    };
}

} // namespace

TEST_F(SlideshowSettingsTest, EachSettingIsAnEditAndEverySettingIsWhatTheReopenedSiteHas)
{
    XmlSlideshow* slideshow = slideshowOf(document);
    ASSERT_NE(slideshow, nullptr);
    ASSERT_TRUE(document.saveFileWithComment(folder, QStringLiteral("new")));
    const std::vector<Setting> settings = everySetting();
    for (const Setting& setting : settings) {
        ASSERT_FALSE(setting.holds(*slideshow)) << setting.name << " already has the test's value";
        document.clearChangeCount();
        setting.change(*slideshow);
        EXPECT_TRUE(setting.holds(*slideshow)) << setting.name;
        EXPECT_TRUE(document.isDocumentEdited()) << setting.name;
    }
    // The stored rectangles of a free style are the layout's, not an edit of their own.
    const QString controls = QStringLiteral("{{1, 2}, {3, 4}}|{{5, 6}, {7, 8}}|{{9, 10}, {11, 12}}");
    slideshow->settings().setControlString(controls);
    ASSERT_TRUE(document.saveFileWithComment(folder, QStringLiteral("settings")));

    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
    XmlSlideshow* read = slideshowOf(reopened);
    ASSERT_NE(read, nullptr);
    for (const Setting& setting : settings)
        EXPECT_TRUE(setting.holds(*read)) << setting.name;
    EXPECT_EQ(read->settings().controlString(), controls);
    EXPECT_EQ(read->settings().controlRect(1), lq::Rect(5, 6, 7, 8));
    EXPECT_FALSE(reopened.isDocumentEdited());
}
