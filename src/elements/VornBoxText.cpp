// A rich-text Vorn Box's fonts and links: the content box's records and
// the link colours under the pointer.
#include "elements/VornBoxText.h"

#include "elements/XmlVornBox.h"
#include "elements/XmlWebContent.h"
#include "model/core/DocumentBase.h"
#include "platform/ExceptionFrame.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

std::shared_ptr<XmlWebFont> VornBoxText::contentRecord(int type)
{
    XmlStyleSheet* sheet = XmlStyleSheet::cast(_box._parent);
    if (!sheet)
        return nullptr;
    const XmlBasePtr element = sheet->getElementWithName(QStringLiteral("Content"));
    XmlWebContent* content = XmlWebContent::cast(element.get());
    if (!content)
        return nullptr;
    switch (type) {
    case 1:
        return content->heading();
    case 2:
        return content->subheading();
    case 3:
        return content->caption();
    default:
        return content->font();
    }
}

std::shared_ptr<XmlWebFont> VornBoxText::heading()
{
    return lq::modelFrame(&_box, "heading", [&] { return contentRecord(1); });
}

std::shared_ptr<XmlWebFont> VornBoxText::subheading()
{
    return lq::modelFrame(&_box, "subheading", [&] { return contentRecord(2); });
}

std::shared_ptr<XmlWebFont> VornBoxText::caption()
{
    return lq::modelFrame(&_box, "caption", [&] { return contentRecord(3); });
}

void VornBoxText::showLinkColour(const QString& data, bool hover, bool clicked)
{
    if (!_box._contents || !_box._lm)
        return;
    const lq::Range range = lq::Range::fromString(data);
    if (range.length == 0 || range.end() > _box._contents->length())
        return;
    if (hover || clicked) {
        const int kind = _box._contents->attributesAt(range.location).value(lq::TextKey::type).toInt();
        const std::shared_ptr<XmlWebFont> record = contentRecord(kind >= 1 && kind <= 3 ? kind : 0);
        if (record)
            _box._lm->addTemporaryForegroundColour(clicked ? record->linkClicked() : record->linkHover(), range);
    } else {
        _box._lm->removeTemporaryForegroundColour(range);
    }
    if (DocumentBase* document = _box.myDocument())
        document->redisplayRect(_box.objectRect());
}
