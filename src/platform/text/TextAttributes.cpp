#include "platform/text/TextAttributes.h"

namespace lq {

void TextAttributes::setValue(QStringView key, const QVariant& value)
{
    if (value.isValid())
        custom.insert(key.toString(), value);
    else
        custom.remove(key.toString());
}

bool TextAttributes::contains(QStringView key) const
{
    if (key == TextKey::font)
        return font.has_value();
    if (key == TextKey::foregroundColour)
        return foregroundColour.has_value();
    if (key == TextKey::underlineStyle)
        return underlineStyle.has_value();
    if (key == TextKey::paragraphStyle)
        return paragraphStyle.has_value();
    return custom.contains(key.toString());
}

void TextAttributes::remove(QStringView key)
{
    if (key == TextKey::font)
        font.reset();
    else if (key == TextKey::foregroundColour)
        foregroundColour.reset();
    else if (key == TextKey::underlineStyle)
        underlineStyle.reset();
    else if (key == TextKey::paragraphStyle)
        paragraphStyle.reset();
    else
        custom.remove(key.toString());
}

void TextAttributes::merge(const TextAttributes& other)
{
    if (other.font)
        font = other.font;
    if (other.foregroundColour)
        foregroundColour = other.foregroundColour;
    if (other.underlineStyle)
        underlineStyle = other.underlineStyle;
    if (other.paragraphStyle)
        paragraphStyle = other.paragraphStyle;
    for (auto it = other.custom.constBegin(); it != other.custom.constEnd(); ++it)
        custom.insert(it.key(), it.value());
}

bool TextAttributes::isEmpty() const
{
    return !font && !foregroundColour && !underlineStyle && !paragraphStyle && custom.isEmpty();
}

} // namespace lq
