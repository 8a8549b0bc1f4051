#include "base/core/TextCodec.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>
#include <string_view>

using namespace orvel;
using namespace orvel::codec;

namespace {

// Bytes of a literal, NULs included.
template <qsizetype N> QByteArray raw(const char (&s)[N]) {
    return QByteArray(s, N - 1);
}

QByteArray utf16(QStringView units, bool bigEndian) {
    QByteArray out;
    for (QChar c : units) {
        const char16_t u = c.unicode();
        const char lo = char(u & 0xFF);
        const char hi = char(u >> 8);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

// Random strings of the given pieces: breaks, sequences and runs that cross 8-byte words.
QByteArray randomText(QRandomGenerator& random, const QList<QByteArray>& pieces) {
    QByteArray text;
    for (int n = random.bounded(40); n > 0; --n)
        text += pieces[random.bounded(int(pieces.size()))];
    return text;
}

// Straightforward encoder to compare against: one break at a time, one character at a time.
QByteArray referenceEncoding(const QByteArray& utf8, TSynEncoding encoding, bool bom,
                             TLineBreak style) {
    const QByteArray br = style == lbLF ? "\n" : style == lbCR ? "\r" : "\r\n";
    QByteArray text;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
            ++i;
        text += (utf8[i] == '\r' || utf8[i] == '\n') ? br : QByteArray(1, utf8[i]);
    }
    const QString s = QString::fromUtf8(text);
    QByteArray out;
    switch (encoding) {
    case seUTF8:
        return (bom ? raw("\xEF\xBB\xBF") : QByteArray()) + text;
    case seUTF16LE:
    case seUTF16BE:
        return utf16((bom ? QStringLiteral("\uFEFF") : QString()) + s, encoding == seUTF16BE);
    case seAnsi:
        for (char32_t c : s.toUcs4())
            out += char(unicodeToAnsi(c));
        break;
    }
    return out;
}

QList<uint> toUints(const QList<char32_t>& chars) {
    return QList<uint>(chars.begin(), chars.end());
}

} // namespace

class TestTextCodec : public QObject {
    Q_OBJECT
private slots:
    void detection_data();
    void detection();
    void utf8ValidationAtEveryOffset();
    void utf8ValidationMatchesQt();
    void ansiKnownMappings_data();
    void ansiKnownMappings();
    void ansiEveryByte();
    void utf16ToEditor_data();
    void utf16ToEditor();
    void utf16MatchesQt();
    void roundTrip_data();
    void roundTrip();
    void lineBreakStyle_data();
    void lineBreakStyle();
    void savedBreaks_data();
    void savedBreaks();
    void encodingMatchesReference();
    void savedAsIs_data();
    void savedAsIs();
    void unencodable_data();
    void unencodable();
    void describe_data();
    void describe();
    void canHold_data();
    void canHold();
};

void TestTextCodec::detection_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<int>("bomLength");

