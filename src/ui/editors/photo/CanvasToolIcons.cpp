#include "ui/editors/photo/CanvasToolIcons.h"

#include "ui/editors/photo/IWCanvasView.h"
#include "model/imaging/XmlDrawObject.h"
#include "platform/text/Font.h"
#include "platform/text/TextAttributes.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int iconSize = 22;

// A callout of the tool's kind, drawn by itself, fitted into the icon.
QPixmap calloutPicture(int tool)
{
    const std::shared_ptr<XmlDrawObject> callout = IWCanvasView::createForTool(tool);
    if (!callout)
        return QPixmap();
    callout->setBodyRect(lq::Rect(0, 0, 60, 44));
    callout->setAnchorPoint(lq::Point(14, 66));
    callout->setTailPoint(lq::Point(60, 0));
    callout->setThickness(4);
    callout->setBackgroundColor(lq::Colour(1.0f, 0.97f, 0.75f));
    if (callout->hasTailPoint()) {
        callout->setAnchorPoint(lq::Point(4, 62));
        callout->setBodyRect(lq::Rect(4, 0, 56, 62));
    }
    if (callout->hasTextbox()) {
        lq::TextAttributes attributes;
        attributes.font = lq::Font::withName(QStringLiteral("Helvetica"), 34);
        callout->contents()->setText(lq::StyledText(QStringLiteral("A"), attributes));
    }
    const lq::GraphicsImage drawn = callout->makeImageWithMaxWidthAndMaxHeight(iconSize, iconSize);
    return QPixmap::fromImage(drawn.toQImage());
}

QPixmap painted(const std::function<void(QPainter&)>& paint)
{
    QPixmap picture(iconSize, iconSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return picture;
}

QPixmap pointerPicture()
{
    return painted([](QPainter& painter) {
        QPainterPath arrow;
        arrow.moveTo(6, 2);
        arrow.lineTo(6, 18);
        arrow.lineTo(10, 14);
        arrow.lineTo(13, 20);
        arrow.lineTo(15, 19);
        arrow.lineTo(12, 13);
        arrow.lineTo(17, 13);
        arrow.closeSubpath();
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(Qt::black);
        painter.drawPath(arrow);
    });
}

QPixmap cropPicture()
{
    return painted([](QPainter& painter) {
        painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
        painter.drawPolyline(QPolygonF({ QPointF(6, 1), QPointF(6, 16), QPointF(21, 16) }));
        painter.drawPolyline(QPolygonF({ QPointF(1, 6), QPointF(16, 6), QPointF(16, 21) }));
    });
}

} // namespace

QIcon canvasToolIcon(int tool)
{
    switch (tool) {
    case IWCanvasView::SelectTool: return QIcon(pointerPicture());
    case IWCanvasView::CropTool: return QIcon(cropPicture());
    default: return QIcon(calloutPicture(tool));
    }
}

QString canvasToolName(int tool)
{
    static const char* const names[IWCanvasView::ToolCount] = {
        "Select", "Crop", "Letter", "Letter Box", "Cloud", "Balloon", "Label", "Arrow", "Circle", "Square",
    };
    return tool >= 0 && tool < IWCanvasView::ToolCount ? QString::fromLatin1(names[tool]) : QString();
}
