#pragma once

namespace lq {

// Makes the element names of processor scripts known to the element
// factory: the script ("QZprocessor") and the steps written in scripts (and
// the names of the themes and sites that scripts build, below them); doing
// it again changes nothing. A program that opens site documents registers
// every name a document holds instead (lq::registerDocumentElements).
void registerScriptSteps();

} // namespace lq
