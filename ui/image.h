#pragma once

// Shows one picture, stretched to the widget's size (aspect ratio not kept) or at its natural
// size in the top-left corner.

#include <QImage>
#include <QWidget>

namespace ui {

class TImage final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool stretch READ stretch WRITE setStretch)

  public:
    explicit TImage(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TImage)

    void SetPicture(QImage picture);
    const QImage &Picture() const { return m_picture; }

    bool stretch() const { return m_stretch; }
    void setStretch(bool stretch);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QImage m_picture;
    bool m_stretch = false;
};

} // namespace ui
