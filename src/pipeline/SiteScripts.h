#pragma once

class XmlSite;

// The script of a whole site build: one generator step per style sheet and
// per page (XmlCSSProcessor, XmlHTMLProcessor), each of which, when run,
// writes the script of its style sheet or page (lq::createCSSProcessor,
// lq::createHTMLProcessorSheet) and queues it on the site's document.
namespace lq {

// Queues on the site's document the script of generator steps of a whole
// build: one style-sheet step per template in use (theme order), one HTML
// step per album or group page that is no external link (page-list order),
// then the feed step. Nothing without a document.
void createProcessor(XmlSite& site);

} // namespace lq
