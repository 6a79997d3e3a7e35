#pragma once

// A panel drawn with the classic edges: an optional sunken client edge (two pixels) and
// outer and inner bevels of one pixel each. Its contents margins cover the edges, so a layout
// inside fills exactly what lies within them.

#include <QWidget>

namespace ui {

class TPanel final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(Bevel bevelOuter READ bevelOuter WRITE setBevelOuter)
    Q_PROPERTY(Bevel bevelInner READ bevelInner WRITE setBevelInner)
    Q_PROPERTY(bool singleBorder READ singleBorder WRITE setSingleBorder)

  public:
    enum Bevel { None, Lowered, Raised };
    Q_ENUM(Bevel)

    explicit TPanel(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TPanel)

    Bevel bevelOuter() const { return m_outer; }
    void setBevelOuter(Bevel bevel);
    Bevel bevelInner() const { return m_inner; }
    void setBevelInner(Bevel bevel);
    bool singleBorder() const { return m_singleBorder; }
    void setSingleBorder(bool single);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    void updateMargins();

    Bevel m_outer = Raised;
    Bevel m_inner = None;
    bool m_singleBorder = false;
};

} // namespace ui
