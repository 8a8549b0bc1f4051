#include "projects/core/TemplateProcessor.h"

#include "base/core/LogFile.h"
#include "base/core/TextCodec.h"
#include "base/core/TextFile.h"
#include "base/core/Translate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace orvel {

namespace {

constexpr int kLogIndent = 8;

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Blanks and tabs only: other control characters belong to the text.
QString trimBlanks(const QString& s, qsizetype* firstNonBlank = nullptr) {
    qsizetype begin = 0, end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    if (firstNonBlank)
        *firstNonBlank = begin;
    return s.mid(begin, end - begin);
}

// "//" opens a comment only where a word could start, so "http://host/" stays a value.
QString stripComment(const QString& value) {
    for (qsizetype at = value.indexOf(QLatin1String("//")); at >= 0;
         at = value.indexOf(QLatin1String("//"), at + 1)) {
        if (at == 0 || isBlank(value[at - 1]))
            return value.left(at);
    }
    return value;
}

QString substitute(const QString& line, const QHash<QString, QString>& vars) {
    QString out;
    qsizetype pos = 0;
    while (pos < line.size()) {
        const qsizetype open = line.indexOf(QLatin1String("[%"), pos);
        if (open < 0)
            break;
        const qsizetype close = line.indexOf(QLatin1Char(']'), open + 2);
        if (close < 0)
            break; // an unclosed use is text
        const auto var = vars.constFind(line.mid(open + 2, close - open - 2).toCaseFolded());
        if (var != vars.constEnd()) {
            out += QStringView(line).mid(pos, open - pos);
            out += *var;
        } else {
            out += QStringView(line).mid(pos, close + 1 - pos);
        }
        pos = close + 1;
    }
    out += QStringView(line).mid(pos);
    return out;
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QString htmlNameOf(const QString& templateFile) {
    const QFileInfo info(templateFile);
    const QString suffix = info.suffix();
    QString base = info.absoluteFilePath();
    if (!suffix.isEmpty())
        base.chop(suffix.size() + 1);
    return base + QStringLiteral(".html");
}

struct TReporter {
    const TTemplateReport* report;
    QString* error;

    enum TKind { Action, Status, Failure };
    void tell(TKind kind, const QString& text) const {
        if (error && kind != Action)
            *error = text;
        if (!report)
            return;
        if (report->log && kind == Failure)
            report->log->ErrorLine(kLogIndent, QString(text).replace(QLatin1String("\r\n"), " "));
        else if (report->log)
            report->log->TextLine(kLogIndent, text);
        const auto& show = kind == Action ? report->showAction : report->showStatus;
        if (show)
            show(text);
    }
    void action(const QString& text) const { tell(Action, text); }
    void status(const QString& text) const { tell(Status, text); }
    QString fail(const QString& text) const {
        tell(Failure, text);
        return QString();
    }
};

QString writeError(const QString& fileName, const QString& reason) {
    return fmt(T_("Error writing to \"%s\""), {QDir::toNativeSeparators(fileName)}) +
           QStringLiteral("\r\n") + reason;
}

} // namespace

TTemplateOutput expandTemplate(const QStringList& lines) {
    TTemplateOutput out;
    QHash<QString, QString> vars; // case-folded name -> value
    int state = 0;
    for (const QString& raw : lines) {
        qsizetype indent = 0;
        const QString line = trimBlanks(raw, &indent);
        if (line.isEmpty()) {
            if (state == 2)
                out.lines.append(QString());
            continue;
        }
        if (line.startsWith(QLatin1String("<!-- #var"), Qt::CaseInsensitive)) {
            state = 1;
            out.headerFound = true;
            out.headerClosed = false;
        } else if (state == 1 && line.startsWith(QLatin1String("-->"))) {
            state = 2;
            out.headerClosed = true;
        } else if (state == 1) {
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            const QString name = trimBlanks(eq < 0 ? line : line.left(eq)).toCaseFolded();
            const QString value = eq < 0 ? QString() : trimBlanks(stripComment(line.mid(eq + 1)));
            if (!vars.contains(name)) // the first definition holds
                vars.insert(name, value);
        } else if (state == 2) {
            // Each leading blank or tab of the template becomes one blank.
            out.lines.append(QString(indent, QLatin1Char(' ')) + substitute(line, vars));
        }
    }
    return out;
}

TTemplateOutput expandTemplateText(const QString& text) {
    return expandTemplate(splitLines(text));
}

TTemplateRendering RenderTemplate(const QString& templateFile, const TTemplateReport* report,
                                  QString* error) {
    const TReporter r{report, error};
    TTemplateRendering out;
    const auto fail = [&r, &out](const QString& text) {
        r.fail(text);
        return out;
    };
    const QString shortName = QFileInfo(templateFile).fileName();
    if (!QFileInfo(templateFile).isFile())
        return fail(fmt(T_("File: \"%s\"\r\nnot found"), {QDir::toNativeSeparators(templateFile)}));
    const QString htmlFile = htmlNameOf(templateFile);
    if (QFileInfo(htmlFile) == QFileInfo(templateFile))
        return fail(fmt(T_("The HTML template would overwrite itself: %s"), {shortName}));

    const TLoadedText loaded = loadTextFile(templateFile);
    if (!loaded.ok())
        return fail(fmt(T_("Error: %s\r\nLoading of %s canceled!"),
                        {loaded.error, QDir::toNativeSeparators(templateFile)}));
    r.action(fmt(T_("Processing HTML template: %s"), {shortName}));

    const TTemplateOutput expanded = expandTemplateText(QString::fromUtf8(loaded.text));
    if (!expanded.headerFound) {
        r.status(fmt(T_("No header found in HTML template: %s"), {shortName}));
        out.noHeader = true;
        return out;
    }
    // Without its end every body line would be taken for a definition.
    if (!expanded.headerClosed)
        return fail(fmt(T_("No end of header (\"-->\") found in HTML template: %s"), {shortName}));

    const char* lineBreak = lineBreakText(loaded.lineBreak);
    QByteArray utf8;
    for (const QString& line : expanded.lines)
        utf8 += line.toUtf8() + lineBreak;
    const codec::TEncodeResult encoded =
        codec::fromEditorText(utf8, loaded.encoding, loaded.bom, loaded.lineBreak);
    if (!encoded.ok())
        return fail(writeError(htmlFile, codec::describeCharacters(encoded.unencodable)));
    out.htmlFile = htmlFile;
    out.bytes = encoded.bytes;
    QFile old(htmlFile);
    if (QFileInfo(htmlFile).isFile() && old.size() == out.bytes.size() &&
        old.open(QIODevice::ReadOnly))
        out.unchanged = old.readAll() == out.bytes;
    return out;
}

QString ProcessTemplate(const QString& templateFile, const TTemplateReport* report,
                        QString* error) {
    return WriteTemplateHtml(RenderTemplate(templateFile, report, error), report, error);
}

QString WriteTemplateHtml(const TTemplateRendering& rendered, const TTemplateReport* report,
                          QString* error) {
    const QString& htmlFile = rendered.htmlFile;
    // An HTML file that already holds the result keeps its time, so it is not sent again.
    if (htmlFile.isEmpty() || rendered.unchanged)
        return htmlFile;
    const TReporter r{report, error};
    // The backup is a copy, so the HTML file stays in place until the new one replaces it.
    const QFileInfo html(htmlFile);
    if (html.exists() && html.isFile()) {
        const QString backup = htmlFile + QStringLiteral(".bak");
        QFile old(htmlFile);
        if (!old.open(QIODevice::ReadOnly))
            return r.fail(writeError(backup, old.errorString()));
        const QString reason = writeFileAtomically(backup, old.readAll());
        if (!reason.isNull())
            return r.fail(writeError(backup, reason));
    }
    const QString reason = writeFileAtomically(htmlFile, rendered.bytes);
    if (!reason.isNull())
        return r.fail(writeError(htmlFile, reason));
    return htmlFile;
}

} // namespace orvel
