// The roll's picture path on any file: the embedded preview found in the first bytes, or the
// whole file when there is none, decoded at the photo frame's size; then the whole file, as
// the Stop shows it. A picture that decodes never comes out larger than the frame.
#include "media/PictureDecoder.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QImage>

using namespace pd;
using pd::fuzz::expect;

namespace {

const QSize kFrame(500, 400);

void checkFits(const QImage& image)
{
    if (image.isNull())
        return;
    expect(image.width() <= kFrame.width() && image.height() <= kFrame.height(),
           "a decoded picture fits the frame");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::ensureGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView file = fuzz::bytesOf(data, size);
    const QByteArrayView head = file.first(qMin(file.size(), kPreviewSearchBytes));
    const QByteArrayView preview = embeddedPreviewOf(head);
    if (!preview.isEmpty()) {
        expect(preview.data() >= head.data() &&
                   preview.data() + preview.size() <= head.data() + head.size(),
               "the preview lies within the bytes searched");
        expect(preview.startsWith("\xFF\xD8"), "the preview starts with a start marker");
        checkFits(decodePicture(preview, kFrame));
    }
    checkFits(decodePicture(file, kFrame));
    return 0;
}
