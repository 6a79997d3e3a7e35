#pragma once

// A numbered list of equally sized pictures that controls refer to by index. Each picture may
// come with a double-size variant ("name@2x.png") for screens at 200 %.

#include <QIcon>
#include <QObject>
#include <QSize>
#include <QStringList>

namespace ui {

class TImageList final : public QObject {
    Q_OBJECT

  public:
    TImageList(const QString &name, QSize imageSize, const QStringList &files, QObject *parent);
    Q_DISABLE_COPY_MOVE(TImageList)

    int Count() const { return int(m_icons.size()); }
    QSize ImageSize() const { return m_imageSize; }
    // A null icon for an index outside the list, as for "no image".
    QIcon Icon(int index) const;

  private:
    QSize m_imageSize;
    QList<QIcon> m_icons;
};

} // namespace ui
