// A Vorn Box's settings as the inspector changes them on a site made from
// the shipped starter: each change is an edit of the document (the movie's
// sizes excepted), and every setting is what the reopened site has.
#include "document/MyDocument.h"
#include "elements/XmlVornBox.h"
#include "theme/XmlTheme.h"
#include "support/StarterSite.h"
#include "templates/XmlStyleSheet.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class VornBoxSettingsTest : public StarterSiteTest {
protected:
    VornBoxSettingsTest()
        : StarterSiteTest(QStringLiteral("Boxes.lqxl"))
    {
    }

    // The one Vorn Box of the document's theme, or nothing.
    static XmlVornBox* boxOf(MyDocument& document)
    {
        for (const auto& sheet : document.theme()->childrenOfType<XmlStyleSheet>()) {
            const auto boxes = sheet->childrenOfType<XmlVornBox>();
            if (!boxes.isEmpty())
                return boxes.first().get();
        }
        return nullptr;
    }
};

// One setting: its change to a value a new box does not have, whether the
// change is an edit, and the check that a box holds it.
struct Setting {
    const char* name;
    std::function<void(XmlVornBox&)> change;
    bool edits;
    std::function<bool(const XmlVornBox&)> holds;
};

const QString address = QStringLiteral("http://example.com/a b?c=1&d=\"2\"");

std::vector<Setting> everySetting()
{
    // The type first: a layer is kept only by a layer box.
    return {
        { "type", [](XmlVornBox& b) { b.settings().setType(3); }, true, [](const XmlVornBox& b) { return b.type() == 3; } },
        { "zlocation", [](XmlVornBox& b) { b.settings().setZlocation(QStringLiteral("Middle")); }, true,
          [](const XmlVornBox& b) { return b.zlocation() == u"Middle"; } },
        { "externalType", [](XmlVornBox& b) { b.settings().setExternalType(2); }, true,
          [](const XmlVornBox& b) { return b.settings().externalType() == 2; } },
        { "externalHTML", [](XmlVornBox& b) { b.settings().setExternalHTML(address); }, true,
          [](const XmlVornBox& b) { return b.settings().externalHTML() == address; } },
        { "fullname", [](XmlVornBox& b) { b.setFullname(QStringLiteral("Banner <1>")); }, true,
          [](const XmlVornBox& b) { return b.fullname() == u"Banner <1>"; } },
        { "scrollbars", [](XmlVornBox& b) { b.settings().setScrollbars(true); }, true, [](const XmlVornBox& b) { return b.settings().scrollbars(); } },
        { "autostart", [](XmlVornBox& b) { b.settings().setAutostart(true); }, true, [](const XmlVornBox& b) { return b.settings().autostart(); } },
        { "moviecontroller", [](XmlVornBox& b) { b.settings().setMoviecontroller(true); }, true,
          [](const XmlVornBox& b) { return b.settings().moviecontroller(); } },
        { "loopmovie", [](XmlVornBox& b) { b.settings().setLoopmovie(true); }, true, [](const XmlVornBox& b) { return b.settings().loopmovie(); } },
        { "scale", [](XmlVornBox& b) { b.settings().setScale(1); }, true, [](const XmlVornBox& b) { return b.settings().scale() == 1; } },
        { "clickLinkTo", [](XmlVornBox& b) { b.settings().setClickLinkTo(address); }, true,
          [](const XmlVornBox& b) { return b.settings().clickLinkTo() == address; } },
        { "rollOverImage", [](XmlVornBox& b) { b.settings().setRollOverImage(QStringLiteral("over & out.png")); }, true,
          [](const XmlVornBox& b) { return b.settings().rollOverImage() == u"over & out.png"; } },
        { "newWindow", [](XmlVornBox& b) { b.settings().setNewWindow(true); }, true, [](const XmlVornBox& b) { return b.settings().newWindow(); } },
        { "hiddenQT", [](XmlVornBox& b) { b.settings().setHiddenQT(1); }, true, [](const XmlVornBox& b) { return b.settings().hiddenQT() == 1; } },
        { "wrapsText", [](XmlVornBox& b) { b.settings().setWrapsText(true); }, true, [](const XmlVornBox& b) { return b.settings().wrapsText(); } },
        { "qtSize", [](XmlVornBox& b) { b.settings().setQTSize(lq::Size(320, 240)); }, false,
          [](const XmlVornBox& b) { return b.settings().qtSize() == lq::Size(320, 240); } },
        { "baseSize", [](XmlVornBox& b) { b.settings().setBaseSize(lq::Size(64, 48)); }, false,
          [](const XmlVornBox& b) { return b.settings().baseSize() == lq::Size(64, 48); } },
    };
}

} // namespace

TEST_F(VornBoxSettingsTest, EachSettingIsAnEditAndEverySettingIsWhatTheReopenedSiteHas)
{
    XmlStyleSheet* sheet = templateNumbered(1);
    ASSERT_NE(sheet, nullptr);
    const auto box = sheet->addVornBox();
    const int number = box->vornSeqNum();
    ASSERT_TRUE(document.saveFileWithComment(folder, QStringLiteral("with a box")));

    const std::vector<Setting> settings = everySetting();
    for (const Setting& setting : settings) {
        ASSERT_FALSE(setting.holds(*box)) << setting.name << " already has the test's value";
        document.clearChangeCount();
        setting.change(*box);
        EXPECT_TRUE(setting.holds(*box)) << setting.name;
        EXPECT_EQ(document.isDocumentEdited(), setting.edits) << setting.name;
    }
    ASSERT_TRUE(document.saveFileWithComment(folder, QStringLiteral("settings")));

    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
    XmlVornBox* read = boxOf(reopened);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->vornSeqNum(), number);
    for (const Setting& setting : settings)
        EXPECT_TRUE(setting.holds(*read)) << setting.name;
    EXPECT_FALSE(reopened.isDocumentEdited());
}
