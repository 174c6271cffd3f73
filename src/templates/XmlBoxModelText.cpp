// A box's own line of text (the masthead's text or the page's title): its
// text system, laid out for the page in the box's default font, and the
// masthead's link as the box's click area; the font records the box holds
// and the page its link shows.
#include "templates/XmlBoxModel.h"

#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlMasthead.h"
#include "model/site/XmlWebItem.h"
#include "platform/ExceptionFrame.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlWebFont.h"

namespace {

// The masthead of the page, when it is an album page.
XmlMasthead* mastheadOf(XmlBase* page)
{
    XmlAlbum* album = XmlAlbum::cast(page);
    return album ? album->masthead() : nullptr;
}

} // namespace

void XmlBoxModel::layoutText(XmlBase* page) const
{
    if (!page)
        return;

    if (!_lm) {
        _contents = std::make_shared<lq::StyledText>();
        _lm = std::make_unique<lq::LayoutManager>();
        _lm->setTextStorage(_contents);
        _tc = std::make_shared<lq::TextContainer>(QSizeF(unboundedExtent, unboundedExtent));
        _tc->setLineFragmentPadding(0);
        _lm->addTextContainer(_tc);
    }

    // A box without its font record yet lays out in the record's defaults;
    // only a layout the page asks for adds the record.
    std::shared_ptr<XmlWebFont> record = defaultFont();
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
    const bool isMasthead = name() == u"Masthead";
    QString text = QStringLiteral("");
    if (isMasthead) {
        if (masthead)
            text = masthead->content();
    } else if (name() == u"Page Title") {
        text = page->content();
    }

    _contents->setText(lq::StyledText(text, attributes));
    _contents->setAttributes(attributes, { 0, _contents->length() });

    _tc->setContainerSize(QSizeF(internalWidth(), unboundedExtent));
    _lm->glyphRangeForTextContainer(_tc.get());
}

void XmlBoxModel::registerClickAreas(XmlBase* page)
{
    if (!page || name() != u"Masthead")
        return;
    if (DocumentBase* document = myDocument()) {
        document->clearTrackingDataForObject(UUID());
        XmlMasthead* masthead = mastheadOf(page);
        if (masthead && !masthead->linkTo().isEmpty())
            document->addTrackingDataForObjectDataRect(UUID(), masthead->linkTo(), internalRect());
    }
}

void XmlBoxModel::releaseTextSystem()
{
    // The manager first: it lets its container go before the container is dropped.
    _lm.reset();
    _tc.reset();
    _contents.reset();
}

// --- The font records and the link -------------------------------------------------

std::shared_ptr<XmlWebFont> XmlBoxModel::addFontName(const QString& tag, const QString& name)
{
    return lq::modelFrame(this, "addFont:name:", [&] {
        std::shared_ptr<XmlWebFont> record = XmlWebFont::createWithTagName(tag, name);
        addChild(record);
        return record;
    });
}

std::shared_ptr<XmlWebFont> XmlBoxModel::defaultFont() const
{
    return firstChildOfType<XmlWebFont>([](const XmlWebFont& f) { return f.name() == u"default"; });
}

bool XmlBoxModel::showPageWithLink(const QString& link)
{
    DocumentBase* document = myDocument();
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
