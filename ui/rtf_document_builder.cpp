#include "rtf_document_builder.h"

#include "rtf/code_pages.h"
#include "rtf/reader.h"
#include "rtf/sink.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLength>
#include <QTextOption>
#include <QTextTable>
#include <QTextTableCellFormat>
#include <QTextTableFormat>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace ui {
namespace {

QString toQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar *>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

// A table is built when it is complete: Qt lays out the grid of a QTextTable again after every
// appendRows(), which makes growing a table row by row quadratic, while one insertTable() of
// the final size followed by filling the cells is linear. So table content waits here.
struct PendingItem {
    enum Kind : std::uint8_t { Text, Tab, LineBreak } kind = Text;
    QString text;
    int format = 0; // index into the builder's character formats
};

struct PendingParagraph {
    std::vector<PendingItem> items;
    QTextBlockFormat block;
    int mark = 0;
};

struct PendingCell {
    std::vector<PendingParagraph> paragraphs;
};

struct PendingRow {
    rtf::RowDefinition definition;
    std::vector<PendingCell> cells;
};

struct CharFormatHash {
    std::size_t operator()(const rtf::CharFormat &format) const
    {
        std::size_t hash = std::hash<std::string_view>()(format.fontFamily);
        auto mix = [&hash](std::size_t value) {
            hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
        };
        mix(static_cast<std::size_t>(format.bold) | static_cast<std::size_t>(format.italic) << 1
            | static_cast<std::size_t>(format.underline) << 2
            | static_cast<std::size_t>(format.strikeOut) << 3
            | static_cast<std::size_t>(format.allCaps) << 4
            | static_cast<std::size_t>(format.smallCaps) << 5
            | static_cast<std::size_t>(format.hasColor) << 6
            | static_cast<std::size_t>(format.verticalPosition) << 7);
        mix(static_cast<std::size_t>(format.fontSizeHalfPoints));
        mix(static_cast<std::size_t>(static_cast<unsigned>(format.spacingTwips)));
        mix(static_cast<std::size_t>(format.color.red) << 16
            | static_cast<std::size_t>(format.color.green) << 8 | format.color.blue);
        return hash;
    }
};

class DocumentBuilder final : public rtf::Sink {
public:
    DocumentBuilder(QTextDocument &document, qreal dotsPerInch)
        : m_cursor(&document)
        , m_pixelsPerTwip(dotsPerInch / 1440.0)
    {
    }

    void text(std::u16string_view text, const rtf::CharFormat &format) override
    {
        if (m_inRow) {
            currentParagraph().items.push_back(
                {PendingItem::Text, toQString(text), formatIndex(format)});
            return;
        }
        beginContent();
        m_cursor.insertText(toQString(text), m_formats[formatIndex(format)]);
    }

    void tab(const rtf::CharFormat &format) override
    {
        insertCharacter(PendingItem::Tab, u'\t', format);
    }

    void lineBreak(const rtf::CharFormat &format) override
    {
        insertCharacter(PendingItem::LineBreak, QChar::LineSeparator, format);
    }

    void paragraphEnd(const rtf::ParagraphFormat &format, const rtf::CharFormat &mark) override
    {
        if (m_inRow) {
            PendingParagraph &paragraph = currentParagraph();
            paragraph.block = blockFormat(format);
            paragraph.mark = formatIndex(mark);
            m_rows.back().cells.back().paragraphs.emplace_back();
            return;
        }
        beginContent();
        m_cursor.setBlockFormat(blockFormat(format));
        m_cursor.setBlockCharFormat(m_formats[formatIndex(mark)]);
        m_blockEnded = true;
    }

    void rowBegin(const rtf::RowDefinition &row) override
    {
        m_inRow = true;
        PendingRow &pending = m_rows.emplace_back();
        pending.definition = row;
        pending.cells.emplace_back().paragraphs.emplace_back();
    }

    void cellEnd(const rtf::ParagraphFormat &format, const rtf::CharFormat &mark) override
    {
        PendingParagraph &paragraph = currentParagraph();
        paragraph.block = blockFormat(format);
        paragraph.mark = formatIndex(mark);
        m_rows.back().cells.emplace_back().paragraphs.emplace_back();
    }

    void rowEnd() override
    {
        m_rows.back().cells.pop_back(); // the cell cellEnd() opened for what would follow
        m_inRow = false;
    }

    void documentEnd() override { flushTable(); }

private:
    PendingParagraph &currentParagraph() { return m_rows.back().cells.back().paragraphs.back(); }

    void insertCharacter(PendingItem::Kind kind, QChar character, const rtf::CharFormat &format)
    {
        if (m_inRow) {
            currentParagraph().items.push_back({kind, QString(), formatIndex(format)});
            return;
        }
        beginContent();
        m_cursor.insertText(QString(character), m_formats[formatIndex(format)]);
    }

