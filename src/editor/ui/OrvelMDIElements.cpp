// The document window's element commands: the catalogue's actions, their menus, the toolbar
// pages and the handlers of the commands that need more than the insertion routines.

#include "base/core/Dialogs.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "dialogs/core/ElementDialogs.h"
#include "dialogs/core/HtmlNumber.h"
#include "editor/core/ElementRules.h"
#include "editor/core/HtmlCatalog.h"
#include "editor/ui/DocumentHost.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

namespace orvel {

namespace {

const char* const kCategories[] = {N_("Global"), N_("Wrapping"),  N_("Fonts"),      N_("Lists"),
                                   N_("Tables"), N_("Alignment"), N_("Dimensions"), N_("Colors"),
                                   N_("Frames"), N_("Forms")};

QString plainCaption(const char* text) {
    return T_(text).remove(u'&');
}

// Switches pages when the mouse moves over their tabs, while dynamic toolbars are on.
class THoverPages : public QObject {
public:
    THoverPages(QTabWidget* pages, std::function<bool()> on)
        : QObject(pages), m_pages(pages), m_on(std::move(on)) {
        pages->tabBar()->setMouseTracking(true);
        pages->tabBar()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseMove && m_on()) {
            const int i =
                m_pages->tabBar()->tabAt(static_cast<QMouseEvent*>(e)->position().toPoint());
            if (i >= 0 && i != m_pages->currentIndex())
                m_pages->setCurrentIndex(i);
        }
        return false;
    }

private:
    QTabWidget* m_pages;
    std::function<bool()> m_on;
};

// A button shows the tag it inserts, which an HTML author reads fastest; others their caption.
QString buttonLabel(const char* name, const QAction* a) {
    if (const THtmlCommand* c = htmlCommand(name)) {
        const QString text = QString::fromUtf8(c->text ? c->text : "");
        if ((c->kind == hkInline || c->kind == hkBlock || c->kind == hkTextBreak) &&
            text.startsWith(u'<')) {
            const qsizetype space = text.indexOf(u' ');
            return space > 0 ? text.left(space) + u'>' : text;
        }
        if (c->kind == hkText && text.startsWith(u'&'))
            return QString(text).replace(u'&', QStringLiteral("&&")); // an entity, no access key
    }
    return QString(a->text()).remove(u'&');
}

} // namespace

void TMDIForm::createElementCommands(QMenu* insertMenu) {
    QMenu* codes = insertMenu->addMenu(T_("&Codes"));
    QHash<QString, QMenu*> byCategory;
    for (const char* c : kCategories) {
        QMenu* m = codes->addMenu(T_(c));
        byCategory.insert(QString::fromLatin1(c), m);
        m_codeMenus << m;
    }
    for (const THtmlCommand& command : htmlCommands()) {
        QAction* a = m_commands->add(command.def, [this, &command] { element(command); });
        if (QMenu* m = byCategory.value(QString::fromLatin1(command.def.category)))
            m->addAction(a);
    }
    // A key two commands hold goes to the later one, as the default key table gives it.
    const QList<QAction*> acts = m_commands->actions();
    for (int i = 0; i < acts.size(); ++i)
        for (int j = i + 1; j < acts.size(); ++j)
            if (!acts[i]->shortcut().isEmpty() && acts[i]->shortcut() == acts[j]->shortcut())
                acts[i]->setShortcut(QKeySequence());
}

QTabWidget* TMDIForm::toolPanel() {
    if (!m_toolPanel)
        createToolPanel();
    return m_toolPanel;
}

