#pragma once

namespace lq {

// Makes the element names of page templates and their styles known to the
// element factory (and those of the site tree below them); doing it again
// changes nothing.
void registerTemplateElements();

} // namespace lq
