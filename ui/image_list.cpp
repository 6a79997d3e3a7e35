#include "image_list.h"

namespace ui {

TImageList::TImageList(const QString &name, QSize imageSize, const QStringList &files,
                       QObject *parent)
    : QObject(parent)
    , m_imageSize(imageSize)
{
    setObjectName(name);
    for (const QString &file : files)
        m_icons.push_back(QIcon(file));
}

QIcon TImageList::Icon(int index) const
{
    return index >= 0 && index < m_icons.size() ? m_icons.at(index) : QIcon();
}

} // namespace ui
