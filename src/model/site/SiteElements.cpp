#include "model/site/SiteElements.h"

#include "model/imaging/ImagingElements.h"
#include "model/core/ElementFactory.h"
#include "model/feed/FeedElements.h"
#include "model/files/FileElements.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlBodyHTML.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHeadHTML.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "model/site/XmlWidgetPhoto.h"

namespace {

// Album pages of older sites were written as "QZwebpage2"; the mark tells the
// conversion of those sites where the page's photos stood.
XmlBasePtr makeVerdanePage()
{
    std::shared_ptr<XmlAlbum> album = XmlAlbum::create();
    album->setWasVerdanePage();
    return album;
}

} // namespace

namespace lq {

void registerSiteElements()
{
    registerFileElements();
    registerFeedElements();
    registerImagingElements();
    lq::addFactoryTags({
        { "QZsite", &lq::makeElement<XmlSite> },
        { "QZgroup", &lq::makeElement<XmlGroup> },
        { "QZhomepage", &lq::makeElement<XmlHomePage> },
        { "QZtrash", &lq::makeElement<XmlTrash> },
        { "QZalbum", &lq::makeElement<XmlAlbum> },
        { "QZwebpage2", &makeVerdanePage },
        { "QZphoto", &lq::makeElement<XmlPhoto> },
        { "QZwidgetphoto", &lq::makeElement<XmlWidgetPhoto> },
        { "headHTML", &lq::makeElement<XmlHeadHTML> },
        { "bodyHTML", &lq::makeElement<XmlBodyHTML> },
    });
}

} // namespace lq
