// The HTML and CSS of a box: its division and its borders and padding.
#include "templates/BoxModelHtml.h"

#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"

QString BoxModelHtml::htmlDivTagsForRect(const QString& elementId, const lq::Rect& rect)
{
    return lq::modelFrame(&_box, "htmlDivTags:forRect:", [&] {
        return QStringLiteral("<div id=\"%1\" style=\"top: %2px; left: %3px; width: %4px; height: %5px;\">&nbsp;</div>\n")
            .arg(elementId, QString::number(lq::truncatedPixel(rect.y())), QString::number(lq::truncatedPixel(rect.x())),
                QString::number(lq::truncatedPixel(rect.width())), QString::number(lq::truncatedPixel(rect.height())));
    });
}

QString BoxModelHtml::htmlDivTagsVornStyle(const QString& elementId, const QString& style)
{
    return lq::modelFrame(&_box, "htmlDivTags:vornStyle:", [&] {
        const int shadow = _box.dropShadow() ? XmlBoxModel::shadowStrip : 0;
        const int divWidth = _box.calcWidth() - _box._bl - _box._br - shadow;
        const int divHeight = _box.actualHeight() - _box._bt - _box._bb - shadow;
        const int divTop = _box.calcTop();
        const int divLeft = _box.calcLeft();
        if (style.isNull()) {
            return htmlDivTagsForRect(elementId, lq::Rect(static_cast<float>(divLeft), static_cast<float>(divTop),
                                                          static_cast<float>(divWidth), static_cast<float>(divHeight)));
        }
        return QStringLiteral("<div id=\"%1\" style=\"%2 top: %3px; left: %4px; width: %5px; height: %6px;\">&nbsp;</div>\n")
            .arg(elementId, style, QString::number(divTop), QString::number(divLeft), QString::number(divWidth),
                QString::number(divHeight));
    });
}

QString BoxModelHtml::borderType(XmlBoxModel::BorderType type)
{
    switch (type) {
    case XmlBoxModel::BorderType::Double:
        return QStringLiteral("double");
    case XmlBoxModel::BorderType::Dotted:
        return QStringLiteral("dotted");
    case XmlBoxModel::BorderType::Dashed:
        return QStringLiteral("dashed");
    case XmlBoxModel::BorderType::Groove:
        return QStringLiteral("groove");
    case XmlBoxModel::BorderType::Ridge:
        return QStringLiteral("ridge");
    default:
        return QStringLiteral("solid");
    }
}

void BoxModelHtml::appendCSSBorders(QString& css)
{
    lq::modelFrame(&_box, "appendCSSBorders:", [&] {
        if (_box.bordersAreBitmap()) {
            css += QStringLiteral("border: 0px; ");
            return;
        }
        const QString style = borderType(_box._bType);
        const auto side = [&](const char* which, const lq::Colour& colour, int width) {
            css += QStringLiteral("border-%1: %2 %3 %4px; ")
                       .arg(QLatin1String(which), lq::colorToCSSString(colour), style, QString::number(width));
        };
        side("top", _box._btColor, _box._bt);
        side("left", _box._blColor, _box._bl);
        side("bottom", _box._bbColor, _box._bb);
        side("right", _box._brColor, _box._br);
    });
}

void BoxModelHtml::appendCSSPadding(QString& css)
{
    lq::modelFrame(&_box, "appendCSSPadding:", [&] {
        const bool bitmap = _box.bordersAreBitmap();
        css += QString::asprintf("padding: %dpx %dpx %dpx %dpx; ", _box._pt + (bitmap ? _box._bt : 0), _box._pr + (bitmap ? _box._br : 0),
                                 _box._pb + (bitmap ? _box._bb : 0), _box._pl + (bitmap ? _box._bl : 0));
    });
}
