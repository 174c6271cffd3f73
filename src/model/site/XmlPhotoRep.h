#pragma once

#include "model/site/XmlPhoto.h"

// The representative picture of a page: shown for the page on group pages
// and in the page-picking views of the editors. Every page owns one, written
// inside the page's element; it is made from the page's first photo when the
// page has none, or chosen by the user. A representative picture never gets a
// full-size internal image and never a web image.
class XmlPhotoRep final : public XmlPhoto {
public:
    explicit XmlPhotoRep(Key key);

    static std::shared_ptr<XmlPhotoRep> create();
    static XmlPhotoRep* cast(XmlBase* object) { return dynamic_cast<XmlPhotoRep*>(object); }
    // As XmlPhoto::createFromFile, making a representative picture.
    static std::shared_ptr<XmlPhotoRep> createFromFile(const QString& path);
    // The same of a picture file's bytes.
    static std::shared_ptr<XmlPhotoRep> createFromData(const QByteArray& bytes);
    // A new placeholder holding its own copy of the application's "noimage"
    // picture, with picture number 0 (which counts as no picture).
    static std::shared_ptr<XmlPhotoRep> createNoImage();

    QString elementName() const override;

    // A picture the user picked for the page (a picture of the site is read
    // through the document folder's gateway): read, normalised and limited as
    // an import, then stored under the current picture number and dropped
    // from memory; its thumbnail and icon are made anew, and the document
    // is changed. A representative picture without a number (0) first draws
    // one from the site of its document. A file that cannot be read as a
    // picture changes nothing.
    void setNewImageFromFile(const QString& path);
};
