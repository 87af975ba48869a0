#include "vdrJpegHeader.h"

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

// libjpeg's default handler ends the process; this one returns to the check.
void OnJpegError(j_common_ptr info) {
    auto *error = reinterpret_cast<TJpegError *>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

void IgnoreJpegMessage(j_common_ptr) {}

} // namespace

void CheckJpegHeader(const QByteArray &bytes, const QString &name) {
    jpeg_decompress_struct info{};
    TJpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    error.manager.output_message = IgnoreJpegMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        throw EvdrError(QStringLiteral("%1 is not a valid JPEG picture: %2").arg(name, QString::fromLatin1(error.message)));
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_destroy_decompress(&info);
}