    const QByteArray ascii16k(16 * 1024, 'a');
    const QByteArray ascii20k(20 * 1024, 'a');
    QTest::newRow("empty") << QByteArray() << int(seAnsi) << 0;
    QTest::newRow("pure ASCII") << QByteArray("<p>plain</p>\r\n") << int(seAnsi) << 0;
    QTest::newRow("UTF-8 mark") << raw("\xEF\xBB\xBF<p>x</p>") << int(seUTF8) << 3;
    QTest::newRow("UTF-8 mark alone") << raw("\xEF\xBB\xBF") << int(seUTF8) << 3;
    QTest::newRow("UTF-8 mark, then malformed") << raw("\xEF\xBB\xBF"
                                                       "caf\xE9")
                                                << int(seAnsi) << 0;
    QTest::newRow("UTF-16LE mark") << raw("\xFF\xFE"
                                          "a\0")
                                   << int(seUTF16LE) << 2;
    QTest::newRow("UTF-16BE mark") << raw("\xFE\xFF\0a") << int(seUTF16BE) << 2;
    QTest::newRow("UTF-16LE mark alone") << raw("\xFF\xFE") << int(seUTF16LE) << 2;
    QTest::newRow("UTF-16LE mark, odd size") << raw("\xFF\xFE"
                                                    "a")
                                             << int(seAnsi) << 0;
    QTest::newRow("UTF-16BE mark, odd size") << raw("\xFE\xFF\0") << int(seAnsi) << 0;
    QTest::newRow("two-byte sequence") << raw("caf\xC3\xA9") << int(seUTF8) << 0;
    QTest::newRow("four-byte sequence") << raw("\xF0\x9F\x98\x80") << int(seUTF8) << 0;
    QTest::newRow("U+10FFFF") << raw("\xF4\x8F\xBF\xBF") << int(seUTF8) << 0;
    QTest::newRow("NUL beside a sequence") << raw("a\0\xC3\xA9") << int(seUTF8) << 0;
    QTest::newRow("first sequence past 16 KiB")
        << ascii16k + ascii16k + raw("\xC3\xA9") << int(seUTF8) << 0;
    QTest::newRow("valid for 20 KiB, then a bad byte")
        << raw("\xC3\xA9") + ascii20k + raw("\xE9") << int(seAnsi) << 0;
    QTest::newRow("overlong two bytes") << raw("\xC3\xA9\xC0\xAF") << int(seAnsi) << 0;
    QTest::newRow("overlong three bytes") << raw("\xC3\xA9\xE0\x80\xAF") << int(seAnsi) << 0;
    QTest::newRow("overlong four bytes") << raw("\xF0\x8F\xBF\xBF") << int(seAnsi) << 0;
    QTest::newRow("surrogate") << raw("\xC3\xA9\xED\xA0\x80") << int(seAnsi) << 0;
    QTest::newRow("above U+10FFFF") << raw("\xF4\x90\x80\x80") << int(seAnsi) << 0;
    QTest::newRow("lead byte F5") << raw("\xF5\x80\x80\x80") << int(seAnsi) << 0;
    QTest::newRow("lone continuation byte") << raw("\xC3\xA9\x80") << int(seAnsi) << 0;
    QTest::newRow("sequence cut at the end") << raw("\xC3\xA9\xE2\x82") << int(seAnsi) << 0;
}

void TestTextCodec::detection() {
    QFETCH(QByteArray, data);
    QFETCH(int, encoding);
    QFETCH(int, bomLength);
    const TDetection d = detectEncoding(data);
    QCOMPARE(int(d.encoding), encoding);
    QCOMPARE(d.bomLength, bomLength);
    QCOMPARE(d.bom, bomLength > 0);
}

// The validator skips ASCII a block at a time: a sequence or a bad byte must be seen
// wherever it falls relative to the blocks.
void TestTextCodec::utf8ValidationAtEveryOffset() {
    for (int offset = 0; offset < 40; ++offset) {
        const QByteArray prefix(offset, 'a');
        const QByteArray suffix(47 - offset, 'b');
        bool multi = true;
        QVERIFY2(isValidUtf8(prefix, &multi) && !multi, qPrintable(QString::number(offset)));
        QVERIFY2(isValidUtf8(prefix + raw("\xC3\xA9") + suffix, &multi) && multi,
                 qPrintable(QString::number(offset)));
        QVERIFY2(!isValidUtf8(prefix + raw("\xE9") + suffix), qPrintable(QString::number(offset)));
        QVERIFY2(!isValidUtf8(prefix + raw("\xE2\x82")), qPrintable(QString::number(offset)));
    }
}

// Valid text with one byte changed or dropped: the faults a validator is likely to miss.
void TestTextCodec::utf8ValidationMatchesQt() {
    const QList<QByteArray> pieces = {"abcdefg",          "a",
                                      raw("\0"),          "\x7F",
                                      "\xC2\x80",         "\xC3\xA9",
                                      "\xDF\xBF",         "\xE0\xA0\x80",
                                      "\xE2\x82\xAC",     "\xED\x9F\xBF",
                                      "\xEE\x80\x80",     "\xEF\xBF\xBF",
                                      "\xF0\x90\x80\x80", "\xF0\x9F\x98\x80",
                                      "\xF4\x8F\xBF\xBF"};
    QRandomGenerator random(7);
    for (int i = 0; i < 30000; ++i) {
        QByteArray data = randomText(random, pieces);
        if (!data.isEmpty() && i % 3 == 1)
            data[random.bounded(int(data.size()))] = char(random.bounded(256));
        else if (!data.isEmpty() && i % 3 == 2)
            data.remove(random.bounded(int(data.size())), 1);
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString decoded = decoder(data);
        bool multi = false;
        QVERIFY2(isValidUtf8(data, &multi) == !decoder.hasError(), data.toHex().constData());
        // Every multi-byte sequence gives fewer UTF-16 units than bytes.
        if (!decoder.hasError())
            QCOMPARE(multi, decoded.size() < data.size());
    }
}

