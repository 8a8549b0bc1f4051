// The document window's style sheet commands: each asks for a value where one is needed and
// inserts the declaration, followed by a line break in a style sheet.

#include "base/core/Translate.h"
#include "dialogs/core/ElementDialogs.h"
#include "dialogs/core/HtmlNumber.h"
#include "dialogs/core/PickerLogic.h"
#include "editor/core/SmallInserts.h"
#include "editor/core/StyleCatalog.h"
#include "editor/ui/DocumentContext.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QCursor>

namespace orvel {

void TMDIForm::style(const TStyleCommand& c) {
    IElementDialogs& dlg = m_context.elementDialogs();
    const QString text = QString::fromLatin1(c.text ? c.text : "");
    switch (c.kind) {
    case skText:
        m_engine->InsertText(text, c.caretOffset);
        break;
    case skStyleLine:
        m_engine->InsertStyleLine(text);
        break;
    case skNumber:
        m_engine->InsertNumberValue(styleLabel(c), text, true, QString::fromLatin1(c.value));
        break;
    case skChoice: {
        QString chosen;
        if (dlg.selectStyle(styleLabel(c), splitPropertyItems(QString::fromLatin1(c.value)),
                            chosen))
            m_engine->InsertStyleLine(fmt(text, {chosen}));
        break;
    }
    case skColor: {
        quint32 color = 0; // black
        if (dlg.selectColor(styleLabel(c), color))
            m_engine->InsertStyleLine(fmt(text, {htmlColorHex(color)}));
        break;
    }
    case skImageLink: {
        QString link, hint;
        if (dlg.linkDialog(styleLabel(c), QString(), QString::fromLatin1(kImageFilter), m_textPath,
                           link, hint))
            m_engine->InsertStyleLine(fmt(text, {cssUrlEscape(link)}));
        break;
    }
    case skSpecial:
        // Rows with handlers of their own are run by the command table.
        break;
    }
}

void TMDIForm::ActionStylesIncludeExecute() {
    QString link, text;
    const QString filter =
        T_("Central style sheet") + QStringLiteral("|*.css|") + T_("all") + QStringLiteral("|*.*");
    if (m_context.elementDialogs().linkDialog(T_("Include central style sheets"), QString(), filter,
                                              m_textPath, link, text))
        m_engine->InsertStyleLine(
            fmt(QStringLiteral("<link rel=stylesheet type=\"text/css\" href=\"%s\">"),
                {htmlAttributeEscape(link)}));
}

void TMDIForm::ActionStylesHtmlExecute() {
    m_engine->InsertTemplateLines(
        {QStringLiteral("%indent%<style type=\"text/css\">"), QStringLiteral("%indent%%tab%<!--"),
         QString(), QStringLiteral("%indent%%tab%-->"), QStringLiteral("%indent%</style>")},
        m_editor->tabWidth() + 1, 2);
}

void TMDIForm::ActionStyleBgPosExecute() {
    IElementDialogs& dlg = m_context.elementDialogs();
    const QString title = T_("Background position");
    QString chosen;
    if (!dlg.selectStyle(
            title + u':',
            splitPropertyItems(QStringLiteral("\"<user defined>\",top,bottom,left,right")), chosen,
            QCursor::pos() + QPoint(0, 20)))
        return;
    if (!chosen.startsWith(u'<'))
        return m_engine->InsertStyleLine(fmt(QStringLiteral("background-position:%s;"), {chosen}));
    // From 0 on: the range must hold the value the fields start at.
    int x = 0, y = 0;
    if (dlg.inputTwoNumbers(title, T_("Horizontal:"), T_("Vertical:"), x, y, 0, 1000))
        m_engine->InsertStyleLine(fmt(QStringLiteral("background-position:%dpx %dpx;"),
                                      {QString::number(x), QString::number(y)}));
}

} // namespace orvel
