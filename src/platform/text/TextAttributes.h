#pragma once

// The attributes of a run of styled text: the four standard ones (font,
// foreground colour, underline style, paragraph style), each present or
// absent, and custom values under names ("QZType", "QZLinkLocation", ...).

#include "platform/text/Font.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/Colour.h"

#include <QMap>
#include <QString>
#include <QStringView>
#include <QVariant>

#include <optional>

namespace lq {

// Attribute names. The first four name the standard attributes (for
// removal and presence tests); the others are custom keys.
namespace TextKey {
inline constexpr QStringView font = u"Font";
inline constexpr QStringView foregroundColour = u"ForegroundColor";
inline constexpr QStringView underlineStyle = u"UnderlineStyle";
inline constexpr QStringView paragraphStyle = u"ParagraphStyle";
// The editor's link: an address (string) or a page number (integer).
inline constexpr QStringView link = u"Link";
// Paragraph kind of laid-out page text (integer).
inline constexpr QStringView type = u"QZType";
// Link target of laid-out page text (string).
inline constexpr QStringView linkLocation = u"QZLinkLocation";
// 1 when the link opens a new window, else 0.
inline constexpr QStringView linkNewWindow = u"QZLinkNewWindow";
// Paragraph kind in the rich-text editor (integer).
inline constexpr QStringView paragraphKind = u"QZParagraphStyle";
// State number of a menu item's text (integer).
inline constexpr QStringView menuType = u"QZMenuType";
} // namespace TextKey

struct TextAttributes {
    std::optional<Font> font;
    std::optional<Colour> foregroundColour;
    // 1 for a single underline; 0 or absent for none.
    std::optional<int> underlineStyle;
    std::optional<ParagraphStyle> paragraphStyle;
    QMap<QString, QVariant> custom;

    // A custom value; invalid when absent.
    QVariant value(QStringView key) const { return custom.value(key.toString()); }
    // Sets a custom value; an invalid value removes it.
    void setValue(QStringView key, const QVariant& value);
    // Presence of a standard or custom attribute by name.
    bool contains(QStringView key) const;
    // Removes a standard or custom attribute by name.
    void remove(QStringView key);
    // Takes every attribute that `other` has, keeping the rest.
    void merge(const TextAttributes& other);
    bool isEmpty() const;
    bool isUnderlined() const { return underlineStyle.value_or(0) != 0; }

    friend bool operator==(const TextAttributes&, const TextAttributes&) = default;
};

} // namespace lq
