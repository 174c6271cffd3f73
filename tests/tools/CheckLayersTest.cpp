// tools/check-layers, run on this source tree and on copies of it with one
// include planted where the layers of docs/architecture.md forbid or allow it.
#include "platform/FileHelpers.h"
#include "support/SourceTools.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString sourceDir = QStringLiteral(LQ_SOURCE_DIR);

lq::ProcessResult checkLayers(const QString& root)
{
    return runSourceTool(QStringLiteral("check-layers"), root);
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
        { "model/core/XmlBase.cpp", "application/MyApplication.h", "src/model/core may include" },
        { "model/feed/XmlRSSItem.cpp", "model/site/XmlWebItem.h", "src/model/feed may include" },
        // The factory knows no class above the element base: each row registers its own.
        { "model/core/ElementFactory.cpp", "pipeline/XmlCopy.h", "src/model/core may include" },
        { "model/core/ElementFactory.cpp", "elements/XmlWebMenu.h", "src/model/core may include" },
        { "model/core/ElementPasteboard.cpp", "model/files/XmlFile.h", "src/model/core may include" },
        // The pipeline never includes the site document; the document never the interface.
        { "pipeline/XmlCopy.cpp", "document/MyDocument.h", "src/pipeline may include" },
        { "document/MyDocument.cpp", "ui/app/MyDocumentWindow.h", "src/document may include" },
        // The widget kit never includes the model.
        { "ui/widgets/ControlTags.cpp", "model/core/XmlBase.h", "src/ui/widgets may include" },
        { "platform/Log.cpp", "ui/widgets/ModalHandler.h", "src/platform may include" },
        // The interface: the editors below the shell, the layout editor above
        // it, and the shell reaching the layout editor only from its entry point.
        { "ui/editors/photo/ImageWell.cpp", "document/MyDocument.h", nullptr },
        { "ui/editors/photo/ImageWell.cpp", "ui/app/MyDocumentWindow.h", "src/ui/editors may include" },
        { "ui/editors/photo/ImageWell.cpp", "ui/layout/LayoutController.h", "src/ui/editors may include" },
        { "ui/layout/LayoutController.cpp", "ui/editors/CollageThumb.h", nullptr },
        { "ui/app/MyDocumentWindow.cpp", "ui/layout/LayoutController.h", "src/ui/app may include" },
        { "ui/app/main.cpp", "ui/layout/QZLayoutView.h", nullptr },
        // Pages, then templates, then the elements they lay out, then the theme.
        { "elements/XmlWebMenu.cpp", "templates/XmlStyleSheet.h", nullptr },
        { "templates/XmlCSS.cpp", "model/site/XmlAlbum.h", nullptr },
        { "templates/XmlStyleSheet.cpp", "elements/XmlVornBox.h", "src/templates may include" },
        { "model/site/XmlAlbum.cpp", "templates/XmlStyleSheet.h", "src/model/site may include" },
        { "model/site/XmlPhoto.cpp", "elements/XmlWebPhotoAlbum.h", "src/model/site may include" },
        { "elements/XmlWebMenu.cpp", "theme/XmlTheme.h", "src/elements may include" },
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

TEST(CheckLayers, ALibraryRowLinkedAgainstTheLayersFails)
{
    // The build's rows as this tree has them, with one row's links changed.
    struct Case {
        const char* row;
        const char* linked; // the row's links in the changed build
        const char* report;
    };
    const Case cases[] = {
        // The pages linked with the templates that lay them out: a circle.
        { "lq_model_site FOLDERS model/site USES lq_model_imaging lq_model_feed",
          "lq_model_site FOLDERS model/site USES lq_model_imaging lq_model_feed lq_templates",
          "the row lq_model_site (src/model/site) links model/site, templates beyond" },
        // The pipeline without the theme it may use.
        { "lq_pipeline FOLDERS pipeline USES lq_theme", "lq_pipeline FOLDERS pipeline USES lq_elements",
          "the row lq_pipeline (src/pipeline) links nothing beyond its row of docs/architecture.md and lacks theme" },
        // The editors linked with the shell above them.
        { "lq_editors FOLDERS ui/editors USES lumenquill_core lq_application lq_widgets",
          "lq_editors FOLDERS ui/editors USES lumenquill_core lq_application lq_app",
          "the row lq_editors (src/ui/editors) links ui/app, ui/editors" },
    };
    const QByteArray build = readAll(sourceDir + QStringLiteral("/CMakeLists.txt"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.linked);
        ASSERT_TRUE(build.contains(c.row));
        QTemporaryDir dir;
        ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("src"))));
        ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("docs"))));
        ASSERT_TRUE(lq::copyItem(sourceDir + QStringLiteral("/docs/architecture.md"), dir.filePath(QStringLiteral("docs/architecture.md"))));
        writeAll(dir.filePath(QStringLiteral("CMakeLists.txt")), QByteArray(build).replace(c.row, c.linked));
        const lq::ProcessResult result = checkLayers(dir.path());
        ASSERT_TRUE(result.started) << result.startError.toStdString();
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.output.contains(c.report)) << result.output.constData();
    }
}
