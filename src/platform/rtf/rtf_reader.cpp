// The RTF reader: a single pass over the bytes with an explicit stack of group states (no
// recursion, so deep nesting cannot exhaust the call stack). Every index is checked against the
// data's size before it is read.

#include "platform/rtf/codepage.h"
#include "platform/rtf/rtf_model.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace rtf::detail {

namespace {

// Groups nested deeper than this are read as skipped destinations.
constexpr std::size_t kMaxDepth = 512;
// Longest control word name kept (RTF names have at most 32 letters); longer ones are ignored.
constexpr int kMaxWordLength = 32;
// Most digits read into a parameter; further digits are consumed but do not change it.
constexpr int kMaxParamDigits = 10;
// Upper bound of \ucN.
constexpr int kMaxSkipCount = 64;

// Special code page values.
constexpr int kSymbolCodePage = -2;
constexpr int kUtf8CodePage = 65001;

enum class Destination {
    Text,       // document text
    Skip,       // ignored with everything inside it
    FontTable,  // \fonttbl
    ColorTable, // \colortbl
    Upr,        // \upr: the ANSI text is ignored, its {\*\ud ...} group is read
};

struct GroupState {
    Destination destination = Destination::Text;
    Destination outerDestination = Destination::Text; // of the group holding \upr
    int font = -1;                                    // -1: the default font (\deff)
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int color = 0;
    int skipCount = 1; // \uc
    Alignment alignment = Alignment::Left;
};

struct Font {
    QString name;
    int codePage = 0; // 0: the document's code page
};

enum class Word {
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    // destinations
    FontTable,
    ColorTable,
    SkipDestination,
    Upr,
    Ud,
    // font and colour tables
    FontCharset,
    CodePage,
    Red,
    Green,
    Blue,
    // character formatting
    Plain,
    FontIndex,
    FontSize,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    ColorIndex,
    SkipCountWord,
    Unicode,
    // paragraph formatting
    Pard,
    AlignLeft,
    AlignRight,
    AlignCenter,
    AlignJustify,
    // text
    Par,
    Line,
    Tab,
    Character, // a word that stands for one character
    Bin,
};

struct WordInfo {
    Word word;
    char16_t character = 0;
};

const std::unordered_map<std::string_view, WordInfo>& words() {
    static const std::unordered_map<std::string_view, WordInfo> table = [] {
        std::unordered_map<std::string_view, WordInfo> t = {
            {"ansi", {Word::Ansi}},
            {"mac", {Word::Mac}},
            {"pc", {Word::Pc}},
            {"pca", {Word::Pca}},
            {"ansicpg", {Word::AnsiCpg}},
            {"deff", {Word::Deff}},
            {"fonttbl", {Word::FontTable}},
            {"colortbl", {Word::ColorTable}},
            {"upr", {Word::Upr}},
            {"ud", {Word::Ud}},
            {"fcharset", {Word::FontCharset}},
            {"cpg", {Word::CodePage}},
            {"red", {Word::Red}},
            {"green", {Word::Green}},
            {"blue", {Word::Blue}},
            {"plain", {Word::Plain}},
            {"f", {Word::FontIndex}},
            {"fs", {Word::FontSize}},
            {"b", {Word::Bold}},
            {"i", {Word::Italic}},
            {"ulnone", {Word::UnderlineNone}},
            {"strike", {Word::Strike}},
            {"striked", {Word::Strike}},
            {"cf", {Word::ColorIndex}},
            {"uc", {Word::SkipCountWord}},
            {"u", {Word::Unicode}},
            {"pard", {Word::Pard}},
            {"ql", {Word::AlignLeft}},
            {"qr", {Word::AlignRight}},
            {"qc", {Word::AlignCenter}},
            {"qj", {Word::AlignJustify}},
            {"qd", {Word::AlignJustify}},
            {"par", {Word::Par}},
            {"row", {Word::Par}},
            {"line", {Word::Line}},
            {"tab", {Word::Tab}},
            {"cell", {Word::Tab}},
            {"nestcell", {Word::Tab}},
            {"emdash", {Word::Character, 0x2014}},
            {"endash", {Word::Character, 0x2013}},
            {"emspace", {Word::Character, 0x2003}},
            {"enspace", {Word::Character, 0x2002}},
            {"qmspace", {Word::Character, 0x2005}},
            {"bullet", {Word::Character, 0x2022}},
            {"lquote", {Word::Character, 0x2018}},
            {"rquote", {Word::Character, 0x2019}},
            {"ldblquote", {Word::Character, 0x201C}},
            {"rdblquote", {Word::Character, 0x201D}},
            {"zwj", {Word::Character, 0x200D}},
            {"zwnj", {Word::Character, 0x200C}},
            {"ltrmark", {Word::Character, 0x200E}},
            {"rtlmark", {Word::Character, 0x200F}},
            {"bin", {Word::Bin}},
        };
        // Every kind of underline reads as underlined.
        for (std::string_view u : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                                   "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd",
                                   "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
            t.emplace(u, WordInfo{Word::Underline});
        // Destinations whose content is not text of the document. Destinations written with \*
        // are skipped anyway; these are the ones that writers also put without it.
        for (std::string_view d : {"stylesheet",   "info",       "pict",
                                   "object",       "objdata",    "header",
                                   "headerl",      "headerr",    "headerf",
                                   "footer",       "footerl",    "footerr",
                                   "footerf",      "footnote",   "annotation",
                                   "atnid",        "atnauthor",  "atndate",
                                   "atnref",       "listtable",  "listoverridetable",
                                   "revtbl",       "rsidtbl",    "xmlnstbl",
                                   "filetbl",      "pgdsctbl",   "pn",
                                   "pntxta",       "pntxtb",     "fldinst",
                                   "datafield",    "bkmkstart",  "bkmkend",
                                   "xe",           "tc",         "txe",
                                   "private",      "nonshppict", "shp",
                                   "shpinst",      "shpgrp",     "ftnsep",
                                   "ftnsepc",      "ftncn",      "aftnsep",
                                   "aftnsepc",     "aftncn",     "template",
                                   "comment",      "title",      "subject",
                                   "author",       "operator",   "keywords",
                                   "doccomm",      "themedata",  "colorschememapping",
                                   "latentstyles", "datastore",  "generator",
                                   "userprops",    "mmathPr"})
            t.emplace(d, WordInfo{Word::SkipDestination});
        return t;
    }();
    return table;
}

// The code page of a \fcharset value; 0 means the document's own.
int codePageOfCharset(int charset) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return kSymbolCodePage;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
    case 255:
        return 437;
    default:
        return 0;
    }
}

