#include "rich_edit.h"

#include "rtf_document_builder.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "rtf/reader.h"

#include <QFont>
#include <QPalette>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextOption>

namespace ui {

void TRichEditStrings::Clear()
{
    m_owner.document()->clear();
    m_owner.updateScrollBar();
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
    QTextDocument built;
    m_owner.setUpDocument(built);
    if (rtf::LooksLikeRtf(bytes))
        BuildRtfDocument(bytes, built, m_owner.logicalDpiX());
    else
        BuildPlainTextDocument(bytes, built);
    m_owner.showContent(built);
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
    connect(bar, &QScrollBar::rangeChanged, this, &TRichEdit::updateScrollBar);
    setUpDocument(*document());
    updateScrollBar();
}

TRichEdit::~TRichEdit() = default;

void TRichEdit::setUpDocument(QTextDocument &document) const
{
    QFont text = font();
    text.setKerning(false); // as the RTF documents are set, and it lets Qt skip shaping
    text.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(text);
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(wordWrapMode());
    option.setTabStopDistance(logicalDpiX() / 2.0); // half an inch, the RTF default
    document.setDefaultTextOption(option);
    document.setUndoRedoEnabled(false);
}

void TRichEdit::showContent(const QTextDocument &built)
{
    // One edit of the shown document, which Qt lays out once. Handing QTextEdit the built
    // document itself would cost two full layouts (one as the view takes it, one for the
    // view's width), and laying out is most of the time a document takes to show.
    const QTextDocumentFragment content(&built);
    QTextDocument *shown = document();
    shown->clear(); // also drops the formats of what was shown before
    QTextCursor cursor(shown);
    cursor.beginEditBlock();
    cursor.insertFragment(content);
    cursor.endEditBlock();
    setTextCursor(QTextCursor(shown));
    updateScrollBar();
}

void TRichEdit::updateScrollBar()
{
    QScrollBar *bar = verticalScrollBar();
    bar->setEnabled(bar->maximum() > bar->minimum());
}

} // namespace ui
