#include "templates/TemplateElements.h"

#include "model/core/ElementFactory.h"
#include "model/site/SiteElements.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlPictureFrame.h"
#include "templates/XmlSideBar.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

namespace lq {

void registerTemplateElements()
{
    registerSiteElements();
    lq::addFactoryTags({
        { "cssStyleSheet", &lq::makeElement<XmlStyleSheet> },
        { "QZimage", &lq::makeElement<XmlCSSImage> },
        { "cssFont", &lq::makeElement<XmlWebFont> },
        { "cssPictureFrame", &lq::makeElement<XmlPictureFrame> },
        { "cssSidebar", &lq::makeElement<XmlSideBar> },
    });
}

} // namespace lq
