#include "platform/rtf/codepage.h"
#include "platform/rtf/rtf.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

namespace {

// QTextDocument needs the font machinery of a GUI application.
void ensureApp() {
    static int argc = 1;
    static char name[] = "rtf_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app =
        QGuiApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
    (void)app;
}

QByteArray readFixture(const QString& name) {
    QFile f(QStringLiteral(ORBANEL_TEST_FIXTURES "/rtf/") + name);
    if (!f.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "missing fixture " << name.toStdString();
    return f.readAll();
}

QStringList expectedLines(const QString& name) {
    const QString text = QString::fromUtf8(readFixture(name));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

std::string show(const QStringList& lines) {
    std::string s = "[";
    for (const QString& l : lines)
        s += "\"" + l.toStdString() + "\" ";
    return s + "]";
}

// ---------------------------------------------------------------------------------------------
// Documents written by other programs

class FixtureTest : public ::testing::TestWithParam<const char*> {};

TEST_P(FixtureTest, ReadsTheParagraphsAsLines) {
    const QString name = QString::fromLatin1(GetParam());
    const QByteArray data = readFixture(name + ".rtf");
    ASSERT_TRUE(rtf::isRtf(data));
    EXPECT_EQ(rtf::readLines(data), expectedLines(name + ".lines.txt"));
}

// Every prefix of a document (a file cut short) reads without harm, and the lines it gives are the
// document's own, the last one possibly cut.
TEST_P(FixtureTest, EveryTruncationReadsAPrefixOfTheLines) {
    ensureApp();
    const QString name = QString::fromLatin1(GetParam());
    const QByteArray data = readFixture(name + ".rtf");
    const QStringList full = rtf::readLines(data);
    for (qsizetype n = 0; n <= data.size(); ++n) {
        const QByteArray cut = data.left(n);
        const QStringList lines = rtf::readLines(cut);
        ASSERT_LE(lines.size(), full.size()) << "prefix " << n;
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            ASSERT_EQ(lines[i], full[i]) << "prefix " << n << " line " << i;
        if (n % 97 == 0) {
            QTextDocument doc;
            rtf::readDocument(cut, doc);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Writers, FixtureTest,
                         ::testing::Values("richedit-style", "word-processor-1",
                                           "word-processor-2"),
                         [](const auto& info) {
                             std::string n = info.param;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

TEST(RtfFixtureFormats, WordProcessorParagraphAndCharacterFormats) {
    ensureApp();
    QTextDocument doc;
    rtf::readDocument(readFixture("word-processor-1.rtf"), doc);
    ASSERT_EQ(doc.blockCount(), 5);

    // "Capital de España:" is bold, " Madrid." is not; the default font is \deff3.
    const QTextBlock first = doc.findBlockByNumber(0);
    auto it = first.begin();
    ASSERT_FALSE(it.atEnd());
    EXPECT_EQ(it.fragment().text(), QStringLiteral("Capital de España:"));
    EXPECT_EQ(it.fragment().charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(it.fragment().charFormat().fontFamilies().toStringList().value(0),
              QStringLiteral("DejaVu Serif"));
    EXPECT_DOUBLE_EQ(it.fragment().charFormat().fontPointSize(), 12.0);
    ++it;
    ASSERT_FALSE(it.atEnd());
    EXPECT_EQ(it.fragment().text(), QStringLiteral(" Madrid."));
    EXPECT_EQ(it.fragment().charFormat().fontWeight(), QFont::Normal);

    // Italic and underlined words of the second paragraph.
    const QTextBlock second = doc.findBlockByNumber(1);
    bool sawItalic = false, sawUnderline = false;
    for (auto f = second.begin(); !f.atEnd(); ++f) {
        const QTextCharFormat cf = f.fragment().charFormat();
        if (f.fragment().text() == QStringLiteral("península ibérica"))
            sawItalic = cf.fontItalic() && !cf.fontUnderline();
        if (f.fragment().text() == QStringLiteral("Manzanares"))
            sawUnderline = cf.fontUnderline() && !cf.fontItalic();
    }
    EXPECT_TRUE(sawItalic);
    EXPECT_TRUE(sawUnderline);

    // Third paragraph: centred, 18 points, colour 17 of the table.
    const QTextBlock third = doc.findBlockByNumber(2);
    EXPECT_EQ(third.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextCharFormat cf = third.begin().fragment().charFormat();
    EXPECT_DOUBLE_EQ(cf.fontPointSize(), 18.0);
    EXPECT_EQ(cf.foreground().color(), QColor(192, 0, 0));

    // Fourth paragraph: another font of the table.
    EXPECT_EQ(doc.findBlockByNumber(3)
                  .begin()
                  .fragment()
                  .charFormat()
                  .fontFamilies()
                  .toStringList()
                  .value(0),
              QStringLiteral("Liberation Serif"));

    QTextDocument other;
    rtf::readDocument(readFixture("word-processor-2.rtf"), other);
    const QTextBlock right = other.findBlockByNumber(3);
    EXPECT_EQ(right.text(), QStringLiteral("Negrita y cursiva a la derecha"));
    EXPECT_EQ(right.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(right.begin().fragment().charFormat().fontWeight(), QFont::Bold);
    EXPECT_TRUE(right.begin().fragment().charFormat().fontItalic());
}

// What a rich-text control writes for the font style: the second character carries the font.
TEST(RtfFixtureFormats, RichEditStyleFontOfTheSecondCharacter) {
    ensureApp();
    QTextDocument doc;
    rtf::readDocument(readFixture("richedit-style.rtf"), doc);
    ASSERT_EQ(doc.blockCount(), 3);
    QTextCursor c(&doc);
    c.setPosition(1);
    c.setPosition(2, QTextCursor::KeepAnchor);
    const QTextCharFormat f = c.charFormat();
    EXPECT_EQ(f.fontFamilies().toStringList().value(0), QStringLiteral("Tahoma"));
    EXPECT_EQ(f.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(f.fontPointSize(), 14.0);
    EXPECT_EQ(f.foreground().color(), QColor(0, 0, 128));
    // The empty paragraph keeps the format in force at its mark.
    EXPECT_EQ(doc.findBlockByNumber(1).text(), QString());
    EXPECT_EQ(doc.findBlockByNumber(1).charFormat().fontWeight(), QFont::Bold);
}

// ---------------------------------------------------------------------------------------------
// Hand-made documents

struct LinesCase {
    const char* name;
    QByteArray rtf;
    QStringList lines;
};

void PrintTo(const LinesCase& c, std::ostream* os) {
    *os << c.name;
}

class HandMadeTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(HandMadeTest, Lines) {
    const LinesCase& c = GetParam();
    ASSERT_TRUE(rtf::isRtf(c.rtf));
    const QStringList got = rtf::readLines(c.rtf);
    EXPECT_EQ(got, c.lines) << show(got) << " expected " << show(c.lines);
}

const QByteArray kHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3082{\\fonttbl{\\f0\\fnil\\fcharset0 "
    "Tahoma;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";

INSTANTIATE_TEST_SUITE_P(
    Rtf, HandMadeTest,
    ::testing::Values(
        LinesCase{"accents_hex",
                  kHead + "cami\\'f3n, ping\\'fcino, \\'f1and\\'fa \\'bfqu\\'e9?\\par\r\n}",
                  {QStringLiteral("camión, pingüino, ñandú ¿qué?")}},
        LinesCase{"hex_upper_case_and_1252_range",
                  kHead + "\\'80 \\'93x\\'94 \\'C1\\par}",
                  {QStringLiteral("€ “x” Á")}},
        LinesCase{"raw_8bit_bytes_are_1252", kHead + "ni\xf1o\\par}", {QStringLiteral("niño")}},
        LinesCase{
            "raw_utf8_bytes", "{\\rtf1\\ansi ni\xc3\xb1o \\'f1\\par}", {QStringLiteral("niño ñ")}},
        LinesCase{"utf8_code_page",
                  "{\\rtf1\\ansi\\ansicpg65001 \\'c3\\'b1\\par}",
                  {QStringLiteral("ñ")}},
        LinesCase{"unicode_skips_one_fallback",
                  kHead + "\\u241\\'f1\\u8364?x\\par}",
                  {QStringLiteral("ñ€x")}},
        LinesCase{"unicode_negative_and_surrogates",
                  kHead + "\\u-10179?\\u-8704?\\u-3\\'3f\\par}",
                  {QString::fromUtf8("\xF0\x9F\x98\x80\xEF\xBF\xBD")}},
        LinesCase{"uc0_skips_nothing", "{\\rtf1\\uc0\\u945\\u946 x\\par}", {QStringLiteral("αβx")}},
        LinesCase{
            "uc2_skips_two", "{\\rtf1\\uc2\\u26085\\'93\\'fax\\par}", {QStringLiteral("日x")}},
        LinesCase{"uc_restored_after_group",
                  "{\\rtf1\\uc1{\\uc0\\u945}\\u946?x\\par}",
                  {QStringLiteral("αβx")}},
        LinesCase{"skip_stops_at_group_end", "{\\rtf1{\\u945}x\\par}", {QStringLiteral("αx")}},
        LinesCase{"fallback_control_word_counts_once",
                  "{\\rtf1\\u8226\\'95\\tab x\\par}",
                  {QStringLiteral("•\tx")}},
        LinesCase{"escaped_braces_backslash",
                  kHead + "\\{a\\} \\\\ b\\par}",
                  {QStringLiteral("{a} \\ b")}},
        LinesCase{"nested_groups", "{\\rtf1 a{\\b b{\\i c}d}e\\par}", {QStringLiteral("abcde")}},
        LinesCase{"line_versus_par",
                  "{\\rtf1 a\\line b\\par c\\par}",
                  {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        LinesCase{"backslash_newline_is_par",
                  "{\\rtf1 a\\\r\nb\\\nc}",
                  {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        LinesCase{"empty_paragraphs",
                  "{\\rtf1 \\par\\par x\\par\\par}",
                  {QString(), QString(), QStringLiteral("x"), QString()}},
        LinesCase{
            "text_after_last_par", "{\\rtf1 a\\par b}", {QStringLiteral("a"), QStringLiteral("b")}},
        LinesCase{"no_text", "{\\rtf1\\ansi }", {}},
        LinesCase{"one_empty_line", "{\\rtf1\\ansi \\par }", {QString()}},
        LinesCase{"formatting_only_after_last_par",
                  "{\\rtf1 a\\par\\pard\\b\\f0\\fs20 }",
                  {QStringLiteral("a")}},
        LinesCase{
            "raw_line_breaks_ignored", "{\\rtf1 a\r\nb\rc\nd\\par}", {QStringLiteral("abcd")}},
        LinesCase{"delimiting_space_eaten_once", "{\\rtf1\\b  x\\b0\\par}", {QStringLiteral(" x")}},
        LinesCase{"star_destination_skipped",
                  "{\\rtf1{\\*\\generator Writer 1.0;}a{\\*\\foo{b}c}\\par}",
                  {QStringLiteral("a")}},
        LinesCase{"unknown_words_ignored",
                  "{\\rtf1\\foo123 a\\bar-5\\baz b\\par}",
                  {QStringLiteral("ab")}},
        LinesCase{"unknown_group_without_star_keeps_text",
                  "{\\rtf1{\\madeup x}y\\par}",
                  {QStringLiteral("xy")}},
        LinesCase{"tables_and_info_skipped",
                  "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
                  "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}x\\par}",
                  {QStringLiteral("x")}},
        LinesCase{"field_result_kept",
                  "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"http://a\"}{\\fldrslt enlace}}\\par}",
                  {QStringLiteral("enlace")}},
        LinesCase{"upr_reads_unicode_part",
                  "{\\rtf1{\\upr{ansi}{\\*\\ud{\\u945?}}}\\par}",
                  {QStringLiteral("α")}},
        LinesCase{
            "control_symbols",
            "{\\rtf1 "
            "a\\~b\\-c\\_d\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\par}",
            {QStringLiteral("a\u00a0bc\u2011d—–‘’“”•")}},
        LinesCase{"bin_data_skipped", "{\\rtf1 a\\bin3 }}}b\\par}", {QStringLiteral("ab")}},
        LinesCase{"text_after_closing_brace_ignored",
                  QByteArray("{\\rtf1 a\\par}\r\n\0tail", 20),
                  {QStringLiteral("a")}},
        LinesCase{"listtext_and_tab_are_text",
                  "{\\rtf1{\\listtext\\pard\\plain \\u8226\\'95\\tab}uno\\par}",
                  {QStringLiteral("•\tuno")}},
        LinesCase{"old_bullets_in_symbol_font",
                  "{\\rtf1{\\fonttbl{\\f0\\fcharset0 Tahoma;}{\\f1\\fcharset2 Symbol;}}"
                  "{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}dos\\par}",
                  {QStringLiteral("•\tdos")}},
        LinesCase{"document_code_page_1251",
                  "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\par}",
                  {QStringLiteral("При")}},
        LinesCase{"font_charset_decides_code_page",
                  "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset204 "
                  "Arial;}}\\f1\\'e4\\f0\\'e4\\par}",
                  {QStringLiteral("дä")}},
        LinesCase{"double_byte_code_page",
                  "{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b\\par}",
                  {QStringLiteral("日本")}},
        LinesCase{"escaped_line_break_chars_end_lines",
                  "{\\rtf1 a\\'0db\\'0ac\\par}",
                  {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        LinesCase{"escaped_nul_dropped", "{\\rtf1 a\\'00b\\u0?c\\par}", {QStringLiteral("abc")}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Damaged documents: they read without harm and give what they can.

class DamagedTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(DamagedTest, ReadsWhatCanBeRead) {
    ensureApp();
    const LinesCase& c = GetParam();
    const QStringList got = rtf::readLines(c.rtf);
    EXPECT_EQ(got, c.lines) << show(got) << " expected " << show(c.lines);
    QTextDocument doc;
    rtf::readDocument(c.rtf, doc);
    EXPECT_GE(doc.blockCount(), 1);
    // Whatever was read writes out and reads back as the same lines.
    EXPECT_EQ(rtf::readLines(rtf::writeLines(got)), got);
}

INSTANTIATE_TEST_SUITE_P(
    Rtf, DamagedTest,
    ::testing::Values(
        LinesCase{"just_the_signature", "{\\rtf", {}},
        LinesCase{"missing_closing_braces",
                  "{\\rtf1 {{{a\\par b",
                  {QStringLiteral("a"), QStringLiteral("b")}},
        LinesCase{"extra_closing_braces", "{\\rtf1 a}}}}b\\par}", {QStringLiteral("a")}},
        LinesCase{"group_closed_before_text", "{\\rtf1}abc", {}},
        LinesCase{"truncated_hex_escape", "{\\rtf1 a\\'", {QStringLiteral("a")}},
        LinesCase{"half_hex_escape", "{\\rtf1 a\\'4", {QStringLiteral("a")}},
        LinesCase{"one_digit_hex_escape", "{\\rtf1 a\\'4zb\\par}", {QStringLiteral("azb")}},
        LinesCase{"bad_hex_escape", "{\\rtf1 a\\'zzb\\par}", {QStringLiteral("azzb")}},
        LinesCase{"trailing_backslash", "{\\rtf1 a\\", {QStringLiteral("a")}},
        LinesCase{"truncated_unicode", "{\\rtf1 a\\u", {QStringLiteral("a")}},
        LinesCase{"huge_unicode",
                  "{\\rtf1 a\\u99999999999999?b\\u1114112?c\\par}",
                  {QStringLiteral("abc")}},
        LinesCase{
            "huge_font_size", "{\\rtf1\\fs99999999999999 a\\fs-5 b\\par}", {QStringLiteral("ab")}},
        LinesCase{
            "huge_skip_count", "{\\rtf1\\uc999999999\\u945 abc}d\\par}", {QStringLiteral("α")}},
        LinesCase{
            "huge_font_and_colour_indexes",
            "{\\rtf1{\\colortbl;\\red999\\green-4\\blue7;}\\f2147483647\\cf99999 a\\cf-1 b\\par}",
            {QStringLiteral("ab")}},
        LinesCase{"huge_bin", "{\\rtf1 a\\bin999999999999 bcd", {QStringLiteral("a")}},
        LinesCase{"long_control_word",
                  QByteArray("{\\rtf1 a\\") + QByteArray(5000, 'x') + QByteArray("1 b\\par}"),
                  {QStringLiteral("ab")}},
        LinesCase{"long_parameter",
                  QByteArray("{\\rtf1 a\\b") + QByteArray(5000, '9') + " b\\par}",
                  {QStringLiteral("ab")}},
        LinesCase{"star_at_end", "{\\rtf1 a{\\*", {QStringLiteral("a")}},
        LinesCase{"unterminated_font_table", "{\\rtf1{\\fonttbl{\\f0 Ari", {}},
        LinesCase{"deep_nesting",
                  QByteArray("{\\rtf1 a") + QByteArray(100000, '{') + "b" +
                      QByteArray(100000, '}') + "c\\par}",
                  {QStringLiteral("ac")}},
        LinesCase{"lone_surrogates",
                  "{\\rtf1\\u-10179?x\\u-8704?\\par}",
                  {QStringLiteral("\ufffdx\ufffd")}},
        LinesCase{"frame_marks_in_text",
                  "{\\rtf1\\u-560?\\u-559?\\par}",
                  {QStringLiteral("\ufffd\ufffd")}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Plain text

struct PlainCase {
    const char* name;
    QByteArray data;
    QStringList lines;
};

void PrintTo(const PlainCase& c, std::ostream* os) {
    *os << c.name;
}

class PlainTest : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainTest, Lines) {
    ensureApp();
    const PlainCase& c = GetParam();
    EXPECT_FALSE(rtf::isRtf(c.data));
    EXPECT_EQ(rtf::readLines(c.data), c.lines) << show(rtf::readLines(c.data));
    QTextDocument doc;
    rtf::readDocument(c.data, doc);
    EXPECT_EQ(doc.blockCount(), std::max<qsizetype>(1, c.lines.size()));
    EXPECT_EQ(doc.toPlainText(), c.lines.join(u'\n'));
}

INSTANTIATE_TEST_SUITE_P(
    Rtf, PlainTest,
    ::testing::Values(
        PlainCase{"crlf", "uno\r\ndos", {QStringLiteral("uno"), QStringLiteral("dos")}},
        PlainCase{"cr", "uno\rdos", {QStringLiteral("uno"), QStringLiteral("dos")}},
        PlainCase{"lf", "uno\ndos", {QStringLiteral("uno"), QStringLiteral("dos")}},
        PlainCase{"final_break_ends_last_line", "uno\r\n", {QStringLiteral("uno")}},
        PlainCase{"empty", "", {}}, PlainCase{"only_a_break", "\r\n", {QString()}},
        PlainCase{"empty_lines_kept",
                  "a\r\n\r\nb\n\nc\r\rd",
                  {QStringLiteral("a"), QString(), QStringLiteral("b"), QString(),
                   QStringLiteral("c"), QString(), QStringLiteral("d")}},
        PlainCase{
            "lf_cr_is_two_breaks", "a\n\rb", {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        PlainCase{"utf8", "cami\xc3\xb3n \xe2\x82\xac", {QStringLiteral("camión €")}},
        PlainCase{"utf8_bom_dropped", "\xef\xbb\xbfhola", {QStringLiteral("hola")}},
        PlainCase{"windows_1252",
                  "cami\xf3n \x80\r\nni\xf1o",
                  {QStringLiteral("camión €"), QStringLiteral("niño")}},
        PlainCase{"rtf_signature_not_at_start", " {\\rtf1 a}", {QStringLiteral(" {\\rtf1 a}")}},
        PlainCase{"upper_case_signature_is_text", "{\\RTF1 a}", {QStringLiteral("{\\RTF1 a}")}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Writing lines

struct RoundTripCase {
    const char* name;
    QStringList lines;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

class LinesRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(LinesRoundTripTest, WriteThenReadGivesTheSameLines) {
    const QStringList& lines = GetParam().lines;
    const QByteArray rtf = rtf::writeLines(lines);
    ASSERT_TRUE(rtf::isRtf(rtf));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0")) << rtf.constData();
    for (char c : rtf)
        ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80) << "8-bit byte in " << rtf.constData();
    const QStringList back = rtf::readLines(rtf);
    EXPECT_EQ(back, lines) << show(back) << "\n" << rtf.constData();
}

INSTANTIATE_TEST_SUITE_P(
    Rtf, LinesRoundTripTest,
    ::testing::Values(
        RoundTripCase{"none", {}}, RoundTripCase{"one_empty", {QString()}},
        RoundTripCase{"two_empty", {QString(), QString()}},
        RoundTripCase{"empty_inside_and_at_end",
                      {QStringLiteral("a"), QString(), QStringLiteral("b"), QString()}},
        RoundTripCase{"empty_at_start", {QString(), QStringLiteral("a")}},
        RoundTripCase{"braces_and_backslashes",
                      {QStringLiteral("{\\rtf1 \\par}"), QStringLiteral("\\"), QStringLiteral("}{"),
                       QStringLiteral("\\'e9\\u945?")}},
        RoundTripCase{
            "spaces_kept",
            {QStringLiteral("  "), QStringLiteral(" lead"), QStringLiteral("trail  "),
             QStringLiteral("1 0 1 0 1  60 100   Csi Eno Msi EXsi IMsi") + QString(159, u' '),
             QStringLiteral("Orbanel  vs. 2.0").leftJustified(40) + QString(200, u' ')}},
        RoundTripCase{
            "digits_and_letters_after_escapes",
            {QStringLiteral("é1é2 αb α1"), QStringLiteral("12"), QStringLiteral("\tx\t 9")}},
        RoundTripCase{"spanish",
                      {QStringLiteral("¿Cuál es la capital de España?"),
                       QStringLiteral("Ñandú, pingüino, acción; «comillas» — €")}},
        RoundTripCase{"outside_1252",
                      {QStringLiteral("αβγ 日本 Дом"), QString::fromUtf8("\xF0\x9F\x98\x80"),
                       QStringLiteral("\u2028 \u2029 \ufffc")}},
        RoundTripCase{"control_characters",
                      {QStringLiteral("a\x01"
                                      "b\x1f"
                                      "c\x7f") +
                       QChar(0x81) + QChar(0x9d)}},
        RoundTripCase{"password_buffer",
                      {QStringLiteral("RichEdit3"), QStringLiteral("clave secreta")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RtfWriteLines, EscapesAndShape) {
    const QByteArray rtf = rtf::writeLines({QStringLiteral("camión €"), QStringLiteral("α{}")});
    EXPECT_TRUE(rtf.contains("cami\\'f3n \\'80\\par")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\u945?\\{\\}\\par")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\fonttbl")) << rtf.constData();
    EXPECT_TRUE(rtf.endsWith("}\r\n")) << rtf.constData();
    EXPECT_EQ(rtf.count("\\par\r\n"), 2);
}

TEST(RtfWriteLines, LineBreaksInsideALineEndIt) {
    const QStringList in = {QStringLiteral("a\r\nb\rc\nd"), QStringLiteral("e\n")};
    EXPECT_EQ(rtf::readLines(rtf::writeLines(in)),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                           QStringLiteral("d"), QStringLiteral("e"), QString()}));
}

TEST(RtfIsRtf, Signature) {
    EXPECT_TRUE(rtf::isRtf("{\\rtf1\\ansi}"));
    EXPECT_TRUE(rtf::isRtf("{\\rtf"));
    EXPECT_FALSE(rtf::isRtf("{\\rt"));
    EXPECT_FALSE(rtf::isRtf(""));
    EXPECT_FALSE(rtf::isRtf("\xef\xbb\xbf{\\rtf1}"));
    EXPECT_FALSE(rtf::isRtf("{ \\rtf1}"));
}

// ---------------------------------------------------------------------------------------------
// Documents with formatting

struct RunSpec {
    QString text;
    QString family;
    double points;
    bool bold, italic, underline, strikeOut;
    QColor color; // invalid: automatic
};

QTextCharFormat formatOf(const RunSpec& r) {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{r.family});
    f.setFontPointSize(r.points);
    f.setFontWeight(r.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(r.italic);
    f.setFontUnderline(r.underline);
    f.setFontStrikeOut(r.strikeOut);
    if (r.color.isValid())
        f.setForeground(r.color);
    return f;
}

void expectFormat(const QTextCharFormat& f, const RunSpec& r, const std::string& where) {
    EXPECT_EQ(f.fontFamilies().toStringList().value(0), r.family) << where;
    EXPECT_DOUBLE_EQ(f.fontPointSize(), r.points) << where;
    EXPECT_EQ(f.fontWeight() > QFont::Medium, r.bold) << where;
    EXPECT_EQ(f.fontItalic(), r.italic) << where;
    EXPECT_EQ(f.fontUnderline(), r.underline) << where;
    EXPECT_EQ(f.fontStrikeOut(), r.strikeOut) << where;
    if (r.color.isValid())
        EXPECT_EQ(f.foreground().color(), r.color) << where;
    else
        EXPECT_EQ(f.foreground().style(), Qt::NoBrush) << where;
}

Qt::Alignment horizontal(const QTextBlock& b) {
    const Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    return a ? a : Qt::AlignLeft;
}

TEST(RtfDocument, RoundTripKeepsParagraphsAndFormats) {
    ensureApp();
    struct ParaSpec {
        Qt::Alignment alignment;
        std::vector<RunSpec> runs;
        RunSpec mark; // for an empty paragraph
    };
    const RunSpec plain{QString(), QStringLiteral("Arial"), 10, false, false, false, false,
                        QColor()};
    const std::vector<ParaSpec> paras = {
        {Qt::AlignLeft,
         {{QStringLiteral("Negrita "), QStringLiteral("Tahoma"), 14, true, false, false, false,
           QColor(0, 0, 128)},
          {QStringLiteral("y cursiva"), QStringLiteral("Tahoma"), 14, false, true, false, false,
           QColor(0, 0, 128)},
          {QStringLiteral(" subrayada"), QStringLiteral("Arial"), 9.5, false, false, true, false,
           QColor()}},
         plain},
        {Qt::AlignHCenter,
         {{QStringLiteral("Centrado {llaves} \\ ñ € αβ\tfin"), QStringLiteral("Liberation Serif"),
           20, true, true, true, true, QColor(200, 10, 30)}},
         plain},
        {Qt::AlignLeft,
         {},
         {QString(), QStringLiteral("Courier New"), 8, true, false, false, false,
          QColor(0, 128, 0)}},
        {Qt::AlignRight,
         {{QStringLiteral("Derecha\u2028segunda línea"), QStringLiteral("Fuente;Rara"), 12, false,
           false, false, false, QColor(0, 0, 0)}},
         plain},
        {Qt::AlignJustify,
         {{QStringLiteral("Justificado"), QStringLiteral("Arial"), 1638, false, false, false, false,
           QColor()}},
         plain},
    };

    QTextDocument doc;
    QTextCursor cursor(&doc);
    for (std::size_t i = 0; i < paras.size(); ++i) {
        QTextBlockFormat bf;
        bf.setAlignment(paras[i].alignment);
        if (i == 0) {
            cursor.setBlockFormat(bf);
            cursor.setBlockCharFormat(formatOf(paras[i].mark));
        } else {
            cursor.insertBlock(bf, formatOf(paras[i].mark));
        }
        for (const RunSpec& r : paras[i].runs)
            cursor.insertText(r.text, formatOf(r));
    }

    const QByteArray rtf = rtf::writeDocument(doc);
    for (char c : rtf)
        ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80) << rtf.constData();
    QTextDocument back;
    rtf::readDocument(rtf, back);
    ASSERT_EQ(back.blockCount(), static_cast<int>(paras.size())) << rtf.constData();

    for (std::size_t i = 0; i < paras.size(); ++i) {
        const QTextBlock b = back.findBlockByNumber(static_cast<int>(i));
        const std::string where = "paragraph " + std::to_string(i) + "\n" + rtf.toStdString();
        EXPECT_EQ(horizontal(b), paras[i].alignment) << where;
        std::vector<QTextFragment> frags;
        for (auto it = b.begin(); !it.atEnd(); ++it)
            frags.push_back(it.fragment());
        ASSERT_EQ(frags.size(), paras[i].runs.size()) << where;
        for (std::size_t k = 0; k < frags.size(); ++k) {
            EXPECT_EQ(frags[k].text(), paras[i].runs[k].text) << where;
            expectFormat(frags[k].charFormat(), paras[i].runs[k],
                         where + " run " + std::to_string(k));
        }
        if (frags.empty())
            expectFormat(b.charFormat(), paras[i].mark, where + " mark");
    }

    // Its lines are the paragraphs, the manual line break making two.
    EXPECT_EQ(rtf::readLines(rtf),
              (QStringList{QStringLiteral("Negrita y cursiva subrayada"),
                           QStringLiteral("Centrado {llaves} \\ ñ € αβ\tfin"), QString(),
                           QStringLiteral("Derecha"), QStringLiteral("segunda línea"),
                           QStringLiteral("Justificado")}));
}

TEST(RtfDocument, UnsetFormatsTakeTheDefaultFontAndPixelSizesBecomePoints) {
    ensureApp();
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Tahoma"), 11));
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("a"));
    QTextCharFormat px;
    px.setProperty(QTextFormat::FontPixelSize, 19);
    px.setFontWeight(QFont::Bold);
    px.setForeground(QColor(0, 0, 128));
    cursor.insertText(QStringLiteral("b"), px);

    QTextDocument back;
    rtf::readDocument(rtf::writeDocument(doc), back);
    auto it = back.begin().begin();
    ASSERT_FALSE(it.atEnd());
    expectFormat(it.fragment().charFormat(),
                 {QString(), QStringLiteral("Tahoma"), 11, false, false, false, false, QColor()},
                 "a");
    ++it;
    ASSERT_FALSE(it.atEnd());
    // 19 pixels at 96 dots per inch are 14.25 points, written as 28.5 half points rounded up.
    expectFormat(
        it.fragment().charFormat(),
        {QString(), QStringLiteral("Tahoma"), 14.5, true, false, false, false, QColor(0, 0, 128)},
        "b");
}

// Plain text that RTF cannot hold as it is (found by fuzzing: a NUL made the document's text change
// on the way through writeDocument and readDocument).
TEST(RtfDocument, PlainTextWithCharactersRtfCannotHoldRoundTrips) {
    ensureApp();
    QTextDocument doc;
    rtf::readDocument(QByteArray("a\0b\xef\xb7\x90"
                                 "c\xe2\x80\xa9"
                                 "d",
                                 11),
                      doc);
    EXPECT_EQ(doc.blockCount(), 1);
    EXPECT_EQ(doc.firstBlock().text(), QStringLiteral("ab\ufffdc\u2028d"));
    QTextDocument back;
    rtf::readDocument(rtf::writeDocument(doc), back);
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
}

TEST(RtfDocument, EmptyDocumentRoundTripsAsOneEmptyParagraph) {
    ensureApp();
    QTextDocument doc;
    const QByteArray rtf = rtf::writeDocument(doc);
    EXPECT_EQ(rtf::readLines(rtf), QStringList{QString()});
    QTextDocument back;
    back.setPlainText(QStringLiteral("old content"));
    rtf::readDocument(rtf, back);
    EXPECT_EQ(back.blockCount(), 1);
    EXPECT_TRUE(back.toPlainText().isEmpty());
}

TEST(RtfDocument, ReaderReplacesContentAndKeepsLineBreaksInsideParagraphs) {
    ensureApp();
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("old\nold"));
    rtf::readDocument("{\\rtf1 uno\\line dos\\par tres\\'0dcuatro\\par}", doc);
    ASSERT_EQ(doc.blockCount(), 2);
    EXPECT_EQ(doc.findBlockByNumber(0).text(), QStringLiteral("uno\u2028dos"));
    EXPECT_EQ(doc.findBlockByNumber(1).text(), QStringLiteral("tres\u2028cuatro"));
}

TEST(RtfDocument, GroupsRestoreFormatsAndPlainResets) {
    ensureApp();
    QTextDocument doc;
    rtf::readDocument(
        "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Tahoma;}}{\\colortbl;\\red255\\green0\\blue0;}"
        "\\f1\\fs30\\b a{\\i\\ul\\cf1\\f0 b}c\\plain d\\par}",
        doc);
    std::vector<QTextFragment> frags;
    for (auto it = doc.begin().begin(); !it.atEnd(); ++it)
        frags.push_back(it.fragment());
    ASSERT_EQ(frags.size(), 4u);
    expectFormat(frags[0].charFormat(),
                 {QString(), QStringLiteral("Tahoma"), 15, true, false, false, false, QColor()},
                 "a");
    expectFormat(
        frags[1].charFormat(),
        {QString(), QStringLiteral("Arial"), 15, true, true, true, false, QColor(255, 0, 0)}, "b");
    EXPECT_EQ(frags[2].text(), QStringLiteral("c"));
    // \plain goes back to the default font (\deff0 when none is given) at 12 points.
    expectFormat(frags[3].charFormat(),
                 {QString(), QStringLiteral("Arial"), 12, false, false, false, false, QColor()},
                 "d");
}

TEST(RtfDocument, FontTableShapes) {
    ensureApp();
    auto familyOf = [](const QByteArray& rtf) {
        QTextDocument doc;
        rtf::readDocument(rtf, doc);
        return doc.begin().begin().fragment().charFormat().fontFamilies().toStringList().value(0);
    };
    // Entries that end at their group instead of a ';'.
    EXPECT_EQ(familyOf("{\\rtf1{\\fonttbl{\\f0 Arial}{\\f1 Tahoma}}\\f1 x\\par}"),
              QStringLiteral("Tahoma"));
    // The old shape without a group per entry.
    EXPECT_EQ(familyOf("{\\rtf1{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\froman Times;}\\f1 x\\par}"),
              QStringLiteral("Times"));
    // Alternative names and panose data are not part of the name; an escaped ';' is.
    EXPECT_EQ(familyOf("{\\rtf1{\\fonttbl{\\f0{\\*\\panose 0204}Caf\\'e9\\'3bBar{\\*\\falt X};}}"
                       "\\f0 x\\par}"),
              QStringLiteral("Café;Bar"));
    // A font the table does not have leaves the family unset.
    EXPECT_EQ(familyOf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f7 x\\par}"), QString());
}

TEST(RtfDocument, ParagraphFormatsAtTheParagraphMarkAndClampedSizes) {
    ensureApp();
    QTextDocument doc;
    rtf::readDocument("{\\rtf1\\qc a\\par b\\pard\\par{\\qr c}\\par\\qj d\\par\\qr e}", doc);
    ASSERT_EQ(doc.blockCount(), 5);
    EXPECT_EQ(horizontal(doc.findBlockByNumber(0)), Qt::AlignHCenter);
    EXPECT_EQ(horizontal(doc.findBlockByNumber(1)), Qt::AlignLeft); // \pard came before its \par
    EXPECT_EQ(horizontal(doc.findBlockByNumber(2)), Qt::AlignLeft); // the group ended before \par
    EXPECT_EQ(horizontal(doc.findBlockByNumber(3)), Qt::AlignJustify);
    EXPECT_EQ(horizontal(doc.findBlockByNumber(4)), Qt::AlignRight); // last one, without \par

    QTextDocument sizes;
    rtf::readDocument("{\\rtf1\\fs99999999 a\\fs1 b\\fs0 c\\uldb d\\ul0 e\\ulwave f\\ulnone g}",
                      sizes);
    std::vector<QTextFragment> frags;
    for (auto it = sizes.begin().begin(); !it.atEnd(); ++it)
        frags.push_back(it.fragment());
    ASSERT_EQ(frags.size(), 6u);
    EXPECT_DOUBLE_EQ(frags[0].charFormat().fontPointSize(), 1638.0);
    EXPECT_EQ(frags[1].text(), QStringLiteral("bc")); // \fs0 is ignored
    EXPECT_DOUBLE_EQ(frags[1].charFormat().fontPointSize(), 1.0);
    EXPECT_TRUE(frags[2].charFormat().fontUnderline());
    EXPECT_FALSE(frags[3].charFormat().fontUnderline());
    EXPECT_TRUE(frags[4].charFormat().fontUnderline());
    EXPECT_FALSE(frags[5].charFormat().fontUnderline());
}

// ---------------------------------------------------------------------------------------------
// Code page helpers

TEST(RtfCodePage, Windows1252BothWays) {
    for (int b = 0; b < 256; ++b) {
        const char16_t c = rtf::windows1252Char(static_cast<unsigned char>(b));
        const auto back = rtf::windows1252Byte(c);
        ASSERT_TRUE(back.has_value()) << b;
        EXPECT_EQ(*back, b);
    }
    EXPECT_EQ(rtf::windows1252Char(0x80), u'€');
    EXPECT_EQ(rtf::windows1252Char(0x9F), u'Ÿ');
    EXPECT_FALSE(rtf::windows1252Byte(u'α').has_value());
    EXPECT_FALSE(rtf::windows1252Byte(0x0080).has_value());
    EXPECT_EQ(rtf::encodeWindows1252(QStringLiteral("Año €")), QByteArray("A\xf1o \x80"));
    EXPECT_FALSE(rtf::encodeWindows1252(QStringLiteral("año α")).has_value());
}

} // namespace
