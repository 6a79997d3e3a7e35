// Small RTF fixtures, one per feature the viewer shows, checked on the QTextDocument the
// builder makes: its text, and the block, character and table formats Qt will draw.

#include "ui/rtf_document_builder.h"

#include <QFont>
#include <QElapsedTimer>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <functional>
#include <string>

namespace {

constexpr qreal kDpi = 96; // so that 15 twips are one pixel
qreal px(int twips)
{
    return twips * kDpi / 1440.0;
}

// Each block's text on a line of its own; a line break inside a block shows as "<br>".
QString blocksText(const QTextDocument &document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines << block.text().replace(QChar::LineSeparator, QStringLiteral("<br>"));
    return lines.join(u'\n');
}

QTextBlock blockWith(const QTextDocument &document, const QString &text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text().contains(text))
            return block;
    }
    return {};
}

// The format of the first character of `text`.
QTextCharFormat formatOf(const QTextDocument &document, const QString &text)
{
    const QTextCursor found = document.find(text);
    if (found.isNull())
        return {};
    QTextCursor cursor(found);
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

QTextTable *firstTable(const QTextDocument &document)
{
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(frame))
            return table;
    }
    return nullptr;
}

int tableCount(const QTextDocument &document)
{
    int count = 0;
    for (QTextFrame *frame : document.rootFrame()->childFrames())
        count += qobject_cast<QTextTable *>(frame) != nullptr ? 1 : 0;
    return count;
}

using Check = std::function<void(const QTextDocument &)>;

struct Case {
    const char *name;
    std::string rtf;
    QString text; // blocksText() of the result
    Check check;
};

const std::string kHead =
    "{\\rtf1\\ansi\\ansicpg1251\\uc1\\deff0{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman;}"
    "{\\f1\\fswiss\\fcharset204 Arial;}{\\f2\\fswiss\\fcharset0 Arial;}}"
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue0;}";

const std::string kBorders =
    "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
    "\\clbrdrr\\brdrs\\brdrw10";

