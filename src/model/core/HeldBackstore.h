#pragma once

class XmlBase;

// Keeps an element's pictures loaded for one piece of work: one hold when
// made, one release when it goes, whichever way the work ends.
class HeldBackstore {
public:
    explicit HeldBackstore(XmlBase& element);
    ~HeldBackstore();
    HeldBackstore(const HeldBackstore&) = delete;
    HeldBackstore& operator=(const HeldBackstore&) = delete;

private:
    XmlBase& _element;
};
