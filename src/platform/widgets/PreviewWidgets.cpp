#include "platform/widgets/PreviewWidgets.h"

#include <QFileInfo>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QRegularExpression>

namespace lq {

namespace {

QRect widgetRect(const Rect& frame)
{
    return frame.toQRectF().toAlignedRect();
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

} // namespace

// --- Web preview -------------------------------------------------------------------------------

WebPreviewWidget::WebPreviewWidget(const Rect& frame, QWidget* parent)
    : QTextBrowser(parent)
    , PreviewView(Kind::Web, frame)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setOpenLinks(false);
    setGeometry(widgetRect(frame));
}

void WebPreviewWidget::setFrame(const Rect& frame)
{
    PreviewView::setFrame(frame);
    setGeometry(widgetRect(frame));
}

void WebPreviewWidget::setHidden(bool hidden)
{
    PreviewView::setHidden(hidden);
    QWidget::setHidden(hidden);
}

void WebPreviewWidget::setNeedsDisplay()
{
    PreviewView::setNeedsDisplay();
    viewport()->update();
}

void WebPreviewWidget::setDrawsBackground(bool draws)
{
    PreviewView::setDrawsBackground(draws);
    // Without a background the canvas shows through the viewport.
    viewport()->setAutoFillBackground(draws);
    setAutoFillBackground(draws);
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Base, draws ? QColor(Qt::white) : QColor(Qt::transparent));
    viewport()->setPalette(colours);
    setPalette(colours);
    setAttribute(Qt::WA_TranslucentBackground, !draws);
}

void WebPreviewWidget::loadHTMLString(const QString& html)
{
    PreviewView::loadHTMLString(html);
    document()->setBaseUrl(baseAddress(html));
    setHtml(html);
}

// --- Movie preview -----------------------------------------------------------------------------

MoviePreviewWidget::MoviePreviewWidget(const Rect& frame, QWidget* parent)
    : QWidget(parent)
    , PreviewView(Kind::Movie, frame)
{
    setGeometry(widgetRect(frame));
}

void MoviePreviewWidget::setFrame(const Rect& frame)
{
    PreviewView::setFrame(frame);
    setGeometry(widgetRect(frame));
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
        PreviewView::setFactory(nullptr);
        return;
    }
    QPointer<QWidget> host(canvas);
    PreviewView::setFactory([host](PreviewView::Kind kind, const Rect& frame) -> std::unique_ptr<PreviewView> {
        if (!host)
            return nullptr;
        std::unique_ptr<PreviewView> view;
        if (kind == PreviewView::Kind::Movie)
            view = std::make_unique<MoviePreviewWidget>(frame, host.data());
        else
            view = std::make_unique<WebPreviewWidget>(frame, host.data());
        dynamic_cast<QWidget*>(view.get())->show();
        return view;
    });
}

} // namespace lq
