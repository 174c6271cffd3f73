// The canvas's drawing: the page as its template draws itself, then the
// designer's aids on top.
#include "ui/layout/LayoutCanvasDrawing.h"

#include "ui/layout/LayoutController.h"
#include "ui/layout/QZLayoutView.h"
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

void LayoutCanvasDrawing::paint()
{
    QPainter painter(&_view);
    lq::GraphicsContext::Scope scope(painter);
    lq::uiFrame(&_view, "drawRect:", [&] {
        const float width = float(_view.width());
        const float height = float(_view.height());
        const std::shared_ptr<XmlStyleSheet> sheet = _view.stylesheet();
        if (!sheet) {
            drawExternalLinkNotice(lq::Rect(0, 0, width, height));
            return;
        }
        placePage(*sheet);
        scope.context().concat(QTransform::fromTranslate(_view._pageOffset.x(), _view._pageOffset.y()));
        // From here on the canvas's coordinates are the page's.
        const lq::Rect bounds(float(-_view._pageOffset.x()), float(-_view._pageOffset.y()), width, height);
        drawBackdrop(*sheet, bounds);
        sheet->drawBackdrop2(lq::Rect(0, 0, width, height));
        sheet->draw();
        if (_view._enablePageBoundaries)
            drawPageBoundaries(*sheet);
        drawGrid(bounds);
        drawGrabHandles();
        drawGuidelines();
    });
}

void LayoutCanvasDrawing::placePage(XmlStyleSheet& sheet)
{
    const auto offset = [](int visible, int extent, bool centred, int stored) {
        if (!centred)
            return stored;
        return std::max(0, int(std::trunc((visible - extent) * 0.5)));
    };
    const QPoint placed(offset(_view.width(), sheet.pageWidth(), sheet.centerHorz(), sheet.pageLeftOffset()),
                        offset(_view.height(), sheet.pageHeight(), sheet.centerVert(), sheet.pageTopOffset()));
    // The rulers read 0 at the page's origin.
    if (_view._horzRuler)
        _view._horzRuler->setOriginOffset(placed.x());
    if (_view._vertRuler)
        _view._vertRuler->setOriginOffset(placed.y());
    if (placed != _view._pageOffset) {
        _view._pageOffset = placed;
        lq::setPreviewOrigin(&_view, _view._pageOffset);
        markRulers();
    }
}

void LayoutCanvasDrawing::drawExternalLinkNotice(const lq::Rect& bounds)
{
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    context->setFillColor(lq::Colour::fromWhite(2.0f / 3.0f));
    context->fillRect(bounds);

    _view._tc->setContainerSize(bounds.size.toQSizeF());
    lq::ParagraphStyle paragraph = lq::ParagraphStyle::defaultStyle();
    paragraph.tabStops = lq::standardTabStops();
    paragraph.alignment = lq::TextAlignment::Center;
    lq::TextAttributes attributes;
    attributes.paragraphStyle = paragraph;
    attributes.font = lq::Font::helvetica(13);
    attributes.foregroundColour = lq::Colour::black();
    const std::shared_ptr<XmlAlbum> page = _view._controller.getAlbum();
    const QString link = page ? page->externalLink() : QString();
    _view._contents->setText(lq::StyledText(QStringLiteral("Page is External Link to: ") + link, attributes));
    const lq::Range glyphs = _view._lm->glyphRangeForTextContainer(_view._tc.get());
    if (glyphs.length > 0)
        _view._lm->drawGlyphsForGlyphRange(glyphs, bounds.origin.toQPointF(), &context->painter());
}

void LayoutCanvasDrawing::drawBackdrop(XmlStyleSheet& sheet, const lq::Rect& rect)
{
    sheet.drawBackdrop(rect);
}

