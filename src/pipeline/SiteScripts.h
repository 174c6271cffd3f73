#pragma once

#include "templates/XmlStyleSheet.h"

#include <QString>

#include <memory>
#include <vector>

class XmlProcessor;
class XmlSite;

// The scripts of a site build. The whole build is one script of generator
// steps; each generator step, when run, writes the script of one style
// sheet or one page and queues it on the site's document.
namespace lq {

// Queues on the site's document the script of generator steps of a whole
// build: one style-sheet step per template in use (theme order), one HTML
// step per album or group page that is no external link (page-list order),
// then the feed step. Nothing without a document.
void createProcessor(XmlSite& site);
// Writes the style-sheet script of the template and queues it to run next;
// nothing when the template no longer exists.
void createCSSProcessor(XmlSite& site, const QString& sheetUUID);
// Writes the HTML script of the page (its page file and its slideshow page)
// and queues it to run next, so that each page is written and released
// before the next is made; nothing when the page or the template is gone.
void createHTMLProcessorSheet(XmlSite& site, const QString& pageUUID, const QString& sheetUUID);
// The processor of a script whose page files were kept out of its text
// (XmlStyleSheet::genHTMLForPageViewPageFiles): the same steps as reading the
// script with the page files' steps written where they stand, those steps
// made directly from their attribute text and the file's text.
std::shared_ptr<XmlProcessor> processorWithPageFiles(const QString& script, const std::vector<XmlStyleSheet::PageFile>& files);

} // namespace lq
