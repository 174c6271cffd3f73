#include "ui/widgets/PreviewWidgets.h"

#include "platform/Log.h"
#include "platform/Services.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QWebEnginePage>
#include <QWebEngineSettings>

#include <unistd.h>

namespace lq {

namespace {

const char* const originProperty = "lqPreviewOrigin";

// The frame (page coordinates) in the coordinates of the canvas the view is on.
QRect widgetRect(const QWidget* view, const Rect& frame)
{
    const QWidget* canvas = view->parentWidget();
    const QPoint origin = canvas ? canvas->property(originProperty).toPoint() : QPoint();
    return frame.toQRectF().toAlignedRect().translated(origin);
}

// The address of the page's "<base href=...>", or an empty address.
QUrl baseAddress(const QString& html)
{
    static const QRegularExpression base(QStringLiteral("<base\\s+href=\"([^\"]*)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = base.match(html);
    if (!match.hasMatch())
        return QUrl();
    QString address = match.captured(1);
    address.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    address.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    address.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    address.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return QUrl(address);
}

// No graphics processor to use: the offscreen platform, a machine without a
// render node, or an X server without real outputs (a virtual one, Xvfb).
bool withoutGraphicsProcessor()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == u"offscreen" || platform == u"minimal")
        return true;
    const QDir renderNodes(QStringLiteral("/dev/dri"), QStringLiteral("renderD*"), QDir::Name, QDir::System | QDir::Files);
    if (!renderNodes.exists() || renderNodes.isEmpty())
        return true;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return platform == u"xcb" && screen && screen->name() == u"screen" && screen->manufacturer().isEmpty();
}

// The engine reads its flags when it starts, once per process.
void setEngineFlags()
{
    static bool set = false;
    if (set)
        return;
    set = true;
    QStringList flags = QString::fromLocal8Bit(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")).split(u' ', Qt::SkipEmptyParts);
    const auto add = [&](const QString& flag) {
        if (!flags.contains(flag))
            flags.append(flag);
    };
    // The engine's sandbox refuses to run as root.
    if (::geteuid() == 0)
        add(QStringLiteral("--no-sandbox"));
    if (withoutGraphicsProcessor())
        add(QStringLiteral("--disable-gpu"));
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.join(u' ').toLocal8Bit());
}

QString engineProcessPath()
{
    const QString fromEnvironment = qEnvironmentVariable("QTWEBENGINE_PROCESS_PATH");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + QStringLiteral("/QtWebEngineProcess");
}

} // namespace

QString webEngineUnavailability()
{
    const QString process = engineProcessPath();
    if (!QFileInfo(process).isExecutable())
        return QStringLiteral("the web engine's helper process is missing: ") + process;
    setEngineFlags();
    return QString();
}

// --- Web preview -------------------------------------------------------------------------------

WebPreviewWidget::WebPreviewWidget(const Rect& frame, QWidget* parent)
    : QWebEngineView(parent)
    , PreviewView(Kind::Web, frame)
{
    settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setGeometry(widgetRect(this, frame));
    connect(this, &QWebEngineView::loadFinished, this, [this](bool ok) {
        _loaded = true;
        Q_EMIT pageLoaded(ok);
    });
    connect(page(), &QWebEnginePage::renderProcessTerminated, this,
        [](QWebEnginePage::RenderProcessTerminationStatus status, int code) {
            if (status == QWebEnginePage::NormalTerminationStatus)
                return;
            PreviewView::setUnavailable(Kind::Web,
                QStringLiteral("the web engine's page process ended (status ") + QString::number(int(status))
                    + QStringLiteral(", code ") + QString::number(code) + QStringLiteral(")"));
        });
}

WebPreviewWidget::~WebPreviewWidget() = default;

void WebPreviewWidget::setFrame(const Rect& frame)
{
    PreviewView::setFrame(frame);
    setGeometry(widgetRect(this, frame));
}

void WebPreviewWidget::setHidden(bool hidden)
{
    PreviewView::setHidden(hidden);
    QWidget::setHidden(hidden);
}

void WebPreviewWidget::setNeedsDisplay()
{
    PreviewView::setNeedsDisplay();
    update();
}

void WebPreviewWidget::setDrawsBackground(bool draws)
{
    PreviewView::setDrawsBackground(draws);
    // Without a background the canvas shows through where the page has no ink.
    page()->setBackgroundColor(draws ? QColor(Qt::white) : QColor(Qt::transparent));
    setAttribute(Qt::WA_TranslucentBackground, !draws);
}

void WebPreviewWidget::loadHTMLString(const QString& html)
{
    PreviewView::loadHTMLString(html);
    _baseUrl = baseAddress(html);
    _loaded = false;
    setHtml(html, _baseUrl);
}

// --- Movie preview -----------------------------------------------------------------------------

MoviePreviewWidget::MoviePreviewWidget(const Rect& frame, QWidget* parent)
    : QWidget(parent)
    , PreviewView(Kind::Movie, frame)
{
    setGeometry(widgetRect(this, frame));
}

void MoviePreviewWidget::setFrame(const Rect& frame)
{
    PreviewView::setFrame(frame);
    setGeometry(widgetRect(this, frame));
}

void MoviePreviewWidget::setHidden(bool hidden)
{
    PreviewView::setHidden(hidden);
    QWidget::setHidden(hidden);
}

void MoviePreviewWidget::setNeedsDisplay()
{
    PreviewView::setNeedsDisplay();
    update();
}

void MoviePreviewWidget::setMovie(const Movie& movie)
{
    PreviewView::setMovie(movie);
    update();
}

void MoviePreviewWidget::setShowsController(bool shows)
{
    PreviewView::setShowsController(shows);
    update();
}

QString MoviePreviewWidget::label() const
{
    if (!movie())
        return QStringLiteral("");
    const Size size = movie()->naturalSize;
    return QFileInfo(movie()->path).fileName() + QStringLiteral("\n") + QString::number(truncatedPixel(size.width))
        + QStringLiteral(" \u00d7 ") + QString::number(truncatedPixel(size.height));
}

void MoviePreviewWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(32, 32, 32));
    QRect picture = rect();
    if (showsController()) {
        const int bar = int(controllerHeight);
        picture.setHeight(std::max(0, picture.height() - bar));
        painter.fillRect(QRect(0, picture.bottom() + 1, width(), bar), QColor(200, 200, 200));
    }
    painter.setPen(Qt::white);
    painter.drawText(picture, Qt::AlignCenter | Qt::TextWordWrap, label());
}

