#include "JpegImage.h"

#include <csetjmp>
#include <cstdio>

// jpeglib.h uses size_t and FILE without declaring them: it must follow <cstdio>.
#include <jpeglib.h>

namespace qivara::ui {
namespace {

// libjpeg reports fatal errors through error_exit, which must not return: jump back out.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf exit;
};

void OnFatal(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->exit, 1); }
void OnMessage(j_common_ptr) {}

}  // namespace

QImage DecodeJpeg(const QByteArray& data) {
    if (data.isEmpty()) return {};
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = &OnFatal;
    errors.base.output_message = &OnMessage;
    // The jump back from OnFatal crosses only libjpeg's C frames; after it nothing but the
    // decompressor is used, and the image is dropped.
    QImage image;
    if (setjmp(errors.exit) != 0) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

}  // namespace qivara::ui
