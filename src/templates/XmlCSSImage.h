#pragma once

#include "model/core/XmlBase.h"

#include <QHash>

class XmlImage;

// The picture of a background, with the bitmaps made from it. Its name is
// never written.
//
// Two identities: the element UUID (the registry key under which the build
// steps find the record) and the picture UUID, which names the picture file
// "<picture UUID>.<jpg|gif|png>" in the document's "bitmaps2" folder. Records
// may share a picture UUID once the theme has merged equal pictures.
//
// The picture element ("IWimage") is an owned part, not a child: it holds the
// loaded picture while the load count is above 0.
class XmlCSSImage final : public XmlBase {
public:
    explicit XmlCSSImage(Key key);
    ~XmlCSSImage() override;

    static std::shared_ptr<XmlCSSImage> create();
    static XmlCSSImage* cast(XmlBase* object) { return dynamic_cast<XmlCSSImage*>(object); }

    QString elementName() const override;
    // The picture element's XML, always.
    QString writeXmlVorns() override;
    // The picture element.
    XmlBaseList ownedParts() const override;
    // "IWimage" is the record's own picture element.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    void setAttributeTo(const QString& key, const QString& value) override;
    // ` imageuuid="%@" itype="%d" ow="%d" oh="%d"`.
    void appendAttributes(QString& xml) override;

    // Takes the picture of the file under a new picture UUID: a ".jpg",
    // ".gif" or ".png" file is copied into "bitmaps2" as it is, any other
    // picture is written there as JPEG. A file that holds no picture (none,
    // empty, or bytes that are not a picture), or a picture that cannot be put
    // into "bitmaps2", leaves the record as it was: the reason is logged and
    // the answer is false, with the reason in whyNot.
    bool setNewImageFromFile(const QString& path, QString* whyNot = nullptr);

    const std::shared_ptr<XmlImage>& image() const { return _image; }
    // 0 JPEG, 1 GIF, 2 PNG.
    int iType() const { return _iType; }
    void setIType(int type);
    const QString& imageUUID() const { return _imageUUID; }
    // Keeps a copy; marks nothing changed.
    void setImageUUID(const QString& uuid);
    // "<picture UUID>.jpg" for type 0, ".png" for 2, ".gif" for any other.
    QString imageFileName() const;
    // The measured size in pixels; measures the picture in memory first when
    // either dimension is still 0.
    lq::Size size();
    unsigned int ow() const { return _ow; }
    unsigned int oh() const { return _oh; }
    // The number of the version-1 theme bitmap the record replaces.
    int imageSeqNumber() const { return image_seq_number; }
    // How many users currently hold the picture in memory.
    int backstore() const { return _backstore; }

    // --- Build steps ------------------------------------------------------------
    // Copies the picture file to "homepage/bitmaps" under its own name.
    void createWebImage();
    // Writes the top, middle and bottom slices of a sliced background as
    // JPEGs "homepage/bitmaps/<1|2|3><picture UUID><height>.jpg", each on the
    // background's colour.
    void createBitmapSlicesBottom(int top, int bottom);
    // Writes the PNG "homepage/bitmaps/<filename>" of the size: the picture
    // tiled from the top left (type 0) or placed once at the percent
    // position x, y (type 1). A file name that is not a plain name in that
    // folder is refused.
    void createWinIEBitmapSizeTypeXY(const QString& filename, const lq::Size& size, int type, int x, int y);

    // --- Counted loading --------------------------------------------------------
    // The first hold reads the picture from "bitmaps2" and measures it,
    // without marking the document changed.
    void loadBackstore(void* context) override;
    // The last release drops the picture; extra releases leave the count at 0.
    void releaseBackstore(void* context) override;

    // --- Bitmap housekeeping ----------------------------------------------------
    // Adds the picture UUID (the file name without extension).
    void listOfBitmaps(QStringList& names);
    // Adds "bitmaps2/<file name>", whatever `all` says.
    void listOfFilesToCopyAll(QStringList& files, bool all) override;
    // Writes a picture embedded in the element's data (version-1 themes) to
    // "<folder>/bitmaps2" under a new picture UUID.
    void unpackToDirectory(const QString& folder);
    // Takes the version-1 theme bitmap "bitmaps/bitmap<iseq>" of the document.
    void convert1_2Bitmaps();
    // Takes the new picture UUID the map gives for the present one, if any.
    void changeImageUUID(const QHash<QString, QString>& uuids);
    // Nothing: the picture element is not sent postload through the record.
    void postload() override;

private:
    // The picture UUID can name a file inside a folder (no path separator, not empty).
    bool hasUsablePictureName() const;

    std::shared_ptr<XmlImage> _image;
    int image_seq_number = 0;
    int _backstore = 0;
    unsigned int _ow = 0;
    unsigned int _oh = 0;
    int _iType = 0;
    QString _imageUUID;
};