void TMDIForm::createToolPanel() {
    m_toolPanel = new QTabWidget(this);
    m_toolPanel->setDocumentMode(true);
    m_toolPanel->hide();
    for (const TToolbarPage& page : toolbarPages()) {
        auto* bar = new QToolBar(m_toolPanel);
        bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        QMenu* dropDown = nullptr;
        QMenu* sub = nullptr;
        for (const char* item : page.items) {
            const QString it = QString::fromLatin1(item);
            if (it == QLatin1String("|")) {
                bar->addSeparator();
            } else if (it == QLatin1String("@end")) {
                dropDown = nullptr;
            } else if (it.startsWith(u'@')) {
                // Buttons the bar makes itself: widgets added to it would each walk the
                // window's focus chain when the document closes.
                dropDown = new QMenu(T_(item + 1), bar);
                bar->addAction(dropDown->menuAction());
                if (auto* button =
                        qobject_cast<QToolButton*>(bar->widgetForAction(dropDown->menuAction())))
                    button->setPopupMode(QToolButton::InstantPopup);
            } else if (it.startsWith(u'>')) {
                sub = dropDown ? dropDown->addMenu(T_(item + 1)) : nullptr;
            } else if (it == QLatin1String("<")) {
                sub = nullptr;
            } else if (QAction* a = action(item)) {
                if (sub) {
                    sub->addAction(a);
                } else if (dropDown) {
                    dropDown->addAction(a);
                } else {
                    // The bar's buttons show the icon text; menus keep the caption.
                    a->setIconText(buttonLabel(item, a));
                    bar->addAction(a);
                }
            }
        }
        m_toolPanel->addTab(bar, T_(page.title));
    }
    m_dynamicBox = new QCheckBox(T_("dynamic Toolbars"), m_toolPanel);
    m_dynamicBox->setChecked(m_host.dynamicToolbars());
    connect(m_dynamicBox, &QCheckBox::toggled, this,
            [this](bool on) { m_host.setDynamicToolbars(on); });
    m_toolPanel->setCornerWidget(m_dynamicBox, Qt::TopRightCorner);
    new THoverPages(m_toolPanel, [this] { return m_dynamicBox->isChecked(); });
}

void TMDIForm::runElement(const char* name) {
    if (QAction* a = action(name))
        a->trigger();
}

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
        TextBuffer->beginUpdate();
        m_engine->InsertText(text, 0);
        m_engine->LineBreak();
        TextBuffer->endUpdate();
        break;
    case hkNumber:
        m_engine->InsertNumberValue(T_(c.label), text, c.units, QString::fromLatin1(c.value));
        break;
    case hkColor:
        insertColorAttribute(c);
        break;
    case hkSpecial:
        special(QString::fromLatin1(c.def.name));
        break;
    }
}

void TMDIForm::insertColorAttribute(const THtmlCommand& c) {
    quint32 color = c.color;
    if (!m_host.elementDialogs().selectColor(plainCaption(c.def.caption), color))
        return;
    m_engine->InsertText(fmt(QString::fromUtf8(c.text), {htmlColorHex(color)}), 0);
}

void TMDIForm::blockWithValue(const QString& title, const QString& label, const QString& start,
                              const QString& format, const QString& closing) {
    QString value = start;
    const TBufferCoord caret = TextBuffer->caretXY();
    if (!m_host.elementDialogs().inputText(title, label, value)) {
        TextBuffer->setCaretXY(caret);
        return;
    }
    // The opening line, an empty middle line and the closing tag below the caret's column.
    TextBuffer->beginUpdate();
    m_engine->InsertText(fmt(format, {value}) + QString(qMax(0, caret.Char - 1), u' ') + closing,
                         0);
    TextBuffer->setCaretXY({caret.Char + TextBuffer->tabWidth(), caret.Line + 1});
    TextBuffer->endUpdate();
}

