#pragma once

namespace lq {

// Makes the element names of the site tree known to the element factory:
// the site, home page, groups, pages, photos, the trash and the HTML parts
// (and those of the canvases, files and feed a site holds); doing it again
// changes nothing.
void registerSiteElements();

} // namespace lq