const Case kCases[] = {
    {"CyrillicAndLatinInOneFile",
     kHead + "\\f1 \\'c4\\'ee\\'e3\\'ee\\'e2\\'ee\\'f0 {\\f2 caf\\'e9}\\par}",
     QStringLiteral("Договор café"),
     [](const QTextDocument &d) {
         QCOMPARE(formatOf(d, QStringLiteral("Договор")).fontFamilies().toStringList(),
                  QStringList{QStringLiteral("Arial")});
         QCOMPARE(formatOf(d, QStringLiteral("café")).fontFamilies().toStringList(),
                  QStringList{QStringLiteral("Arial")});
     }},
    {"UnicodeEscapesWithoutFallback",
     kHead
         + "\\f1 5\\u8722\\'3f3 \\u1044\\'3f\\u1072\\'3f {\\uc0 \\u1073}{\\uc2 "
           "\\u1074\\'3f\\'3f}\\par}",
     QStringLiteral("5−3 Да бв"),
     [](const QTextDocument &d) { QVERIFY(!d.toRawText().contains(u'?')); }},
    {"SpecialCharacters", kHead + "a\\~b\\-c\\endash\\emdash\\bullet\\rquote\\par}",
     QStringLiteral("a\u00A0b\u00ADc–—•’"), [](const QTextDocument &) {}},
    {"TabsLineBreaksAndParagraphs", kHead + "a\\tab b\\line c\\par d\\par}",
     QStringLiteral("a\tb<br>c\nd"), [](const QTextDocument &d) { QCOMPARE(d.blockCount(), 2); }},
    {"SkippedGroupsShowNothing",
     kHead
         + "{\\stylesheet{\\s0 Normal;}}{\\info{\\author Someone}}{\\*\\themedata 504b0304}"
           "{\\*\\datastore 0105}x\\par}",
     QStringLiteral("x"), [](const QTextDocument &) {}},
    {"Alignment", kHead + "\\pard\\ql l\\par\\pard\\qc c\\par\\pard\\qr r\\par\\pard\\qj j\\par}",
     QStringLiteral("l\nc\nr\nj"),
     [](const QTextDocument &d) {
         QCOMPARE(blockWith(d, QStringLiteral("l")).blockFormat().alignment(), Qt::AlignLeft);
         QCOMPARE(blockWith(d, QStringLiteral("c")).blockFormat().alignment(), Qt::AlignHCenter);
         QCOMPARE(blockWith(d, QStringLiteral("r")).blockFormat().alignment(), Qt::AlignRight);
         QCOMPARE(blockWith(d, QStringLiteral("j")).blockFormat().alignment(), Qt::AlignJustify);
     }},
    {"Indents", kHead + "\\pard\\fi283\\li567\\ri850 a\\par\\pard\\fi-400\\li200 b\\par}",
     QStringLiteral("a\nb"),
     [](const QTextDocument &d) {
         const QTextBlockFormat a = blockWith(d, QStringLiteral("a")).blockFormat();
         QCOMPARE(a.textIndent(), px(283));
         QCOMPARE(a.leftMargin(), px(567));
         QCOMPARE(a.rightMargin(), px(850));
         // A hanging indent is kept only as far as the page's edge.
         const QTextBlockFormat b = blockWith(d, QStringLiteral("b")).blockFormat();
         QCOMPARE(b.textIndent(), px(-200));
         QCOMPARE(b.leftMargin(), px(200));
     }},
    {"LineAndParagraphSpacing",
     kHead
         + "\\pard\\sl288\\slmult1\\sb120\\sa240 a\\par\\pard\\sl241\\slmult0 b\\par\\pard\\sl-300 "
           "c\\par"
           "\\pard d\\par}",
     QStringLiteral("a\nb\nc\nd"),
     [](const QTextDocument &d) {
         const QTextBlockFormat a = blockWith(d, QStringLiteral("a")).blockFormat();
         QCOMPARE(a.lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
         QCOMPARE(a.lineHeight(), 120.0);
         QCOMPARE(a.topMargin(), px(120));
         QCOMPARE(a.bottomMargin(), px(240));
         const QTextBlockFormat b = blockWith(d, QStringLiteral("b")).blockFormat();
         QCOMPARE(b.lineHeightType(), int(QTextBlockFormat::MinimumHeight));
         QCOMPARE(b.lineHeight(), px(241));
         const QTextBlockFormat c = blockWith(d, QStringLiteral("c")).blockFormat();
         QCOMPARE(c.lineHeightType(), int(QTextBlockFormat::FixedHeight));
         QCOMPARE(c.lineHeight(), px(300));
         QCOMPARE(blockWith(d, QStringLiteral("d")).blockFormat().lineHeightType(),
                  int(QTextBlockFormat::SingleHeight));
     }},
    {"TabStops", kHead + "\\pard\\tx1000\\tqc\\tx4677\\tqr\\tlul\\tx9355 a\\tab b\\tab c\\par}",
     QStringLiteral("a\tb\tc"),
     [](const QTextDocument &d) {
         const QList<QTextOption::Tab> tabs =
             blockWith(d, QStringLiteral("a")).blockFormat().tabPositions();
         QCOMPARE(tabs.size(), 3);
         QCOMPARE(tabs[0].position, px(1000));
         QCOMPARE(tabs[0].type, QTextOption::LeftTab);
         QCOMPARE(tabs[1].position, px(4677));
         QCOMPARE(tabs[1].type, QTextOption::CenterTab);
         QCOMPARE(tabs[2].position, px(9355));
         QCOMPARE(tabs[2].type, QTextOption::RightTab);
     }},
    {"PageBreakBefore", kHead + "\\pard\\pagebb a\\par\\pard b\\par}", QStringLiteral("a\nb"),
     [](const QTextDocument &d) {
         QCOMPARE(blockWith(d, QStringLiteral("a")).blockFormat().pageBreakPolicy(),
                  QTextFormat::PageBreak_AlwaysBefore);
         QCOMPARE(blockWith(d, QStringLiteral("b")).blockFormat().pageBreakPolicy(),
                  QTextFormat::PageBreak_Auto);
     }},
    {"CharacterFormats",
     kHead
         + "\\f1\\fs20 {\\b bold}{\\i italic}{\\caps caps}{\\scaps small}{\\fs24 big}{\\cf2 blue}"
           "{\\expnd\\expndtw-8 tight}{\\ul under}plain\\par}",
     QStringLiteral("bolditaliccapssmallbigbluetightunderplain"),
     [](const QTextDocument &d) {
         QCOMPARE(formatOf(d, QStringLiteral("bold")).fontWeight(), int(QFont::Bold));
         QVERIFY(formatOf(d, QStringLiteral("italic")).fontItalic());
         QCOMPARE(formatOf(d, QStringLiteral("caps")).fontCapitalization(), QFont::AllUppercase);
         QCOMPARE(formatOf(d, QStringLiteral("small")).fontCapitalization(), QFont::SmallCaps);
         QCOMPARE(formatOf(d, QStringLiteral("big")).fontPointSize(), 12.0);
         QCOMPARE(formatOf(d, QStringLiteral("blue")).foreground().color(), QColor(0, 0, 255));
         QCOMPARE(formatOf(d, QStringLiteral("tight")).fontLetterSpacingType(),
                  QFont::AbsoluteSpacing);
         QCOMPARE(formatOf(d, QStringLiteral("tight")).fontLetterSpacing(), px(-8));
         QVERIFY(formatOf(d, QStringLiteral("under")).fontUnderline());
         const QTextCharFormat plain = formatOf(d, QStringLiteral("plain"));
         QCOMPARE(plain.fontWeight(), int(QFont::Normal));
         QVERIFY(!plain.fontItalic());
         QCOMPARE(plain.fontCapitalization(), QFont::MixedCase);
         QCOMPARE(plain.fontPointSize(), 10.0);
         QCOMPARE(plain.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
     }},
    // The paragraph mark's size decides how tall an empty line is.
    {"EmptyParagraphKeepsItsMarkSize", kHead + "\\f1\\fs16 a\\par\\par\\fs24 b\\par}",
     QStringLiteral("a\n\nb"),
     [](const QTextDocument &d) {
         QCOMPARE(d.findBlockByNumber(1).charFormat().fontPointSize(), 8.0);
     }},
    {"TableShapeWidthsAndBorders",
     kHead + "\\pard before\\par\\trowd\\trgaph108\\trleft0" + kBorders + "\\cellx1500" + kBorders
         + "\\cellx4500\\clbrdrb\\brdrdb\\brdrw30\\cellx6000"
           "\\pard\\intbl a\\cell b\\cell c\\cell\\row"
           "\\pard\\intbl d\\cell e\\par f\\cell g\\cell\\row\\pard after\\par}",
     QStringLiteral("before\na\nb\nc\nd\ne\nf\ng\nafter"),
     [](const QTextDocument &d) {
         QCOMPARE(tableCount(d), 1);
         QTextTable *table = firstTable(d);
         QCOMPARE(table->rows(), 2);
         QCOMPARE(table->columns(), 3);
         const QList<QTextLength> widths = table->format().columnWidthConstraints();
         QCOMPARE(widths.size(), 3);
         QCOMPARE(widths[0].rawValue(), px(1500));
         QCOMPARE(widths[1].rawValue(), px(3000));
         QCOMPARE(widths[2].rawValue(), px(1500));
         const QTextTableCellFormat first = table->cellAt(0, 0).format().toTableCellFormat();
         QCOMPARE(first.topBorderStyle(), QTextFrameFormat::BorderStyle_Solid);
         QCOMPARE(first.leftBorderStyle(), QTextFrameFormat::BorderStyle_Solid);
         QCOMPARE(first.leftPadding(), px(108));
         const QTextTableCellFormat last = table->cellAt(0, 2).format().toTableCellFormat();
         QCOMPARE(last.topBorderStyle(), QTextFrameFormat::BorderStyle_None);
         QCOMPARE(last.bottomBorderStyle(), QTextFrameFormat::BorderStyle_Double);
         QCOMPARE(last.bottomBorder(), px(30));
         QCOMPARE(table->cellAt(1, 1).lastCursorPosition().block().text(), QStringLiteral("f"));
     }},
    {"MergedCellsAndVerticalAlignment",
     kHead
         + "\\trowd\\clvmgf\\clvertalc\\cellx1000\\cellx2000\\pard\\intbl m\\cell a\\cell\\row"
           "\\trowd\\clvmrg\\clvertalc\\cellx1000\\clvertalb\\cellx2000\\pard\\intbl\\cell "
           "b\\cell\\row"
           "\\trowd\\cellx1000\\cellx2000\\pard\\intbl c\\cell d\\cell\\row\\pard\\par}",
     QStringLiteral("\nm\na\nb\nc\nd\n"), // Qt keeps a block before a table
     [](const QTextDocument &d) {
         QTextTable *table = firstTable(d);
         QCOMPARE(table->rows(), 3);
         QCOMPARE(table->cellAt(0, 0).rowSpan(), 2);
         QCOMPARE(table->cellAt(1, 0).row(), 0);
         QCOMPARE(table->cellAt(2, 0).rowSpan(), 1);
         QCOMPARE(table->cellAt(0, 0).format().verticalAlignment(), QTextCharFormat::AlignMiddle);
         QCOMPARE(table->cellAt(1, 1).format().verticalAlignment(), QTextCharFormat::AlignBottom);
     }},
    {"RowsWithDifferentCellCounts",
     kHead
         + "\\trowd\\cellx1000\\pard\\intbl a\\cell\\row\\trowd\\cellx1000\\cellx2000\\cellx3000"
           "\\pard\\intbl b\\cell c\\cell d\\cell\\row\\pard x\\par}",
     QStringLiteral("\na\n\n\nb\nc\nd\nx"),
     [](const QTextDocument &d) {
         QCOMPARE(firstTable(d)->columns(), 3);
         QCOMPARE(firstTable(d)->rows(), 2);
     }},
    {"ParagraphBetweenTablesSeparatesThem",
     kHead
         + "\\trowd\\cellx1000\\pard\\intbl a\\cell\\row\\pard "
           "x\\par\\trowd\\cellx1000\\pard\\intbl b\\cell\\row}",
     QStringLiteral("\na\nx\nb\n"), [](const QTextDocument &d) { QCOMPARE(tableCount(d), 2); }},
    {"RowWithoutRowEndIsKept", kHead + "\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b",
     QStringLiteral("\na\nb\n"),
     [](const QTextDocument &d) { QCOMPARE(firstTable(d)->columns(), 2); }},
};

} // namespace

class RtfDocumentBuilderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void builds_data();
    void builds();
    void largeTableStaysQuick();
    void plainText_data();
    void plainText();
};

