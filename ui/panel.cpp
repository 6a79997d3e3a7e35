#include "panel.h"

#include <QPainter>

namespace ui {

namespace {

// One pixel of frame: `topLeft` along the top and left, `bottomRight` along the others.
void drawEdge(QPainter &painter, QRect &rect, const QColor &topLeft, const QColor &bottomRight)
{
    painter.fillRect(rect.left(), rect.top(), rect.width(), 1, topLeft);
    painter.fillRect(rect.left(), rect.top(), 1, rect.height(), topLeft);
    painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, bottomRight);
    painter.fillRect(rect.right(), rect.top(), 1, rect.height(), bottomRight);
    rect.adjust(1, 1, -1, -1);
}

} // namespace

TPanel::TPanel(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    updateMargins();
}

void TPanel::setBevelOuter(Bevel bevel)
{
    m_outer = bevel;
    updateMargins();
}

void TPanel::setBevelInner(Bevel bevel)
{
    m_inner = bevel;
    updateMargins();
}

void TPanel::setSingleBorder(bool single)
{
    m_singleBorder = single;
    updateMargins();
}

void TPanel::updateMargins()
{
    const int margin =
        (m_singleBorder ? 2 : 0) + (m_outer != None ? 1 : 0) + (m_inner != None ? 1 : 0);
    setContentsMargins(margin, margin, margin, margin);
    update();
}

void TPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &colours = palette();
    const QColor light = colours.color(QPalette::Light);
    const QColor mid = colours.color(QPalette::Mid);
    const QColor dark = colours.color(QPalette::Dark);
    const QColor shadow = colours.color(QPalette::Shadow);
    QRect rect = this->rect();
    painter.fillRect(rect, colours.color(QPalette::Window));
    if (m_singleBorder) {
        drawEdge(painter, rect, mid, light);
        drawEdge(painter, rect, shadow, colours.color(QPalette::Midlight));
    }
    for (const Bevel bevel : {m_outer, m_inner}) {
        if (bevel == Raised)
            drawEdge(painter, rect, light, dark);
        else if (bevel == Lowered)
            drawEdge(painter, rect, dark, light);
    }
}

} // namespace ui
