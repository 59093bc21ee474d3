#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What every parser target shares: the Qt application its parser needs, a quiet log, and the
// property checks. A broken property aborts: libFuzzer then keeps the input, and the replay
// test names the corpus file.
namespace FuzzSupport {

// Creates the application object once (a GUI one for the colour targets, offscreen) and drops
// the parsers' log output: a refused input is the normal case here, not news.
void initialise(bool gui = false);

QByteArray bytes(const uint8_t* data, size_t size);

// The replay driver names the input it runs, so a failure can say which corpus file it was.
void setCurrentInput(const QString& name);

[[noreturn]] void propertyFailed(const char* condition, const char* file, int line, const QString& detail);

// Where two texts first differ, with a little context, for a failure message.
QString firstDifference(const QString& a, const QString& b);

} // namespace FuzzSupport

#define FUZZ_CHECK(condition, detail)                                                                                  \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            FuzzSupport::propertyFailed(#condition, __FILE__, __LINE__, (detail));                                     \
    } while (false)
