#pragma once

// A JPEG picture decoded with libjpeg (not through Qt's image plugins), as the stored About
// box picture is.

#include "platform/errors.h"

#include <QImage>

#include <span>

namespace ui {

// The data is not a JPEG we can decode. The message names libjpeg's reason.
class EJPEGError final : public platform::Exception {
  public:
    explicit EJPEGError(const std::string &reason);
};

class TJPEGImage final {
  public:
    // Decodes baseline or progressive JPEG data, grey or colour, into an RGB picture.
    // Throws EJPEGError for data libjpeg rejects, data it would only read with warnings
    // (a truncated file, say) and pictures larger than MaxSide on a side.
    static TJPEGImage Decode(std::span<const unsigned char> data);
    // The same for a Qt resource or file path; EJPEGError when it cannot be read.
    static TJPEGImage LoadFromFile(const QString &path);

    // Keeps a corrupt header from asking for gigabytes.
    static constexpr int MaxSide = 8192;

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    const QImage &Image() const { return m_image; }

  private:
    explicit TJPEGImage(QImage image)
        : m_image(std::move(image))
    {
    }
    QImage m_image;
};

} // namespace ui
