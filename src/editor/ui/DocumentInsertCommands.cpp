// The document commands of the style sheet catalogue and of the small inserts, with their
// menus.

#include "base/core/Translate.h"
#include "editor/core/HtmlCatalog.h"
#include "editor/core/StyleCatalog.h"
#include "editor/ui/DocumentCommands.h"
#include "editor/ui/OrvelMDI.h"

#include <QHash>
#include <QMenu>

namespace orvel {

namespace {

// clang-format off
const TCommandDef kInsertCommands[] = {
    {CMD(ActionDate), 4802, N_("Other"), N_("Full &Date"), N_("Insert formatted date"), "Ctrl+Alt+D"},
    {CMD(ActionMonth), 4811, N_("Other"), N_("&Month"), N_("Insert name of month"), "Ctrl+Alt+O"},
    {CMD(ActionYear), 4812, N_("Other"), N_("&Year"), N_("Insert number of year"), "Ctrl+Alt+Y"},
    {CMD(ActionFileSize), 4801, N_("Other"), N_("File &size"), N_("Insert file size as number"), ""},
    {CMD(ActionHashMD5), 4808, N_("Other"), N_("&MD5 hash value"), N_("Insert MD5 hash value from file"), ""},
    {CMD(ActionHashSHA1), 4809, N_("Other"), N_("SHA&1 hash value"), N_("Insert SHA1 hash value from file"), ""},
    {CMD(ActionHashSHA256), 4810, N_("Other"), N_("SHA&256 hash value"), N_("Insert SHA256 hash value from file"), ""},
    {CMD(ActionJsDecode), 4807, N_("Other"), N_("&Decode mail address"), N_("Javascript: Decode mail address"), ""},
    {CMD(ActionDecode), 2039, N_("Actions"), N_("&Decode text"), N_("Show decoded text"), ""},
    {CMD(ActionJSBody), 4803, N_("Other"), N_("Javascript &structure"), N_("Insert Javascript &structure in Html"), ""},
    {CMD(ActionJSLink), 4804, N_("Other"), N_("JavaScript &link"), N_("Call Javascript function in link"), ""},
    {CMD(ActionJSInclude), 4805, N_("Other"), N_("External &Javascript"), N_("Call external Javascript functions"), ""},
    {CMD(ActionJsText), 4806, N_("Other"), N_("&Text as JS argument"), N_("Insert text from clipboard as Javascript argument"), ""},
    // What the "Javascript" button inserts when it is clicked rather than dropped down.
    {CMD(ActionScriptTag), 0, N_("Other"), N_("&Javascript"), N_("Insert script tag"), ""},
};
// clang-format on

using Handler = void (TMDIForm::*)();

const Handler kInsertHandlers[] = {
    &TMDIForm::ActionDateExecute,       &TMDIForm::ActionMonthExecute,
    &TMDIForm::ActionYearExecute,       &TMDIForm::ActionFileSizeExecute,
    &TMDIForm::ActionHashMD5Execute,    &TMDIForm::ActionHashSHA1Execute,
    &TMDIForm::ActionHashSHA256Execute, &TMDIForm::ActionJsDecodeExecute,
    &TMDIForm::ActionDecodeExecute,     &TMDIForm::ActionJSBodyExecute,
    &TMDIForm::ActionJSLinkExecute,     &TMDIForm::ActionJSIncludeExecute,
    &TMDIForm::ActionJsTextExecute,     &TMDIForm::ActionScriptTagExecute,
};
static_assert(std::size(kInsertHandlers) == std::size(kInsertCommands));

const QHash<int, Handler>& styleHandlers() {
    static const QHash<int, Handler> handlers = {
        {cmd::ActionStylesInclude, &TMDIForm::ActionStylesIncludeExecute},
        {cmd::ActionStylesHtml, &TMDIForm::ActionStylesHtmlExecute},
        {cmd::ActionStyleBgPos, &TMDIForm::ActionStyleBgPosExecute},
    };
    return handlers;
}

const TToolbarPage* pageNamed(const char* title) {
    for (const TToolbarPage& p : toolbarPages())
        if (qstrcmp(p.title, title) == 0)
            return &p;
    return nullptr;
}

} // namespace

void TDocumentCommands::addStyleCommands() {
    for (const TStyleCommand& c : styleCommands()) {
        if (c.kind == skSpecial) {
            const Handler h = styleHandlers().value(c.def.id);
            Q_ASSERT(h);
            add(c.def, [h](TMDIForm& d) { (d.*h)(); });
        } else {
            add(c.def, [&c](TMDIForm& d) { d.style(c); });
        }
    }
}

void TDocumentCommands::addInsertCommands() {
    for (size_t i = 0; i < std::size(kInsertCommands); ++i)
        add(kInsertCommands[i], [h = kInsertHandlers[i]](TMDIForm& d) { (d.*h)(); });
}

void TDocumentCommands::addInsertMenus(QMenu* codes) {
    // The menus follow the toolbar pages: drop-down buttons become submenus.
    for (const char* title : {N_("Styles"), N_("Other")}) {
        const TToolbarPage* page = pageNamed(title);
        if (!page)
            continue;
        QMenu* top = codes->addMenu(T_(title));
        m_codeMenus << top;
        QMenu* dropDown = nullptr;
        QMenu* sub = nullptr;
        for (const TToolItem& item : page->items) {
            QMenu* here = sub ? sub : dropDown ? dropDown : top;
            switch (item.kind) {
            case TToolItem::Separator:
                here->addSeparator();
                break;
            case TToolItem::DropDown:
            case TToolItem::SplitDropDown:
                dropDown = top->addMenu(T_(item.title));
                if (item.command >= 0)
                    dropDown->addAction(action(cmd::TDocCommandId(item.command)));
                break;
            case TToolItem::DropDownEnd:
                dropDown = nullptr;
                break;
            case TToolItem::SubMenu:
                sub = here->addMenu(T_(item.title));
                break;
            case TToolItem::SubMenuEnd:
                sub = nullptr;
                break;
            case TToolItem::Command:
                here->addAction(action(cmd::TDocCommandId(item.command)));
                break;
            }
        }
    }
}

} // namespace orvel
