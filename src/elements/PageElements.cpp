#include "elements/PageElements.h"

#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebBox.h"
#include "elements/XmlWebContent.h"
#include "elements/XmlWebFooter.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "templates/TemplateElements.h"

namespace lq {

void registerPageElements()
{
    registerTemplateElements();
    XmlBase::addFactoryTags({
        { "cssWebBox", &XmlBase::makeElement<XmlWebBox> },
        { "cssWebFooter", &XmlBase::makeElement<XmlWebFooter> },
        { "cssWebContent", &XmlBase::makeElement<XmlWebContent> },
        { "cssWebMenu", &XmlBase::makeElement<XmlWebMenu> },
        { "cssPhotoAlbum", &XmlBase::makeElement<XmlWebPhotoAlbum> },
        { "cssGroupAlbum", &XmlBase::makeElement<XmlWebPhotoAlbum> },
        { "cssSlideShow", &XmlBase::makeElement<XmlSlideshow> },
        { "cssVornBox", &XmlBase::makeElement<XmlVornBox> },
    });
}

} // namespace lq
