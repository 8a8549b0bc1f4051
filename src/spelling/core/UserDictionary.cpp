#include "spelling/core/UserDictionary.h"

#include "base/core/AtomicFile.h"
#include "base/core/Translate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

namespace orvel {

namespace {

// Longer words the engine does not take; user dictionaries of real people stay far below.
constexpr qsizetype kMaxWordLength = 100;
// A user dictionary of this size is no list of words: it is not read, and so not rewritten.
constexpr qint64 kMaxFileSize = 64LL * 1024 * 1024;

QString readError(const QString& fileName, const QString& reason) {
    return fmt(T_("Error reading \"%s\""), {QDir::toNativeSeparators(fileName)}) + u'\n' + reason;
}

} // namespace

bool TUserDictionary::add(const QString& word) {
    const auto it = std::lower_bound(words.begin(), words.end(), word);
    if (it != words.end() && *it == word)
        return false;
    words.insert(it, word);
    return true;
}

bool TUserDictionary::contains(const QString& word) const {
    return std::binary_search(words.begin(), words.end(), word);
}

bool isUserDictionaryWord(const QString& word) {
    if (word.isEmpty() || word.size() > kMaxWordLength)
        return false;
    for (QChar c : word)
        if (c.category() == QChar::Other_Control || c == QChar::ByteOrderMark)
            return false;
    return true;
}

TUserDictionary parseUserDictionary(QByteArrayView bytes) {
    TUserDictionary dict;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const QByteArrayView line = bytes.sliced(pos, end - pos);
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r')
            ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n')
            ++pos;

        if (line.trimmed().isEmpty())
            continue;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString word = QString(utf8(line)).trimmed();
        if (utf8.hasError() || !isUserDictionaryWord(word))
            dict.keptLines.append(line.toByteArray());
        else
            dict.add(word);
    }
    return dict;
}

QByteArray userDictionaryBytes(const TUserDictionary& dict) {
    QByteArray out;
    for (const QString& w : dict.words)
        out += w.toUtf8() + '\n';
    for (const QByteArray& line : dict.keptLines)
        out += line + '\n';
    // A kept line that begins like a byte-order mark would lose it when read again.
    if (out.startsWith("\xEF\xBB\xBF"))
        out.prepend('\n');
    return out;
}

TResult<TUserDictionary> readUserDictionary(const QString& fileName) {
    QFile f(fileName);
    if (!f.exists())
        return TUserDictionary();
    if (!f.open(QIODevice::ReadOnly))
        return TResult<TUserDictionary>::failure(readError(fileName, f.errorString()));
    if (f.size() > kMaxFileSize)
        return TResult<TUserDictionary>::failure(readError(fileName, T_("The file is too large.")));
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return TResult<TUserDictionary>::failure(readError(fileName, f.errorString()));
    return parseUserDictionary(bytes);
}

TStatus writeUserDictionary(const QString& fileName, const TUserDictionary& dict) {
    const QString folder = QFileInfo(fileName).absolutePath();
    QString reason;
    if (!QDir().mkpath(folder))
        reason =
            fmt(T_("The folder \"%s\" cannot be created."), {QDir::toNativeSeparators(folder)});
    else
        reason = writeFileAtomically(fileName, userDictionaryBytes(dict));
    if (reason.isEmpty())
        return TStatus();
    return TStatus::failure(
        fmt(T_("Error writing to \"%s\""), {QDir::toNativeSeparators(fileName)}) + u'\n' + reason);
}

} // namespace orvel
