#include "ui/editors/IconGridView.h"

#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/text/Font.h"
#include "platform/text/ParagraphStyle.h"

#include <QEvent>
#include <QPainter>
#include <QPen>
#include <QScrollArea>

#include <algorithm>
#include <cmath>

namespace {

// Whole cells: the quotient truncated towards zero.
int wholeCells(qreal length, qreal cell)
{
    return static_cast<int>(std::trunc(length / cell));
}

} // namespace

IconGridView::CaptionLayout::CaptionLayout()
    : container(std::make_shared<lq::TextContainer>(QSizeF(1000000, 1000000)))
{
    layoutManager.addTextContainer(container);
}

IconGridView::IconGridView(QSizeF itemSize, qreal leftMargin, QWidget* parent)
    : QWidget(parent)
    , _itemSize(itemSize)
    , _leftMargin(leftMargin)
{
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(false);
    watchSuperview();
}

IconGridView::~IconGridView() = default;

int IconGridView::numObjects() const
{
    return lq::uiFrame(this, "numObjects", [&] {
        const XmlBasePtr shown = xmlobject();
        return shown ? shown->numberChildren() : 0;
    });
}

// --- Geometry -------------------------------------------------------------------------

QSizeF IconGridView::cellSize() const
{
    return QSizeF(_itemSize.width() + 20, _itemSize.height() + 40);
}

qreal IconGridView::superviewWidth() const
{
    return _superview ? _superview->width() : width();
}

int IconGridView::numColumns() const
{
    const qreal cellWidth = cellSize().width();
    if (cellWidth == 0)
        return 1;
    return std::max(1, wholeCells(superviewWidth(), cellWidth));
}

int IconGridView::numRows() const
{
    const int positions = numberOfPositions();
    if (positions <= 0)
        return 0;
    const int columns = numColumns();
    return (positions + columns - 1) / columns;
}

QSizeF IconGridView::sizeOfView() const
{
    return QSizeF(numColumns() * cellSize().width(), numRows() * cellSize().height());
}

QRectF IconGridView::rectOfObjectAtIndex(int position) const
{
    const int columns = numColumns();
    const int column = position % columns;
    const int row = position / columns;
    const QSizeF cell = cellSize();
    return QRectF(QPointF(column * cell.width() + _leftMargin, row * cell.height() + 10), _itemSize);
}

QRectF IconGridView::captionRectOfObjectAtIndex(int position) const
{
    const QRectF item = rectOfObjectAtIndex(position);
    return QRectF(item.x(), item.y() + item.height() + 10, item.width(), 20);
}

void IconGridView::fitMe()
{
    fitSize();
    update();
}

void IconGridView::fitSize()
{
    const QSizeF content = sizeOfView();
    const QSize visible = _superview ? _superview->size() : size();
    const QSize fitted(std::max(static_cast<int>(std::ceil(content.width())), visible.width()),
        std::max(static_cast<int>(std::ceil(content.height())), visible.height()));
    if (fitted != size())
        resize(fitted);
}

QScrollArea* IconGridView::makeScrollView(QWidget* parent)
{
    auto* area = new QScrollArea(parent);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(false);
    area->setBackgroundRole(QPalette::Base);
    area->setWidget(this);
    return area;
}

// --- Superview ------------------------------------------------------------------------

void IconGridView::watchSuperview()
{
    if (_superview == parentWidget())
        return;
    if (_superview)
        _superview->removeEventFilter(this);
    _superview = parentWidget();
    if (_superview)
        _superview->installEventFilter(this);
}

bool IconGridView::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange)
        watchSuperview();
    return QWidget::event(event);
}

bool IconGridView::eventFilter(QObject* watched, QEvent* event)
{
    // The columns follow the superview's width.
    if (watched == _superview && event->type() == QEvent::Resize)
        fitMe();
    return QWidget::eventFilter(watched, event);
}

// --- Drawing --------------------------------------------------------------------------

void IconGridView::drawIconInRect(QPainter& painter, const QImage& icon, const QRectF& rect)
{
    if (icon.isNull())
        return;
    const QSizeF size = icon.deviceIndependentSize();
    QRectF source(QPointF(), size);
    QPointF at;
    if (rect.width() > size.width()) {
        at.setX(rect.x() + (rect.width() - size.width()) / 2);
    } else {
        at.setX(rect.x());
        source.setWidth(rect.width());
    }
    if (rect.height() > size.height()) {
        at.setY(rect.y() + (rect.height() - size.height()) / 2);
    } else {
        // The lower part of the picture shows, its lower edge on the item's.
        at.setY(rect.y());
        source.setTop(size.height() - rect.height());
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const qreal ratio = icon.devicePixelRatio();
    painter.drawImage(QRectF(at, source.size()), icon,
        QRectF(source.topLeft() * ratio, source.size() * ratio));
}

void IconGridView::drawSelectionFrame(QPainter& painter, const QRectF& item, qreal lineWidth, const QColor& colour)
{
    painter.save();
    painter.setPen(QPen(colour, lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(item.adjusted(-4, -4, 4, 4));
    painter.restore();
}

void IconGridView::makeTextStorage(const QString& text)
{
    lq::TextAttributes attributes;
    std::optional<lq::Font> font = lq::Font::withName(QStringLiteral("Helvetica-Bold"), 12);
    if (!font || !font->isInstalled())
        font = lq::Font::withName(QStringLiteral("Helvetica"), 12);
    if (font && font->isInstalled())
        attributes.font = *font;
    else
        lq::log(QStringLiteral("No Helvetica Font installed"));
    lq::ParagraphStyle style = lq::ParagraphStyle::defaultStyle();
    style.tabStops = lq::standardTabStops();
    style.alignment = lq::TextAlignment::Center;
    attributes.paragraphStyle = style;
    _contents->setText(lq::StyledText(text, attributes));
}

void IconGridView::drawTextContentsInRect(QPainter& painter, const QString& text, const QRectF& rect)
{
    lq::uiFrame(this, "DrawTextContents:inRect:", [&] {
        if (!hasTextBox() || text.isEmpty())
            return;
        makeTextStorage(text);
        CaptionLayout& layout = captionLayout();
        layout.container->setContainerSize(QSizeF(rect.width(), 1000000));
        layout.layoutManager.setTextStorage(_contents);
        const lq::Range glyphs = layout.layoutManager.glyphRangeForBoundingRect(QRectF(0, 0, rect.width(), rect.height()), layout.container.get());
        if (glyphs.length > 0)
            layout.layoutManager.drawGlyphsForGlyphRange(glyphs, rect.topLeft(), &painter);
        layout.layoutManager.setTextStorage(nullptr);
    });
}
