#pragma once

class XmlBase;

// Holds an element for the registry without keeping it alive.
class Envelop {
public:
    explicit Envelop(XmlBase* object = nullptr) : _object(object) {}

    static Envelop createWithObject(XmlBase* object) { return Envelop(object); }

    XmlBase* object() const { return _object; }
    void setObject(XmlBase* object) { _object = object; }

private:
    XmlBase* _object = nullptr;
};
