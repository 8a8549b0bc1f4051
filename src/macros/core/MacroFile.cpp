#include "macros/core/MacroFile.h"

#include "base/core/AtomicFile.h"
#include "base/core/TextCodec.h"
#include "base/core/Translate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

namespace orvel {

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";

// Lone UTF-16 surrogates could not be written back as UTF-8: they become U+FFFD.
bool replaceLoneSurrogates(QString& text) {
    bool clean = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            text[i] = QChar::ReplacementCharacter;
            clean = false;
        }
    }
    return clean;
}

QString decode(QByteArrayView bytes, bool& whole) {
    if (bytes.startsWith(QByteArrayView(kUtf8Bom, 3))) {
        const QByteArrayView rest = bytes.sliced(3);
        whole = whole && codec::isValidUtf8(rest);
        return QString::fromUtf8(rest);
    }
    const bool le = bytes.startsWith("\xFF\xFE");
    if (le || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        QString text = decoder.decode(bytes.sliced(2));
        whole = whole && !decoder.hasError() && bytes.size() % 2 == 0;
        whole = replaceLoneSurrogates(text) && whole;
        return text;
    }
    if (codec::isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return QString::fromUtf8(codec::toEditorText(bytes, seAnsi));
}

// Lines as a text reader gives them: a break at the very end adds no empty line.
QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

QString oneLine(QString name) {
    return name.replace(u'\r', u' ').replace(u'\n', u' ');
}

// Where the old file goes: "<name>.bad", or "<name>.2.bad" ... when that is taken.
QString freeBadName(const QString& fileName) {
    QString bad = fileName + QStringLiteral(".bad");
    for (int n = 2; QFileInfo::exists(bad) || QFileInfo(bad).isSymLink(); ++n)
        bad = fileName + QStringLiteral(".%1.bad").arg(n);
    return bad;
}

QString writeError(const QString& fileName, const QString& reason) {
    return fmt(T_("Error writing to \"%s\""), {QDir::toNativeSeparators(fileName)}) +
           QStringLiteral("\r\n") + reason;
}

} // namespace

QString macroFileName(const QString& iniName) {
    const QFileInfo info(iniName);
    const QString base =
        info.suffix().isEmpty() ? iniName : iniName.left(iniName.size() - info.suffix().size() - 1);
    return base + QStringLiteral(".mac");
}

QString macroText(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

QString macroTextFor(const QString& text, TLineBreak lineBreak) {
    QString out = macroText(text);
    if (lineBreak != lbLF)
        out.replace(u'\n', QString::fromLatin1(lineBreakText(lineBreak)));
    return out;
}

TMacroFileContent parseMacroFile(QByteArrayView bytes) {
    TMacroFileContent content;
    const QStringList lines = splitLines(decode(bytes, content.whole));
    QString name;
    bool named = false; // lines before the first name line belong to no macro
    QStringList text;
    const auto flush = [&] {
        const QString joined = text.join(u'\n');
        if (named && !name.isEmpty() && !joined.isEmpty())
            content.macros.append({name, joined});
        else if (!joined.trimmed().isEmpty())
            content.whole = false;
        text.clear();
    };
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("##"))) {
            text << line.mid(1);
        } else if (line.startsWith(u'#')) {
            flush();
            named = true;
            name = line.mid(1).trimmed();
        } else {
            text << line;
        }
    }
    flush();
    return content;
}

QByteArray formatMacroFile(const QList<TTextMacro>& macros) {
    QString out;
    const QString crlf = QStringLiteral("\r\n");
    for (const TTextMacro& m : macros) {
        const QString name = oneLine(m.name);
        // "##" starts a text line, so a name that begins with "#" keeps a blank before it.
        out += u'#' + (name.startsWith(u'#') ? QStringLiteral(" ") : QString()) + name + crlf;
        for (const QString& line : macroText(m.text).split(u'\n'))
            out += (line.startsWith(u'#') ? QStringLiteral("#") : QString()) + line + crlf;
    }
    return QByteArray(kUtf8Bom) + out.toUtf8();
}

TResult<TMacroFileContent> readMacroFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.exists())
        return TMacroFileContent();
    if (!file.open(QIODevice::ReadOnly))
        return TResult<TMacroFileContent>::failure(
            fmt(T_("Error: %s\r\nLoading of %s canceled!"),
                {file.errorString(), QDir::toNativeSeparators(fileName)}));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return TResult<TMacroFileContent>::failure(
            fmt(T_("Error: %s\r\nLoading of %s canceled!"),
                {file.errorString(), QDir::toNativeSeparators(fileName)}));
    return parseMacroFile(bytes);
}

TStatus writeMacroFile(const QString& fileName, const QList<TTextMacro>& macros, bool keepOld) {
    if (keepOld && QFileInfo::exists(fileName)) {
        // A copy where it can be read, else the file itself moves aside.
        const QString bad = freeBadName(fileName);
        if (!QFile::copy(fileName, bad) && !QFile::rename(fileName, bad))
            return TStatus::failure(writeError(bad, T_("The old file could not be kept.")));
    }
    const QString reason = writeFileAtomically(fileName, formatMacroFile(macros));
    if (!reason.isNull())
        return TStatus::failure(writeError(fileName, reason));
    return {};
}

} // namespace orvel
