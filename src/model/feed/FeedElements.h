#pragma once

namespace lq {

// Makes the element names of the feed settings known to the element factory
// ("QZrss", "QZrssitem"); doing it again changes nothing.
void registerFeedElements();

} // namespace lq
