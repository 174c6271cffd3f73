#include "platform/widgets/PreviewWidgets.h"

#include "support/TestFiles.h"
#include "support/TestMovie.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QWidget>

namespace {

struct Installed {
    explicit Installed(QWidget* canvas) { lq::installPreviewWidgets(canvas); }
    ~Installed() { lq::installPreviewWidgets(nullptr); }
};

} // namespace

TEST(PreviewWidgets, AWebPreviewShowsThePageOverTheCanvas)
{
    QWidget canvas;
    canvas.resize(400, 300);
    Installed installed(&canvas);

    std::unique_ptr<lq::PreviewView> view = lq::PreviewView::make(lq::PreviewView::Kind::Web, lq::Rect(10, 20, 200, 100));
    auto* browser = dynamic_cast<lq::WebPreviewWidget*>(view.get());
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->parentWidget(), &canvas);
    EXPECT_EQ(browser->geometry(), QRect(10, 20, 200, 100));

    view->setDrawsBackground(false);
    EXPECT_FALSE(browser->viewport()->autoFillBackground());
    EXPECT_EQ(browser->viewport()->palette().color(QPalette::Base).alpha(), 0);

    view->loadHTMLString(QStringLiteral("<html><head><base href=\"file:///tmp/a%20b/files/\" ></head>"
                                        "<body><div class=\"vornhtml\">Hello <b>there</b></div></body></html>"));
    EXPECT_EQ(browser->toPlainText().trimmed(), QStringLiteral("Hello there"));
    EXPECT_EQ(browser->document()->baseUrl(), QUrl(QStringLiteral("file:///tmp/a%20b/files/")));

    view->setFrame(lq::Rect(5, 6, 70, 80));
    EXPECT_EQ(browser->geometry(), QRect(5, 6, 70, 80));
    view->setHidden(true);
    EXPECT_TRUE(browser->QWidget::isHidden());

    // The canvas shows through where the page has no ink.
    view->setHidden(false);
    canvas.setAutoFillBackground(true);
    QPalette red = canvas.palette();
    red.setColor(QPalette::Window, Qt::red);
    canvas.setPalette(red);
    canvas.show();
    const QImage shot = canvas.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(70, 80)), QColor(Qt::red));
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
