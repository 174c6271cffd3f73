// A box's own text: laid out for the page in the box's default font (the
// masthead's text, or the page's title), the masthead's link as the box's
// click area, and the font records the box holds.
#include "templates/BoxModelText.h"

#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlMasthead.h"
#include "model/site/XmlWebItem.h"
#include "platform/ExceptionFrame.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlWebFont.h"

namespace {

// The masthead of the page, when it is an album page.
XmlMasthead* mastheadOf(XmlBase* page)
{
    XmlAlbum* album = XmlAlbum::cast(page);
    return album ? album->masthead() : nullptr;
}

} // namespace

std::shared_ptr<XmlWebFont> BoxModelText::addFontName(const QString& tag, const QString& name)
{
    return lq::modelFrame(&_box, "addFont:name:", [&] {
        std::shared_ptr<XmlWebFont> record = XmlWebFont::createWithTagName(tag, name);
        _box.addChild(record);
        return record;
    });
}

std::shared_ptr<XmlWebFont> BoxModelText::defaultFont(const XmlBoxModel& box)
{
    return box.firstChildOfType<XmlWebFont>([](const XmlWebFont& f) { return f.name() == u"default"; });
}

void BoxModelText::layoutText(const XmlBoxModel& box, XmlBase* page)
{
    if (!page)
        return;

    if (!box._lm) {
        box._contents = std::make_shared<lq::StyledText>();
        box._lm = std::make_unique<lq::LayoutManager>();
        box._lm->setTextStorage(box._contents);
        box._tc = std::make_shared<lq::TextContainer>(QSizeF(XmlBoxModel::unboundedExtent, XmlBoxModel::unboundedExtent));
        box._tc->setLineFragmentPadding(0);
        box._lm->addTextContainer(box._tc);
    }

    // A box without its font record yet lays out in the record's defaults;
    // only a layout the page asks for adds the record.
    std::shared_ptr<XmlWebFont> record = defaultFont(box);
    if (!record)
        record = XmlWebFont::create();
    lq::ParagraphStyle paragraph = lq::ParagraphStyle::defaultStyle();
    paragraph.tabStops = lq::standardTabStops();
    paragraph.alignment = record->textAlignment();

    lq::TextAttributes attributes;
    attributes.paragraphStyle = paragraph;
    attributes.font = record->createFont();
    attributes.foregroundColour = record->fontColor();
    attributes.underlineStyle = record->underline() ? 1 : 0;

    XmlMasthead* masthead = mastheadOf(page);
    const bool isMasthead = box.name() == u"Masthead";
    QString text = QStringLiteral("");
    if (isMasthead) {
        if (masthead)
            text = masthead->content();
    } else if (box.name() == u"Page Title") {
        text = page->content();
    }

    box._contents->setText(lq::StyledText(text, attributes));
    box._contents->setAttributes(attributes, { 0, box._contents->length() });

    box._tc->setContainerSize(QSizeF(box.internalWidth(), XmlBoxModel::unboundedExtent));
    box._lm->glyphRangeForTextContainer(box._tc.get());
}

void BoxModelText::registerClickAreas(XmlBase* page)
{
    if (!page || _box.name() != u"Masthead")
        return;
    if (DocumentBase* document = _box.myDocument()) {
        document->clearTrackingDataForObject(_box.UUID());
        XmlMasthead* masthead = mastheadOf(page);
        if (masthead && !masthead->linkTo().isEmpty())
            document->addTrackingDataForObjectDataRect(_box.UUID(), masthead->linkTo(), _box.internalRect());
    }
}

void BoxModelText::releaseTextSystem()
{
    // The manager first: it lets its container go before the container is dropped.
    _box._lm.reset();
    _box._tc.reset();
    _box._contents.reset();
}

bool BoxModelText::showPageWithLink(const QString& link)
{
    DocumentBase* document = _box.myDocument();
    if (!document)
        return false;
    for (const XmlBasePtr& item : document->webItems()) {
        XmlWebItem* page = XmlWebItem::cast(item.get());
        if (page && (page->externalLink() == link || page->linkAddress() == link)) {
            document->selectWebPageIndex(XmlAlbum::cast(page), -1);
            return true;
        }
    }
    return false;
}
