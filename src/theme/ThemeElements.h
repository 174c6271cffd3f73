#pragma once

namespace lq {

// Makes the element names of theme roots known to the element factory: the
// theme and the theme of the earlier kind ("QZtheme"), with everything a
// theme and a site hold; doing it again changes nothing.
void registerThemeElements();

} // namespace lq
