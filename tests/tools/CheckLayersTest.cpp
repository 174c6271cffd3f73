// tools/check-layers, run on this source tree and on copies of it with one
// include planted where the layers of docs/architecture.md forbid or allow it.
#include "platform/FileHelpers.h"
#include "platform/Process.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString sourceDir = QStringLiteral(LQ_SOURCE_DIR);

lq::ProcessResult checkLayers(const QString& root)
{
    return lq::runProcess(sourceDir + QStringLiteral("/tools/check-layers"), { root });
}

// A tree of the architecture notes and one source file: the file of this
// tree (below src/, made when missing) with one more include at its head.
// The rules come from the notes alone, so the rest of src/ need not be there;
// the file's own includes stay, and must still pass.
class PlantedTree {
public:
    PlantedTree(const QString& file, const QString& include)
    {
        EXPECT_TRUE(dir.isValid());
        EXPECT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("docs"))));
        EXPECT_TRUE(lq::copyItem(sourceDir + QStringLiteral("/docs/architecture.md"), dir.filePath(QStringLiteral("docs/architecture.md"))));
        const QString path = dir.filePath(QStringLiteral("src/") + file);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        const QString original = sourceDir + QStringLiteral("/src/") + file;
        const QByteArray before = QFileInfo::exists(original) ? readAll(original) : QByteArray();
        writeAll(path, "#include \"" + include.toUtf8() + "\"\n" + before);
    }
    QString root() const { return dir.path(); }

private:
    QTemporaryDir dir;
};

} // namespace

TEST(CheckLayers, TheTreeKeepsToItsLayers)
{
    const lq::ProcessResult result = checkLayers(sourceDir);
    EXPECT_TRUE(result.succeeded()) << result.output.constData() << result.error.constData();
    EXPECT_TRUE(result.output.isEmpty()) << result.output.constData();
}

TEST(CheckLayers, AnIncludeAgainstTheLayersFailsWithFileLineAndRule)
{
    struct Case {
        const char* file;
        const char* include;
        const char* rule; // what the report says of it; nothing: the include is allowed
    };
    const Case cases[] = {
        // The model never includes the pipeline, nor the application services.
        { "model/site/XmlSite.cpp", "pipeline/XmlProcessor.h", "src/model/site may include" },
        { "model/core/XmlBase.cpp", "model/application/MyApplication.h", "src/model/core may include" },
        { "model/feed/XmlRSSItem.cpp", "model/site/XmlWebItem.h", "src/model/feed may include" },
        // The factory names the model's classes, but the pipeline registers its own.
        { "model/core/XmlBaseFactory.cpp", "pipeline/XmlCopy.h", "src/model/core/XmlBaseFactory.cpp may include" },
        { "model/core/XmlBaseFactory.cpp", "elements/XmlWebMenu.h", nullptr },
        // The pipeline never includes the site document; the document never the interface.
        { "pipeline/XmlCopy.cpp", "document/MyDocument.h", "src/pipeline may include" },
        { "document/MyDocument.cpp", "app/MyDocumentWindow.h", "src/document may include" },
        // The widget kit never includes the model.
        { "platform/widgets/ControlTags.cpp", "model/core/XmlBase.h", "src/platform/widgets may include" },
        { "platform/Log.cpp", "platform/widgets/ModalHandler.h", "src/platform may include" },
        // The interface: the editors below the shell, the layout editor above
        // it, and the shell reaching the layout editor only from its entry point.
        { "editors/photo/ImageWell.cpp", "document/MyDocument.h", nullptr },
        { "editors/photo/ImageWell.cpp", "app/MyDocumentWindow.h", "src/editors may include" },
        { "editors/photo/ImageWell.cpp", "layout/LayoutController.h", "src/editors may include" },
        { "layout/LayoutController.cpp", "editors/CollageThumb.h", nullptr },
        { "app/MyDocumentWindow.cpp", "layout/LayoutController.h", "src/app may include" },
        { "app/main.cpp", "layout/QZLayoutView.h", nullptr },
        // Within the pages, templates and elements include one another.
        { "elements/XmlWebMenu.cpp", "templates/XmlStyleSheet.h", nullptr },
        // A folder without a row, or an include of one, fails.
        { "widgetsnew/Thing.cpp", "platform/Log.h", "has no row" },
        { "templates/XmlCSS.cpp", "nowhere/Thing.h", "has no row" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " <- " + c.include);
        const PlantedTree tree(QString::fromLatin1(c.file), QString::fromLatin1(c.include));
        const lq::ProcessResult result = checkLayers(tree.root());
        ASSERT_TRUE(result.started) << result.startError.toStdString();
        const QString report = QString::fromUtf8(result.output);
        if (!c.rule) {
            EXPECT_TRUE(result.succeeded()) << report.toStdString();
            continue;
        }
        EXPECT_EQ(result.exitCode, 1);
        ASSERT_EQ(report.count(QLatin1Char('\n')), 1) << "only the planted include: " << report.toStdString();
        EXPECT_TRUE(report.startsWith(QStringLiteral("src/") + QString::fromLatin1(c.file))) << report.toStdString();
        EXPECT_TRUE(report.contains(QString::fromLatin1(c.rule))) << report.toStdString();
        if (!report.contains(QStringLiteral("its folder has no row"))) {
            EXPECT_TRUE(report.contains(QStringLiteral(":1: includes \"") + QString::fromLatin1(c.include) + QLatin1Char('"')))
                << report.toStdString();
        }
    }
}
