#include "projects/core/Ascii85.h"

#include <algorithm>

namespace orvel {

QString encodeAscii85(const QByteArray& bytes) {
    QString text;
    text.reserve((bytes.size() + 3) / 4 * 5);
    for (qsizetype at = 0; at < bytes.size(); at += 4) {
        const qsizetype n = std::min<qsizetype>(4, bytes.size() - at);
        quint32 value = 0;
        for (qsizetype i = 0; i < 4; ++i)
            value = value << 8 | (i < n ? quint8(bytes[at + i]) : 0u);
        if (n == 4 && value == 0) {
            text += u'z';
            continue;
        }
        char group[5];
        for (int i = 4; i >= 0; --i) {
            group[i] = char('!' + value % 85);
            value /= 85;
        }
        text += QLatin1StringView(group, n + 1);
    }
    return text;
}

std::optional<QByteArray> decodeAscii85(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size() / 5 * 4 + 4);
    quint64 value = 0;
    int count = 0;
    auto flush = [&](int n) {
        for (int i = 0; i < n; ++i)
            bytes += char(value >> (24 - 8 * i));
    };
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n')
            continue;
        if (c == u'z' && count == 0) {
            bytes.append(4, '\0');
            continue;
        }
        if (c < u'!' || c > u'u')
            return std::nullopt;
        value = value * 85 + (c - u'!');
        if (++count == 5) {
            if (value > 0xFFFFFFFFu)
                return std::nullopt;
            flush(4);
            value = 0;
            count = 0;
        }
    }
    if (count == 1)
        return std::nullopt;
    if (count > 1) {
        const int n = count - 1;
        for (; count < 5; ++count)
            value = value * 85 + 84; // padded with "u"
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
        flush(n);
    }
    return bytes;
}

} // namespace orvel
