// The document window's small inserts: values computed rather than typed (dates, file
// sizes, digests), mail links with their address plain or encoded, and JavaScript pieces.

#include "base/core/Dialogs.h"
#include "base/core/LanguageIds.h"
#include "base/core/Translate.h"
#include "dialogs/core/ElementDialogs.h"
#include "editor/core/ElementRules.h"
#include "editor/core/FileDigest.h"
#include "editor/core/SmallInserts.h"
#include "editor/ui/DocumentContext.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace orvel {

QLocale TMDIForm::TextLocale() const {
    const QString name = localeOfLanguageId(m_textLangId);
    return name.isEmpty() ? QLocale() : QLocale(name);
}

// --- Dates ---------------------------------------------------------------------------------

void TMDIForm::ActionDateExecute() {
    int format = m_textDateFormat;
    QString date;
    const QLocale locale = TextLocale();
    if (!m_context.elementDialogs().selectDate(format, date, {}, &locale))
        return;
    m_textDateFormat = format;
    m_engine->InsertText(date, 0);
}

void TMDIForm::ActionMonthExecute() {
    m_engine->InsertText(TextLocale().toString(QDate::currentDate(), QStringLiteral("MMMM")), 0);
}

void TMDIForm::ActionYearExecute() {
    m_engine->InsertText(QString::number(QDate::currentDate().year()), 0);
}

// --- File sizes and digests ----------------------------------------------------------------

QString TMDIForm::pickFile(const QString& startFile) {
    TFileDialogArgs args;
    args.title = T_("Select file");
    args.filter = T_("all") + QStringLiteral("|*.*");
    const QFileInfo start(startFile);
    if (!startFile.isEmpty() && start.isFile()) {
        args.dir = start.absolutePath();
        args.fileName = start.fileName();
    } else {
        args.dir = m_lastSizeFile.isEmpty() ? m_textPath : QFileInfo(m_lastSizeFile).absolutePath();
    }
    return m_context.dialogs().openFileName(args);
}

void TMDIForm::ActionFileSizeExecute() {
    // A size text at the caret is replaced by the new one.
    if (m_fileType == ftHtml && !m_editor->hasSelection() &&
        (m_editor->lineCount() > 1 || !m_editor->line(0).isEmpty())) {
        const TBufferCoord caret = m_editor->caretXY();
        if (const auto run = sizeRunAtCaret(m_editor->line(caret.Line - 1), caret.Char - 1))
            m_editor->setSelection({run->start + 1, caret.Line}, {run->end + 1, caret.Line});
    }
    // The local file of the last link is the likely one.
    const QString last = m_context.elementDialogs().lastLocalFile();
    QString file = pickFile(last.isEmpty() ? QString() : QDir(m_textPath).absoluteFilePath(last));
    if (file.isEmpty())
        return;
    bool comma = m_decComma;
    QString size;
    if (!m_context.elementDialogs().fileSize(file, comma, size))
        return;
    m_decComma = comma;
    m_lastSizeFile = file;
    m_engine->InsertText(size, 0);
}

void TMDIForm::insertDigest(int kind) {
    const QString file = pickFile(QString());
    if (file.isEmpty())
        return;
    const TResult<QString> digest = fileDigest(file, TDigestKind(kind));
    if (!digest.ok())
        return m_context.dialogs().error(m_context.appTitle(), digest.error());
    m_lastSizeFile = file;
    m_engine->InsertText(digestLabel(TDigestKind(kind)) + QStringLiteral(": ") + digest.value(), 0);
}

void TMDIForm::ActionHashMD5Execute() {
    insertDigest(dkMD5);
}

void TMDIForm::ActionHashSHA1Execute() {
    insertDigest(dkSHA1);
}

void TMDIForm::ActionHashSHA256Execute() {
    insertDigest(dkSHA256);
}

// --- Mail links ----------------------------------------------------------------------------

void TMDIForm::ActionMailtoExecute() {
    QString address;
    if (!m_context.elementDialogs().mailAddress(address))
        return;
    // The selection stays the document's own markup; the address becomes attribute text.
    const QString text = m_editor->selText();
    m_engine->InsertText(QStringLiteral("<a href=\"mailto:") + htmlAttributeEscape(address) +
                             QStringLiteral("\">") + text + QStringLiteral("</a>"),
                         text.isEmpty() ? -4 : 0);
}

