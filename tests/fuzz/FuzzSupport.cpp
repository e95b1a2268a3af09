#include "tests/fuzz/FuzzSupport.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace pd::fuzz {

void ensureGuiApplication()
{
    // Kept to the end of the process and never destroyed: Qt's own globals are gone by the
    // time static objects are, and the application must not outlive them.
    static QGuiApplication* app = nullptr;
    if (app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
}

void expect(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "expectation failed: %s\n", what);
    std::abort();
}

} // namespace pd::fuzz