void TestTextCodec::ansiKnownMappings_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<uint>("codePoint");
    QTest::newRow("euro") << 0x80 << 0x20ACu;
    QTest::newRow("undefined 81") << 0x81 << 0x81u;
    QTest::newRow("single low quote") << 0x82 << 0x201Au;
    QTest::newRow("undefined 8D") << 0x8D << 0x8Du;
    QTest::newRow("undefined 8F") << 0x8F << 0x8Fu;
    QTest::newRow("undefined 90") << 0x90 << 0x90u;
    QTest::newRow("trade mark") << 0x99 << 0x2122u;
    QTest::newRow("undefined 9D") << 0x9D << 0x9Du;
    QTest::newRow("Y with diaeresis") << 0x9F << 0x178u;
    QTest::newRow("no-break space") << 0xA0 << 0xA0u;
    QTest::newRow("e acute") << 0xE9 << 0xE9u;
    QTest::newRow("NUL") << 0x00 << 0x00u;
    QTest::newRow("DEL") << 0x7F << 0x7Fu;
}

void TestTextCodec::ansiKnownMappings() {
    QFETCH(int, byte);
    QFETCH(uint, codePoint);
    QCOMPARE(uint(ansiToUnicode(uchar(byte))), codePoint);
    QCOMPARE(unicodeToAnsi(codePoint), byte);
}

void TestTextCodec::ansiEveryByte() {
    QSet<char16_t> seen;
    for (int b = 0; b < 256; ++b) {
        const char16_t u = ansiToUnicode(uchar(b));
        seen.insert(u);
        QCOMPARE(unicodeToAnsi(u), b);
    }
    QCOMPARE(seen.size(), 256);
    for (char32_t c : {0x80u, 0x9Eu, 0x151u, 0x20ADu, 0xFFFDu, 0x1F600u})
        QCOMPARE(unicodeToAnsi(c), -1);

    // Every byte, at every position of an 8-byte block, next to ASCII runs.
    QByteArray bytes;
    QString expected;
    for (int b = 0; b < 256; ++b) {
        const QByteArray ascii((b * 3) % 11, 'x');
        bytes += ascii + char(b);
        expected += QString::fromLatin1(ascii) + QChar(ansiToUnicode(uchar(b)));
    }
    QCOMPARE(toEditorText(bytes, seAnsi), expected.toUtf8());
}

void TestTextCodec::utf16ToEditor_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QByteArray>("text");

    struct Case {
        const char* name;
        std::u16string_view units;
        QByteArray text;
    };
    const Case cases[] = {
        {"ASCII", u"ab", "ab"},
        {"long ASCII, then two-byte", u"abcdefghi\u00E9", raw("abcdefghi\xC3\xA9")},
        {"two-byte run", u"\u0100\u0100\u0100\u0100\u0100",
         raw("\xC4\x80\xC4\x80\xC4\x80\xC4\x80\xC4\x80")},
        {"three-byte", u"x\u20ACy", raw("x\xE2\x82\xACy")},
        {"surrogate pair", u"\xD83D\xDE00", raw("\xF0\x9F\x98\x80")},
        {"lone high surrogate",
         u"\xD800"
         "A",
         raw("\xED\xA0\x80"
             "A")},
        {"lone low surrogate", u"\xDC00", raw("\xED\xB0\x80")},
        {"low before high", u"\xDC00\xD800", raw("\xED\xB0\x80\xED\xA0\x80")},
        {"two high surrogates", u"\xD800\xDBFF", raw("\xED\xA0\x80\xED\xAF\xBF")},
        {"high surrogate at the end", u"A\xDBFF", raw("A\xED\xAF\xBF")},
        {"NUL", std::u16string_view(u"a\0b", 3), raw("a\0b")},
    };
    for (const Case& c : cases) {
        QTest::addRow("%s, LE", c.name) << utf16(c.units, false) << int(seUTF16LE) << c.text;
        QTest::addRow("%s, BE", c.name) << utf16(c.units, true) << int(seUTF16BE) << c.text;
    }
}

void TestTextCodec::utf16ToEditor() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(QByteArray, text);
    QCOMPARE(toEditorText(bytes, TSynEncoding(encoding)), text);
}

