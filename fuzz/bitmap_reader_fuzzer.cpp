// libFuzzer's entry point: any bytes at all go to the bitmap reader, which
// must answer with a picture or a refusal with its reason, and nothing else.
// With SCRIBBO_FUZZ_REASONS set, each refusal's reason goes to the standard
// error: run on one input, it tells which check refused it.
#include "surface.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool tellReasons = std::getenv("SCRIBBO_FUZZ_REASONS") != nullptr;
    try {
        const TPicture picture = decodeBitmap(data, size);
        if (picture.Width() > maximumBitmapSide || picture.Height() > maximumBitmapSide)
            __builtin_trap();
    } catch (const BitmapRefused& refusal) {
        if (tellReasons)
            std::fprintf(stderr, "refused: %s (%s)\n", refusal.what(), refusal.reason());
    }
    return 0;
}
