#pragma once

#include <memory>

class XmlImage;

namespace lq {

// The template icon of the index (0 to 6; any other index is 0) that the
// template chooser shows: the resource "templates/ticon<index + 1>.png" as a
// picture element, read on first use and kept for the rest of the run.
std::shared_ptr<XmlImage> ticon(int index);

} // namespace lq
