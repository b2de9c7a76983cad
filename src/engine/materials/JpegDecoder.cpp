#include "engine/materials/JpegDecoder.h"

#include "base/PictureLimits.h"
#include "base/GxException.h"

#include <csetjmp>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>
#include <memory>
#include <string>

namespace {
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void onError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr info, int level)
{
    // A file that ends early is only a warning to libjpeg (it pads the
    // picture with grey); here it is an error.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        onError(info);
}

// A progressive file makes a pass over the whole picture per scan; sound
// files have about ten, a hostile one could have thousands of tiny ones.
constexpr int kMaxScans = 100;

void onProgress(j_common_ptr info)
{
    auto* d = reinterpret_cast<j_decompress_ptr>(info);
    if (d->input_scan_number > kMaxScans) {
        auto* err = reinterpret_cast<ErrorManager*>(info->err);
        std::snprintf(err->message, sizeof err->message, "more than %d scans", kMaxScans);
        std::longjmp(err->jump, 1);
    }
}

// The decoder's state lives on the heap so that nothing in the frame that
// calls setjmp changes between setjmp and a longjmp.
struct Decoder {
    jpeg_decompress_struct info{};
    ErrorManager err{};
    jpeg_progress_mgr progress{};
    QImage image;
    std::string failure;
    bool tooLarge = false;
};

bool decodeInto(Decoder& d, const unsigned char* data, unsigned long size)
{
    d.info.err = jpeg_std_error(&d.err.base);
    d.err.base.error_exit = onError;
    d.err.base.emit_message = onMessage;
    if (setjmp(d.err.jump)) {
        d.failure = d.err.message;
        jpeg_destroy_decompress(&d.info);
        return false;
    }
    jpeg_create_decompress(&d.info);
    d.progress.progress_monitor = onProgress;
    d.info.progress = &d.progress;
    jpeg_mem_src(&d.info, data, size);
    jpeg_read_header(&d.info, TRUE);
    if (d.info.image_width > unsigned(kMaxPictureSide) || d.info.image_height > unsigned(kMaxPictureSide)
        || std::int64_t(d.info.image_width) * d.info.image_height > kMaxPicturePixels) {
        d.tooLarge = true;
        jpeg_destroy_decompress(&d.info);
        return false;
    }
    d.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.info);
    d.image = QImage(int(d.info.output_width), int(d.info.output_height), QImage::Format_RGB888);
    if (d.image.isNull() || d.info.output_components != 3) {
        d.failure = "unsupported picture";
        jpeg_destroy_decompress(&d.info);
        return false;
    }
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = d.image.scanLine(int(d.info.output_scanline));
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    jpeg_destroy_decompress(&d.info);
    return true;
}
} // namespace

QImage decodeJpeg(std::string_view bytes)
{
    if (bytes.empty())
        throw EGxError("JPEG image is not valid (empty file)");
    auto d = std::make_unique<Decoder>();
    if (!decodeInto(*d, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size())) {
        if (d->tooLarge)
            checkPictureSize(d->info.image_width, d->info.image_height);
        throw EGxError("JPEG image is not valid (" + d->failure + ")");
    }
    return std::move(d->image);
}
