#pragma once

#include "templates/XmlStyleSheet.h"

#include <QString>

#include <memory>
#include <vector>

class XmlProcessor;
class XmlSite;

// The scripts of one style sheet and of one page, as the generator steps of
// a site build write them and queue them on the site's document.
namespace lq {

// Writes the style-sheet script of the template and queues it to run next;
// nothing when the template no longer exists.
void createCSSProcessor(XmlSite& site, const QString& sheetUUID);
// Writes the HTML script of the page (its page file and its slideshow page)
// and queues it to run next, so that each page is written and released
// before the next is made; nothing when the page or the template is gone.
void createHTMLProcessorSheet(XmlSite& site, const QString& pageUUID, const QString& sheetUUID);
// The text of that script, with the page files' steps kept out of it (see
// processorWithPageFiles); an empty script when the page or the template is
// gone. Changes of the site made while writing it are not counted.
struct PageScript {
    QString script;
    std::vector<XmlStyleSheet::PageFile> files;
};
PageScript writeHTMLScript(XmlSite& site, const QString& pageUUID, const QString& sheetUUID);
// Queues the script to run next on the site's document (nothing for an empty one).
void queueHTMLScript(XmlSite& site, const PageScript& page);
// The processor of a script whose page files were kept out of its text
// (XmlStyleSheet::genHTMLForPageViewPageFiles): the same steps as reading the
// script with the page files' steps written where they stand, those steps
// made directly from their attribute text and the file's text.
std::shared_ptr<XmlProcessor> processorWithPageFiles(const QString& script, const std::vector<XmlStyleSheet::PageFile>& files);

} // namespace lq
