#include "ui/widgets/WidgetServices.h"

#include "model/site/XmlSite.h"
#include "platform/text/InPlaceTextEditor.h"
#include "ui/widgets/CanvasTextEditor.h"
#include "support/LogCapture.h"
#include "support/ScopedServices.h"
#include "support/ui/ScriptedModalHandler.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// With the widget kit's hooks in place, as the program has them, the model's
// alerts are shown through the modal handler, with their one button, and an
// in-place edit opens the canvas text editor.
TEST(WidgetServices, TheModelsAlertsAndInPlaceEditsReachTheWidgetKit)
{
    ScopedModalHandler modal;
    const ScopedServices widgets(lq::registerWidgetServices);

    QTemporaryDir dir;
    const QString missing = dir.path() + QStringLiteral("/gone.lqxl");
    const auto site = XmlSite::create();
    site->setRootDir(missing);
    const LogCapture log;
    EXPECT_EQ(site->rootDir(), missing);
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("Fatal Error!"));
    EXPECT_TRUE(modal.state->alerts[0].message.contains(missing));
    EXPECT_EQ(modal.state->alerts[0].buttons, (QStringList { QStringLiteral("OK") }));

    const std::unique_ptr<lq::InPlaceTextEditor> editor = lq::InPlaceTextEditor::make();
    EXPECT_NE(dynamic_cast<lq::CanvasTextEditor*>(editor.get()), nullptr);
}

} // namespace
