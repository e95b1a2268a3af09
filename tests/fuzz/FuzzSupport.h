// What every fuzz target shares: a Qt application for the parts that need one (image
// plugins, painting), and a check that stops the run with a message when an expectation
// about the code under test does not hold, so that libFuzzer keeps the input that broke it.
#pragma once

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

namespace pd::fuzz {

// Creates the offscreen GUI application once per process.
void ensureGuiApplication();

// Aborts with the message when the condition is false.
void expect(bool condition, const char* what);

inline QByteArrayView bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace pd::fuzz