    // Before anything outside a table: close a table that is waiting, and open the block.
    void beginContent()
    {
        flushTable();
        if (m_blockEnded) {
            m_cursor.insertBlock();
            m_blockEnded = false;
        }
    }

    qreal pixels(int twips) const { return twips * m_pixelsPerTwip; }

    int formatIndex(const rtf::CharFormat &format);
    QTextCharFormat charFormat(const rtf::CharFormat &format) const;
    QTextBlockFormat blockFormat(const rtf::ParagraphFormat &format) const;
    void flushTable();
    void fillCell(QTextTableCell cell, const PendingCell &pending);

    QTextCursor m_cursor;
    qreal m_pixelsPerTwip;
    bool m_blockEnded = false; // the cursor's block has had its paragraph end
    bool m_inRow = false;
    std::vector<PendingRow> m_rows;

    // Every distinct character format met so far, converted once.
    std::vector<rtf::CharFormat> m_sources;
    std::vector<QTextCharFormat> m_formats;
    std::unordered_map<rtf::CharFormat, int, CharFormatHash> m_indexes;
    std::deque<std::string> m_families; // stable storage for the stored formats' families
    int m_lastSource = -1;
};

int DocumentBuilder::formatIndex(const rtf::CharFormat &format)
{
    if (m_lastSource >= 0 && m_sources[static_cast<std::size_t>(m_lastSource)] == format)
        return m_lastSource;
    const auto found = m_indexes.find(format);
    if (found != m_indexes.end()) {
        m_lastSource = found->second;
        return m_lastSource;
    }
    rtf::CharFormat stored = format;
    stored.fontFamily =
        m_families.emplace_back(format.fontFamily); // the reader's copy ends with the call
    m_lastSource = static_cast<int>(m_formats.size());
    m_sources.push_back(stored);
    m_formats.push_back(charFormat(format));
    m_indexes.emplace(stored, m_lastSource);
    return m_lastSource;
}

QTextCharFormat DocumentBuilder::charFormat(const rtf::CharFormat &format) const
{
    QTextCharFormat result;
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    result.setFontStrikeOut(format.strikeOut);
    result.setFontCapitalization(format.allCaps     ? QFont::AllUppercase
                                 : format.smallCaps ? QFont::SmallCaps
                                                    : QFont::MixedCase);
    switch (format.verticalPosition) {
    case rtf::VerticalPosition::Normal:
        break;
    case rtf::VerticalPosition::Superscript:
        result.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        break;
    case rtf::VerticalPosition::Subscript:
        result.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        break;
    }
    result.setFontPointSize(format.fontSizeHalfPoints / 2.0);
    if (!format.fontFamily.empty()) {
        result.setFontFamilies({QString::fromUtf8(
            format.fontFamily.data(), static_cast<qsizetype>(format.fontFamily.size()))});
    }
    if (format.hasColor)
        result.setForeground(QColor(format.color.red, format.color.green, format.color.blue));
    if (format.spacingTwips != 0) {
        result.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        result.setFontLetterSpacing(pixels(format.spacingTwips));
    }
    return result;
}

QTextBlockFormat DocumentBuilder::blockFormat(const rtf::ParagraphFormat &format) const
{
    QTextBlockFormat result;
    switch (format.alignment) {
    case rtf::Alignment::Left:
        result.setAlignment(Qt::AlignLeft);
        break;
    case rtf::Alignment::Centre:
        result.setAlignment(Qt::AlignHCenter);
        break;
    case rtf::Alignment::Right:
        result.setAlignment(Qt::AlignRight);
        break;
    case rtf::Alignment::Justify:
        result.setAlignment(Qt::AlignJustify);
        break;
    }
    // Text left of the page's edge would be cut off on screen.
    const int left = std::max(format.leftIndent, 0);
    result.setLeftMargin(pixels(left));
    result.setRightMargin(pixels(std::max(format.rightIndent, 0)));
    result.setTextIndent(pixels(std::max(format.firstLineIndent, -left)));
    result.setTopMargin(pixels(format.spaceBefore));
    result.setBottomMargin(pixels(format.spaceAfter));
    switch (format.lineSpacingRule) {
    case rtf::LineSpacingRule::Single:
        break;
    case rtf::LineSpacingRule::AtLeast:
        result.setLineHeight(pixels(format.lineSpacing), QTextBlockFormat::MinimumHeight);
        break;
    case rtf::LineSpacingRule::Exactly:
        result.setLineHeight(pixels(format.lineSpacing), QTextBlockFormat::FixedHeight);
        break;
    case rtf::LineSpacingRule::Multiple:
        result.setLineHeight(format.lineSpacing * 100.0 / 240.0,
                             QTextBlockFormat::ProportionalHeight);
        break;
    }
    if (!format.tabStops.empty()) {
        QList<QTextOption::Tab> tabs;
        tabs.reserve(static_cast<qsizetype>(format.tabStops.size()));
        for (const rtf::TabStop &stop : format.tabStops) {
            switch (stop.kind) {
            case rtf::TabKind::Left:
                tabs.append(QTextOption::Tab(pixels(stop.position), QTextOption::LeftTab));
                break;
            case rtf::TabKind::Centre:
                tabs.append(QTextOption::Tab(pixels(stop.position), QTextOption::CenterTab));
                break;
            case rtf::TabKind::Right:
                tabs.append(QTextOption::Tab(pixels(stop.position), QTextOption::RightTab));
                break;
            case rtf::TabKind::Decimal:
                tabs.append(
                    QTextOption::Tab(pixels(stop.position), QTextOption::DelimiterTab, u','));
                break;
            }
        }
        result.setTabPositions(tabs);
    }
    if (format.pageBreakBefore)
        result.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return result;
}

void setBorder(QTextTableCellFormat &format, const rtf::Border &border, qreal width,
               void (QTextTableCellFormat::*setWidth)(qreal),
               void (QTextTableCellFormat::*setStyle)(QTextFrameFormat::BorderStyle),
               void (QTextTableCellFormat::*setBrush)(const QBrush &))
{
    if (border.style == rtf::BorderStyle::None) {
        (format.*setWidth)(0);
        (format.*setStyle)(QTextFrameFormat::BorderStyle_None);
        return;
    }
    QTextFrameFormat::BorderStyle style = QTextFrameFormat::BorderStyle_Solid;
    switch (border.style) {
    case rtf::BorderStyle::Double:
        style = QTextFrameFormat::BorderStyle_Double;
        break;
    case rtf::BorderStyle::Dotted:
        style = QTextFrameFormat::BorderStyle_Dotted;
        break;
    case rtf::BorderStyle::Dashed:
        style = QTextFrameFormat::BorderStyle_Dashed;
        break;
    default:
        break;
    }
    (format.*setWidth)(std::max<qreal>(width, 1.0));
    (format.*setStyle)(style);
    (format.*setBrush)(QBrush(Qt::black));
}

void DocumentBuilder::flushTable()
{
    if (m_rows.empty())
        return;
    std::vector<PendingRow> rows;
    rows.swap(m_rows);

    // The widest row gives the columns.
    const PendingRow *widest = &rows.front();
    for (const PendingRow &row : rows) {
        if (row.cells.size() > widest->cells.size())
            widest = &row;
    }
    const int columns = static_cast<int>(widest->cells.size());
    QList<QTextLength> widths;
    int edge = widest->definition.left;
    for (const rtf::CellDefinition &cell : widest->definition.cells) {
        widths.append(
            QTextLength(QTextLength::FixedLength, std::max(pixels(cell.rightEdge - edge), 1.0)));
        edge = cell.rightEdge;
    }

    QTextTableFormat tableFormat;
    tableFormat.setBorder(0);
    tableFormat.setBorderCollapse(true);
    tableFormat.setCellSpacing(0);
    tableFormat.setCellPadding(0);
    tableFormat.setLeftMargin(pixels(std::max(widest->definition.left, 0)));
    tableFormat.setAlignment(Qt::AlignLeft);
    tableFormat.setColumnWidthConstraints(widths);

    // Right after the previous paragraph: at the start of an empty block Qt would keep that
    // block before the table as an empty line.
    QTextTable *table = m_cursor.insertTable(static_cast<int>(rows.size()), columns, tableFormat);

    std::vector<int> mergeStart(static_cast<std::size_t>(columns), -1); // row of the open run
    struct Merge {
        int row;
        int column;
        int rows;
    };
    std::vector<Merge> merges;
    auto closeRun = [&](int column, int endRow) {
        int &start = mergeStart[static_cast<std::size_t>(column)];
        if (start >= 0 && endRow - start > 1)
            merges.push_back({start, column, endRow - start});
        start = -1;
    };

    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const PendingRow &row = rows[static_cast<std::size_t>(r)];
        const rtf::RowDefinition &definition = row.definition;
        for (int c = 0; c < columns; ++c) {
            const bool present = c < static_cast<int>(row.cells.size());
            const rtf::CellDefinition cell =
                present ? definition.cells[static_cast<std::size_t>(c)] : rtf::CellDefinition{};
            if (cell.verticalMerge == rtf::VerticalMerge::Continue
                && mergeStart[static_cast<std::size_t>(c)] >= 0) {
                // The run goes on.
            } else {
                closeRun(c, r);
                if (cell.verticalMerge == rtf::VerticalMerge::First)
                    mergeStart[static_cast<std::size_t>(c)] = r;
            }
            if (!present)
                continue;

            QTextTableCell tableCell = table->cellAt(r, c);
            const PendingCell &pending = row.cells[static_cast<std::size_t>(c)];
            fillCell(tableCell, pending);

            // The cell's format is the character format of its first block: start from that
            // paragraph's mark so an empty first line keeps its height.
            QTextTableCellFormat format;
            if (!pending.paragraphs.empty())
                format.merge(m_formats[static_cast<std::size_t>(pending.paragraphs.front().mark)]);
            setBorder(format, cell.top, pixels(cell.top.width), &QTextTableCellFormat::setTopBorder,
                      &QTextTableCellFormat::setTopBorderStyle,
                      &QTextTableCellFormat::setTopBorderBrush);
            setBorder(format, cell.left, pixels(cell.left.width),
                      &QTextTableCellFormat::setLeftBorder,
                      &QTextTableCellFormat::setLeftBorderStyle,
                      &QTextTableCellFormat::setLeftBorderBrush);
            setBorder(format, cell.bottom, pixels(cell.bottom.width),
                      &QTextTableCellFormat::setBottomBorder,
                      &QTextTableCellFormat::setBottomBorderStyle,
                      &QTextTableCellFormat::setBottomBorderBrush);
            setBorder(format, cell.right, pixels(cell.right.width),
                      &QTextTableCellFormat::setRightBorder,
                      &QTextTableCellFormat::setRightBorderStyle,
                      &QTextTableCellFormat::setRightBorderBrush);
            format.setLeftPadding(pixels(definition.paddingLeft));
            format.setRightPadding(pixels(definition.paddingRight));
            format.setTopPadding(pixels(definition.paddingTop));
            format.setBottomPadding(pixels(definition.paddingBottom));
            switch (cell.verticalAlignment) {
            case rtf::CellAlignment::Top:
                format.setVerticalAlignment(QTextCharFormat::AlignTop);
                break;
            case rtf::CellAlignment::Centre:
                format.setVerticalAlignment(QTextCharFormat::AlignMiddle);
                break;
            case rtf::CellAlignment::Bottom:
                format.setVerticalAlignment(QTextCharFormat::AlignBottom);
                break;
            }
            tableCell.setFormat(format);
        }
    }
    for (int c = 0; c < columns; ++c)
        closeRun(c, static_cast<int>(rows.size()));
    for (const Merge &merge : merges)
        table->mergeCells(merge.row, merge.column, merge.rows, 1);

