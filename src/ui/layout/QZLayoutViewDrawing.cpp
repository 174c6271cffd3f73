// The canvas's drawing: the page as its template draws itself, then the
// designer's aids on top.
#include "ui/layout/QZLayoutView.h"

#include "ui/layout/LayoutController.h"
#include "model/core/XmlBase.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/Font.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextAttributes.h"
#include "platform/text/TextContainer.h"
#include "ui/widgets/PreviewWidgets.h"
#include "ui/widgets/RulerView.h"
#include "templates/XmlStyleSheet.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

constexpr float boundaryTop = -100;
constexpr float boundaryBottom = 20000;

lq::Font tagFont()
{
    return lq::Font::helvetica(13);
}

// A frame one unit wide along the inside of the rectangle.
void frameRect(lq::GraphicsContext& context, const lq::Rect& rect, const lq::Colour& colour)
{
    context.setFillColor(colour);
    context.fillRect(lq::Rect(rect.x(), rect.y(), rect.width(), 1));
    context.fillRect(lq::Rect(rect.x(), rect.maxY() - 1, rect.width(), 1));
    context.fillRect(lq::Rect(rect.x(), rect.y() + 1, 1, rect.height() - 2));
    context.fillRect(lq::Rect(rect.maxX() - 1, rect.y() + 1, 1, rect.height() - 2));
}

} // namespace

void QZLayoutView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    lq::GraphicsContext::Scope scope(painter);
    lq::uiFrame(this, "drawRect:", [&] {
        const float canvasWidth = float(width());
        const float canvasHeight = float(height());
        const std::shared_ptr<XmlStyleSheet> sheet = stylesheet();
        if (!sheet) {
            drawExternalLinkNotice(lq::Rect(0, 0, canvasWidth, canvasHeight));
            return;
        }
        placePage(*sheet);
        scope.context().concat(QTransform::fromTranslate(_pageOffset.x(), _pageOffset.y()));
        // From here on the canvas's coordinates are the page's.
        const lq::Rect bounds(float(-_pageOffset.x()), float(-_pageOffset.y()), canvasWidth, canvasHeight);
        sheet->drawBackdrop(bounds);
        sheet->drawBackdrop2(lq::Rect(0, 0, canvasWidth, canvasHeight));
        sheet->draw();
        if (_enablePageBoundaries)
            drawPageBoundaries(*sheet);
        drawGrid(bounds);
        drawGrabHandles();
        drawGuidelines();
    });
}

void QZLayoutView::placePage(XmlStyleSheet& sheet)
{
    const auto offset = [](int visible, int extent, bool centred, int stored) {
        if (!centred)
            return stored;
        return std::max(0, int(std::trunc((visible - extent) * 0.5)));
    };
    const QPoint placed(offset(width(), sheet.pageWidth(), sheet.centerHorz(), sheet.pageLeftOffset()),
                        offset(height(), sheet.pageHeight(), sheet.centerVert(), sheet.pageTopOffset()));
    // The rulers read 0 at the page's origin.
    if (_horzRuler)
        _horzRuler->setOriginOffset(placed.x());
    if (_vertRuler)
        _vertRuler->setOriginOffset(placed.y());
    if (placed != _pageOffset) {
        _pageOffset = placed;
        lq::setPreviewOrigin(this, _pageOffset);
        markRulers();
    }
}

void QZLayoutView::drawExternalLinkNotice(const lq::Rect& bounds)
{
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    context->setFillColor(lq::Colour::fromWhite(2.0f / 3.0f));
    context->fillRect(bounds);

    _tc->setContainerSize(bounds.size.toQSizeF());
    lq::ParagraphStyle paragraph = lq::ParagraphStyle::defaultStyle();
    paragraph.tabStops = lq::standardTabStops();
    paragraph.alignment = lq::TextAlignment::Center;
    lq::TextAttributes attributes;
    attributes.paragraphStyle = paragraph;
    attributes.font = lq::Font::helvetica(13);
    attributes.foregroundColour = lq::Colour::black();
    const std::shared_ptr<XmlAlbum> page = _controller.getAlbum();
    const QString link = page ? page->externalLink() : QString();
    _contents->setText(lq::StyledText(QStringLiteral("Page is External Link to: ") + link, attributes));
    const lq::Range glyphs = _lm->glyphRangeForTextContainer(_tc.get());
    if (glyphs.length > 0)
        _lm->drawGlyphsForGlyphRange(glyphs, bounds.origin.toQPointF(), &context->painter());
}

void QZLayoutView::drawPageBoundaries(XmlStyleSheet& sheet)
{
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    const lq::GraphicsContext::SavedState saved;
    context->setStrokeColor(_guideColor);
    const float left = float(sheet.pageLeft());
    const float right = float(sheet.pageRight());

    lq::BezierPath edges;
    for (float x : {left + 0.5f, right + 0.5f}) {
        edges.moveTo(lq::Point(x, boundaryTop));
        edges.lineTo(lq::Point(x, boundaryBottom));
    }
    edges.setLineWidth(1);
    edges.stroke();

    lq::BezierPath dashes;
    for (float x : {left - 0.5f, right + 1.5f}) {
        dashes.moveTo(lq::Point(x, boundaryTop));
        dashes.lineTo(lq::Point(x, boundaryBottom));
    }
    dashes.setLineWidth(1);
    dashes.setLineDash({3, 3}, 0);
    dashes.stroke();

    drawEdgeTag(sheet.leftEdgeElement(), left, true);
    drawEdgeTag(sheet.rightEdgeElement(), right, false);
}

