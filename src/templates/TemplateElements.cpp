#include "templates/TemplateElements.h"

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
    XmlBase::addFactoryTags({
        { "cssStyleSheet", &XmlBase::makeElement<XmlStyleSheet> },
        { "QZimage", &XmlBase::makeElement<XmlCSSImage> },
        { "cssFont", &XmlBase::makeElement<XmlWebFont> },
        { "cssPictureFrame", &XmlBase::makeElement<XmlPictureFrame> },
        { "cssSidebar", &XmlBase::makeElement<XmlSideBar> },
    });
}

} // namespace lq
