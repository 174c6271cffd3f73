#pragma once

// Conversions between attribute texts and the values they hold: colours,
// rectangles, points, sizes, booleans and hexadecimal numbers. The parsers
// never fail: malformed text gives nothing, black, zeros or NO.

#include "platform/Colour.h"
#include "platform/Geometry.h"

#include <QString>

#include <optional>

namespace lq {

// A colour from "R G B A" (four blank-separated numbers; any other number of
// parts gives opaque black) or "#RRGGBB" (either case; characters after the
// six digits are ignored). Nothing for an empty text or a "#" form of six
// characters or fewer.
std::optional<Colour> stringToColor(const QString& text);
// "%f %f %f %f" of red, green, blue, alpha.
QString colorToString(const Colour& colour);
// "#RRGGBB" (upper case), each component times 255 cut toward zero; no alpha.
QString colorToCSSString(const Colour& colour);
// 0xRRGGBB with the components of colorToCSSString.
int colorToInt(const Colour& colour);
// Two hexadecimal digits as a component 0..1.
float hexColorHex(char high, char low);
// The value of one hexadecimal digit; 0 for any other character (and for "0").
int hexChar(char c);

QString rectToString(const Rect& rect);
Rect stringToRect(const QString& text);
QString pointToString(const Point& point);
Point stringToPoint(const QString& text);
QString sizeToString(const Size& size);
Size stringToSize(const QString& text);

// "YES" or "NO"; only exactly "YES" reads as true.
QString boolToString(bool flag);
bool stringToBool(const QString& text);

// A hexadecimal number ("1F", "0x1F") at the start of the text, else 0.
quint32 hexString(const QString& text);

} // namespace lq
