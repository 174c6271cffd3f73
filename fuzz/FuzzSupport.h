#pragma once

// What every fuzz target shares: the application set up once (offscreen Qt,
// the source tree's resources, a private home folder, the log silenced), and
// the report of a broken property.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// Sets the application up; called once, before any input.
void setUp(int* argc, char*** argv);

// The input as text: its bytes read as UTF-8 (malformed sequences become
// replacement characters, as in a file read by the program).
QString text(const std::uint8_t* data, std::size_t size);
QByteArray bytes(const std::uint8_t* data, std::size_t size);

// Reports a broken property with the texts involved and aborts, so that
// libFuzzer keeps the input.
[[noreturn]] void fail(const char* property, const QString& first = QString(), const QString& second = QString());

} // namespace fuzz

// Each target defines the body; the entry points of libFuzzer (FuzzEntry.cpp) call it.
void fuzzOneInput(const std::uint8_t* data, std::size_t size);