void QZLayoutView::drawEdgeTag(const QString& label, float edge, bool left)
{
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    const QFont font = tagFont().toQFont();
    const QFontMetricsF metrics(font);
    const float w = float(metrics.horizontalAdvance(label)) + 10;
    const float h = float(metrics.height()) + 4;
    // The tag points at the edge; its body lies inside the page.
    const float tip = left ? 5 : -5;
    const float far = left ? edge + w : edge - w;
    lq::BezierPath tag;
    tag.moveTo(lq::Point(edge, 4 + h / 2));
    tag.lineTo(lq::Point(edge + tip, 4));
    tag.lineTo(lq::Point(far, 4));
    tag.lineTo(lq::Point(far, 4 + h));
    tag.lineTo(lq::Point(edge + tip, 4 + h));
    tag.closePath();
    tag.setLineWidth(2);
    context->setStrokeColor(_guideColor);
    tag.stroke();
    context->setFillColor(lq::Colour(1, 1, 0));
    tag.fill();

    const float labelX = left ? edge + 5 : far + 5;
    QPainter& painter = context->painter();
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(labelX, 4, w, h), Qt::AlignLeft | Qt::AlignTop, label);
    painter.restore();
}

void QZLayoutView::drawGrid(const lq::Rect& rect)
{
    if (!showGrid())
        return;
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    const lq::GraphicsContext::SavedState saved;
    lq::Colour colour = _gridColor;
    colour.a = _gridAlpha;
    context->setStrokeColor(colour);
    lq::BezierPath lines;
    if (_gridX != 0) {
        for (float x = float(_gridX * int(std::trunc(rect.x() / _gridX))); x < rect.maxX(); x += float(_gridX)) {
            lines.moveTo(lq::Point(x + 0.5f, rect.y()));
            lines.lineTo(lq::Point(x + 0.5f, rect.maxY()));
        }
    }
    if (_gridY != 0) {
        for (float y = float(_gridY * int(std::trunc(rect.y() / _gridY))); y < rect.maxY(); y += float(_gridY)) {
            lines.moveTo(lq::Point(rect.x(), y + 0.5f));
            lines.lineTo(lq::Point(rect.maxX(), y + 0.5f));
        }
    }
    lines.setLineWidth(1);
    lines.stroke();
}

void QZLayoutView::drawGrabHandles()
{
    if (!handlesOn())
        return;
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    const lq::GraphicsContext::SavedState saved;
    calcGrabHandles();
    frameRect(*context, _bodyRect.inset(-1, -1), lq::Colour::white());
    frameRect(*context, _bodyRect.inset(-2, -2), lq::Colour::black());

    const auto drawGroup = [&](std::initializer_list<int> handles) {
        context->setFillColor(lq::Colour::fromWhite(0.5f));
        for (int n : handles)
            lq::BezierPath::withRect(grabberRect(n)).fill();
        context->setStrokeColor(lq::Colour::white());
        for (int n : handles)
            lq::BezierPath::withRect(grabberRect(n)).stroke();
    };
    if (_canVertSize && _canHorzSize)
        drawGroup({0, 2, 4, 6});
    if (_canVertSize)
        drawGroup({1, 5});
    if (_canHorzSize)
        drawGroup({3, 7});
}

void QZLayoutView::drawGuidelines()
{
    if (_testMode || _currentSelectedObject.isEmpty())
        return;
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    const lq::GraphicsContext::SavedState saved;
    context->setStrokeColor(_guideColor);
    lq::BezierPath guides;
    for (int guide = 0; guide < AlignmentGuides::numberOfGuides; ++guide) {
        const bool enabled = guide < 4 ? _enableEdgeGuides : _enableCenterGuides;
        if (!enabled || !(_guides.lastGuideHitTest() & (1u << guide)))
            continue;
        guides.moveTo(_guides.guideHeadPoint(guide));
        guides.lineTo(_guides.guideTailPoint(guide));
    }
    guides.setLineWidth(1);
    guides.stroke();
}

void QZLayoutView::markRulers()
{
    if (!_horzRuler || !_vertRuler)
        return;
    // Canvas coordinates, which the rulers measure.
    std::array<double, 4> now = {-1, -1, -1, -1};
    if (!oldRulerRect.isZero()) {
        const double x = double(oldRulerRect.x()) + _pageOffset.x();
        const double y = double(oldRulerRect.y()) + _pageOffset.y();
        now = {std::trunc(x), std::trunc(x + oldRulerRect.width()), std::trunc(y), std::trunc(y + oldRulerRect.height())};
    }
    _horzRuler->moveRulerlineFromLocationToLocation(_rulerMarks[0], now[0]);
    _horzRuler->moveRulerlineFromLocationToLocation(_rulerMarks[1], now[1]);
    _vertRuler->moveRulerlineFromLocationToLocation(_rulerMarks[2], now[2]);
    _vertRuler->moveRulerlineFromLocationToLocation(_rulerMarks[3], now[3]);
    _rulerMarks = now;
}
