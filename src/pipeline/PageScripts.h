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
    // Whether each file's text is already what its step takes in
    // (readPageFilesAhead): then a null text is a step that takes in nothing.
    bool filesReadAhead = false;
};
PageScript writeHTMLScript(XmlSite& site, const QString& pageUUID, const QString& sheetUUID);
// Works out, wherever the script was written, what each page file's step
// will take in of its text (XmlTextFormat::contentAsRead), so that the thread that
// queues the script does not look through the page's text again.
void readPageFilesAhead(PageScript& page);
// Queues the script to run next on the site's document (nothing for an empty one).
void queueHTMLScript(XmlSite& site, const PageScript& page);
// The processor of a script whose page files were kept out of its text
// (XmlStyleSheet::genHTMLForPageViewPageFiles): the same steps as reading the
// script with the page files' steps written where they stand, those steps
// made directly from their attribute text and the file's text.
// With `readAhead`, each file's text is what readPageFilesAhead left of it.
std::shared_ptr<XmlProcessor> processorWithPageFiles(
    const QString& script, const std::vector<XmlStyleSheet::PageFile>& files, bool readAhead = false);

} // namespace lq