QByteArray codecName(int codePage) {
    switch (codePage) {
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 10000:
        return "macintosh";
    case kUtf8CodePage:
        return "UTF-8";
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

class Parser {
public:
    explicit Parser(const QByteArray& data) : data_(data) {
        // Unescaped 8-bit text is UTF-8 when the whole document is valid UTF-8 (writers that
        // know no code page put it so); otherwise it is in the code page, like \'hh.
        const bool has8Bit = std::any_of(
            data.begin(), data.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        rawUtf8_ = has8Bit && data.isValidUtf8();
    }

    std::vector<Paragraph> run();

private:
    GroupState& top() { return stack_.back(); }
    const GroupState& top() const { return stack_.back(); }

    void openGroup();
    // Returns true when the outermost group closed.
    bool closeGroup();
    void handleWord(std::string_view name, bool hasParam, int param);
    void handleSymbol(char c);
    void handleByte(unsigned char byte, bool raw); // a \'hh escape or a raw 8-bit byte
    void handleAscii(char c);                      // a raw 7-bit character
    void appendChar(char16_t c);
    void appendCodePoint(std::uint32_t cp);
    void flushBytes();
    void endParagraph();
    void finishFontEntry();
    int currentCodePage() const;
    CharFormat currentFormat() const;
    QString decode(int codePage, const QByteArray& bytes);

    const QByteArray& data_;
    std::vector<GroupState> stack_;
    std::size_t overflow_ = 0; // groups opened beyond kMaxDepth
    bool star_ = false;        // a \* is waiting for its control word
    int skip_ = 0;             // fallback characters still to skip after \uN

    int documentCodePage_ = 1252;
    int defaultFont_ = 0;
    std::map<int, Font> fonts_;
    std::vector<QColor> colors_;

    // font table entry being read
    int entryIndex_ = -1;
    int entryCodePage_ = 0;
    QString entryName_;
    // colour table entry being read
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;

    // 8-bit text not yet decoded, with the code page it is in
    QByteArray pendingBytes_;
    int pendingCodePage_ = 0;

    std::map<int, std::unique_ptr<QStringDecoder>> decoders_;

    std::vector<Paragraph> paragraphs_;
    Paragraph current_;
    bool finished_ = false;
    bool rawUtf8_ = false;
};

std::vector<Paragraph> Parser::run() {
    const char* p = data_.constData();
    const std::size_t n = static_cast<std::size_t>(data_.size());
    std::size_t i = 0;
    while (i < n && !finished_) {
        const char c = p[i];
        if (c == '{') {
            ++i;
            openGroup();
            continue;
        }
        if (c == '}') {
            ++i;
            if (closeGroup())
                break;
            continue;
        }
        if (stack_.empty())
            break; // nothing but a group can start a document
        if (c == '\\') {
            ++i;
            if (i >= n)
                break;
            const char d = p[i];
            const bool letter = (d >= 'a' && d <= 'z') || (d >= 'A' && d <= 'Z');
            if (letter) {
                const std::size_t start = i;
                while (i < n && ((p[i] >= 'a' && p[i] <= 'z') || (p[i] >= 'A' && p[i] <= 'Z')))
                    ++i;
                const std::size_t length = i - start;
                bool hasParam = false;
                bool negative = false;
                std::int64_t value = 0;
                if (i + 1 < n && p[i] == '-' && p[i + 1] >= '0' && p[i + 1] <= '9') {
                    negative = true;
                    ++i;
                }
                int digits = 0;
                while (i < n && p[i] >= '0' && p[i] <= '9') {
                    if (digits < kMaxParamDigits)
                        value = value * 10 + (p[i] - '0');
                    ++digits;
                    ++i;
                    hasParam = true;
                }
                if (i < n && p[i] == ' ')
                    ++i; // the delimiting space belongs to the word
                value = std::clamp<std::int64_t>(negative ? -value : value, INT32_MIN, INT32_MAX);
                const int param = static_cast<int>(value);
                const std::string_view name(p + start, length);
                if (name == "bin" && hasParam && param > 0) {
                    // Binary data follows: skip it, whatever destination it is in.
                    flushBytes();
                    i += std::min<std::size_t>(static_cast<std::size_t>(param), n - i);
                    continue;
                }
                if (overflow_ > 0)
                    continue;
                if (length > static_cast<std::size_t>(kMaxWordLength)) {
                    star_ = false;
                    if (skip_ > 0)
                        --skip_;
                    continue;
                }
                handleWord(name, hasParam, param);
                continue;
            }
            if (d == '\'') {
                ++i;
                auto hex = [](char h) -> int {
                    if (h >= '0' && h <= '9')
                        return h - '0';
                    if (h >= 'a' && h <= 'f')
                        return h - 'a' + 10;
                    if (h >= 'A' && h <= 'F')
                        return h - 'A' + 10;
                    return -1;
                };
                if (i + 1 < n && hex(p[i]) >= 0 && hex(p[i + 1]) >= 0) {
                    const auto byte = static_cast<unsigned char>(hex(p[i]) * 16 + hex(p[i + 1]));
                    i += 2;
                    if (overflow_ == 0)
                        handleByte(byte, false);
                } else if (i < n && hex(p[i]) >= 0) {
                    ++i; // an escape with one digit is dropped with its digit
                }
                continue;
            }
            ++i;
            if (overflow_ == 0)
                handleSymbol(d);
            continue;
        }
        ++i;
        if (c == '\r' || c == '\n' || overflow_ > 0)
            continue;
        if (static_cast<unsigned char>(c) >= 0x80)
            handleByte(static_cast<unsigned char>(c), true);
        else
            handleAscii(c);
    }
    if (!finished_ && !stack_.empty()) {
        // The document ended without its closing brace: take it as closed.
        flushBytes();
        finishFontEntry();
        current_.alignment = top().alignment;
    }
    bool hasText = false;
    for (const Run& r : current_.runs)
        hasText = hasText || !r.text.isEmpty();
    if (hasText)
        paragraphs_.push_back(std::move(current_));

    // Pairs of \u values make surrogate pairs; a lone half becomes the replacement character.
    for (Paragraph& para : paragraphs_) {
        for (Run& r : para.runs) {
            QChar* s = r.text.data();
            const qsizetype len = r.text.size();
            for (qsizetype k = 0; k < len; ++k) {
                if (s[k].isHighSurrogate() && k + 1 < len && s[k + 1].isLowSurrogate()) {
                    ++k;
                } else if (s[k].isSurrogate()) {
                    s[k] = QChar::ReplacementCharacter;
                }
            }
        }
    }
    return std::move(paragraphs_);
}

void Parser::openGroup() {
    flushBytes();
    star_ = false;
    skip_ = 0;
    if (overflow_ > 0 || stack_.size() >= kMaxDepth) {
        ++overflow_;
        return;
    }
    if (stack_.empty())
        stack_.push_back(GroupState{});
    else
        stack_.push_back(top());
}

bool Parser::closeGroup() {
    flushBytes();
    star_ = false;
    skip_ = 0;
    if (overflow_ > 0) {
        --overflow_;
        return false;
    }
    if (stack_.empty())
        return true;
    const GroupState closing = top();
    if (closing.destination == Destination::FontTable)
        finishFontEntry();
    if (stack_.size() == 1) {
        current_.alignment = closing.alignment;
        stack_.pop_back();
        finished_ = true;
        return true;
    }
    stack_.pop_back();
    return false;
}

void Parser::handleSymbol(char c) {
    if (c == '*') {
        star_ = true;
        return;
    }
    star_ = false;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        handleAscii(c);
        break;
    case '~':
        appendChar(0x00A0);
        break;
    case '_':
        appendChar(0x2011);
        break;
    case '\r':
    case '\n':
        if (top().destination == Destination::Text)
            endParagraph();
        break;
    default: // \- (optional hyphen), \| and \: (index entries) and anything else
        break;
    }
}

void Parser::handleByte(unsigned char byte, bool raw) {
    star_ = false;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    switch (top().destination) {
    case Destination::Text: {
        const int cp = raw && rawUtf8_ ? kUtf8CodePage : currentCodePage();
        if (!pendingBytes_.isEmpty() && pendingCodePage_ != cp)
            flushBytes();
        pendingCodePage_ = cp;
        pendingBytes_.append(static_cast<char>(byte));
        break;
    }
    case Destination::FontTable:
        // An escaped ';' is part of the name; only a plain one ends the entry.
        entryName_.append(QChar(windows1252Char(byte)));
        break;
    default:
        break;
    }
}

void Parser::handleAscii(char c) {
    star_ = false;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    switch (top().destination) {
    case Destination::Text:
        if (c == '\t' || static_cast<unsigned char>(c) >= 0x20)
            appendChar(static_cast<char16_t>(c));
        break;
    case Destination::FontTable:
        if (c == ';')
            finishFontEntry();
        else if (static_cast<unsigned char>(c) >= 0x20)
            entryName_.append(QChar(static_cast<char16_t>(c)));
        break;
    case Destination::ColorTable:
        if (c == ';') {
            colors_.push_back(colorGiven_ ? QColor(red_, green_, blue_) : QColor());
            red_ = green_ = blue_ = 0;
            colorGiven_ = false;
        }
        break;
    default:
        break;
    }
}

void Parser::appendChar(char16_t c) {
    if (top().destination == Destination::FontTable) {
        entryName_.append(QChar(c));
        return;
    }
    if (top().destination != Destination::Text)
        return;
    flushBytes();
    switch (c) {
    case 0:
        return;
    case u'\r':
    case u'\n':
        c = kLineBreak;
        break;
    case 0xFDD0: // QTextDocument's frame marks would be taken for structure
    case 0xFDD1:
        c = QChar::ReplacementCharacter;
        break;
    default:
        break;
    }
    const CharFormat format = currentFormat();
    if (current_.runs.empty() || !(current_.runs.back().format == format))
        current_.runs.push_back(Run{QString(), format});
    current_.runs.back().text.append(QChar(c));
}

void Parser::appendCodePoint(std::uint32_t cp) {
    if (cp > 0xFFFF) {
        appendChar(QChar::highSurrogate(cp));
        appendChar(QChar::lowSurrogate(cp));
    } else {
        appendChar(static_cast<char16_t>(cp));
    }
}

void Parser::flushBytes() {
    if (pendingBytes_.isEmpty() || stack_.empty())
        return;
    const QByteArray bytes = std::move(pendingBytes_);
    pendingBytes_.clear();
    const QString text = decode(pendingCodePage_, bytes);
    for (QChar ch : text)
        appendChar(ch.unicode());
}

QString Parser::decode(int codePage, const QByteArray& bytes) {
    if (codePage == kSymbolCodePage) {
        // The Symbol font: its bullet is the one character that matters in text (list marks).
        QString text = decodeWindows1252(bytes);
        text.replace(QChar(0x00B7), QChar(0x2022));
        return text;
    }
    if (codePage == 1252 || codePage <= 0)
        return decodeWindows1252(bytes);
    auto it = decoders_.find(codePage);
    if (it == decoders_.end()) {
        auto decoder = std::make_unique<QStringDecoder>(codecName(codePage).constData(),
                                                        QStringConverter::Flag::Stateless);
        it = decoders_.emplace(codePage, decoder->isValid() ? std::move(decoder) : nullptr).first;
    }
    if (!it->second)
        return decodeWindows1252(bytes);
    return it->second->decode(bytes);
}

int Parser::currentCodePage() const {
    const int font = top().font >= 0 ? top().font : defaultFont_;
    const auto it = fonts_.find(font);
    if (it != fonts_.end() && it->second.codePage != 0)
        return it->second.codePage;
    return documentCodePage_;
}

CharFormat Parser::currentFormat() const {
    const GroupState& s = top();
    CharFormat f;
    const auto font = fonts_.find(s.font >= 0 ? s.font : defaultFont_);
    if (font != fonts_.end())
        f.family = font->second.name;
    f.halfPoints = s.halfPoints;
    f.bold = s.bold;
    f.italic = s.italic;
    f.underline = s.underline;
    f.strikeOut = s.strikeOut;
    if (s.color > 0 && static_cast<std::size_t>(s.color) < colors_.size())
        f.color = colors_[static_cast<std::size_t>(s.color)];
    return f;
}

void Parser::endParagraph() {
    flushBytes();
    current_.alignment = top().alignment;
    current_.markFormat = currentFormat();
    paragraphs_.push_back(std::move(current_));
    current_ = Paragraph{};
}

void Parser::finishFontEntry() {
    if (entryIndex_ >= 0) {
        Font font;
        font.name = entryName_.trimmed();
        font.codePage = entryCodePage_;
        fonts_[entryIndex_] = font;
    }
    entryIndex_ = -1;
    entryCodePage_ = 0;
    entryName_.clear();
}

void Parser::handleWord(std::string_view name, bool hasParam, int param) {
    const bool star = star_;
    star_ = false;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    GroupState& s = top();
    const auto found = words().find(name);
    if (star) {
        // {\*\name ...}: only \ud is read; any other such destination is skipped.
        if (found != words().end() && found->second.word == Word::Ud) {
            if (s.destination == Destination::Upr)
                s.destination = s.outerDestination;
        } else {
            flushBytes();
            s.destination = Destination::Skip;
        }
        return;
    }
    if (found == words().end())
        return; // unknown control words are ignored
    const Word word = found->second.word;

    switch (s.destination) {
    case Destination::Skip:
        return;
    case Destination::Upr:
        if (word == Word::Ud)
            s.destination = s.outerDestination;
        return;
    case Destination::FontTable:
        switch (word) {
        case Word::FontIndex:
            if (entryIndex_ >= 0 && !entryName_.trimmed().isEmpty())
                finishFontEntry();
            entryIndex_ = hasParam ? param : 0;
            break;
        case Word::FontCharset:
            if (entryCodePage_ == 0 || entryCodePage_ == kSymbolCodePage)
                entryCodePage_ = codePageOfCharset(param);
            break;
        case Word::CodePage:
            if (param > 0)
                entryCodePage_ = param;
            break;
        case Word::Unicode:
            break; // names with \u are rare enough to read only their fallback
        case Word::SkipDestination:
            s.destination = Destination::Skip;
            break;
        default:
            break;
        }
        return;
    case Destination::ColorTable:
        switch (word) {
        case Word::Red:
            red_ = std::clamp(param, 0, 255);
            colorGiven_ = true;
            break;
        case Word::Green:
            green_ = std::clamp(param, 0, 255);
            colorGiven_ = true;
            break;
        case Word::Blue:
            blue_ = std::clamp(param, 0, 255);
            colorGiven_ = true;
            break;
        default:
            break;
        }
        return;
    case Destination::Text:
        break;
    }

    // A change of format or destination closes the bytes read under the previous one.
    flushBytes();
    const bool on = !hasParam || param != 0;
    switch (word) {
    case Word::Ansi:
        documentCodePage_ = 1252;
        break;
    case Word::Mac:
        documentCodePage_ = 10000;
        break;
    case Word::Pc:
        documentCodePage_ = 437;
        break;
    case Word::Pca:
        documentCodePage_ = 850;
        break;
    case Word::AnsiCpg:
        if (param > 0)
            documentCodePage_ = param;
        break;
    case Word::Deff:
        defaultFont_ = param;
        break;
    case Word::FontTable:
        s.destination = Destination::FontTable;
        finishFontEntry();
        break;
    case Word::ColorTable:
        s.destination = Destination::ColorTable;
        colors_.clear();
        red_ = green_ = blue_ = 0;
        colorGiven_ = false;
        break;
    case Word::SkipDestination:
        s.destination = Destination::Skip;
        break;
    case Word::Upr:
        s.outerDestination = s.destination;
        s.destination = Destination::Upr;
        break;
    case Word::Plain:
        s.font = -1;
        s.halfPoints = 24;
        s.bold = s.italic = s.underline = s.strikeOut = false;
        s.color = 0;
        break;
    case Word::FontIndex:
        s.font = hasParam ? param : 0;
        break;
    case Word::FontSize:
        if (hasParam && param > 0)
            s.halfPoints = std::clamp(param, kMinHalfPoints, kMaxHalfPoints);
        break;
    case Word::Bold:
        s.bold = on;
        break;
    case Word::Italic:
        s.italic = on;
        break;
    case Word::Underline:
        s.underline = on;
        break;
    case Word::UnderlineNone:
        s.underline = false;
        break;
    case Word::Strike:
        s.strikeOut = on;
        break;
    case Word::ColorIndex:
        s.color = param;
        break;
    case Word::SkipCountWord:
        s.skipCount = std::clamp(param, 0, kMaxSkipCount);
        break;
    case Word::Unicode: {
        std::int64_t v = param;
        if (v < 0)
            v += 65536;
        if (v > 0 && v <= 0x10FFFF)
            appendCodePoint(static_cast<std::uint32_t>(v));
        skip_ = s.skipCount;
        break;
    }
    case Word::Pard:
        s.alignment = Alignment::Left;
        break;
    case Word::AlignLeft:
        s.alignment = Alignment::Left;
        break;
    case Word::AlignRight:
        s.alignment = Alignment::Right;
        break;
    case Word::AlignCenter:
        s.alignment = Alignment::Center;
        break;
    case Word::AlignJustify:
        s.alignment = Alignment::Justify;
        break;
    case Word::Par:
        endParagraph();
        break;
    case Word::Line:
        appendChar(kLineBreak);
        break;
    case Word::Tab:
        appendChar(u'\t');
        break;
    case Word::Character:
        appendChar(found->second.character);
        break;
    default:
        break;
    }
}

} // namespace

std::vector<Paragraph> parse(const QByteArray& data) {
    Parser parser(data);
    return parser.run();
}

} // namespace rtf::detail
