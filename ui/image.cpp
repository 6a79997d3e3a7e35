#include "image.h"

#include <QPainter>

namespace ui {

TImage::TImage(QWidget *parent)
    : QWidget(parent)
{
}

void TImage::SetPicture(QImage picture)
{
    m_picture = std::move(picture);
    update();
}

void TImage::setStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

void TImage::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_stretch)
        painter.drawImage(rect(), m_picture);
    else
        painter.drawImage(QPoint(0, 0), m_picture);
}

} // namespace ui
