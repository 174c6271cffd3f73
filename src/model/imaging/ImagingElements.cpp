#include "model/imaging/ImagingElements.h"

#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlDraw.h"
#include "model/imaging/XmlDrawArrow.h"
#include "model/imaging/XmlDrawBalloon.h"
#include "model/imaging/XmlDrawCircle.h"
#include "model/imaging/XmlDrawCloud.h"
#include "model/imaging/XmlDrawLabel.h"
#include "model/imaging/XmlDrawLetter.h"
#include "model/imaging/XmlDrawLetterBox.h"
#include "model/imaging/XmlDrawObject.h"
#include "model/imaging/XmlDrawObjects.h"
#include "model/imaging/XmlDrawSquare.h"
#include "model/imaging/XmlImage.h"
#include "model/imaging/XmlShape.h"
#include "model/imaging/XmlWatermark.h"
#include "model/core/ElementFactory.h"
#include "model/files/FileElements.h"

namespace lq {

void registerImagingElements()
{
    registerFileElements();
    lq::addFactoryTags({
        { "IWcanvas", &lq::makeElement<XmlCanvas> },
        { "IWimage", &lq::makeElement<XmlImage> },
        { "IWletter", &lq::makeElement<XmlDrawLetter> },
        { "IWletterbox", &lq::makeElement<XmlDrawLetterBox> },
        { "IWdrawobject", &lq::makeElement<XmlDrawObject> },
        { "IWdrawcloud", &lq::makeElement<XmlDrawCloud> },
        { "IWdrawballoon", &lq::makeElement<XmlDrawBalloon> },
        { "IWdrawlabel", &lq::makeElement<XmlDrawLabel> },
        { "IWdrawarrow", &lq::makeElement<XmlDrawArrow> },
        { "IWdrawcircle", &lq::makeElement<XmlDrawCircle> },
        { "IWdrawsquare", &lq::makeElement<XmlDrawSquare> },
        { "IWdrawobjects", &lq::makeElement<XmlDrawObjects> },
        { "IWwatermark", &lq::makeElement<XmlWatermark> },
        { "IWshape", &lq::makeElement<XmlShape> },
        { "IWdraw", &lq::makeElement<XmlDraw> },
    });
}

} // namespace lq
