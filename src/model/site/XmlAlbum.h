#pragma once

#include "model/site/XmlWebItem.h"

namespace lq {
struct PictureRefusal;
}

class XmlContent;
class XmlFooter;
class XmlMasthead;
class XmlPhoto;
class PageTemplate;
class XmlPhotoRep;
class XmlStyleSheet;
class XmlWatermark;

// An album page: a page of the site that holds photos, numbered from the
// site's page counter, bound to one page template of the theme, with its own
// page text and text watermark.
class XmlAlbum : public XmlWebItem {
public:
    explicit XmlAlbum(Key key);
    ~XmlAlbum() override;

    static std::shared_ptr<XmlAlbum> create();
    // Album pages and groups.
    static XmlAlbum* cast(XmlBase* object) { return dynamic_cast<XmlAlbum*>(object); }

    QString elementName() const override;
    QImage iconImage() override;
    // Photos of exactly the class XmlPhoto: representative pictures and
    // widget photos are refused, and so is the album itself or what holds it.
    bool canYouBeMyParent(XmlBase* child) override;
    // "seq" (with a change notice) and "template" (without); the rest goes to the page.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The page's attributes, then seq and template. The template UUID is not written.
    void appendAttributes(QString& xml) override;
    // The page template of a 1.0 page, the watermark and the page text are
    // filled in place and never attached.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // The page's owned parts, then the watermark, then the page text. The
    // 1.0 template is never written.
    QString writeXmlVorns() override;
    // Sets up a page just added to the site: page number, name, file name,
    // the document's default template and the starting page text.
    void newDocument() override;
    // The watermark, the page text and a 1.0 page's own template, when it has one.
    XmlBaseList ownedParts() const override;

    int pageSeqNumber() const { return _pageSeqNumber; }
    // The web item's entry with the page number.
    MenuItem menuItem() override;
    void setPageSeqNumber(int number);

    // The number of the bound template; the setter sends no change notice.
    int templateNum() const { return _templateNum; }
    void setTemplateNum(int number) { _templateNum = number; }
    // The UUID of the bound template; kept in memory only.
    const QString& templateUUID() const { return _templateUUID; }
    // Binds the page to the template (a change): takes its number and UUID.
    void setTemplate(const PageTemplate* sheet);
    // Rebinds the page when the number is -1 (then the number becomes 0) or
    // the page's template number; no change notice.
    virtual void setTemplateForUUID(int number, const QString& uuid);
    // The template registered under the bound UUID, or nothing. Templates
    // stand above pages: the caller names their class (XmlStyleSheet, the
    // default) and the page finds the element.
    template <class Template = XmlStyleSheet>
    std::shared_ptr<Template> getTemplate() const
    {
        return std::dynamic_pointer_cast<Template>(templateElement());
    }
    XmlBasePtr templateElement() const;

    const std::shared_ptr<XmlWatermark>& watermark() const { return _watermark; }
    // Takes the new watermark as the album's part (a change); the old one is
    // detached. Nothing (a null watermark) is refused: a page always has one.
    void setWatermark(const std::shared_ptr<XmlWatermark>& watermark);
    const std::shared_ptr<XmlContent>& webcontent() const { return _webcontent; }
    // The 1.0 page template read with the page, or nothing.
    const XmlBasePtr& legacyStyleSheet() const { return _styleSheet; }

    // The stored file name; an empty one is first replaced by defaultFileName.
    QString fileName() override;
    // "page<number>.html".
    QString defaultFileName() const;
    // The external address when the page is an external link, else fileName.
    QString externalLink() override;
    bool isDynamic() const override { return false; }

    // The masthead and footer of the home page above the page; nothing when
    // there is none (a page in the trash).
    XmlMasthead* masthead();
    XmlFooter* footer();

    // The page's representative picture, or nothing while it has no picture
    // number. A page without one takes its first photo's stored picture:
    // the new representative picture draws its own number from the site and
    // stores its own copy.
    std::shared_ptr<XmlPhotoRep> rep() override;
    // The representative picture's number as it stands (0 for none),
    // without making one.
    int repPictureNumber() const;

    // The children that are photos, in order, and how many there are.
    virtual XmlBaseList photoObjects();
    virtual int numberPhotos();
    // The stored rich text of each photo's caption, in order.
    virtual QStringList photoCaptions();
    // The names of the picture files under "pictures" that the page uses:
    // "image<N>.jpg" for the representative picture (number 0 when there is
    // none), then for each photo.
    virtual QStringList picturesInSite();

    // Makes a photo of the picture file and places it at the index (-1, or
    // an index past the last child, appends), numbers it and stores its
    // picture, and gives it the caption "<p>caption</p>", or for no caption
    // (a null string) the file's name without folder and last extension. The
    // caption is plain text: it is escaped as HTML text before it goes into
    // the stored text, so "a<b" stays text and never becomes markup. Answers
    // the photo, or nothing (and changes nothing) when the file cannot be
    // read as a whole picture or its picture cannot be stored; why in
    // `refusal`.
    std::shared_ptr<XmlPhoto> importPhotoIndexCaption(const QString& path, int index, const QString& caption,
        lq::PictureRefusal* refusal = nullptr);

    // How a page of an old document takes its template: album pages the first
    // converted template without the group navigation, groups the second
    // without the photo album.
    struct LegacyStyle {
        int templateNum;
        QString removedBox;
    };
    virtual LegacyStyle legacyStyle() const;

    // Marks a page read from the older element "QZwebpage2"; only the
    // conversion of such sites looks at it.
    void setWasVerdanePage() { _wasVerdanePage = 1; }
    bool wasVerdanePage() const { return _wasVerdanePage != 0; }

protected:
    int _pageSeqNumber = 0;
    XmlBasePtr _styleSheet;
    std::shared_ptr<XmlWatermark> _watermark;
    std::shared_ptr<XmlContent> _webcontent;
    int _templateNum = 0;
    QString _templateUUID;
    int _wasVerdanePage = 0;
};
