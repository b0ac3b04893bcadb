#include "jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg is C: errors leave it by longjmp, never by a C++ exception.
[[noreturn]] void leaveOnError(j_common_ptr decoder)
{
    auto* errors = reinterpret_cast<ErrorManager*>(decoder->err);
    errors->base.format_message(decoder, errors->message);
    std::longjmp(errors->escape, 1);
}

void ignoreWarning(j_common_ptr, int) {}

} // namespace

TPicture decodeJpeg(const std::uint8_t* data, std::size_t size)
{
    jpeg_decompress_struct decoder{};
    ErrorManager errors{};
    decoder.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = leaveOnError;
    errors.base.emit_message = ignoreWarning;
    TPicture picture;
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&decoder);
        throw ScribboError(errors.message);
    }
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, data, static_cast<unsigned long>(size));
    jpeg_read_header(&decoder, TRUE);
    decoder.out_color_space = JCS_EXT_BGR; // the picture's own byte order
    jpeg_start_decompress(&decoder);
    try {
        picture = TPicture(int(decoder.output_width), int(decoder.output_height));
    } catch (...) {
        jpeg_destroy_decompress(&decoder);
        throw;
    }
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW row = picture.row(int(decoder.output_scanline));
        jpeg_read_scanlines(&decoder, &row, 1);
    }
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    return picture;
}
