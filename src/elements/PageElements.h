#pragma once

namespace lq {

// Makes the element names of what a template lays out known to the element
// factory: text boxes, content, footer, menu, photo album ("cssGroupAlbum"
// is its older name), slideshow and Vorn Box (and the names of the
// templates and the site below them); doing it again changes nothing.
void registerPageElements();

} // namespace lq
