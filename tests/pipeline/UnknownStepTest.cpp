// Build scripts naming a step the factory does not know: the build goes on
// with the steps it knows, and ends failed, naming the unknown one.
#include "model/core/XmlTextFormat.h"
#include "pipeline/XmlProcessor.h"
#include "platform/Escaping.h"
#include "support/StarterSite.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class UnknownStepTest : public StarterSiteTest {
protected:
    UnknownStepTest()
        : StarterSiteTest(QStringLiteral("Steps.lqxl"))
    {
    }

    // A step that writes the text to the generated site's file.
    static QString createStep(const QString& filename)
    {
        QString step = QStringLiteral("<QZcreate dir=\"homepage\" filename=\"") + filename + QStringLiteral("\">");
        XmlTextFormat::appendVerbatimBlock(step, filename);
        return step + QStringLiteral("</QZcreate>");
    }
};

TEST_F(UnknownStepTest, FailsTheBuildWithTheStepsNameWhileTheKnownStepsRun)
{
    struct Case {
        const char* root;       // the script's element
        const char* unknown;    // a step of that name between two known ones, or none
        const char* named;      // the name the failure gives
        bool knownStepsRun;
    };
    const Case cases[] = {
        // A step of a newer program, or a misspelt one, amid known steps.
        { "QZprocessor", "QZcreateWebPage", "QZcreateWebPage", true },
        { "QZprocessor", "QZcopyy", "QZcopyy", true },
        // A script that is no script: nothing in it runs.
        { "QZprocesor", nullptr, "QZprocesor", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named);
        document.queue().clearFailedSteps();
        ASSERT_TRUE(document.buildMayBePublished()) << document.lastError().toStdString();
        const QString before = QStringLiteral("before-%1.txt").arg(QLatin1String(c.named));
        const QString after = QStringLiteral("after-%1.txt").arg(QLatin1String(c.named));
        const QString root = QLatin1String(c.root);
        QString script = QLatin1Char('<') + root + QStringLiteral(" rootDir=\"") + lq::escape(folder)
            + QStringLiteral("\" status=\"Writing\">") + createStep(before);
        if (c.unknown)
            script += QLatin1Char('<') + QLatin1String(c.unknown) + QStringLiteral(" dir=\"homepage\" filename=\"x.html\"/>");
        script += createStep(after) + QStringLiteral("</") + root + QLatin1Char('>');

        auto processor = XmlProcessor::createWithScript(script);
        // The text is overwritten before the steps run: what the steps keep
        // of it must be their own.
        script.fill(QLatin1Char('x'));
        document.startProcessor(std::move(processor));
        runQueue();

        EXPECT_EQ(QFileInfo::exists(homepage(before)), c.knownStepsRun);
        EXPECT_EQ(QFileInfo::exists(homepage(after)), c.knownStepsRun);
        EXPECT_EQ(document.queue().failedSteps(), 1) << document.activityText().toStdString();
        const QString line = QStringLiteral("Unknown build step <") + QLatin1String(c.named) + QLatin1Char('>');
        EXPECT_TRUE(document.queue().firstFailure().startsWith(line)) << document.queue().firstFailure().toStdString();
        EXPECT_TRUE(document.activityText().contains(line)) << document.activityText().toStdString();
        EXPECT_FALSE(document.buildMayBePublished());
        EXPECT_TRUE(document.lastError().contains(QLatin1String(c.named))) << document.lastError().toStdString();
    }
}

} // namespace
