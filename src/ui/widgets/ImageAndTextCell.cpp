#include "ui/widgets/ImageAndTextCell.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {

// The whole number just above a half: ceil(n / 2).
int halfRoundedUp(int n)
{
    return static_cast<int>(std::ceil(n / 2.0));
}

// True when the icon is drawn at its own size in a cell of that height.
bool drawnAtOwnSize(int cellHeight, QSize icon)
{
    return cellHeight + 6 > icon.height();
}

// The width of the strip the icon takes at the cell's left.
int stripWidth(const QRect& cell, QSize icon)
{
    if (icon.isEmpty())
        return 0;
    return ImageAndTextCell::drawnImageFrame(cell, icon).width() + ImageAndTextCell::iconInset;
}

} // namespace

QRect ImageAndTextCell::imageFrameForCellFrame(const QRect& cell, QSize icon)
{
    if (icon.isEmpty())
        return QRect();
    return QRect(QPoint(cell.x() + iconInset, cell.y() + halfRoundedUp(cell.height() - icon.height())), icon);
}

QRect ImageAndTextCell::drawnImageFrame(const QRect& cell, QSize icon)
{
    if (icon.isEmpty())
        return QRect();
    if (drawnAtOwnSize(cell.height(), icon))
        return imageFrameForCellFrame(cell, icon);
    const int width = static_cast<int>(std::ceil(double(cell.height()) * icon.width() / icon.height()));
    return QRect(cell.x() + iconInset, cell.y(), width, cell.height());
}

QRect ImageAndTextCell::textFrame(const QRect& cell, QSize icon)
{
    return cell.adjusted(stripWidth(cell, icon), 0, 0, 0);
}

QImage ImageAndTextCell::icon(const QModelIndex& index)
{
    const QVariant decoration = index.data(Qt::DecorationRole);
    if (decoration.canConvert<QImage>())
        return decoration.value<QImage>();
    if (decoration.canConvert<QPixmap>())
        return decoration.value<QPixmap>().toImage();
    return QImage();
}

QStyleOptionViewItem ImageAndTextCell::textOption(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem text(option);
    initStyleOption(&text, index);
    text.features &= ~QStyleOptionViewItem::HasDecoration;
    text.icon = QIcon();
    text.decorationSize = QSize();
    return text;
}

void ImageAndTextCell::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QImage image = icon(index);
    QStyleOptionViewItem text = textOption(option, index);
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    // The row's background (and selection) under the icon's strip too.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &text, painter, option.widget);
    if (!image.isNull()) {
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform, !drawnAtOwnSize(option.rect.height(), image.size()));
        painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter->drawImage(drawnImageFrame(option.rect, image.size()), image);
        painter->restore();
    }
    text.rect = textFrame(option.rect, image.size());
    style->drawControl(QStyle::CE_ItemViewItem, &text, painter, option.widget);
}

QSize ImageAndTextCell::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QStyleOptionViewItem text = textOption(option, index);
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    QSize size = style->sizeFromContents(QStyle::CT_ItemViewItem, &text, QSize(), option.widget);
    const QImage image = icon(index);
    if (image.isNull()) {
        size.rwidth() += iconInset;
        return size;
    }
    // A row is as high as an icon drawn at its own size; a much taller icon
    // is scaled down to the text's height instead.
    if (drawnAtOwnSize(size.height(), image.size()))
        size.setHeight(std::max(size.height(), image.height()));
    size.rwidth() += stripWidth(QRect(QPoint(), size), image.size());
    return size;
}

void ImageAndTextCell::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // The whole text frame, so that the editor covers the name it replaces.
    // (The plain delegate would add the icon's room once more: it reads the
    // decoration from the index again.)
    editor->setGeometry(textFrame(option.rect, icon(index).size()));
}