// Random units, lone surrogates among them: Qt agrees wherever it can read the text, and
// every text comes back unchanged.
void TestTextCodec::utf16MatchesQt() {
    const char16_t pool[] = {u'a',  u'b',   0x00,   0x7F,   0x80,   0xE9,   0x100,  0x7FF,
                             0x800, 0x20AC, 0xFFFF, 0xD83D, 0xDE00, 0xD800, 0xDBFF, 0xDFFF};
    QRandomGenerator random(5);
    for (int i = 0; i < 5000; ++i) {
        QString units;
        for (int n = random.bounded(30); n > 0; --n)
            units += QChar(pool[random.bounded(int(std::size(pool)))]);
        const bool lone = !QStringView(units).isValidUtf16();
        for (bool bigEndian : {false, true}) {
            const TSynEncoding encoding = bigEndian ? seUTF16BE : seUTF16LE;
            const QByteArray bytes = utf16(units, bigEndian);
            const QByteArray text = toEditorText(bytes, encoding);
            if (!lone)
                QCOMPARE(text, units.toUtf8());
            const TEncodeResult back = fromEditorText(text, encoding, false, lbCRLF);
            QVERIFY(back.ok());
            QCOMPARE(back.bytes, bytes);
        }
    }
}

void TestTextCodec::roundTrip_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("encoding");

    QByteArray ansi;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            ansi += char(b);
    }
    const std::u16string_view page = u"\xFEFF<p>\u0151 \u20AC \xD83D\xDE00</p>\r\n<p>x</p>\r\n";
    const std::u16string_view lone = u"\xFEFF"
                                     "a\xD800 b \xDC00\xD800\n\xDBFF";

    QTest::newRow("UTF-8") << raw("<p>caf\xC3\xA9 \xE2\x82\xAC</p>\r\n<p/>\r\n") << int(seUTF8);
    QTest::newRow("UTF-8 with mark") << raw("\xEF\xBB\xBF\xC3\xA9\r\n") << int(seUTF8);
    QTest::newRow("UTF-16LE with mark") << utf16(page, false) << int(seUTF16LE);
    QTest::newRow("UTF-16BE with mark") << utf16(page, true) << int(seUTF16BE);
    QTest::newRow("Windows-1252, every byte but CR and LF") << ansi << int(seAnsi);
    QTest::newRow("CR breaks") << raw("a\rb\r") << int(seAnsi);
    QTest::newRow("LF breaks") << raw("a\n\xC3\xA9\n") << int(seUTF8);
    QTest::newRow("CR LF breaks") << raw("a\r\nb\r\n\r\n") << int(seAnsi);
    QTest::newRow("no final break") << raw("a\nb") << int(seAnsi);
    QTest::newRow("empty") << QByteArray() << int(seAnsi);
    QTest::newRow("UTF-8 mark alone") << raw("\xEF\xBB\xBF") << int(seUTF8);
    QTest::newRow("UTF-16 mark alone") << raw("\xFF\xFE") << int(seUTF16LE);
    QTest::newRow("NUL bytes, ANSI") << raw("a\0\0b\n\0") << int(seAnsi);
    QTest::newRow("NUL bytes, UTF-8") << raw("\0\xC3\xA9\0") << int(seUTF8);
    QTest::newRow("NUL bytes, UTF-16LE") << raw("\xFF\xFE\0\0a\0\0\0") << int(seUTF16LE);
    QTest::newRow("U+2028, UTF-8") << raw("a\xE2\x80\xA8"
                                          "b\nc\n")
                                   << int(seUTF8);
    QTest::newRow("U+2028, UTF-16BE") << utf16(u"\xFEFF"
                                               "a\u2028b\r",
                                               true)
                                      << int(seUTF16BE);
    QTest::newRow("lone surrogates, UTF-16LE") << utf16(lone, false) << int(seUTF16LE);
    QTest::newRow("lone surrogates, UTF-16BE") << utf16(lone, true) << int(seUTF16BE);
    QTest::newRow("UTF-8 mark, then malformed") << raw("\xEF\xBB\xBF"
                                                       "a\xFF\n")
                                                << int(seAnsi);
    QTest::newRow("UTF-16 mark, odd size") << raw("\xFF\xFE"
                                                  "a")
                                           << int(seAnsi);
    QTest::newRow("encoded surrogate") << raw("\xED\xA0\x80") << int(seAnsi);
    QTest::newRow("mixed breaks") << raw("a\r\nb\nc\rd\r\ne") << int(seAnsi);
    QTest::newRow("mixed breaks, UTF-16BE") << utf16(u"\xFEFF"
                                                     "a\r\nb\nc\rd",
                                                     true)
                                            << int(seUTF16BE);
    QTest::newRow("UTF-16LE without mark")
        << utf16(u"<html>\r\n<p>\u0151 caf\u00E9</p>\n\xD83D\xDE00\r", false) << int(seUTF16LE);
    QTest::newRow("UTF-16LE without mark, lone surrogate")
        << utf16(u"abcdef\xDC00", false) << int(seUTF16LE);
    QTest::newRow("NUL in every second byte, odd size") << raw("a\0b\0c") << int(seAnsi);
    QTest::newRow("one character and NUL") << raw("a\0") << int(seAnsi);
    QTest::newRow("NULs alone") << raw("\0\0\0\0") << int(seAnsi);
    QTest::newRow("a second byte in three not NUL") << raw("a\0b\0\xE9\x01") << int(seAnsi);
    QTest::newRow("UTF-16LE without mark, Hungarian")
        << utf16(u"<p>\u00C1rv\u00EDzt\u0171r\u0151 t\u00FCk\u00F6rf\u00FAr\u00F3g\u00E9p</p>",
                 false)
        << int(seUTF16LE);
}