void TMDIForm::ActionMailtoCodeExecute() {
    QString address;
    if (!m_context.elementDialogs().mailAddress(address))
        return;
    TTagEngine& e = *m_engine;
    const bool selected = m_editor->hasSelection();
    // The script writes the link as HTML: the address goes into an attribute and the link
    // text into the element, both by way of a string literal.
    const QString code =
        mailCode(htmlAttributeEscape(address), int(QRandomGenerator::global()->bounded(128, 256)));
    const QString head = e.ExpandPlaceholders(QStringLiteral(
        "<script language=\"JavaScript\" type=\"text/javascript\">\r\n%indent%%tab%MailEncode('"));
    const QString tail =
        e.ExpandPlaceholders(QStringLiteral("',\r\n%indent%%tab%'%s');\r\n%indent%</script>\r\n"));
    const int line = m_editor->blockBegin().Line;
    const int nameColumn = int(head.size() - head.lastIndexOf(u'\n'));
    m_editor->beginUpdate();
    e.InsertText(head + jsStringEscape(htmlTextEscape(m_editor->selText())) + fmt(tail, {code}), 0);
    // Without a link text the caret waits for it between the quotes.
    if (!selected)
        m_editor->setCaretXY({nameColumn, line + 1});
    m_editor->endUpdate();
}

void TMDIForm::ActionJsDecodeExecute() {
    m_engine->InsertTemplateLines(
        {QStringLiteral("// Mail links whose address robots cannot read; written by Orvel"),
         QStringLiteral("%indent%// Encode mail address"),
         QStringLiteral("%indent%%tab%function MailEncode (Name,Text) {"),
         QStringLiteral("%indent%%tab%  var ac=Text.split(\":\"); var s=\"\";"),
         QStringLiteral("%indent%%tab%for(i=1;i<ac.length;++i){s+=String.fromCharCode(Number(ac["
                        "i])^(Number(ac[0])));}"),
         QStringLiteral("%indent%%tab%document.write('<a href=\"mailto:'+s+'\">'+Name+'</a>');}")},
        1, 6);
}

void TMDIForm::ActionDecodeExecute() {
    QString code = m_editor->selText();
    if (code.isEmpty() && m_fileType == ftHtml && m_editor->lineCount() > 0) {
        // The text between the single quotes around the caret.
        const TBufferCoord caret = m_editor->caretXY();
        const QString line = m_editor->line(caret.Line - 1);
        const int at = qBound(0, caret.Char - 1, int(line.size()));
        const qsizetype open = at > 0 ? line.lastIndexOf(u'\'', at - 1) : -1;
        const qsizetype close = line.indexOf(u'\'', at);
        if (open >= 0 && close >= 0)
            code = line.mid(open + 1, close - open - 1);
    }
    const QString text = decodeMailCode(code);
    if (!text.isEmpty())
        m_context.dialogs().info(m_context.appTitle(),
                                 T_("Decoded text:") + QStringLiteral("\r\n") + text);
}

// --- JavaScript ----------------------------------------------------------------------------

void TMDIForm::ActionJSBodyExecute() {
    m_engine->InsertTemplateLines(
        {QStringLiteral("%indent%<script language=\"JavaScript\" type=\"text/javascript\">"),
         QStringLiteral("%indent%%tab%<!--"), QString(), QStringLiteral("%indent%%tab%//-->"),
         QStringLiteral("%indent%</script>")},
        m_editor->tabWidth() + 1, 2);
}

void TMDIForm::ActionJSLinkExecute() {
    m_engine->InsertText(QStringLiteral("javascript:('')"), -4);
}

void TMDIForm::ActionJSIncludeExecute() {
    QString link, text;
    const QString filter =
        T_("Javascript") + QStringLiteral("|*.js|") + T_("all") + QStringLiteral("|*.*");
    if (m_context.elementDialogs().linkDialog(T_("Include Javascript"), QString(), filter,
                                              m_textPath, link, text))
        m_engine->InsertText(
            fmt(QStringLiteral("<script language=\"JavaScript\" src=\"%s\"></script>\r\n"),
                {htmlAttributeEscape(link)}),
            0);
}

void TMDIForm::ActionJsTextExecute() {
    const QString text = QApplication::clipboard()->text();
    if (!text.isEmpty())
        m_engine->InsertText(jsArgumentText(text, m_editor->rightEdge()), 0);
}

void TMDIForm::ActionScriptTagExecute() {
    m_engine->InsertText(QStringLiteral("<script language=\"JavaScript\">"), 0);
}

} // namespace orvel
