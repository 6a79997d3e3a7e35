#pragma once

// TRichEdit: the read-only rich-text viewer. A QTextEdit that wraps words, lets the user select
// and copy text by mouse and keyboard, shows its vertical scroll bar always (disabled while the
// text fits) and paints a white page whatever the desktop theme. Its content changes only
// through Lines().

#include <QTextEdit>

#include <memory>
#include <string>

namespace ui {

class TRichEdit;

class TRichEditStrings final {
public:
    explicit TRichEditStrings(TRichEdit &owner)
        : m_owner(owner)
    {
    }

    // Empties the viewer.
    void Clear();

    // Replaces the whole content by the file at `path`, a Windows path in UTF-8. The file is
    // read whole, letting others read but not write it, and closed before the call returns.
    // Data that begins with "{\rtf" is read as RTF, anything else as plain text in code page
    // 1251. Throws platform::EFOpenError ("Cannot open file <path>") when the file cannot be
    // opened and platform::EOutOfResources ("Failed to Load Stream") when reading fails part
    // way; in both cases the content stays as it was.
    void LoadFromFile(const std::string &path);

private:
    TRichEdit &m_owner;
};

class TRichEdit final : public QTextEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRichEdit)

public:
    explicit TRichEdit(QWidget *parent = nullptr);
    ~TRichEdit() override;

    TRichEditStrings *Lines() { return m_lines.get(); }

private:
    friend class TRichEditStrings;

    // A new, empty document set up as this viewer shows documents; not yet shown.
    std::unique_ptr<QTextDocument> newDocument() const;
    // Shows `document` and drops the one shown before.
    void showDocument(std::unique_ptr<QTextDocument> document);

    std::unique_ptr<TRichEditStrings> m_lines;
};

} // namespace ui