void TestTextCodec::roundTrip() {
    QFETCH(QByteArray, file);
    QFETCH(int, encoding);
    const TDetection d = detectEncoding(file);
    QCOMPARE(int(d.encoding), encoding);
    const QByteArray text = toEditorText(QByteArrayView(file).sliced(d.bomLength), d.encoding);
    const TEncodeResult saved = fromEditorText(text, d.encoding, d.bom);
    QVERIFY(saved.ok());
    QCOMPARE(saved.bytes, file);
}

void TestTextCodec::lineBreakStyle_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("style");
    QTest::newRow("no break") << QByteArray("abc") << int(lbCRLF);
    QTest::newRow("CR") << QByteArray("a\rb\r") << int(lbCR);
    QTest::newRow("LF") << QByteArray("a\nb\n") << int(lbLF);
    QTest::newRow("CR LF") << QByteArray("a\r\nb") << int(lbCRLF);
    QTest::newRow("CR and LF apart: LF wins the tie") << QByteArray("a\rb\nc") << int(lbLF);
    QTest::newRow("mostly LF") << QByteArray("a\r\nb\nc\nd\r\ne\n") << int(lbLF);
    QTest::newRow("mostly CR") << QByteArray("a\rb\r\nc\rd\n\r") << int(lbCR);
    QTest::newRow("as many CR LF as LF") << QByteArray("a\nb\r\n") << int(lbCRLF);
    QTest::newRow("U+2028 is no break") << raw("a\xE2\x80\xA8"
                                               "b\n")
                                        << int(lbLF);
}

void TestTextCodec::lineBreakStyle() {
    QFETCH(QByteArray, text);
    QFETCH(int, style);
    QCOMPARE(int(detectLineBreak(text)), style);
}

void TestTextCodec::savedBreaks_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<bool>("bom");
    QTest::addColumn<int>("style");
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray mixed = "a\r\nb\nc\rd";
    QTest::newRow("mixed to CR LF")
        << mixed << int(seUTF8) << false << int(lbCRLF) << QByteArray("a\r\nb\r\nc\r\nd");
    QTest::newRow("mixed to LF") << mixed << int(seUTF8) << false << int(lbLF)
                                 << QByteArray("a\nb\nc\nd");
    QTest::newRow("mixed to CR") << mixed << int(seAnsi) << false << int(lbCR)
                                 << QByteArray("a\rb\rc\rd");
    QTest::newRow("CR, CR LF, LF")
        << QByteArray("\r\r\n\n") << int(seUTF8) << false << int(lbLF) << QByteArray("\n\n\n");
    QTest::newRow("CR LF and a lone CR to CR LF") << QByteArray("a\r\nb\rc") << int(seUTF8) << false
                                                  << int(lbCRLF) << QByteArray("a\r\nb\r\nc");
    QTest::newRow("long lines") << QByteArray("0123456789abcdef\r0123456789abcdefghij\r\n"
                                              "0123456789abcdef\nxyz")
                                << int(seUTF8) << false << int(lbCRLF)
                                << QByteArray("0123456789abcdef\r\n0123456789abcdefghij\r\n"
                                              "0123456789abcdef\r\nxyz");
    QTest::newRow("LF to CR LF, with mark")
        << QByteArray("a\nb\n") << int(seUTF8) << true << int(lbCRLF)
        << raw("\xEF\xBB\xBF"
               "a\r\nb\r\n");
    QTest::newRow("UTF-16LE mixed to CR LF, with mark")
        << raw("a\nb\r\xC3\xA9") << int(seUTF16LE) << true << int(lbCRLF)
        << utf16(u"\xFEFF"
                 "a\r\nb\r\n\u00E9",
                 false);
    QTest::newRow("UTF-16BE to LF, no mark")
        << raw("a\r\n\xF0\x9F\x98\x80") << int(seUTF16BE) << false << int(lbLF)
        << utf16(u"a\n\xD83D\xDE00", true);
    QTest::newRow("ANSI never writes a mark")
        << raw("\xC3\xA9\n\xE2\x82\xAC") << int(seAnsi) << true << int(lbCR) << raw("\xE9\r\x80");
}

