#pragma once

namespace lq {

// Makes the element names of file trees known to the element factory
// ("file", "files"), and what a pasteboard's file names become. Every program
// that reads documents does it once at start-up (the registrations of the
// layers above call it); doing it again changes nothing.
void registerFileElements();

} // namespace lq
