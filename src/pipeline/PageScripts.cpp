#include "pipeline/PageScripts.h"

#include "model/core/DocumentBase.h"
#include "model/core/HeldBackstore.h"
#include "model/core/SuppressedChanges.h"
#include "model/core/XmlTextFormat.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlSite.h"
#include "pipeline/XmlCreate.h"
#include "pipeline/XmlProcessor.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Scanner.h"

namespace {

// The opening of a generated script: the folder escaped, the status as it is
// but for the characters that would end the attribute or the tag (a page
// name holding "\">" must not end it and start steps of its own).
QString scriptOpening(const QString& rootDir, const QString& status)
{
    QString shown = status;
    shown.replace(QLatin1Char('&'), QStringLiteral("&amp;"))
        .replace(QLatin1Char('"'), QStringLiteral("&quot;"))
        .replace(QLatin1Char('<'), QStringLiteral("&lt;"))
        .replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return QStringLiteral("<QZprocessor rootDir=\"") + lq::escape(rootDir) + QStringLiteral("\" status=\"") + shown + QStringLiteral("\">");
}

// The part of the script's text from `from` up to `to`, read where it stands.
QString scriptPart(const QString& script, qsizetype from, qsizetype to)
{
    return QString::fromRawData(script.constData() + from, to - from);
}

} // namespace

namespace lq {

std::shared_ptr<XmlProcessor> processorWithPageFiles(
    const QString& script, const std::vector<XmlStyleSheet::PageFile>& files, bool readAhead)
{
    return lq::classFrame("processorWithPageFiles", [&]() -> std::shared_ptr<XmlProcessor> {
        if (files.empty())
            return XmlProcessor::createWithScript(script);
        // The text before the first page file holds the processor's opening.
        const std::shared_ptr<XmlProcessor> processor = XmlProcessor::createWithScript(scriptPart(script, 0, files.front().at));
        for (std::size_t i = 0; i < files.size(); ++i) {
            const XmlStyleSheet::PageFile& file = files[i];
            // The step as reading its text would make it: added to the
            // processor, then given its attributes and its content.
            const std::shared_ptr<XmlCreate> step = XmlCreate::create();
            if (processor->canHaveChildren() && processor->canYouBeMyParent(step.get())) {
                SuppressedChanges quiet(*processor);
                processor->addChild(step);
            }
            step->readAttributes(file.attributes);
            if (!readAhead)
                step->appendContentAsRead(file.html);
            else if (!file.html.isNull())
                step->appendContentReadAhead(file.html);
            // Then the steps written after it, up to the next page file.
            const qsizetype to = i + 1 < files.size() ? files[i + 1].at : script.size();
            lq::Scanner scanner(scriptPart(script, file.at, to));
            processor->parseXml(scanner);
        }
        return processor;
    });
}

void createCSSProcessor(XmlSite& site, const QString& sheetUUID)
{
    lq::modelFrame(&site, "createCSSProcessor:", [&] {
        QString script;
        script.reserve(10000);
        {
            SuppressedChanges quiet(site);
            const XmlBasePtr found = sheetUUID.isEmpty() ? nullptr : XmlBase::UUID(sheetUUID);
            if (XmlStyleSheet* sheet = XmlStyleSheet::cast(found.get())) {
                script += scriptOpening(site.rootDir(), QStringLiteral("Creating CSS for ") + sheet->name());
                const HeldBackstore held(*sheet);
                sheet->genCSS(script);
                script += QStringLiteral("</QZprocessor>");
            }
        }
        DocumentBase* document = site.document();
        if (script.isEmpty() || !document)
            return;
        // Like the pages', the style sheet's script runs at once, so the
        // build writes its files in the order of its steps.
        document->startProcessorNext(XmlProcessor::createWithScript(script));
    });
}

PageScript writeHTMLScript(XmlSite& site, const QString& pageUUID, const QString& sheetUUID)
{
    PageScript page;
    page.script.reserve(10000);
    SuppressedChanges quiet(site);
    const XmlBasePtr foundSheet = sheetUUID.isEmpty() ? nullptr : XmlBase::UUID(sheetUUID);
    const XmlBasePtr foundPage = pageUUID.isEmpty() ? nullptr : XmlBase::UUID(pageUUID);
    XmlStyleSheet* sheet = XmlStyleSheet::cast(foundSheet.get());
    XmlAlbum* album = XmlAlbum::cast(foundPage.get());
    if (sheet && album) {
        // The page files' steps are made directly, not written into the
        // script's text and read back.
        page.script += scriptOpening(site.rootDir(), QStringLiteral("Creating HTML for ") + album->name());
        const HeldBackstore held(*sheet);
        sheet->genHTMLForPageViewPageFiles(album, 0, page.script, page.files);
        sheet->genHTMLForPageViewPageFiles(album, 1, page.script, page.files);
        page.script += QStringLiteral("</QZprocessor>");
    }
    return page;
}

void readPageFilesAhead(PageScript& page)
{
    if (page.filesReadAhead)
        return;
    for (XmlStyleSheet::PageFile& file : page.files)
        file.html = XmlTextFormat::contentAsRead(file.html).value_or(QString());
    page.filesReadAhead = true;
}

void queueHTMLScript(XmlSite& site, const PageScript& page)
{
    DocumentBase* document = site.document();
    if (page.script.isEmpty() || !document)
        return;
    // The page is written before the next one is made: a site of many
    // pages never holds more than one page's script.
    document->startProcessorNext(processorWithPageFiles(page.script, page.files, page.filesReadAhead));
}

void createHTMLProcessorSheet(XmlSite& site, const QString& pageUUID, const QString& sheetUUID)
{
    lq::modelFrame(&site, "createHTMLProcessor:sheet:", [&] { queueHTMLScript(site, writeHTMLScript(site, pageUUID, sheetUUID)); });
}

} // namespace lq
