#pragma once

namespace lq {

// Makes the element names of publishing known to the element factory: the
// destination ("QZlocation") and the digest trees ("QZD", "QZF"); doing it
// again changes nothing.
void registerPublishElements();

} // namespace lq
