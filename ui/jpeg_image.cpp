#include "jpeg_image.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace ui {

EJPEGError::EJPEGError(const std::string &reason)
    : platform::Exception("JPEG error: " + reason)
{
}

namespace {

// libjpeg's default error_exit calls exit(); ours jumps back to the decoder instead.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings mean damaged data (a truncated file decodes to grey): refuse it all the same.
void onMessage(j_common_ptr info, int level)
{
    if (level < 0)
        onError(info);
}

// Kept free of objects with destructors: a longjmp may leave it at any libjpeg call.
bool decodeInto(const unsigned char *data, unsigned long size, QImage &image, char *message)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    errors.message[0] = '\0';
    jpeg_create_decompress(&info);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", errors.message);
        return false;
    }
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    if (info.image_width > unsigned(TJPEGImage::MaxSide)
        || info.image_height > unsigned(TJPEGImage::MaxSide)) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "picture of %ux%u is too large", info.image_width,
                      info.image_height);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (image.isNull()) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "out of memory");
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

TJPEGImage TJPEGImage::Decode(std::span<const unsigned char> data)
{
    if (data.empty())
        throw EJPEGError("no data");
    QImage image;
    char message[JMSG_LENGTH_MAX];
    if (!decodeInto(data.data(), static_cast<unsigned long>(data.size()), image, message))
        throw EJPEGError(message);
    return TJPEGImage(std::move(image));
}

TJPEGImage TJPEGImage::LoadFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EJPEGError("cannot read " + path.toStdString());
    const QByteArray bytes = file.readAll();
    return Decode(std::span(reinterpret_cast<const unsigned char *>(bytes.constData()),
                            static_cast<std::size_t>(bytes.size())));
}

} // namespace ui
