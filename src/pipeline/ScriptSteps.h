#pragma once

namespace lq {

// Makes the element names of processor scripts known to the element
// factory: the script ("QZprocessor") and the steps written in scripts.
// Every program that reads scripts does it once at start-up, beside making
// the application services; doing it again changes nothing.
void registerScriptSteps();

} // namespace lq
