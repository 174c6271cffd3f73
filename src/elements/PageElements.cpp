#include "elements/PageElements.h"

#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebBox.h"
#include "elements/XmlWebContent.h"
#include "elements/XmlWebFooter.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/core/ElementFactory.h"
#include "templates/TemplateElements.h"

namespace lq {

void registerPageElements()
{
    registerTemplateElements();
    lq::addFactoryTags({
        { "cssWebBox", &lq::makeElement<XmlWebBox> },
        { "cssWebFooter", &lq::makeElement<XmlWebFooter> },
        { "cssWebContent", &lq::makeElement<XmlWebContent> },
        { "cssWebMenu", &lq::makeElement<XmlWebMenu> },
        { "cssPhotoAlbum", &lq::makeElement<XmlWebPhotoAlbum> },
        { "cssGroupAlbum", &lq::makeElement<XmlWebPhotoAlbum> },
        { "cssSlideShow", &lq::makeElement<XmlSlideshow> },
        { "cssVornBox", &lq::makeElement<XmlVornBox> },
    });
}

} // namespace lq