// --- Factory -----------------------------------------------------------------------------------

void installPreviewWidgets(QWidget* canvas)
{
    if (!canvas) {
        services().previewViewFactory = nullptr;
        PreviewView::setAvailable(PreviewView::Kind::Web);
        return;
    }
    // Once found unable to run (here or by a page process that died), the
    // engine is not tried again while the program runs.
    const QString unavailable = webEngineUnavailability();
    if (!unavailable.isEmpty())
        PreviewView::setUnavailable(PreviewView::Kind::Web, unavailable);
    QPointer<QWidget> host(canvas);
    services().previewViewFactory = [host](PreviewView::Kind kind, const Rect& frame) -> std::unique_ptr<PreviewView> {
        if (!host || !PreviewView::canShow(kind))
            return nullptr;
        std::unique_ptr<PreviewView> view;
        if (kind == PreviewView::Kind::Movie)
            view = std::make_unique<MoviePreviewWidget>(frame, host.data());
        else
            view = std::make_unique<WebPreviewWidget>(frame, host.data());
        dynamic_cast<QWidget*>(view.get())->show();
        return view;
    };
}

void setPreviewOrigin(QWidget* canvas, const QPoint& origin)
{
    if (!canvas || canvas->property(originProperty).toPoint() == origin)
        return;
    canvas->setProperty(originProperty, origin);
    for (QObject* child : canvas->children()) {
        if (auto* view = dynamic_cast<PreviewView*>(child))
            view->setFrame(view->frame());
    }
}

} // namespace lq
