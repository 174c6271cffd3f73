#pragma once

#include "elements/XmlWebText.h"

// The photo album box of a page template: the page's photos as thumbnails.
class XmlWebPhotoAlbum final : public XmlWebText {
public:
    explicit XmlWebPhotoAlbum(Key key);

    static std::shared_ptr<XmlWebPhotoAlbum> create();
    static XmlWebPhotoAlbum* cast(XmlBase* object) { return dynamic_cast<XmlWebPhotoAlbum*>(object); }

    QString elementName() const override;
};
