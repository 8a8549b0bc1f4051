#include "textcontrol/core/Utf8Columns.h"

namespace orvel {

namespace {
inline bool isCont(unsigned char c) {
    return (c & 0xC0) == 0x80;
}
} // namespace

qsizetype utf8SequenceLength(QByteArrayView data, qsizetype i) {
    const auto* p = reinterpret_cast<const unsigned char*>(data.data());
    const qsizetype n = data.size();
    const unsigned char c = p[i];
    qsizetype len = 1;
    if (c >= 0xC2 && c <= 0xDF)
        len = 2;
    else if (c >= 0xE0 && c <= 0xEF)
        len = 3;
    else if (c >= 0xF0 && c <= 0xF4)
        len = 4;
    if (len == 1 || i + len > n)
        return 1;
    for (qsizetype k = 1; k < len; ++k)
        if (!isCont(p[i + k]))
            return 1;
    return len;
}

qsizetype utf16Length(QByteArrayView utf8) {
    qsizetype units = 0;
    for (qsizetype i = 0; i < utf8.size();) {
        const qsizetype len = utf8SequenceLength(utf8, i);
        units += len == 4 ? 2 : 1;
        i += len;
    }
    return units;
}

qsizetype utf16ToByteOffset(QByteArrayView line, qsizetype utf16Index, qsizetype* beyond) {
    qsizetype units = 0;
    qsizetype i = 0;
    while (i < line.size()) {
        const qsizetype len = utf8SequenceLength(line, i);
        const qsizetype w = len == 4 ? 2 : 1;
        if (units + w > utf16Index)
            break;
        units += w;
        i += len;
    }
    if (beyond)
        *beyond = i >= line.size() && utf16Index > units ? utf16Index - units : 0;
    return i;
}

qsizetype byteToUtf16Offset(QByteArrayView line, qsizetype byteOffset) {
    qsizetype units = 0;
    for (qsizetype i = 0; i < line.size() && i < byteOffset;) {
        const qsizetype len = utf8SequenceLength(line, i);
        units += len == 4 ? 2 : 1;
        i += len;
    }
    return units;
}

} // namespace orvel
