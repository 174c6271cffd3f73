#include "elements/CollageParameters.h"

#include "elements/XmlWebPhotoAlbum.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"

#include <QStringList>

#include <algorithm>

void CollageParameters::setNumberPhotos(int count)
{
    _numberPhotos = std::clamp(count, 1, 8);
}

void CollageParameters::setStyle(int style)
{
    _style = std::clamp(style, 0, 2);
}

void CollageParameters::setWidth(int width)
{
    _width = std::clamp(width, 20, 5000);
}

void CollageParameters::setHeight(int height)
{
    _height = std::clamp(height, 10, 5000);
}

QString CollageParameters::collageString() const
{
    return lq::uiFrame(this, "collageString", [&] {
        return XmlWebPhotoAlbum::collageStringFor(_numberPhotos, _width, _height, _style, _space, _allow ? 1 : 0);
    });
}

void CollageParameters::setCollageString(const QString& collage)
{
    lq::uiFrame(this, "setCollageString:", [&] {
        *this = CollageParameters();
        if (collage.isEmpty())
            return;
        const QStringList header = collage.section(QLatin1Char('|'), 0, 0).split(QLatin1Char(','));
        if (header.size() <= 4)
            return;
        setNumberPhotos(lq::intValue(header.at(0)));
        setWidth(lq::intValue(header.at(1)));
        setHeight(lq::intValue(header.at(2)));
        setStyle(lq::intValue(header.at(3)));
        setSpaceBetween(lq::intValue(header.at(4)));
        if (header.size() > 5)
            setAllowPhotos(lq::intValue(header.at(5)) != 0);
    });
}

QList<lq::Rect> CollageParameters::miniatureCells() const
{
    return lq::uiFrame(this, "miniatureCells", [&] {
        QList<lq::Rect> cells;
        const QString layout = XmlWebPhotoAlbum::collageLayout(_numberPhotos, _style);
        for (const QString& cell : XmlWebPhotoAlbum::collagePreviewCells(layout, miniatureWidth, miniatureHeight, 0))
            cells.append(lq::Rect::fromString(cell));
        return cells;
    });
}