void TestTextCodec::savedBreaks() {
    QFETCH(QByteArray, text);
    QFETCH(int, encoding);
    QFETCH(bool, bom);
    QFETCH(int, style);
    QFETCH(QByteArray, bytes);
    const TEncodeResult r = fromEditorText(text, TSynEncoding(encoding), bom, TLineBreak(style));
    QVERIFY(r.ok());
    QCOMPARE(r.bytes, bytes);
}

void TestTextCodec::savedAsIs_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("asIs");
    const QByteArray lf = raw("caf\xC3\xA9\n0123456789abcdef\nx");
    QTest::newRow("UTF-8, LF kept") << lf << int(seUTF8) << int(lbLF) << true;
    QTest::newRow("UTF-8, LF to CR LF") << lf << int(seUTF8) << int(lbCRLF) << false;
    QTest::newRow("UTF-8, CR LF kept")
        << QByteArray("a\r\nb\r\n") << int(seUTF8) << int(lbCRLF) << true;
    QTest::newRow("UTF-8, a CR among LFs")
        << QByteArray("a\nb\rc\n") << int(seUTF8) << int(lbLF) << false;
    QTest::newRow("UTF-8, CR LF among CRs")
        << QByteArray("a\rb\r\n") << int(seUTF8) << int(lbCR) << false;
    QTest::newRow("UTF-8, no break") << QByteArray("abc") << int(seUTF8) << int(lbCR) << true;
    QTest::newRow("lone surrogate") << raw("a\xED\xA0\x80") << int(seUTF8) << int(lbLF) << false;
    QTest::newRow("ANSI") << QByteArray("abc") << int(seAnsi) << int(lbLF) << false;
    QTest::newRow("UTF-16") << QByteArray("abc") << int(seUTF16LE) << int(lbLF) << false;
}

void TestTextCodec::savedAsIs() {
    QFETCH(QByteArray, text);
    QFETCH(int, encoding);
    QFETCH(int, style);
    QFETCH(bool, asIs);
    QCOMPARE(isSavedAsIs(text, TSynEncoding(encoding), TLineBreak(style)), asIs);
    if (asIs) {
        const TEncodeResult r = fromEditorText(text, seUTF8, true, TLineBreak(style));
        QCOMPARE(r.bytes, raw("\xEF\xBB\xBF") + text);
    }
}

void TestTextCodec::encodingMatchesReference() {
    const QList<QByteArray> pieces = {"\r",
                                      "\n",
                                      "\r\n",
                                      "a",
                                      "0123456",
                                      "0123456789abcdefghi",
                                      raw("\0"),
                                      raw("\xC3\xA9"),
                                      raw("\xE2\x82\xAC"),
                                      raw("\xC5\x92")};
    QRandomGenerator random(11);
    for (int i = 0; i < 3000; ++i) {
        QByteArray text = randomText(random, pieces);
        if (i % 2)
            text.replace("\r\n", "\n"); // also texts whose breaks are all of one style
        for (TSynEncoding encoding : {seUTF8, seUTF16LE, seUTF16BE, seAnsi}) {
            for (TLineBreak style : {lbCRLF, lbLF, lbCR}) {
                const bool bom = random.bounded(2);
                const TEncodeResult r = fromEditorText(text, encoding, bom, style);
                QVERIFY(r.ok());
                QVERIFY2(r.bytes == referenceEncoding(text, encoding, bom, style),
                         text.toHex().constData());
            }
        }
    }
}

