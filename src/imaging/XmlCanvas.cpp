#include "imaging/XmlCanvas.h"

#include "model/XmlFiles.h"
#include "platform/ExceptionFrame.h"

XmlCanvas::XmlCanvas(Key key)
    : XmlDraw(key)
{
    _have_children = true;
}

std::shared_ptr<XmlCanvas> XmlCanvas::create()
{
    return make<XmlCanvas>();
}

QString XmlCanvas::elementName() const
{
    return QStringLiteral("IWcanvas");
}

bool XmlCanvas::canYouBeMyParent(XmlBase* child)
{
    // The picture, the callouts and the watermark are owned parts, never
    // children; of the rest only a file tree is taken.
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlFiles::cast(child) != nullptr;
    });
}
