// The Vorn Box's stored settings and their attributes.
#include "elements/VornBoxSettings.h"

#include "model/core/XmlBase.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"

using namespace lq::literals;

namespace {

const QString& foreground()
{
    static const QString layer = QStringLiteral("Foreground");
    return layer;
}

} // namespace

VornBoxSettings::VornBoxSettings(XmlBase& box)
    : _box(box)
{
}

template <class Field, class Value>
void VornBoxSettings::setStored(Field& field, Value&& value, const char* operation)
{
    lq::modelFrame(&_box, operation, [&] {
        field = std::forward<Value>(value);
        _box.docChanged();
    });
}

// --- Stored form -------------------------------------------------------------------------------

bool VornBoxSettings::setAttributeTo(const QString& key, const QString& value)
{
    {
        const int number = lq::intValue(value);
        if (key == u"type"_sv)
            setType(number);
        else if (key == u"vornSeqNum"_sv)
            setVornSeqNum(number);
        else if (key == u"scrollbars"_sv)
            setScrollbars(number != 0);
        else if (key == u"autostart"_sv)
            setAutostart(number != 0);
        else if (key == u"moviecontroller"_sv)
            setMoviecontroller(number != 0);
        else if (key == u"loopmovie"_sv)
            setLoopmovie(number != 0);
        else if (key == u"scale"_sv)
            setScale(number);
        else if (key == u"externalType"_sv)
            setExternalType(number);
        else if (key == u"newWindow"_sv)
            setNewWindow(number != 0);
        else if (key == u"hiddenQT"_sv)
            setHiddenQT(number);
        else if (key == u"wraps"_sv)
            setWrapsText(number != 0);
        else if (key == u"externalHTML"_sv)
            setExternalHTML(value);
        else if (key == u"fullname"_sv)
            setFullname(value);
        else if (key == u"clickLinkTo"_sv)
            setClickLinkTo(value);
        else if (key == u"rollOverImage"_sv)
            setRollOverImage(value);
        else if (key == u"zlocation"_sv)
            setZlocation(value);
        else if (key == u"qtSize"_sv)
            setQTSize(lq::stringToSize(value));
        else if (key == u"baseSize"_sv)
            setBaseSize(lq::stringToSize(value));
        else
            return false;
        return true;
    }
}

void VornBoxSettings::appendAttributes(QString& xml) const
{
    {
        const auto text = [&](const char* attribute, const QString& value) {
            xml += QLatin1Char(' ') + QLatin1String(attribute) + QStringLiteral("=\"") + value + QLatin1Char('"');
        };
        const auto number = [&](const char* attribute, int value) { text(attribute, QString::number(value)); };
        number("vornSeqNum", _vornSeqNum);
        number("type", _type);
        text("externalHTML", lq::escape(_externalHTML));
        text("fullname", lq::escape(fullname()));
        number("scrollbars", _scrollbars ? 1 : 0);
        number("autostart", _autostart ? 1 : 0);
        number("moviecontroller", _moviecontroller ? 1 : 0);
        number("loopmovie", _loopmovie ? 1 : 0);
        number("scale", _scale);
        number("externalType", _externalType);
        text("clickLinkTo", lq::escape(_clickLinkTo));
        text("rollOverImage", lq::escape(_rollOverImage));
        number("newWindow", _newWindow ? 1 : 0);
        text("qtSize", lq::sizeToString(_qtSize));
        number("hiddenQT", _hiddenQT);
        text("baseSize", lq::sizeToString(_baseSize));
        text("zlocation", zlocation());
        number("wraps", _wrapsText ? 1 : 0);
    }
}

// --- Settings ----------------------------------------------------------------------------------

void VornBoxSettings::setType(int type)
{
    setStored(_type, type, "setType:");
}

void VornBoxSettings::setExternalType(int type)
{
    setStored(_externalType, type, "setExternalType:");
}

void VornBoxSettings::setVornSeqNum(int number)
{
    setStored(_vornSeqNum, number, "setVornSeqNum:");
}

void VornBoxSettings::setExternalHTML(const QString& item)
{
    setStored(_externalHTML, lq::orEmpty(item), "setExternalHTML:");
}

void VornBoxSettings::setScrollbars(bool scrollbars)
{
    setStored(_scrollbars, scrollbars, "setScrollbars:");
}

void VornBoxSettings::setAutostart(bool autostart)
{
    setStored(_autostart, autostart, "setAutostart:");
}

void VornBoxSettings::setMoviecontroller(bool controller)
{
    setStored(_moviecontroller, controller, "setMoviecontroller:");
}

void VornBoxSettings::setLoopmovie(bool loop)
{
    setStored(_loopmovie, loop, "setLoopmovie:");
}

void VornBoxSettings::setScale(int scale)
{
    setStored(_scale, static_cast<signed char>(scale), "setScale:");
}

void VornBoxSettings::setClickLinkTo(const QString& link)
{
    setStored(_clickLinkTo, lq::orEmpty(link), "setClickLinkTo:");
}

void VornBoxSettings::setRollOverImage(const QString& image)
{
    setStored(_rollOverImage, lq::orEmpty(image), "setRollOverImage:");
}

void VornBoxSettings::setNewWindow(bool newWindow)
{
    setStored(_newWindow, newWindow, "setNewWindow:");
}

void VornBoxSettings::setHiddenQT(int hidden)
{
    setStored(_hiddenQT, hidden, "setHiddenQT:");
}

void VornBoxSettings::setWrapsText(bool wraps)
{
    setStored(_wrapsText, wraps, "setWrapsText:");
}

QString VornBoxSettings::fullname() const
{
    return _fullname.isNull() ? _box.name() : _fullname;
}

void VornBoxSettings::setFullname(const QString& fullname)
{
    setStored(_fullname, lq::orEmpty(fullname), "setFullname:");
}

QString VornBoxSettings::zlocation() const
{
    return _type == 3 ? _zlocation : foreground();
}

void VornBoxSettings::setZlocation(const QString& layer)
{
    if (_type == 3)
        setStored(_zlocation, lq::orEmpty(layer), "setZlocation:");
}
