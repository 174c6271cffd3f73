#pragma once

namespace lq {

// Makes every element name a site document holds known to the element
// factory: the site, its theme and files, its publishing settings and the
// steps of its build scripts. Every program that opens documents does it
// once at start-up, beside making the application services; doing it again
// changes nothing.
void registerDocumentElements();

} // namespace lq
