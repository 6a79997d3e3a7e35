#include "rich_edit.h"

#include "rtf_document_builder.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "rtf/reader.h"

#include <QPalette>
#include <QPointer>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextOption>

namespace ui {

void TRichEditStrings::Clear()
{
    m_owner.showDocument(m_owner.newDocument());
}

void TRichEditStrings::LoadFromFile(const std::string &path)
{
    std::string bytes;
    switch (platform::ReadWholeFile(path, bytes)) {
    case platform::ReadResult::Ok:
        break;
    case platform::ReadResult::OpenFailed:
        throw platform::EFOpenError(path);
    case platform::ReadResult::ReadFailed:
        throw platform::EOutOfResources();
    }
    std::unique_ptr<QTextDocument> document = m_owner.newDocument();
    if (rtf::LooksLikeRtf(bytes))
        BuildRtfDocument(bytes, *document, m_owner.logicalDpiX());
    else
        BuildPlainTextDocument(bytes, *document);
    m_owner.showDocument(std::move(document));
}

TRichEdit::TRichEdit(QWidget *parent)
    : QTextEdit(parent)
    , m_lines(std::make_unique<TRichEditStrings>(*this))
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    // A page is white with black text, also under a dark desktop theme.
    QPalette page = palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        page.setColor(group, QPalette::Base, Qt::white);
        page.setColor(group, QPalette::Text, Qt::black);
    }
    setPalette(page);
    viewport()->setAutoFillBackground(true);

    // Always there, usable only when there is something to scroll. Some styles (Fusion) leave
    // a bar with nothing to scroll enabled, so follow the range.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QScrollBar *bar = verticalScrollBar();
    connect(bar, &QScrollBar::rangeChanged, bar,
            [bar](int minimum, int maximum) { bar->setEnabled(maximum > minimum); });
    bar->setEnabled(bar->maximum() > bar->minimum());

    showDocument(newDocument());
}

TRichEdit::~TRichEdit() = default;

std::unique_ptr<QTextDocument> TRichEdit::newDocument() const
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(font());
    QTextOption option = this->document()->defaultTextOption();
    option.setWrapMode(wordWrapMode());
    option.setTabStopDistance(logicalDpiX() / 2.0); // half an inch, the RTF default
    document->setDefaultTextOption(option);
    document->setUndoRedoEnabled(false);
    return document;
}

void TRichEdit::showDocument(std::unique_ptr<QTextDocument> document)
{
    // QTextEdit deletes the document it made itself, not the ones it is given.
    const QPointer<QTextDocument> previous = this->document();
    document->setParent(this);
    setDocument(document.release());
    if (previous != nullptr && previous->parent() == this)
        delete previous.data();
    verticalScrollBar()->setEnabled(verticalScrollBar()->maximum()
                                    > verticalScrollBar()->minimum());
}

} // namespace ui
