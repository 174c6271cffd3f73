#pragma once

#include "model/XmlWebItem.h"

// An album page: a page of the site that holds photos.
class XmlAlbum : public XmlWebItem {
public:
    explicit XmlAlbum(Key key);

    static std::shared_ptr<XmlAlbum> create();
    static XmlAlbum* cast(XmlBase* object) { return dynamic_cast<XmlAlbum*>(object); }

    QString elementName() const override;
    // Photos of exactly the class XmlPhoto: representative pictures and
    // widget photos are refused, and so is the album itself or what holds it.
    bool canYouBeMyParent(XmlBase* child) override;

    int pageSeqNumber() const { return _pageSeqNumber; }
    void setPageSeqNumber(int number) { _pageSeqNumber = number; }

    // Marks a page read from the older element "QZwebpage2"; only the
    // conversion of such sites looks at it.
    void setWasVerdanePage() { _wasVerdanePage = 1; }
    bool wasVerdanePage() const { return _wasVerdanePage != 0; }

protected:
    int _pageSeqNumber = 0;
    int _wasVerdanePage = 0;
};
