#pragma once

#include "platform/Geometry.h"

#include <QString>

class XmlBase;

// The stored settings of a Vorn Box (XmlVornBox describes its types), a
// value the box holds and reads and writes with the text element's
// attributes: its kind, the external item and its options, its layer and its
// user's name. The setters mark the box's document changed, unless they say
// otherwise.
//
// The box's start tag holds the text element's attributes, then vornSeqNum,
// type, externalHTML, fullname, scrollbars, autostart, moviecontroller,
// loopmovie, scale, externalType, clickLinkTo, rollOverImage, newWindow,
// qtSize, hiddenQT, baseSize, zlocation and wraps.
class VornBoxSettings {
public:
    // The settings of the box, which outlives them.
    explicit VornBoxSettings(XmlBase& box);
    VornBoxSettings(const VornBoxSettings&) = delete;
    VornBoxSettings& operator=(const VornBoxSettings&) = delete;

    // Integers: "type", "vornSeqNum", "scrollbars", "autostart",
    // "moviecontroller", "loopmovie", "scale", "externalType", "newWindow",
    // "hiddenQT", "wraps"; texts: "externalHTML", "fullname", "clickLinkTo",
    // "rollOverImage", "zlocation" (kept only once the type read is 3);
    // sizes "{w, h}": "qtSize", "baseSize". Each through its setter. False
    // for a key that is no setting of the box.
    bool setAttributeTo(const QString& key, const QString& value);
    void appendAttributes(QString& xml) const;

    // The user's name for the box, or the box's name when none was given.
    QString fullname() const;
    void setFullname(const QString& fullname);
    int type() const { return _type; }
    void setType(int type);
    int externalType() const { return _externalType; }
    void setExternalType(int type);
    int vornSeqNum() const { return _vornSeqNum; }
    void setVornSeqNum(int number);
    const QString& externalHTML() const { return _externalHTML; }
    void setExternalHTML(const QString& item);
    bool scrollbars() const { return _scrollbars; }
    void setScrollbars(bool scrollbars);
    bool autostart() const { return _autostart; }
    void setAutostart(bool autostart);
    bool moviecontroller() const { return _moviecontroller; }
    void setMoviecontroller(bool controller);
    bool loopmovie() const { return _loopmovie; }
    void setLoopmovie(bool loop);
    // Flash scaling: 0 "Default", 1 "noborder", 2 "exactfit".
    int scale() const { return _scale; }
    void setScale(int scale);
    const QString& clickLinkTo() const { return _clickLinkTo; }
    void setClickLinkTo(const QString& link);
    const QString& rollOverImage() const { return _rollOverImage; }
    void setRollOverImage(const QString& image);
    bool newWindow() const { return _newWindow; }
    void setNewWindow(bool newWindow);
    int hiddenQT() const { return _hiddenQT; }
    void setHiddenQT(int hidden);
    bool wrapsText() const { return _wrapsText; }
    void setWrapsText(bool wraps);
    // The movie's measured size and a stored size; neither marks the document.
    const lq::Size& qtSize() const { return _qtSize; }
    void setQTSize(const lq::Size& size) { _qtSize = size; }
    const lq::Size& baseSize() const { return _baseSize; }
    void setBaseSize(const lq::Size& size) { _baseSize = size; }
    // The layer: a layer box's own, "Foreground" for every other type.
    QString zlocation() const;
    // Stored (and the document marked) only for a layer box.
    void setZlocation(const QString& layer);

private:
    // Stores the value and tells the box's document of the change, inside
    // the frame of the setter's operation.
    template <class Field, class Value>
    void setStored(Field& field, Value&& value, const char* operation);

    XmlBase& _box;
    QString _fullname;
    QString _externalHTML = QStringLiteral("");
    int _type = 0;
    int _vornSeqNum = 0;
    int _externalType = 0;
    bool _scrollbars = false;
    bool _autostart = false;
    bool _moviecontroller = false;
    lq::Size _qtSize;
    int _hiddenQT = 0;
    lq::Size _baseSize;
    bool _loopmovie = false;
    signed char _scale = 0;
    QString _clickLinkTo = QStringLiteral("");
    bool _newWindow = false;
    QString _rollOverImage = QStringLiteral("");
    QString _zlocation = QStringLiteral("Foreground");
    bool _wrapsText = false;
};
