// The fireworks movie reader on any bytes. A movie it accepts writes back to the very same
// bytes, and a few of its frames draw at a small size.
#include "media/MovieFormat.h"
#include "media/MovieRenderer.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace pd;
using pd::fuzz::expect;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::ensureGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes = fuzz::bytesOf(data, size);
    const std::optional<Movie> movie = readMovie(bytes);
    if (!movie)
        return 0;
    expect(writeMovie(*movie) == bytes, "an accepted movie writes back to its bytes");
    const MovieRenderer renderer(*movie);
    const QSize small(64, 48);
    for (const int frame : {0, movie->frameCount / 2, movie->frameCount - 1}) {
        const QImage picture = renderer.renderFrame(frame, small);
        expect(picture.size() == small, "a frame draws at the size asked");
        renderer.frameShape(frame, small);
    }
    return 0;
}
