// The Vorn Box's stored settings and their attributes.
#include "elements/VornBoxSettings.h"

#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"

namespace {

const QString& foreground()
{
    static const QString layer = QStringLiteral("Foreground");
    return layer;
}

} // namespace

VornBoxSettings::VornBoxSettings(Key key)
    : XmlWebText(key)
{
}

VornBoxSettings::~VornBoxSettings() = default;

// --- Stored form -------------------------------------------------------------------------------

void VornBoxSettings::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        const int number = lq::intValue(value);
        if (key == u"type")
            setType(number);
        else if (key == u"vornSeqNum")
            setVornSeqNum(number);
        else if (key == u"scrollbars")
            setScrollbars(number != 0);
        else if (key == u"autostart")
            setAutostart(number != 0);
        else if (key == u"moviecontroller")
            setMoviecontroller(number != 0);
        else if (key == u"loopmovie")
            setLoopmovie(number != 0);
        else if (key == u"scale")
            setScale(number);
        else if (key == u"externalType")
            setExternalType(number);
        else if (key == u"newWindow")
            setNewWindow(number != 0);
        else if (key == u"hiddenQT")
            setHiddenQT(number);
        else if (key == u"wraps")
            setWrapsText(number != 0);
        else if (key == u"externalHTML")
            setExternalHTML(value);
        else if (key == u"fullname")
            setFullname(value);
        else if (key == u"clickLinkTo")
            setClickLinkTo(value);
        else if (key == u"rollOverImage")
            setRollOverImage(value);
        else if (key == u"zlocation")
            setZlocation(value);
        else if (key == u"qtSize")
            setQTSize(stringToSize(value));
        else if (key == u"baseSize")
            setBaseSize(stringToSize(value));
        else
            XmlWebText::setAttributeTo(key, value);
    });
}

void VornBoxSettings::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlWebText::appendAttributes(xml);
        const auto text = [&](const char* attribute, const QString& value) {
            xml += QLatin1Char(' ') + QLatin1String(attribute) + QStringLiteral("=\"") + value + QLatin1Char('"');
        };
        const auto number = [&](const char* attribute, int value) { text(attribute, QString::number(value)); };
        number("vornSeqNum", _vornSeqNum);
        number("type", _type);
        text("externalHTML", escape(_externalHTML));
        text("fullname", escape(fullname()));
        number("scrollbars", _scrollbars ? 1 : 0);
        number("autostart", _autostart ? 1 : 0);
        number("moviecontroller", _moviecontroller ? 1 : 0);
        number("loopmovie", _loopmovie ? 1 : 0);
        number("scale", _scale);
        number("externalType", _externalType);
        text("clickLinkTo", escape(_clickLinkTo));
        text("rollOverImage", escape(_rollOverImage));
        number("newWindow", _newWindow ? 1 : 0);
        text("qtSize", sizeToString(_qtSize));
        number("hiddenQT", _hiddenQT);
        text("baseSize", sizeToString(_baseSize));
        text("zlocation", zlocation());
        number("wraps", _wrapsText ? 1 : 0);
    });
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
    return _fullname.isNull() ? name() : _fullname;
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
