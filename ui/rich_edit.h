#pragma once

// Interim viewer until the RTF reader lands: shows a file's bytes as plain text.

#include <QTextEdit>

#include <string>

namespace ui {

class TRichEdit;

class TRichEditLines final {
public:
    explicit TRichEditLines(TRichEdit &edit) : m_edit(edit) {}
    void Clear();
    void LoadFromFile(const std::string &windowsPath);

private:
    TRichEdit &m_edit;
};

class TRichEdit final : public QTextEdit {
    Q_OBJECT

public:
    explicit TRichEdit(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TRichEdit)

    TRichEditLines *Lines() { return &m_lines; }

private:
    TRichEditLines m_lines{*this};
};

} // namespace ui
