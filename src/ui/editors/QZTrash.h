#pragma once

#include "ui/editors/EditorPanel.h"
#include "ui/editors/XmlOutlineController.h"

#include <QSet>
#include <QWidget>

class XmlOutlineView;

// The trash pane, shown while the site's trash is the current object: it
// lists the pages and photos moved to the trash, with each album page's
// title beside its name, and empties the trash for good, deleting the
// pictures of its photos (the imported picture, the web image and the
// thumbnails, and the photo's internal images). Pages and photos are taken
// back by dragging them to the site navigator.
class QZTrash : public QWidget, public EditorPanel, public XmlOutlineController {
    Q_OBJECT
public:
    // The outline's columns: the element's name, an album page's title.
    static const QString itemColumn;
    static const QString descriptionColumn;

    explicit QZTrash(QWidget* parent = nullptr);
    ~QZTrash() override;

    // --- Editor panel ---------------------------------------------------------------------
    void setDocument(EditorHost* document) override;
    void loadEditor() override;
    void saveEditor() override {}
    void refreshEditor() override;
    QWidget* superView() override { return this; }

    XmlOutlineView* outline() const { return TrashOutline; }

    // Deletes everything in the trash for good, each item with the files of
    // its photos, once the user confirms; only while the trash is the
    // current object. A picture that a photo left in the site, the site as
    // last saved or a snapshot still uses stays, with its files. A file that cannot be deleted stops
    // it there: that item and the ones after it stay in the trash, and the
    // user is told.
    void emptyTrash();
    // Deletes the pictures of that number (SitePictures::removePictureFiles):
    // the internal images, the web image and thumbnails under
    // "homepage/pictures", then the imported "pictures/image<n>.jpg". A file
    // that is not there is passed over. False, with the file and the reason,
    // when one that is there cannot be deleted; the imported picture then
    // stays.
    bool deleteFiles(int number, QString* failure);
    // The files of every photo in the element's subtree, depth first, but
    // for the photos whose picture ("image<N>.jpg") is among `kept`.
    bool deleteFilesInChildren(XmlBase& element, QString* failure, const QSet<QString>& kept = {});
    // The pictures of the photos in the element's subtree, one name a photo.
    static QStringList picturesOfPhotos(XmlBase& element);

    // --- Outline hooks ----------------------------------------------------------------------
    std::optional<QVariant> outlineViewObjectValueForTableColumnByItem(XmlOutlineView& view, const QString& column, XmlBase& item) override;
    std::optional<bool> outlineViewShouldEditTableColumnItem(XmlOutlineView& view, const QString& column, XmlBase& item) override;
    // The Delete key deletes the item for good, with its photos' files, once
    // the user confirms.
    std::optional<bool> canDeleteObject(XmlBase& element) override;
    void dropDone() override;

private:
    // The pictures that stay when the items go: those the rest of the site
    // or a snapshot uses.
    QSet<QString> picturesKeptWithout(const XmlBaseList& items) const;
    void tellFailure(const QString& title, const QString& failure);

    XmlOutlineView* TrashOutline = nullptr;
    EditorHost* _document = nullptr;
};
