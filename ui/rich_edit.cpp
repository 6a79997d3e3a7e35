#include "rich_edit.h"

#include "platform/errors.h"
#include "platform/files.h"

#include <QStringDecoder>

namespace ui {

TRichEdit::TRichEdit(QWidget *parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TRichEditLines::Clear()
{
    m_edit.clear();
}

void TRichEditLines::LoadFromFile(const std::string &windowsPath)
{
    std::string bytes;
    switch (platform::ReadWholeFile(windowsPath, bytes)) {
    case platform::ReadResult::OpenFailed:
        throw platform::EFOpenError(windowsPath);
    case platform::ReadResult::ReadFailed:
        throw platform::EOutOfResources();
    case platform::ReadResult::Ok:
        break;
    }
    QStringDecoder decode("windows-1251");
    m_edit.setPlainText(decode(QByteArray::fromStdString(bytes)));
}

} // namespace ui
