#pragma once

// The element text that the writer produces for photos and their parts, for
// tests that compare whole site texts. Each function answers the text of one
// element at the given depth (its indentation is one blank per ancestor).
#include <QString>

namespace phototext {

inline QString indent(int depth)
{
    return QString(depth, QLatin1Char(' '));
}

// A canvas with default filters holding a picture without image.
inline QString canvas(int depth)
{
    return indent(depth)
        + "<IWcanvas backgroundcolor=\"1.000000 1.000000 1.000000 1.000000\" fillbackground=\"1\" "
          "toffsetx=\"0.500000\" toffsety=\"0.500000\" tscale=\"1.000000\" taspectx=\"320.000000\" "
          "taspecty=\"240.000000\" highboost=\"0.500000\" brightness=\"0.000000\" contrast=\"0.000000\" saturation=\"0.000000\" "
          "useFilter=\"0\">"
        + indent(depth + 1)
        + "<IWimage bodyrect=\"{{0, 0}, {0, 0}}\" thickness=\"2.000000\" "
          "backgroundcolor=\"1.000000 1.000000 1.000000 1.000000\" foregroundcolor=\"0.000000 0.000000 0.000000 1.000000\" "
          "crop=\"{{0, 0}, {0, 0}}\" bordercolor=\"0.000000 0.000000 0.000000 1.000000\" borderwidth=\"0\" dropshadow=\"0\">"
        + indent(depth + 2) + "<IWshape shape=\"0\" attribute=\"0\"/>\n" + indent(depth + 1) + "</IWimage>\n"
        + indent(depth) + "</IWcanvas>\n";
}

// The attributes of a watermark with the default settings.
inline QString watermarkAttributes()
{
    return " placement=\"0\" textsize=\"24.000000\" textcolor=\"0.000000 0.000000 0.000000 0.500000\"";
}

// A photo element of the tag: its attributes (each with its leading blank),
// then its caption (attributes and stored text), its canvas and its PayPal
// item (attributes).
inline QString photo(const QString& tag, int depth, const QString& attributes, const QString& captionAttributes,
    const QString& captionText, const QString& paypalAttributes)
{
    return indent(depth) + "<" + tag + attributes + ">" + indent(depth + 1) + "<QZcaption" + captionAttributes
        + "><!-- x --><![CDATA[" + captionText + "]]><!-- x -->" + indent(depth + 1) + "</QZcaption>\n"
        + canvas(depth + 1) + indent(depth + 1) + "<QZpaypal" + paypalAttributes + "/>\n" + indent(depth) + "</" + tag
        + ">\n";
}

// The representative picture of a page that has none.
inline QString emptyRep(int depth)
{
    return photo("QZphotoRep", depth, " iseq=\"0\" s=\"0\" alt=\"\"", " linkType=\"1\" link=\"\" window=\"0\"", "", "");
}

} // namespace phototext
