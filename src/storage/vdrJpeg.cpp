#include "vdrJpeg.h"

#include "vdrError.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

struct TJpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg's default handler ends the process; this one returns to the caller.
void OnJpegError(j_common_ptr info) {
    auto *error = reinterpret_cast<TJpegError *>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

void IgnoreJpegMessage(j_common_ptr) {}

constexpr quint64 kMaxPixels = 120'000'000;

EvdrError JpegError(const QString &name, const TJpegError &error) {
    return EvdrError(
        QStringLiteral("%1 is not a valid JPEG picture: %2").arg(name, QString::fromLatin1(error.message)));
}

// Everything between setjmp and the last libjpeg call must be plain data:
// a longjmp skips destructors.
bool Decode(const QByteArray &bytes, jpeg_decompress_struct &info, TJpegError &error, QImage &image,
            bool headerOnly) {
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    error.manager.output_message = IgnoreJpegMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (!headerOnly) {
        info.out_color_space =
            info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK ? JCS_CMYK : JCS_RGB;
        jpeg_start_decompress(&info);
        // A forged header may claim 65535 x 65535 pixels: refuse rather than
        // try to allocate gigabytes.
        if (quint64(info.output_width) * info.output_height > kMaxPixels) {
            std::snprintf(error.message, sizeof error.message, "%s", "the picture is too large to show");
            jpeg_destroy_decompress(&info);
            return false;
        }
        const bool cmyk = info.out_color_space == JCS_CMYK;
        image = QImage(int(info.output_width), int(info.output_height),
                       cmyk ? QImage::Format_RGB32 : QImage::Format_RGB888);
        if (image.isNull()) {
            std::snprintf(error.message, sizeof error.message, "%s", "the picture is too large to show");
            jpeg_destroy_decompress(&info);
            return false;
        }
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = image.scanLine(int(info.output_scanline));
            jpeg_read_scanlines(&info, &row, 1);
            if (cmyk) {
                // Adobe's inverted CMYK, converted in place from the row's end
                // so each 4-byte sample is read before it is overwritten.
                auto *pixel = reinterpret_cast<QRgb *>(row);
                for (int x = int(info.output_width) - 1; x >= 0; --x) {
                    const uchar *c = row + 4 * x;
                    const int k = c[3];
                    pixel[x] = qRgb(c[0] * k / 255, c[1] * k / 255, c[2] * k / 255);
                }
            }
        }
        jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

void CheckJpegHeader(const QByteArray &bytes, const QString &name) {
    jpeg_decompress_struct info{};
    TJpegError error{};
    QImage unused;
    if (!Decode(bytes, info, error, unused, true))
        throw JpegError(name, error);
}

QImage DecodeJpeg(const QByteArray &bytes, const QString &name) {
    jpeg_decompress_struct info{};
    TJpegError error{};
    QImage image;
    if (!Decode(bytes, info, error, image, false))
        throw JpegError(name, error);
    return image;
}
