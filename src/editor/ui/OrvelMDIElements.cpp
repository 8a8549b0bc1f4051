// The document window's element commands: the catalogue's rows run through the insertion
// routines, and the commands that need more than those have a handler each.

#include "base/core/Encodings.h"
#include "base/core/HtmlAttributes.h"
#include "base/core/Translate.h"
#include "dialogs/core/ElementDialogs.h"
#include "dialogs/core/HtmlNumber.h"
#include "dialogs/core/LinkAttributes.h"
#include "editor/core/ElementRules.h"
#include "editor/core/HtmlCatalog.h"
#include "editor/ui/DocumentContext.h"
#include "editor/ui/OrvelMDI.h"
#include "search/core/AnchorReader.h"
#include "textcontrol/ui/EditorControl.h"

namespace orvel {

namespace {

QString plainCaption(const char* text) {
    return T_(text).remove(u'&');
}

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

void TMDIForm::element(const THtmlCommand& c) {
    const QString text = QString::fromUtf8(c.text ? c.text : "");
    switch (c.kind) {
    case hkInline:
    case hkBlock:
        m_engine->WrapSelection(text, QString::fromUtf8(c.closing), c.kind == hkInline);
        break;
    case hkText:
        m_engine->InsertText(text, c.caretOffset);
        break;
    case hkTextBreak:
        m_editor->beginUpdate();
        m_engine->InsertText(text, 0);
        m_engine->LineBreak();
        m_editor->endUpdate();
        break;
    case hkNumber:
        m_engine->InsertNumberValue(T_(c.label), text, c.units, QString::fromLatin1(c.value));
        break;
    case hkColor:
        insertColorAttribute(c);
        break;
    case hkSpecial:
        // Rows with handlers of their own are run by the command table.
        break;
    }
}

void TMDIForm::insertColorAttribute(const THtmlCommand& c) {
    quint32 color = c.color;
    if (!m_context.elementDialogs().selectColor(plainCaption(c.def.caption), color))
        return;
    m_engine->InsertText(fmt(QString::fromUtf8(c.text), {htmlColorHex(color)}), 0);
}

void TMDIForm::blockWithValue(const QString& title, const QString& label, const QString& start,
                              const QString& format, const QString& closing) {
    QString value = start;
    const TBufferCoord caret = m_editor->caretXY();
    if (!m_context.elementDialogs().inputText(title, label, value)) {
        m_editor->setCaretXY(caret);
        return;
    }
    // The opening line, an empty middle line and the closing tag below the caret's column.
    m_editor->beginUpdate();
    m_engine->InsertText(fmt(format, {value}) + QString(qMax(0, caret.Char - 1), u' ') + closing,
                         0);
    m_editor->setCaretXY({caret.Char + m_editor->tabWidth(), caret.Line + 1});
    m_editor->endUpdate();
}

void TMDIForm::ActionLinkExecute() {
    if (m_fileType == ftCss)
        return m_engine->InsertText(QStringLiteral("a {}"), -1);
    // The selection becomes the link text; left as shown, it is kept byte for byte.
    const QString selection = m_editor->selText();
    const TLinkText shown = linkTextForField(selection);
    QString url, attrs, text = shown.shown;
    if (!m_context.elementDialogs().htmlRef(T_("Insert reference"), m_textPath, url, text, attrs))
        return;
    const QString content = linkTextFromField(selection, shown, text, documentLineBreak());
    m_engine->InsertText(QStringLiteral("<a href=\"") + quotedAttributeValue(url) + u'"' + attrs +
                             u'>' + content + QStringLiteral("</a>"),
                         content.isEmpty() ? -4 : 0);
}

void TMDIForm::ActionImageExecute() {
    if (m_fileType == ftCss)
        return m_engine->InsertText(QStringLiteral("img {}"), -1);
    QString image, attrs;
    if (m_context.elementDialogs().imageDialog(m_textPath, image, attrs))
        m_engine->InsertText(QStringLiteral("<img src=\"") + image + u'"' + attrs + u'>', 0);
}

bool TMDIForm::anchorName(const QString& caption, QString& name) {
    // The anchor list keeps 20 names: the input keeps as many.
    TLineInput input;
    input.caption = caption;
    input.prompt = T_("Name:");
    input.history = m_context.anchorHistory();
    input.historySize = kAnchorHistorySize;
    return m_context.elementDialogs().inputLine(input, name);
}

void TMDIForm::ActionTargetExecute() {
    if (m_fileType == ftCss)
        return m_engine->InsertText(QStringLiteral("a {}"), -1);
    QString name;
    if (anchorName(T_("New anchor"), name))
        m_engine->WrapSelection(QStringLiteral("<a name=\"") + name + QStringLiteral("\">"),
                                QStringLiteral("</a>"), true);
}

void TMDIForm::ActionGotoExecute() {
    if (m_fileType == ftCss)
        return m_engine->InsertText(QStringLiteral("a {}"), -1);
    if (m_fileType != ftHtml)
        return;
    IElementDialogs& dlg = m_context.elementDialogs();
    const QStringList anchors = localAnchors(m_editor->text());
    QString name;
    bool other = false;
    if (!anchors.isEmpty()) {
        QStringList shown;
        for (const QString& a : anchors)
            shown << QString(a).remove(u'|');
        if (!dlg.selectFromList(T_("Select local anchor"), m_textName, shown, name, other))
            return;
    }
    if ((anchors.isEmpty() || other) && !anchorName(T_("Goto anchor"), name))
        return;
    name = anchorNameOfEntry(name);
    m_engine->WrapSelection(QStringLiteral("<a href=\"#") + name + QStringLiteral("\">"),
                            QStringLiteral("</a>"), true);
}

void TMDIForm::ActionCommentExecute() {
    const bool html = m_fileType == ftHtml;
    if (m_editor->hasSelection())
        return m_engine->WrapSelection(html ? QStringLiteral("<!-- ") : QStringLiteral("/* "),
                                       html ? QStringLiteral("-->") : QStringLiteral(" */"), true);
    QString text;
    if (!m_context.elementDialogs().inputText(T_("Insert comment"), T_("Text:"), text))
        return;
    if (html)
        m_engine->InsertText(QStringLiteral("<!-- ") + text + QStringLiteral(" -->"), -4);
    else
        m_engine->InsertText(QStringLiteral("/* ") + text + QStringLiteral(" */"), -3);
}

void TMDIForm::ActionNewTableExecute() {
    int rows = 2, cols = 2;
    if (!m_context.elementDialogs().inputTwoNumbers(T_("Table"), T_("Number of rows:"),
                                                    T_("Number of columns:"), rows, cols, 1, 1000))
        return;
    const int tab = m_editor->tabWidth();
    QString t = QStringLiteral("<table>") + kCrLf;
    for (int r = 0; r < rows; ++r) {
        t += QString(tab, u' ') + QStringLiteral("<tr>") + kCrLf;
        for (int c = 0; c < cols; ++c)
            t += QString(2 * tab, u' ') + QStringLiteral("<td></td>") + kCrLf;
        t += QString(tab, u' ') + QStringLiteral("</tr>") + kCrLf;
    }
    t += QStringLiteral("</table>") + kCrLf;
    const int line = m_editor->blockBegin().Line;
    m_editor->beginUpdate();
    m_engine->InsertText(t, 0);
    m_editor->setCaretXY({2 * tab + 5, line + 2});
    m_editor->endUpdate();
}

void TMDIForm::ActionFrameColsExecute() {
    blockWithValue(T_("Vertical frame"), T_("Width:"), QStringLiteral("100,*"),
                   QStringLiteral("<frameset cols=\"%s\">\r\n\r\n"), QStringLiteral("</frameset>"));
}

void TMDIForm::ActionFrameRowsExecute() {
    blockWithValue(T_("Horizontal frame"), T_("Height:"), QStringLiteral("100,*"),
                   QStringLiteral("<frameset rows=\"%s\">\r\n\r\n"), QStringLiteral("</frameset>"));
}

void TMDIForm::ActionFormExecute() {
    blockWithValue(T_("Form"), T_("Action:"), QString(),
                   QStringLiteral("<form action=\"%s\">\r\n\r\n"), QStringLiteral("</form>"));
}

void TMDIForm::ActionSelectExecute() {
    blockWithValue(T_("Selection list"), T_("Name:"), QString(),
                   QStringLiteral("<select name=\"%s\" size=\"3\">\r\n\r\n"),
                   QStringLiteral("</select>"));
}

void TMDIForm::ActionSelectGroupExecute() {
    blockWithValue(T_("Sub group"), T_("Description:"), QString(),
                   QStringLiteral("<optgroup label=\"%s\">\r\n\r\n"),
                   QStringLiteral("</optgroup>"));
}

void TMDIForm::ActionFrameRefExecute() {
    QString link, name;
    const QString filter =
        T_("HTML document") + QStringLiteral("|*.htm;*.html|") + T_("all") + QStringLiteral("|*.*");
    if (!m_context.elementDialogs().linkDialog(T_("Frame contents"), T_("Name:"), filter,
                                               m_textPath, link, name))
        return;
    m_engine->InsertText(QStringLiteral("<frame src=\"") + quotedAttributeValue(link) +
                             QStringLiteral("\" name=\"") + quotedAttributeValue(name) +
                             QStringLiteral("\">"),
                         0);
}

void TMDIForm::ActionIFramesExecute() {
    QString link, name;
    const QString filter =
        T_("HTML document") + QStringLiteral("|*.htm;*.html|") + T_("all") + QStringLiteral("|*.*");
    if (!m_context.elementDialogs().linkDialog(T_("Frame contents"), QString(), filter, m_textPath,
                                               link, name))
        return;
    m_engine->WrapSelection(QStringLiteral("<iframe src=\"") + quotedAttributeValue(link) +
                                QStringLiteral("\">"),
                            QStringLiteral("</iframe>"), false);
}

void TMDIForm::ActionTextAreaExecute() {
    int lines = 2, rows = 20;
    if (!m_context.elementDialogs().inputTwoNumbers(T_("Text area"), T_("Lines:"), T_("Rows:"),
                                                    lines, rows, 1, 1000))
        return;
    m_editor->beginUpdate();
    m_engine->InsertStyleLine(
        fmt(QStringLiteral("<textarea name=\"user_eingabe\" rows=\"%d\" cols=\"%d\"></textarea>"),
            {QString::number(lines), QString::number(rows)}));
    m_engine->LineBreak();
    m_editor->endUpdate();
}

void TMDIForm::ActionFontColorExecute() {
    quint32 color = 0;
    if (m_context.elementDialogs().selectColor(T_("Font color"), color))
        m_engine->InsertText(
            QStringLiteral(" style=\"color:#") + htmlColorHex(color) + QStringLiteral(";\""), 0);
}

void TMDIForm::ActionColorExecute() {
    const QString word = m_editor->wordAtCaret();
    quint32 color = 0;
    const bool replace = parseHtmlColorWord(word, color);
    if (!m_context.elementDialogs().selectColor(T_("Select color"), color))
        return;
    if (replace) {
        const TBufferCoord c = m_editor->caretXY();
        m_editor->setSelection(m_editor->wordStart(c), m_editor->wordEnd(c));
        m_engine->InsertText(htmlColorHex(color), 0);
    } else {
        m_engine->InsertText(u'#' + htmlColorHex(color), 0);
    }
}

void TMDIForm::ActionBgImgExecute() {
    QString link, text;
    if (m_context.elementDialogs().linkDialog(T_("Background image"), QString(),
                                              QStringLiteral("GIF|*.gif|JPEG|*.jpg|PNG|*.png"),
                                              m_textPath, link, text))
        m_engine->InsertText(
            fmt(QStringLiteral(" background=\"%s\""), {quotedAttributeValue(link)}), 0);
}

void TMDIForm::ActionFScrollExecute() {
    QString choice = QStringLiteral("yes");
    if (m_context.elementDialogs().selectStyle(
            T_("Scroll bars"), {QStringLiteral("yes"), QStringLiteral("no")}, choice))
        m_engine->InsertText(fmt(QStringLiteral(" scrolling=\"%s\""), {choice}), 0);
}

void TMDIForm::inputElement(const QString& type) {
    QString name;
    if (!m_context.elementDialogs().inputText(T_("Text input"), T_("Variable:"), name))
        return;
    m_editor->beginUpdate();
    m_engine->InsertText(QStringLiteral("<input type=\"") + type + QStringLiteral("\" name=\"") +
                             name + QStringLiteral("\">"),
                         0);
    m_engine->LineBreak();
    m_editor->endUpdate();
}

void TMDIForm::ActionInputTextExecute() {
    inputElement(QStringLiteral("text"));
}

void TMDIForm::ActionInputPwdExecute() {
    inputElement(QStringLiteral("password"));
}

void TMDIForm::checkElement(bool radio, bool check) {
    QString name, value;
    const QString title = radio ? T_("Radio button") : check ? T_("Checkbox") : T_("Button");
    if (!m_context.elementDialogs().inputTwoTexts(
            title, (radio || check) ? T_("Group:") : T_("Name:"), T_("Value:"), name, value))
        return;
    const QString type = radio   ? QStringLiteral("radio")
                         : check ? QStringLiteral("checkbox")
                                 : QStringLiteral("button");
    m_engine->InsertText(QStringLiteral("<input type=\"") + type + QStringLiteral("\" name=\"") +
                             name + QStringLiteral("\" value=\"") + value + QStringLiteral("\">"),
                         0);
}

void TMDIForm::ActionInputRadioExecute() {
    checkElement(true, false);
}

void TMDIForm::ActionInputCheckExecute() {
    checkElement(false, true);
}

void TMDIForm::ActionInputButtonExecute() {
    checkElement(false, false);
}

void TMDIForm::ActionSelectOptExecute() {
    QString value;
    if (m_context.elementDialogs().inputText(T_("List item"), T_("Value:"), value))
        m_engine->InsertText(
            QStringLiteral("<option label=\"") + value + QStringLiteral("\"></option>"), -9);
}

void TMDIForm::ActionFormValueExecute() {
    QString value;
    if (m_context.elementDialogs().inputText(T_("Default value:"), T_("Default value:"), value))
        m_engine->InsertText(QStringLiteral(" value=\"") + value + u'"', 0);
}

QString TMDIForm::documentLineBreak() const {
    return QString::fromLatin1(lineBreakText(m_editor->lineBreak()));
}

bool TMDIForm::editLinkTag(const TTagMark& mark, const QString& markedTag) {
    // The editor counts characters, a string UTF-16 units: an emoji is one and two.
    const auto characters = [](QStringView text) { return int(text.toUcs4().size()); };
    // The tag runs to the ">" that closes it; one inside a quoted value ("1 > 0") does not.
    const QString ahead = m_editor->textRange(mark.TagStart, m_editor->movedBy(mark.TagEnd, 4096));
    const qsizetype close = htmlTagEnd(ahead, 0);
    const QString tag = close > 0 ? ahead.left(close) : markedTag;
    const TBufferCoord after =
        close > 0 ? m_editor->movedBy(mark.TagStart, characters(tag)) : mark.TagEnd;
    // Only what the dialog edits changes: every other attribute keeps its place and bytes,
    // and link text left as shown keeps its line breaks and "|" alike.
    const TLinkElement link = splitLinkTag(tag, QStringLiteral("href"));
    QString address = link.address, attrs = link.attributes;
    const QString rest = m_editor->textRange(after, m_editor->movedBy(after, 4096));
    const qsizetype end = rest.indexOf(QStringLiteral("</a>"), 0, Qt::CaseInsensitive);
    const QString content = end < 0 ? QString() : rest.left(end);
    const TLinkText shown = linkTextForField(content);
    QString text = shown.shown;
    m_editor->setSelection(mark.TagStart,
                           end < 0 ? after : m_editor->movedBy(after, characters(content) + 4));
    if (!m_context.elementDialogs().htmlRef(T_("Edit link"), m_textPath, address, text, attrs))
        return false;
    const QString element = joinLinkTag(tag, QStringLiteral("href"), address, attrs);
    if (end >= 0)
        m_engine->InsertText(element +
                                 linkTextFromField(content, shown, text, documentLineBreak()) +
                                 rest.mid(end, 4),
                             0);
    else // no closing tag to keep the text in: a new text gets one
        m_engine->InsertText(element + (text.isEmpty() ? QString() : text + QStringLiteral("</a>")),
                             0);
    return true;
}

void TMDIForm::ActionEditTagExecute() {
    if (m_tagMark.TagType == ttNone)
        return;
    const TBufferCoord selA = m_editor->blockBegin();
    const TBufferCoord selB = m_editor->blockEnd();
    const TTagMark mark = m_tagMark;
    m_tagMark = TTagMark();
    m_editor->setSelection(mark.TagStart, mark.TagEnd);
    const QString tag = m_editor->selText();
    const bool ok = mark.TagType == ttHRef ? editLinkTag(mark, tag) : editImageElement(tag);
    if (!ok)
        m_editor->setSelection(selA, selB);
    m_editor->setCaretXY(mark.TagStart);
}

} // namespace orvel