void TMDIForm::special(const QString& n) {
    IElementDialogs& dlg = m_host.elementDialogs();
    TTagEngine& e = *m_engine;
    const bool css = FileType == ftCss;
    const QString crlf = QStringLiteral("\r\n");
    if (n == QLatin1String("ActionPreviousWin")) {
        m_host.PreviousMDI(DocId);
    } else if (n == QLatin1String("ActionNextWin")) {
        m_host.NextMDI(DocId);
    } else if (n == QLatin1String("ActionLink")) {
        if (css)
            return e.InsertText(QStringLiteral("a {}"), -1);
        QString url, attrs, text = TextBuffer->selText();
        if (!dlg.htmlRef(T_("Insert reference"), TextPath, url, text, attrs))
            return;
        e.InsertText(QStringLiteral("<a href=\"") + url + u'"' + attrs + u'>' + text +
                         QStringLiteral("</a>"),
                     text.isEmpty() ? -4 : 0);
    } else if (n == QLatin1String("ActionImage")) {
        if (css)
            return e.InsertText(QStringLiteral("img {}"), -1);
        QString image, attrs;
        if (dlg.imageDialog(TextPath, image, attrs))
            e.InsertText(QStringLiteral("<img src=\"") + image + u'"' + attrs + u'>', 0);
    } else if (n == QLatin1String("ActionTarget")) {
        if (css)
            return e.InsertText(QStringLiteral("a {}"), -1);
        QString name;
        if (dlg.inputText(T_("New anchor"), T_("Name:"), name, m_host.anchorNames()))
            e.WrapSelection(QStringLiteral("<a name=\"") + name + QStringLiteral("\">"),
                            QStringLiteral("</a>"), true);
    } else if (n == QLatin1String("ActionGoto")) {
        if (css)
            return e.InsertText(QStringLiteral("a {}"), -1);
        if (FileType != ftHtml)
            return;
        const QStringList anchors = localAnchors(TextBuffer->text());
        QString name;
        bool other = false;
        if (!anchors.isEmpty()) {
            QStringList shown;
            for (const QString& a : anchors)
                shown << QString(a).remove(u'|');
            if (!dlg.selectFromList(T_("Select local anchor"), TextName, shown, name, other))
                return;
        }
        if ((anchors.isEmpty() || other) &&
            !dlg.inputText(T_("Goto anchor"), T_("Name:"), name, m_host.anchorNames()))
            return;
        const qsizetype paren = name.indexOf(u'(');
        name = (paren < 0 ? name : name.left(paren)).trimmed();
        e.WrapSelection(QStringLiteral("<a href=\"#") + name + QStringLiteral("\">"),
                        QStringLiteral("</a>"), true);
    } else if (n == QLatin1String("ActionComment")) {
        const bool html = FileType == ftHtml;
        if (TextBuffer->hasSelection())
            return e.WrapSelection(html ? QStringLiteral("<!-- ") : QStringLiteral("/* "),
                                   html ? QStringLiteral("-->") : QStringLiteral(" */"), true);
        QString text;
        if (!dlg.inputText(T_("Insert comment"), T_("Text:"), text))
            return;
        if (html)
            e.InsertText(QStringLiteral("<!-- ") + text + QStringLiteral(" -->"), -4);
        else
            e.InsertText(QStringLiteral("/* ") + text + QStringLiteral(" */"), -3);
    } else if (n == QLatin1String("ActionNewTable")) {
        int rows = 2, cols = 2;
        if (!dlg.inputTwoNumbers(T_("Table"), T_("Number of rows:"), T_("Number of columns:"), rows,
                                 cols, 1, 1000))
            return;
        const int tab = TextBuffer->tabWidth();
        QString t = QStringLiteral("<table>") + crlf;
        for (int r = 0; r < rows; ++r) {
            t += QString(tab, u' ') + QStringLiteral("<tr>") + crlf;
            for (int c = 0; c < cols; ++c)
                t += QString(2 * tab, u' ') + QStringLiteral("<td></td>") + crlf;
            t += QString(tab, u' ') + QStringLiteral("</tr>") + crlf;
        }
        t += QStringLiteral("</table>") + crlf;
        const int line = TextBuffer->blockBegin().Line;
        TextBuffer->beginUpdate();
        e.InsertText(t, 0);
        TextBuffer->setCaretXY({2 * tab + 5, line + 2});
        TextBuffer->endUpdate();
    } else if (n == QLatin1String("ActionFrameCols")) {
        blockWithValue(T_("Vertical frame"), T_("Width:"), QStringLiteral("100,*"),
                       QStringLiteral("<frameset cols=\"%s\">\r\n\r\n"),
                       QStringLiteral("</frameset>"));
    } else if (n == QLatin1String("ActionFrameRows")) {
        blockWithValue(T_("Horizontal frame"), T_("Height:"), QStringLiteral("100,*"),
                       QStringLiteral("<frameset rows=\"%s\">\r\n\r\n"),
                       QStringLiteral("</frameset>"));
    } else if (n == QLatin1String("ActionForm")) {
        blockWithValue(T_("Form"), T_("Action:"), QString(),
                       QStringLiteral("<form action=\"%s\">\r\n\r\n"), QStringLiteral("</form>"));
    } else if (n == QLatin1String("ActionSelect")) {
        blockWithValue(T_("Selection list"), T_("Name:"), QString(),
                       QStringLiteral("<select name=\"%s\" size=\"3\">\r\n\r\n"),
                       QStringLiteral("</select>"));
    } else if (n == QLatin1String("ActionSelectGroup")) {
        blockWithValue(T_("Sub group"), T_("Description:"), QString(),
                       QStringLiteral("<optgroup label=\"%s\">\r\n\r\n"),
                       QStringLiteral("</optgroup>"));
    } else if (n == QLatin1String("ActionFrameRef") || n == QLatin1String("ActionIFrames")) {
        const bool frame = n == QLatin1String("ActionFrameRef");
        QString link, name;
        const QString filter = T_("HTML document") + QStringLiteral("|*.htm;*.html|") + T_("all") +
                               QStringLiteral("|*.*");
        if (!dlg.linkDialog(T_("Frame contents"), frame ? T_("Name:") : QString(), filter, TextPath,
                            link, name))
            return;
        if (frame)
            e.InsertText(QStringLiteral("<frame src=\"") + link + QStringLiteral("\" name=\"") +
                             name + QStringLiteral("\">"),
                         0);
        else
            e.WrapSelection(QStringLiteral("<iframe src=\"") + link + QStringLiteral("\">"),
                            QStringLiteral("</iframe>"), false);
    } else if (n == QLatin1String("ActionTextArea")) {
        int lines = 2, rows = 20;
        if (!dlg.inputTwoNumbers(T_("Text area"), T_("Lines:"), T_("Rows:"), lines, rows, 1, 1000))
            return;
        TextBuffer->beginUpdate();
        e.InsertStyleLine(fmt(
            QStringLiteral("<textarea name=\"user_eingabe\" rows=\"%d\" cols=\"%d\"></textarea>"),
            {QString::number(lines), QString::number(rows)}));
        e.LineBreak();
        TextBuffer->endUpdate();
    } else if (n == QLatin1String("ActionFontColor")) {
        quint32 color = 0;
        if (dlg.selectColor(T_("Font color"), color))
            e.InsertText(QStringLiteral(" style=\"color:#") + htmlColorHex(color) +
                             QStringLiteral(";\""),
                         0);
    } else if (n == QLatin1String("ActionColor")) {
        const QString word = TextBuffer->wordAtCaret();
        quint32 color = 0;
        const bool replace = parseHtmlColorWord(word, color);
        if (!dlg.selectColor(T_("Select color"), color))
            return;
        if (replace) {
            const TBufferCoord c = TextBuffer->caretXY();
            TextBuffer->setSelection(TextBuffer->wordStart(c), TextBuffer->wordEnd(c));
            e.InsertText(htmlColorHex(color), 0);
        } else {
            e.InsertText(u'#' + htmlColorHex(color), 0);
        }
    } else if (n == QLatin1String("ActionBgImg")) {
        QString link, text;
        if (dlg.linkDialog(T_("Background image"), QString(),
                           QStringLiteral("GIF|*.gif|JPEG|*.jpg|PNG|*.png"), TextPath, link, text))
            e.InsertText(fmt(QStringLiteral(" background=\"%s\""), {link}), 0);
    } else if (n == QLatin1String("ActionFScroll")) {
        QString choice = QStringLiteral("yes");
        if (dlg.selectStyle(T_("Scroll bars"), {QStringLiteral("yes"), QStringLiteral("no")},
                            choice))
            e.InsertText(fmt(QStringLiteral(" scrolling=\"%s\""), {choice}), 0);
    } else if (n == QLatin1String("ActionInputText") || n == QLatin1String("ActionInputPwd")) {
        QString name;
        if (!dlg.inputText(T_("Text input"), T_("Variable:"), name))
            return;
        const QString type = n == QLatin1String("ActionInputText") ? QStringLiteral("text")
                                                                   : QStringLiteral("password");
        TextBuffer->beginUpdate();
        e.InsertText(QStringLiteral("<input type=\"") + type + QStringLiteral("\" name=\"") + name +
                         QStringLiteral("\">"),
                     0);
        e.LineBreak();
        TextBuffer->endUpdate();
    } else if (n == QLatin1String("ActionInputRadio") || n == QLatin1String("ActionInputCheck") ||
               n == QLatin1String("ActionInputButton")) {
        const bool radio = n == QLatin1String("ActionInputRadio");
        const bool check = n == QLatin1String("ActionInputCheck");
        QString name, value;
        const QString title = radio ? T_("Radio button") : check ? T_("Checkbox") : T_("Button");
        if (!dlg.inputTwoTexts(title, (radio || check) ? T_("Group:") : T_("Name:"), T_("Value:"),
                               name, value))
            return;
        const QString type = radio   ? QStringLiteral("radio")
                             : check ? QStringLiteral("checkbox")
                                     : QStringLiteral("button");
        e.InsertText(QStringLiteral("<input type=\"") + type + QStringLiteral("\" name=\"") + name +
                         QStringLiteral("\" value=\"") + value + QStringLiteral("\">"),
                     0);
    } else if (n == QLatin1String("ActionSelectOpt")) {
        QString value;
        if (dlg.inputText(T_("List item"), T_("Value:"), value))
            e.InsertText(
                QStringLiteral("<option label=\"") + value + QStringLiteral("\"></option>"), -9);
    } else if (n == QLatin1String("ActionFormValue")) {
        QString value;
        if (dlg.inputText(T_("Default value:"), T_("Default value:"), value))
            e.InsertText(QStringLiteral(" value=\"") + value + u'"', 0);
    } else if (n == QLatin1String("ActionMailto")) {
        QString address;
        if (!dlg.mailAddress(address))
            return;
        const QString text = TextBuffer->selText();
        e.InsertText(QStringLiteral("<a href=\"mailto:") + address + QStringLiteral("\">") + text +
                         QStringLiteral("</a>"),
                     text.isEmpty() ? -4 : 0);
    } else if (n == QLatin1String("ActionMailtoCode")) {
        QString address;
        if (!dlg.mailAddress(address))
            return;
        const bool selected = TextBuffer->hasSelection();
        const QString text = TextBuffer->selText();
        e.InsertText(
            e.ExpandPlaceholders(
                QStringLiteral("<script language=\"JavaScript\" "
                               "type=\"text/javascript\">\r\n%indent%%tab%MailEncode('")) +
                text +
                fmt(e.ExpandPlaceholders(
                        QStringLiteral("',\r\n%indent%%tab%'%s');\r\n%indent%</script>\r\n")),
                    {mailCode(address, int(QRandomGenerator::global()->bounded(128, 256)))}),
            0);
        if (!selected)
            TextBuffer->setCaretY(TextBuffer->caretY() - 3);
    } else if (n == QLatin1String("ActionEditTag")) {
        ActionEditTagExecute();
    } else if (n == QLatin1String("ActionImageMap")) {
        // The image map editor works on the image under the caret.
        if (TagMark.TagType != ttImg)
            return;
        QString tag = TextBuffer->textRange(TagMark.TagStart, TagMark.TagEnd);
        QString map;
        if (dlg.imageMap(TextPath, tag, map))
            e.InsertText(map, 0);
    }
}