void LayoutCanvasDrawing::drawPageBoundaries(XmlStyleSheet& sheet)
{
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    const lq::GraphicsContext::SavedState saved;
    context->setStrokeColor(_view._guideColor);
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

void LayoutCanvasDrawing::drawEdgeTag(const QString& label, float edge, bool left)
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
    context->setStrokeColor(_view._guideColor);
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

void LayoutCanvasDrawing::drawGrid(const lq::Rect& rect)
{
    if (!_view.showGrid())
        return;
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    const lq::GraphicsContext::SavedState saved;
    lq::Colour colour = _view._gridColor;
    colour.a = _view._gridAlpha;
    context->setStrokeColor(colour);
    lq::BezierPath lines;
    if (_view._gridX != 0) {
        for (float x = float(_view._gridX * int(std::trunc(rect.x() / _view._gridX))); x < rect.maxX(); x += float(_view._gridX)) {
            lines.moveTo(lq::Point(x + 0.5f, rect.y()));
            lines.lineTo(lq::Point(x + 0.5f, rect.maxY()));
        }
    }
    if (_view._gridY != 0) {
        for (float y = float(_view._gridY * int(std::trunc(rect.y() / _view._gridY))); y < rect.maxY(); y += float(_view._gridY)) {
            lines.moveTo(lq::Point(rect.x(), y + 0.5f));
            lines.lineTo(lq::Point(rect.maxX(), y + 0.5f));
        }
    }
    lines.setLineWidth(1);
    lines.stroke();
}

void LayoutCanvasDrawing::drawGrabHandles()
{
    if (!_view.handlesOn())
        return;
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    const lq::GraphicsContext::SavedState saved;
    _view.calcGrabHandles();
    frameRect(*context, _view._bodyRect.inset(-1, -1), lq::Colour::white());
    frameRect(*context, _view._bodyRect.inset(-2, -2), lq::Colour::black());

    const auto drawGroup = [&](std::initializer_list<int> handles) {
        context->setFillColor(lq::Colour::fromWhite(0.5f));
        for (int n : handles)
            lq::BezierPath::withRect(_view.grabberRect(n)).fill();
        context->setStrokeColor(lq::Colour::white());
        for (int n : handles)
            lq::BezierPath::withRect(_view.grabberRect(n)).stroke();
    };
    if (_view._canVertSize && _view._canHorzSize)
        drawGroup({0, 2, 4, 6});
    if (_view._canVertSize)
        drawGroup({1, 5});
    if (_view._canHorzSize)
        drawGroup({3, 7});
}

void LayoutCanvasDrawing::drawGuidelines()
{
    if (_view._testMode || _view._currentSelectedObject.isEmpty())
        return;
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    const lq::GraphicsContext::SavedState saved;
    context->setStrokeColor(_view._guideColor);
    lq::BezierPath guides;
    for (int guide = 0; guide < AlignmentGuides::numberOfGuides; ++guide) {
        const bool enabled = guide < 4 ? _view._enableEdgeGuides : _view._enableCenterGuides;
        if (!enabled || !(_view._guides.lastGuideHitTest() & (1u << guide)))
            continue;
        guides.moveTo(_view._guides.guideHeadPoint(guide));
        guides.lineTo(_view._guides.guideTailPoint(guide));
    }
    guides.setLineWidth(1);
    guides.stroke();
}

void LayoutCanvasDrawing::markRulers()
{
    if (!_view._horzRuler || !_view._vertRuler)
        return;
    // Canvas coordinates, which the rulers measure.
    std::array<double, 4> now = {-1, -1, -1, -1};
    if (!_view.oldRulerRect.isZero()) {
        const double x = double(_view.oldRulerRect.x()) + _view._pageOffset.x();
        const double y = double(_view.oldRulerRect.y()) + _view._pageOffset.y();
        now = {std::trunc(x), std::trunc(x + _view.oldRulerRect.width()), std::trunc(y), std::trunc(y + _view.oldRulerRect.height())};
    }
    _view._horzRuler->moveRulerlineFromLocationToLocation(_view._rulerMarks[0], now[0]);
    _view._horzRuler->moveRulerlineFromLocationToLocation(_view._rulerMarks[1], now[1]);
    _view._vertRuler->moveRulerlineFromLocationToLocation(_view._rulerMarks[2], now[2]);
    _view._vertRuler->moveRulerlineFromLocationToLocation(_view._rulerMarks[3], now[3]);
    _view._rulerMarks = now;
}