    // Go on in the block Qt always keeps after a table.
    m_cursor = table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_blockEnded = false;
}

void DocumentBuilder::fillCell(QTextTableCell cell, const PendingCell &pending)
{
    QTextCursor cursor = cell.firstCursorPosition();
    bool first = true;
    for (const PendingParagraph &paragraph : pending.paragraphs) {
        if (!first)
            cursor.insertBlock();
        cursor.setBlockFormat(paragraph.block);
        if (!first) // the first block's character format is the cell's, set by the caller
            cursor.setBlockCharFormat(m_formats[static_cast<std::size_t>(paragraph.mark)]);
        for (const PendingItem &item : paragraph.items) {
            const QTextCharFormat &format = m_formats[static_cast<std::size_t>(item.format)];
            switch (item.kind) {
            case PendingItem::Text:
                cursor.insertText(item.text, format);
                break;
            case PendingItem::Tab:
                cursor.insertText(QString(QChar(u'\t')), format);
                break;
            case PendingItem::LineBreak:
                cursor.insertText(QString(QChar::LineSeparator), format);
                break;
            }
        }
        first = false;
    }
}

} // namespace

void BuildRtfDocument(std::string_view data, QTextDocument &document, qreal dotsPerInch)
{
    document.setUndoRedoEnabled(false);
    QTextCursor editBlock(&document);
    editBlock.beginEditBlock();
    DocumentBuilder builder(document, dotsPerInch);
    rtf::Read(data, builder);
    editBlock.endEditBlock();
}

void BuildPlainTextDocument(std::string_view data, QTextDocument &document)
{
    document.setUndoRedoEnabled(false);
    const std::u16string decoded = rtf::DecodeSingleByte(data, 1251);
    QString text;
    text.reserve(static_cast<qsizetype>(decoded.size()));
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        const char16_t unit = decoded[i];
        if (unit == u'\r') {
            text.append(QChar::ParagraphSeparator);
            if (i + 1 < decoded.size() && decoded[i + 1] == u'\n')
                ++i;
        } else if (unit == u'\n') {
            text.append(QChar::ParagraphSeparator);
        } else if (unit >= 0x20 || unit == u'\t') {
            text.append(QChar(unit));
        }
    }
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
}

} // namespace ui