void TestTextCodec::unencodable_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QList<uint>>("chars");

    QTest::newRow("o double acute in ANSI") << raw("\xC5\x91") << int(seAnsi) << QList<uint>{0x151};
    QTest::newRow("distinct, in order of appearance") << raw("a\xC5\x91"
                                                             "b\xC5\xB1"
                                                             "c\xC5\x91\xE2\x82\xAC")
                                                      << int(seAnsi) << QList<uint>{0x151, 0x171};
    QTest::newRow("U+0080 in ANSI") << raw("\xC2\x80") << int(seAnsi) << QList<uint>{0x80};
    QTest::newRow("emoji in ANSI")
        << raw("\xF0\x9F\x98\x80") << int(seAnsi) << QList<uint>{0x1F600};
    QTest::newRow("lone surrogate in UTF-8")
        << raw("a\xED\xA0\x80") << int(seUTF8) << QList<uint>{0xD800};
    QTest::newRow("lone surrogate in ANSI")
        << raw("a\xED\xB0\x80") << int(seAnsi) << QList<uint>{0xDC00};
    QTest::newRow("malformed byte in UTF-16")
        << raw("a\xFF") << int(seUTF16LE) << QList<uint>{0xFFFD};
    QTest::newRow("malformed byte in UTF-8") << raw("a\xC3") << int(seUTF8) << QList<uint>{0xFFFD};
}

void TestTextCodec::unencodable() {
    QFETCH(QByteArray, text);
    QFETCH(int, encoding);
    QFETCH(QList<uint>, chars);
    const TEncodeResult r = fromEditorText(text, TSynEncoding(encoding), false, lbCRLF);
    QVERIFY(!r.ok());
    QCOMPARE(toUints(r.unencodable), chars);
    QVERIFY(r.bytes.isEmpty());
}

void TestTextCodec::describe_data() {
    QTest::addColumn<QList<uint>>("chars");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("text");
    QTest::newRow("two") << QList<uint>{0x151, 0x20AC} << 10
                         << QStringLiteral("\u0151 (U+0151), \u20AC (U+20AC)");
    QTest::newRow("outside the BMP")
        << QList<uint>{0x1F600} << 10 << QStringLiteral("\U0001F600 (U+1F600)");
    QTest::newRow("surrogate and control")
        << QList<uint>{0xD800, 0x7F} << 10 << QStringLiteral("U+D800, U+007F");
    QTest::newRow("more than max")
        << QList<uint>{'a', 'b', 'c'} << 2 << QStringLiteral("a (U+0061), b (U+0062), \u2026");
}

void TestTextCodec::canHold_data() {
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<bool>("ansi");
    QTest::addColumn<bool>("utf8ok");
    QTest::addColumn<bool>("utf16");
    QTest::newRow("ascii") << QByteArray("plain <p>text</p> of some length") << true << true
                           << true;
    QTest::newRow("latin 1 and euro")
        << QByteArray("caf\xC3\xA9 \xE2\x82\xAC 12345678") << true << true << true;
    QTest::newRow("hungarian o after 8 ascii")
        << QByteArray("12345678\xC5\x91") << false << true << true;
    QTest::newRow("lone surrogate") << QByteArray("ab\xED\xA0\x80") << false << false << true;
    QTest::newRow("emoji") << QByteArray("\xF0\x9F\x98\x80") << false << true << true;
}

void TestTextCodec::canHold() {
    QFETCH(QByteArray, utf8);
    QFETCH(bool, ansi);
    QFETCH(bool, utf8ok);
    QFETCH(bool, utf16);
    QCOMPARE(codec::canHold(utf8, seAnsi), ansi);
    QCOMPARE(codec::canHold(utf8, seUTF8), utf8ok);
    QCOMPARE(codec::canHold(utf8, seUTF16LE), utf16);
    // The answer agrees with what encoding reports.
    QCOMPARE(codec::canHold(utf8, seAnsi), codec::fromEditorText(utf8, seAnsi, false, lbCRLF).ok());
}

void TestTextCodec::describe() {
    QFETCH(QList<uint>, chars);
    QFETCH(int, max);
    QFETCH(QString, text);
    QCOMPARE(describeCharacters(QList<char32_t>(chars.begin(), chars.end()), max), text);
}

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
