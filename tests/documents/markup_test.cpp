// The source markup and the RTF it must give, case by case.

#include "document_writer.h"
#include "markup_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace docgen;

namespace {

BodySettings settingsFor(Form form)
{
    BodySettings settings;
    settings.form = form;
    settings.rsids = {7};
    return settings;
}

std::string body(const std::string &source, Form form = Form::B)
{
    return bodyText(parseSource(source), settingsFor(form));
}

// Each fragment must occur, in this order, in the body.
void expectInOrder(const std::string &text, const std::vector<std::string> &fragments)
{
    std::size_t at = 0;
    for (const std::string &fragment : fragments) {
        const std::size_t found = text.find(fragment, at);
        ASSERT_NE(found, std::string::npos) << "missing, or out of order: " << fragment << "\nin: " << text;
        at = found + fragment.size();
    }
}

struct BodyCase {
    const char *name;
    const char *source;
    Form form;
    std::vector<std::string> fragments;
};

void PrintTo(const BodyCase &c, std::ostream *os) { *os << c.name; }

class MarkupGives : public ::testing::TestWithParam<BodyCase> {};

TEST_P(MarkupGives, TheseRtfFragments)
{
    const BodyCase &c = GetParam();
    expectInOrder(body(c.source, c.form), c.fragments);
}

const std::string kRunB = "{\\f1\\fs20\\cf1\\lang1049\\langnp1049\\insrsid7 ";

INSTANTIATE_TEST_SUITE_P(
    Cases, MarkupGives,
    ::testing::Values(
        // A whole paragraph, both forms, exactly.
        BodyCase{"BodyParagraphFormB", "Мир", Form::B,
                 {"\\pard\\plain \\s3\\qj \\fi283\\sl288\\slmult1\\widctlpar\\pararsid7 "
                  "{\\f1\\fs20\\cf1\\lang1049\\langnp1049\\insrsid7 \\'cc\\'e8\\'f0\\par}"}},
        BodyCase{"BodyParagraphFormA", "Мир", Form::A,
                 {"\\pard\\plain \\ltrpar\\s3\\qj \\fi283\\sa0\\sl288\\slmult1\\widctlpar\\pararsid7 "
                  "{\\rtlch\\fcs1 \\af1 \\ltrch\\fcs0 \\f1\\fs20\\cf1\\lang1049\\langnp1049\\insrsid7 "
                  "\\'cc\\'e8\\'f0\\par}"}},
        BodyCase{"BoldRunFormA", "{b: Да}", Form::A,
                 {"{\\rtlch\\fcs1 \\ab\\af1 \\ltrch\\fcs0 \\b\\f1\\fs20\\cf1\\lang1049\\langnp1049\\insrsid7 "
                  "\\'c4\\'e0\\par}"}},
        // Escapes of the markup and of RTF.
        BodyCase{"Escapes", "a\\tb\\nc\\~d\\-e\\\\f\\{g\\}h\\|i\\[j\\]k", Form::B,
                 {kRunB + "a\\tab b\\line c\\~d\\-e\\\\f\\{g\\}h|i[j]k\\par}"}},
        BodyCase{"TypedTabIsATab", "a\tb", Form::B, {kRunB + "a\\tab b\\par}"}},
        BodyCase{"NamedAndEscapedCharacters",
                 "— – • ’ ‘ “ ” − ✓ № ё «» \xc2\xa0|", Form::B,
                 {kRunB + "\\emdash  \\endash  \\bullet  \\rquote  \\lquote  \\ldblquote  \\rdblquote  "
                          "\\u8722\\'3f \\u10003\\'3f \\'b9 \\'b8 \\'ab\\'bb \\'a0|\\par}"}},
        BodyCase{"CharactersBeyondTheBasicPlane", "\xf0\x9f\x98\x80", Form::B, {"\\u-10179\\'3f\\u-8704\\'3f"}},
        BodyCase{"BlankAfterAControlWordIsKept", "{b: x} y", Form::B,
                 {"\\insrsid7 x}", "\\insrsid7  y\\par}"}},
        BodyCase{"UnicodeSpan", "{lang=9217 uni: Юн,}z", Form::B,
                 {"\\lang9217\\langnp9217\\insrsid7 \\u1070\\'3f\\u1085\\'3f,}", kRunB + "z\\par}"}},
        BodyCase{"NestedSpans", "{b: x {i: y}} z", Form::B,
                 {"{\\b\\f1\\fs20\\cf1\\lang1049\\langnp1049\\insrsid7 x }",
                  "{\\b\\i\\f1\\fs20\\cf1\\lang1049\\langnp1049\\insrsid7 y}", kRunB + " z\\par}"}},
        BodyCase{"CharacterProperties", "{font=tnr fs=16 cf=4 expnd=-8 caps scaps: x}{expnd=6: y}{expnd=-3: z}",
                 Form::B,
                 {"{\\caps\\scaps\\f0\\fs16\\cf4\\expnd-2\\expndtw-8\\lang1049", "\\expnd1\\expndtw6\\lang1049",
                  "\\expnd-1\\expndtw-3\\lang1049"}},
        // Paragraph kinds and properties.
        BodyCase{"Heading", "[h] Т", Form::B,
                 {"\\pard\\plain \\s1\\qc \\fi0\\sl288\\slmult1\\keepn\\widctlpar\\pararsid7 {\\b\\f1\\fs24\\cf1"}},
        BodyCase{"HeadingSizeBefore", "[fs=28 h] Т", Form::B, {"{\\b\\f1\\fs28\\cf1"}},
        BodyCase{"HeadingSizeAfter", "[h fs=28] Т", Form::B, {"{\\b\\f1\\fs28\\cf1"}},
        BodyCase{"SectionHeading", "[c b] Т", Form::B, {"\\pard\\plain \\s2\\qc \\fi0\\sl288", "{\\b\\f1\\fs20"}},
        BodyCase{"LeftParagraphHasNoStyle", "[l] Т", Form::B, {"\\pard\\plain \\ql \\fi0\\sl288"}},
        BodyCase{"RightParagraph", "[r] Т", Form::B, {"\\pard\\plain \\qr \\fi0\\sl288"}},
        BodyCase{"ParagraphProperties", "[fi=-283 li=567 ri=100 sb=120 sa=60 keep pagebb nowidctl] x", Form::B,
                 {"\\s3\\qj \\fi-283\\li567\\ri100\\sb120\\sa60\\sl288\\slmult1\\keep\\pagebb\\nowidctlpar"
                  "\\rin100\\lin567\\pararsid7 "}},
        BodyCase{"TabStops", "[l tx=567,c4677,r9000,ul9355] a", Form::B,
                 {"\\widctlpar\\tx567\\tqc\\tx4677\\tqr\\tx9000\\tlul\\tx9355\\pararsid7 "}},
        BodyCase{"LineSpacingMultiple", "[sl=240] x", Form::B, {"\\sl240\\slmult1"}},
        BodyCase{"LineSpacingAtLeast", "[slmin=241] x", Form::B, {"\\sl241\\slmult0"}},
        BodyCase{"ParagraphCharacterProperties", "[l b i fs=16] x {caps: y}", Form::B,
                 {"{\\b\\i\\f1\\fs16\\cf1", "x }", "{\\b\\i\\caps\\f1\\fs16\\cf1", "y\\par}"}},
        BodyCase{"EmptyParagraph", "[l]", Form::B, {"\\pard\\plain \\ql ", kRunB + "\\par}"}},
        BodyCase{"CommentsAndBlankLinesGiveNothing", "# note\n\n   \nx\n# end", Form::B,
                 {"\\pard\\plain \\s3\\qj ", kRunB + "x\\par}"}},
        // Tables.
        BodyCase{"TableWithMerge",
                 "@table cols=700,4200 border=single fs=18 valign=c\n"
                 "[c b] № | Пункт\n"
                 "1 | [j] a\n"
                 "^ | b\\nc\n"
                 "@end",
                 Form::B,
                 {"\\trowd \\irow0\\irowband0\\ts11\\trgaph108\\trleft0\\trbrdrt\\brdrs\\brdrw10 ",
                  "\\clvertalc\\clbrdrt\\brdrs\\brdrw10 \\clbrdrl\\brdrs\\brdrw10 \\clbrdrb\\brdrs\\brdrw10 "
                  "\\clbrdrr\\brdrs\\brdrw10 \\cltxlrtb\\clftsWidth3\\clwWidth700\\cellx700",
                  "\\clwWidth4200\\cellx4900",
                  "\\pard\\plain \\qc \\fi0\\sl240\\slmult1\\widctlpar\\intbl\\pararsid7 "
                  "{\\b\\f1\\fs18\\cf1\\lang1049\\langnp1049\\insrsid7 \\'b9\\cell}",
                  "\\pard\\plain \\ql \\li0\\ri0\\widctlpar\\intbl {\\insrsid7\\row}",
                  "\\trowd \\irow1\\irowband1", "\\clvmgf\\clvertalc", "\\cellx700",
                  "{\\f1\\fs18\\cf1\\lang1049\\langnp1049\\insrsid7 1\\cell}", "\\qj \\fi0\\sl240", "a\\cell}",
                  "{\\insrsid7\\row}", "\\trowd \\irow2\\irowband2\\lastrow", "\\clvmrg\\clvertalc",
                  "{\\f1\\fs18\\cf1\\lang1049\\langnp1049\\insrsid7 \\cell}", "b\\line c\\cell}", "\\row}"}},
        BodyCase{"TableBorderTbl", "@table cols=100 border=tbl\nx\n@end", Form::B,
                 {"\\trleft0\\trftsWidth1", "\\clvertalt\\clbrdrt\\brdrtbl \\clbrdrl\\brdrtbl \\clbrdrb\\brdrtbl "
                                            "\\clbrdrr\\brdrtbl \\cltxlrtb"}},
        BodyCase{"TableRowAndCellProperties", "@table cols=100,100,100\n[c] 1 | [l] 2 | 3\n@end", Form::B,
                 {"\\qc \\fi0", "1\\cell}", "\\ql \\fi0", "2\\cell}", "\\qc \\fi0", "3\\cell}"}},
        BodyCase{"TableFormA", "@table cols=100\nx\n@end", Form::A,
                 {"\\ltrrow\\ts11", "\\pard\\plain \\ltrpar\\ql \\fi0\\sa0\\sl240\\slmult1\\widctlpar\\intbl",
                  "\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\widctlpar\\intbl {\\rtlch\\fcs1 \\af1 \\ltrch\\fcs0 "
                  "\\insrsid7\\row}"}}),
    [](const ::testing::TestParamInfo<BodyCase> &info) { return std::string(info.param.name); });

TEST(Markup, TableWithoutBordersHasNoBorderWords)
{
    const std::string text = body("@table cols=100 border=none\nx\n@end");
    EXPECT_EQ(text.find("brdr"), std::string::npos) << text;
}

TEST(Markup, RevisionIdsFollowTheEditingSessionsInOrder)
{
    BodySettings settings = settingsFor(Form::B);
    settings.rsids = {11, 22};
    const std::string text = bodyText(parseSource("a\nb\nc\nd"), settings);
    expectInOrder(text, {"\\pararsid11 ", "\\insrsid11 a", "\\pararsid11 ", "\\pararsid22 ", "\\pararsid22 ",
                         "\\insrsid22 d"});
}

TEST(Markup, CharacterRevisionIdsMarkFormattedRunsOnly)
{
    BodySettings settings = settingsFor(Form::B);
    settings.characterRsids = true;
    const std::string text = bodyText(parseSource("x {b: y} {i: z}"), settings);
    expectInOrder(text, {"\\insrsid7 x", "\\insrsid7\\charrsid7 y", "\\insrsid7\\charrsid7 z"});
    EXPECT_EQ(text.find("\\insrsid7\\charrsid7 x"), std::string::npos);
}

TEST(Markup, FontsAndColoursComeFromTheDocumentsTables)
{
    BodySettings settings = settingsFor(Form::B);
    settings.minionFont = 41;
    EXPECT_NE(bodyText(parseSource("{font=minion: x}"), settings).find("\\f41\\fs20"), std::string::npos);

    settings.minionFont.reset();
    try {
        bodyText(parseSource("x\n{font=minion: y}"), settings);
        FAIL() << "a face the font table lacks must be refused";
    } catch (const GenerationError &error) {
        EXPECT_NE(std::string(error.what()).find("line 2"), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("Minion"), std::string::npos) << error.what();
    }

    settings.timesFont.reset();
    EXPECT_THROW(bodyText(parseSource("{font=tnr: y}"), settings), GenerationError);

    EXPECT_THROW(bodyText(parseSource("{cf=17: y}"), settings), GenerationError);
    settings.colours = 18;
    EXPECT_NE(bodyText(parseSource("{cf=17: y}"), settings).find("\\cf17"), std::string::npos);
    EXPECT_THROW(bodyText(parseSource("{cf=18: y}"), settings), GenerationError);
}

struct ErrorCase {
    const char *name;
    std::string source;
    int line;
    int column;
    const char *message;
};

void PrintTo(const ErrorCase &c, std::ostream *os) { *os << c.name; }

class BadSource : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(BadSource, IsRefusedWithItsPlace)
{
    const ErrorCase &c = GetParam();
    try {
        parseSource(c.source);
        FAIL() << "accepted: " << c.source;
    } catch (const SourceError &error) {
        EXPECT_EQ(error.line(), c.line) << error.what();
        EXPECT_EQ(error.column(), c.column) << error.what();
        EXPECT_NE(error.message().find(c.message), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadSource,
    ::testing::Values(
        ErrorCase{"UnknownProperty", "[bold] x", 1, 2, "unknown property 'bold'"},
        ErrorCase{"SpanColonWithoutBlank", "# c\n\nx {b:x}", 3, 5, "followed by one blank"},
        ErrorCase{"SpanNotClosed", "ab {b: x", 1, 4, "not closed"},
        ErrorCase{"StrayClosingBrace", "x }", 1, 3, "closes no span"},
        ErrorCase{"LiteralBraceWithoutEscape", "a {b} c", 1, 3, "write \\{"},
        ErrorCase{"UnknownEscape", "a \\q", 1, 3, "unknown escape"},
        ErrorCase{"BackslashAtEnd", "a \\", 1, 3, "escapes nothing"},
        ErrorCase{"RowWithTooManyCells", "x\n@table cols=100,200\na | b | c\n@end", 3, 1, "row has 3 cells"},
        ErrorCase{"MergeInFirstRow", "@table cols=100\n^\n@end", 2, 1, "first row"},
        ErrorCase{"TableNotClosed", "x\n@table cols=100\ny", 2, 1, "not closed with @end"},
        ErrorCase{"NestedTable", "@table cols=100\n@table cols=100\n@end", 2, 1, "do not nest"},
        ErrorCase{"UnknownDirective", "@tabel x", 1, 1, "unknown directive 'tabel'"},
        ErrorCase{"ParagraphPropertyInSpan", "{c: x}", 1, 2, "paragraph property"},
        ErrorCase{"HeadingInSpan", "[h] x\n{h: y}", 2, 2, "paragraph property"},
        ErrorCase{"NotANumber", "[fs=big] x", 1, 2, "whole number"},
        ErrorCase{"TabStopsOutOfOrder", "[l tx=500,200] x", 1, 4, "left to right"},
        ErrorCase{"FlagWithValue", "[b=1] x", 1, 2, "takes no value"},
        ErrorCase{"ValueMissing", "[fs] x", 1, 2, "needs a value"},
        ErrorCase{"SizeOutOfRange", "{fs=0: x}", 1, 2, "from 2 to 144"},
        ErrorCase{"PropertyListNotClosed", "[c x", 1, 1, "not closed with ']'"},
        ErrorCase{"InvalidUtf8", std::string("ok\nab\xff"), 2, 3, "not valid UTF-8"},
        ErrorCase{"PrivateUseCharacter", std::string("x\xf3\xb0\x80\x80"), 1, 2, "private-use"},
        ErrorCase{"ControlCharacter", std::string("x\x07"), 1, 2, "control character"},
        ErrorCase{"TableWithoutColumns", "@table border=single\nx\n@end", 1, 1, "needs cols="},
        ErrorCase{"TableWithoutRows", "@table cols=100\n@end", 2, 1, "at least one row"},
        ErrorCase{"UnknownTableOption", "@table cols=100 valign=m\nx\n@end", 1, 17, "valign"},
        ErrorCase{"SpansTooDeep",
                  "{b: {i: {b: {i: {b: {i: {b: {i: {b: {i: {b: {i: {b: {i: {b: {i: {b: x}}}}}}}}}}}}}}}}}", 1,
                  65, "nested too deeply"}),
    [](const ::testing::TestParamInfo<ErrorCase> &info) { return std::string(info.param.name); });

TEST(Markup, CrLfSourcesAndByteOrderMarkReadLikeLf)
{
    const std::string lf = body("[h] Т\nx {b: y}\n");
    EXPECT_EQ(body("\xef\xbb\xbf[h] Т\r\nx {b: y}\r\n"), lf);
}

} // namespace