void TMDIForm::ActionEditTagExecute() {
    if (TagMark.TagType == ttNone)
        return;
    IElementDialogs& dlg = m_host.elementDialogs();
    const TBufferCoord selA = TextBuffer->blockBegin();
    const TBufferCoord selB = TextBuffer->blockEnd();
    const TTagMark mark = TagMark;
    TagMark = TTagMark();
    TextBuffer->setSelection(mark.TagStart, mark.TagEnd);
    const QString tag = TextBuffer->selText();
    const bool href = mark.TagType == ttHRef;
    const QString key = href ? QStringLiteral("href=\"") : QStringLiteral("src=\"");
    const qsizetype k = tag.indexOf(key, 0, Qt::CaseInsensitive);
    QString address, attrs;
    if (k >= 0) {
        const qsizetype from = k + key.size();
        const qsizetype quote = tag.indexOf(u'"', from);
        address = tag.mid(from, quote < 0 ? -1 : quote - from);
        if (quote >= 0) {
            const qsizetype gt = tag.indexOf(u'>', quote + 1);
            attrs = tag.mid(quote + 1, gt < 0 ? -1 : gt - quote - 1);
        }
    }
    bool ok = false;
    if (!href) {
        ok = dlg.imageDialog(TextPath, address, attrs);
        if (ok)
            m_engine->InsertText(QStringLiteral("<img src=\"") + address + u'"' + attrs + u'>', 0);
    } else {
        // The link text up to "</a>", its line breaks (of any kind) shown as "|".
        const TBufferCoord after = mark.TagEnd;
        const QString rest = TextBuffer->textRange(after, TextBuffer->movedBy(after, 4096));
        const qsizetype end = rest.indexOf(QStringLiteral("</a>"), 0, Qt::CaseInsensitive);
        QString text;
        if (end >= 0) {
            QString inner = rest.left(end);
            inner.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            for (QChar ch : inner) {
                if (ch == u'\r' || ch == u'\n')
                    text += u'|';
                else if (ch.unicode() >= 32)
                    text += ch;
            }
            TextBuffer->setSelection(mark.TagStart, TextBuffer->movedBy(after, int(end) + 4));
        }
        ok = dlg.htmlRef(T_("Edit link"), TextPath, address, text, attrs);
        if (ok)
            m_engine->InsertText(QStringLiteral("<a href=\"") + address + u'"' + attrs + u'>' +
                                     QString(text).replace(u'|', QStringLiteral("\r\n")) +
                                     QStringLiteral("</a>"),
                                 0);
    }
    if (!ok)
        TextBuffer->setSelection(selA, selB);
    TextBuffer->setCaretXY(mark.TagStart);
}

} // namespace orvel
