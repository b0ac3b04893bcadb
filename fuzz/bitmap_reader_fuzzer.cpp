// libFuzzer's entry point: any bytes at all go to the bitmap reader, which
// must answer with a picture or a ScribboError and nothing else.
#include "surface.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const TPicture picture = decodeBitmap(data, size);
        if (picture.Width() > maximumBitmapSide || picture.Height() > maximumBitmapSide)
            __builtin_trap();
    } catch (const ScribboError&) {
    }
    return 0;
}
