#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class MyDocument;
class XmlAlbum;

// The bookkeeping of a site's pictures ("pictures/image<N>.jpg"): which of
// them the site and its snapshots use, the largest numbers given out, and
// the rebuilds that clean the folder and make the photos' internal images
// again. It takes the document and keeps nothing of its own.
class SitePictures {
public:
    explicit SitePictures(MyDocument& document);

    // Shows the alert "Rebuild Website" and rebuilds the site.
    void delayedRebuildEntireSite();
    // Cleans the document folder (stray folders, "homepage" and "temp" go;
    // pictures no photo and no snapshot in "revert" uses go), sets the
    // picture counter past the largest picture number and queues the
    // rebuild of every photo's internal images.
    void rebuildEntireSite();
    // Queues the rebuild of the internal images of every photo of the page;
    // nothing for no page or a page without photos.
    void rebuildPhotoAlbum(XmlAlbum* page);
    // The names ("image<N>.jpg") of the pictures under "pictures" that the
    // site (its pages, their representative pictures and the trash), the
    // site as last saved or a snapshot in "revert" uses. Each name in
    // `leaving` (the pictures of items on their way out of the site) counts
    // for one use less in the site. When the saved site or a snapshot cannot
    // be read, every picture there is counts as in use: one of them may
    // still be needed.
    QSet<QString> picturesInUse(const QStringList& leaving = {}) const;
    // Removes the pictures "pictures/image<N>.jpg" that neither the site as
    // last saved nor any snapshot uses, with their files (removePictureFiles).
    // The site, its theme and each snapshot's are read by the element reader,
    // as opening or reverting reads them, and a picture counts as used by the
    // number its photo holds, however the file spelled it. It removes
    // what an import or an Empty Trash that was not saved left behind, or
    // what only snapshots trimmed since used. Run when the user closes the
    // site without saving and when a site is opened; the site in memory does
    // not count. Nothing goes when the saved site or a snapshot cannot be
    // read. The numbers removed.
    QList<int> removeUnusedPictures() const;
    // Removes the files of the picture of that number: its internal images
    // under "temp", the web image and thumbnails under "homepage/pictures",
    // and last the imported "pictures/image<n>.jpg". A file that is not there
    // is passed over. False, with the file and the reason, when one that is
    // there cannot be removed; the imported picture then stays. Every
    // removal of a site's picture goes through here.
    bool removePictureFiles(int number, QString* failure = nullptr) const;
    // The largest number N of the pictures "image<N>.<extension>" in
    // "pictures", at any depth; other names do not count. 0 for none.
    int getMaxPhotoSequenceNumber() const;
    // The largest picture number of the site's photos and pages'
    // representative pictures (the trash's included), and of the picture
    // files "image<N>.jpg" in the folder's "pictures".
    int maxPhotoSequenceNumber() const;
    int maxPictureNumberOnDisk() const;

private:
    MyDocument& _document;
};