void RtfDocumentBuilderTest::builds_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kCases)); ++i)
        QTest::newRow(kCases[i].name) << i;
}

void RtfDocumentBuilderTest::builds()
{
    QFETCH(int, index);
    const Case &c = kCases[index];
    QTextDocument document;
    ui::BuildRtfDocument(c.rtf, document, kDpi);
    QCOMPARE(blocksText(document), c.text);
    c.check(document);
}

// A table grown row by row is quadratic in Qt; the builder must not be.
void RtfDocumentBuilderTest::largeTableStaysQuick()
{
    std::string rtf = "{\\rtf1\\ansi\\trowd\\clvmgf\\cellx1000\\cellx2000";
    for (int i = 0; i < 20000; ++i)
        rtf += "\\trowd\\clvmrg\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row";
    rtf += "}";
    QElapsedTimer timer;
    timer.start();
    QTextDocument document;
    ui::BuildRtfDocument(rtf, document, kDpi);
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(firstTable(document)->rows(), 20000);
}

void RtfDocumentBuilderTest::plainText_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("text");
    QTest::newRow("cp1251") << QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0")
                            << QStringLiteral("Привет, мир");
    QTest::newRow("line ends") << QByteArray("a\r\nb\nc\rd\r\n") << QStringLiteral("a\nb\nc\nd\n");
    QTest::newRow("control bytes dropped")
        << QByteArray("a\tb\0c\x01", 6) << QStringLiteral("a\tbc");
    QTest::newRow("undefined byte") << QByteArray("\x98") << QStringLiteral("\uFFFD");
}

void RtfDocumentBuilderTest::plainText()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, text);
    QTextDocument document;
    ui::BuildPlainTextDocument(
        std::string_view(data.constData(), static_cast<std::size_t>(data.size())), document);
    QCOMPARE(blocksText(document), text);
}

QTEST_MAIN(RtfDocumentBuilderTest)
#include "rtf_document_builder_test.moc"
