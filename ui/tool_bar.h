#pragma once

// A tool bar strip: buttons and separators are placed by the layout; the strip draws the
// etched line along its top that separates it from the menu bar.

#include <QWidget>

namespace ui {

class TToolBar final : public QWidget {
    Q_OBJECT

  public:
    explicit TToolBar(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TToolBar)

  protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace ui
