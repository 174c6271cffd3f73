#include "ui/widgets/PreviewWidgets.h"

#include "support/EventLoop.h"
#include "support/LogCapture.h"
#include "support/TestFiles.h"
#include "support/TestMovie.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWidget>

namespace {

struct Installed {
    explicit Installed(QWidget* canvas) { lq::installPreviewWidgets(canvas); }
    ~Installed() { lq::installPreviewWidgets(nullptr); }
};

} // namespace

TEST(PreviewWidgets, AWebPreviewShowsThePageOverTheCanvas)
{
    QTemporaryDir folder;
    const QString files = folder.filePath(QStringLiteral("a b/files/"));
    ASSERT_TRUE(QDir().mkpath(files));
    QWidget canvas;
    canvas.resize(400, 300);
    canvas.setAutoFillBackground(true);
    QPalette red = canvas.palette();
    red.setColor(QPalette::Window, Qt::red);
    canvas.setPalette(red);
    Installed installed(&canvas);
    ASSERT_TRUE(lq::PreviewView::canShow(lq::PreviewView::Kind::Web)) << qPrintable(lq::webEngineUnavailability());

    std::unique_ptr<lq::PreviewView> view = lq::PreviewView::make(lq::PreviewView::Kind::Web, lq::Rect(10, 20, 200, 100));
    auto* browser = dynamic_cast<lq::WebPreviewWidget*>(view.get());
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->parentWidget(), &canvas);
    EXPECT_EQ(browser->geometry(), QRect(10, 20, 200, 100));
    // Page coordinates: the view moves with the canvas's page origin.
    lq::setPreviewOrigin(&canvas, QPoint(30, 5));
    EXPECT_EQ(browser->geometry(), QRect(40, 25, 200, 100));
    view->setFrame(lq::Rect(5, 6, 70, 80));
    EXPECT_EQ(browser->geometry(), QRect(35, 11, 70, 80));
    lq::setPreviewOrigin(&canvas, QPoint());
    view->setFrame(lq::Rect(10, 20, 200, 100));

    view->setDrawsBackground(false);
    EXPECT_EQ(browser->page()->backgroundColor().alpha(), 0);
    const QUrl base = QUrl::fromLocalFile(files);
    view->loadHTMLString(QStringLiteral("<html><head><base href=\"") + base.toString(QUrl::FullyEncoded)
                         + QStringLiteral("\" ></head><body style=\"margin:0\"><div id=\"t\"></div>"
                                          "<script>document.getElementById('t').textContent = 'Hello ' + 'there';</script></body></html>"));
    EXPECT_EQ(browser->baseUrl(), base);
    canvas.show();
    ASSERT_TRUE(processEventsUntil([&] { return browser->isLoaded(); }, 60000));
    QString text;
    browser->page()->toPlainText([&](const QString& result) { text = result; });
    ASSERT_TRUE(processEventsUntil([&] { return !text.isEmpty(); }, 60000));
    // The script ran.
    EXPECT_EQ(text.trimmed(), QStringLiteral("Hello there"));

    view->setHidden(true);
    EXPECT_TRUE(browser->QWidget::isHidden());
    view->setHidden(false);
    // The canvas shows through where the page has no ink.
    const QImage shot = canvas.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(150, 110)), QColor(Qt::red));
}

TEST(PreviewWidgets, WithoutTheWebEnginesHelperWebPreviewsArePlaceholders)
{
    const QByteArray saved = qgetenv("QTWEBENGINE_PROCESS_PATH");
    qputenv("QTWEBENGINE_PROCESS_PATH", "/nonexistent/QtWebEngineProcess");
    LogCapture log;
    QWidget canvas;
    {
        Installed installed(&canvas);
        EXPECT_FALSE(lq::PreviewView::canShow(lq::PreviewView::Kind::Web));
        EXPECT_TRUE(lq::PreviewView::canShow(lq::PreviewView::Kind::Movie));
        EXPECT_EQ(log.lines, QStringList {QStringLiteral("Web previews are drawn as placeholders: the web engine's helper process is missing: "
                                                         "/nonexistent/QtWebEngineProcess")});
        // No web engine view is made.
        std::unique_ptr<lq::PreviewView> view = lq::PreviewView::make(lq::PreviewView::Kind::Web, lq::Rect(0, 0, 10, 10));
        EXPECT_EQ(dynamic_cast<QWidget*>(view.get()), nullptr);
    }
    saved.isNull() ? qunsetenv("QTWEBENGINE_PROCESS_PATH") : qputenv("QTWEBENGINE_PROCESS_PATH", saved);
    EXPECT_TRUE(lq::PreviewView::canShow(lq::PreviewView::Kind::Web));
}

TEST(PreviewWidgets, AMoviePreviewNamesTheFileAndItsSize)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("clip.mov"));
    writeAll(path, testmovie::movie(320, 240));
    QWidget canvas;
    Installed installed(&canvas);

    std::unique_ptr<lq::PreviewView> view = lq::PreviewView::make(lq::PreviewView::Kind::Movie, lq::Rect(0, 0, 320, 256));
    auto* widget = dynamic_cast<lq::MoviePreviewWidget*>(view.get());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->label(), QStringLiteral(""));
    const std::optional<lq::Movie> movie = lq::Movie::open(path);
    ASSERT_TRUE(movie.has_value());
    view->setMovie(*movie);
    view->setShowsController(true);
    EXPECT_EQ(widget->label(), QStringLiteral("clip.mov\n320 \u00d7 240"));
    EXPECT_EQ(view->naturalSize(), lq::Size(320, 256));
    const QImage shot = widget->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(2, 250)), QColor(200, 200, 200)); // the controller bar
}

TEST(PreviewWidgets, WithoutTheWidgetsViewsOnlyKeepTheirState)
{
    lq::installPreviewWidgets(nullptr);
    std::unique_ptr<lq::PreviewView> view = lq::PreviewView::make(lq::PreviewView::Kind::Web, lq::Rect(1, 2, 3, 4));
    EXPECT_EQ(dynamic_cast<QWidget*>(view.get()), nullptr);
    view->loadHTMLString(QStringLiteral("<p>x</p>"));
    EXPECT_EQ(view->html(), QStringLiteral("<p>x</p>"));
    EXPECT_EQ(view->loads(), 1);
}
