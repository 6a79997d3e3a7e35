#include "tool_bar.h"

#include <QPainter>

namespace ui {

TToolBar::TToolBar(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
}

void TToolBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(0, 0, width(), 1, palette().color(QPalette::Mid));
    painter.fillRect(0, 1, width(), 1, palette().color(QPalette::Light));
}

} // namespace ui
