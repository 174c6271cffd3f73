// The element factory: the element name of every class that can stand in a
// document file, a theme or the pasteboard, and the class that makes it. The
// steps of processor scripts are added by the build pipeline at start-up
// (lq::registerScriptSteps).

#include "model/core/XmlBase.h"

#include "templates/XmlPictureFrame.h"
#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebBox.h"
#include "elements/XmlWebContent.h"
#include "elements/XmlWebFooter.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "imaging/XmlCanvas.h"
#include "imaging/XmlDraw.h"
#include "imaging/XmlDrawArrow.h"
#include "imaging/XmlDrawBalloon.h"
#include "imaging/XmlDrawCircle.h"
#include "imaging/XmlDrawCloud.h"
#include "imaging/XmlDrawLabel.h"
#include "imaging/XmlDrawLetter.h"
#include "imaging/XmlDrawLetterBox.h"
#include "imaging/XmlDrawObject.h"
#include "imaging/XmlDrawObjects.h"
#include "imaging/XmlDrawSquare.h"
#include "imaging/XmlImage.h"
#include "imaging/XmlShape.h"
#include "imaging/XmlWatermark.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlBodyHTML.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHeadHTML.h"
#include "model/site/XmlHomePage.h"
#include "model/theme/XmlLegacyTheme.h"
#include "model/site/XmlPhoto.h"
#include "model/feed/XmlRSS.h"
#include "model/feed/XmlRSSItem.h"
#include "model/site/XmlSite.h"
#include "model/theme/XmlTheme.h"
#include "model/site/XmlTrash.h"
#include "model/site/XmlWidgetPhoto.h"
#include "platform/ExceptionFrame.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"
#include "publish/XmlLocation.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlSideBar.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <iterator>

namespace {

using Maker = XmlBase::ElementMaker;

template <class T>
XmlBasePtr makeElement()
{
    return T::create();
}

// Album pages of older sites were written as "QZwebpage2"; the mark tells the
// conversion of those sites where the page's photos stood.
XmlBasePtr makeVerdanePage()
{
    std::shared_ptr<XmlAlbum> album = XmlAlbum::create();
    album->setWasVerdanePage();
    return album;
}

using VocabularyEntry = XmlBase::FactoryTag;

// Exact, case-sensitive element names. No two are equal, so the order only
// groups them by where they occur.
const VocabularyEntry kVocabulary[] = {
    { "xmlbase", &makeElement<XmlBase> },
    // Photo canvases.
    { "IWcanvas", &makeElement<XmlCanvas> },
    { "IWimage", &makeElement<XmlImage> },
    { "IWletter", &makeElement<XmlDrawLetter> },
    { "IWletterbox", &makeElement<XmlDrawLetterBox> },
    { "IWdrawobject", &makeElement<XmlDrawObject> },
    { "IWdrawcloud", &makeElement<XmlDrawCloud> },
    { "IWdrawballoon", &makeElement<XmlDrawBalloon> },
    { "IWdrawlabel", &makeElement<XmlDrawLabel> },
    { "IWdrawarrow", &makeElement<XmlDrawArrow> },
    { "IWdrawcircle", &makeElement<XmlDrawCircle> },
    { "IWdrawsquare", &makeElement<XmlDrawSquare> },
    { "IWdrawobjects", &makeElement<XmlDrawObjects> },
    { "IWwatermark", &makeElement<XmlWatermark> },
    { "IWshape", &makeElement<XmlShape> },
    { "IWdraw", &makeElement<XmlDraw> },
    // The site.
    { "file", &makeElement<XmlFile> },
    { "files", &makeElement<XmlFiles> },
    { "QZsite", &makeElement<XmlSite> },
    { "QZgroup", &makeElement<XmlGroup> },
    { "QZhomepage", &makeElement<XmlHomePage> },
    { "QZtrash", &makeElement<XmlTrash> },
    { "QZalbum", &makeElement<XmlAlbum> },
    { "QZwebpage2", &makeVerdanePage },
    { "QZphoto", &makeElement<XmlPhoto> },
    { "QZwidgetphoto", &makeElement<XmlWidgetPhoto> },
    { "headHTML", &makeElement<XmlHeadHTML> },
    { "bodyHTML", &makeElement<XmlBodyHTML> },
    // Publishing settings and digest trees.
    { "QZlocation", &makeElement<XmlLocation> },
    { "QZD", &makeElement<XmlD> },
    { "QZF", &makeElement<XmlF> },
    // Themes.
    { "cssStyleSheet", &makeElement<XmlStyleSheet> },
    { "QZimage", &makeElement<XmlCSSImage> },
    { "cssFont", &makeElement<XmlWebFont> },
    { "cssWebBox", &makeElement<XmlWebBox> },
    { "cssWebFooter", &makeElement<XmlWebFooter> },
    { "cssWebContent", &makeElement<XmlWebContent> },
    { "cssWebMenu", &makeElement<XmlWebMenu> },
    { "cssPhotoAlbum", &makeElement<XmlWebPhotoAlbum> },
    { "cssGroupAlbum", &makeElement<XmlWebPhotoAlbum> }, // older name of the photo album
    { "cssPictureFrame", &makeElement<XmlPictureFrame> },
    { "cssSlideShow", &makeElement<XmlSlideshow> },
    { "cssSidebar", &makeElement<XmlSideBar> },
    { "cssVornBox", &makeElement<XmlVornBox> },
    { "QZtheme", &makeElement<XmlLegacyTheme> },
    { "theme", &makeElement<XmlTheme> },
    // Feed settings.
    { "QZrss", &makeElement<XmlRSS> },
    { "QZrssitem", &makeElement<XmlRSSItem> },
};

QHash<QString, Maker>& vocabulary()
{
    static QHash<QString, Maker> table = [] {
        QHash<QString, Maker> byTag;
        byTag.reserve(static_cast<qsizetype>(std::size(kVocabulary)));
        for (const VocabularyEntry& entry : kVocabulary)
            byTag.insert(QString::fromLatin1(entry.tag), entry.make);
        return byTag;
    }();
    return table;
}

} // namespace

XmlBasePtr XmlBase::factoryCreateChildFromTag(const QString& tag)
{
    return lq::classFrame("XmlBase +createChildFromTag:", [&]() -> XmlBasePtr {
        // Elements come in runs of one tag (the files of a folder, the photos
        // of an album), so the last tag found is tried before the table. A
        // tag once found keeps its class: tags are only ever added.
        static thread_local QString lastTag;
        static thread_local Maker lastMake = nullptr;
        if (lastMake && tag == lastTag)
            return lastMake();
        const Maker make = vocabulary().value(tag, nullptr);
        if (!make)
            return nullptr;
        // Its own copy: the tag may be borrowed from the text being read.
        lastTag = QString(tag.constData(), tag.size());
        lastMake = make;
        return make();
    });
}

void XmlBase::addFactoryTags(std::initializer_list<FactoryTag> tags)
{
    QHash<QString, Maker>& table = vocabulary();
    for (const FactoryTag& entry : tags) {
        const QString tag = QString::fromLatin1(entry.tag);
        if (!table.contains(tag))
            table.insert(tag, entry.make);
    }
}

XmlBasePtr XmlBase::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&] {
        return factoryCreateChildFromTag(tag);
    });
}
