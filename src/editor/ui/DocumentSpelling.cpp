// The document commands' spelling part: the next misspelling, adding a word to the user
// dictionary, and the context menu's word, suggestions and language. Only HTML and plain-text
// documents have spelling; for the others the commands are off and the entries hidden.

#include "base/core/Dialogs.h"
#include "base/core/Translate.h"
#include "editor/ui/DocumentCommands.h"
#include "editor/ui/DocumentContext.h"
#include "editor/ui/OrvelMDI.h"
#include "spelling/core/SynEditSpell.h"
#include "spelling/ui/SpellMenus.h"
#include "spelling/ui/SynEditSpellPlugin.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QMenu>

namespace orvel {

namespace {

// No tags: the keyboard table has none for them, so they keep their own keys. F6 goes to
// the document cycling again while the command is off (style sheets, scripts).
// clang-format off
const TCommandDef kSpellCommands[] = {
    {CMD(ActionMisspell), 0, N_("Actions"), N_("Find next &misspelling"), N_("Find next misspelling"), "F6"},
    {CMD(ActionAddDict), 0, N_("Actions"), N_("&Add word to dictionary"), N_("Add word to dictionary"), "F5"},
};
// clang-format on

} // namespace

void TDocumentCommands::addSpellCommands() {
    add(kSpellCommands[0], [this](TMDIForm& d) {
        if (TDrawAutoSpellCheckPlugin* spell = d.spellPlugin())
            spell->ActionMisspell(m_context.dialogs(), m_context.mainCaption());
    });
    add(kSpellCommands[1], [this](TMDIForm& d) {
        TDrawAutoSpellCheckPlugin* spell = d.spellPlugin();
        if (!spell)
            return;
        const TStatus added = spell->ActionAddDict();
        if (!added.ok())
            m_context.dialogs().error(m_context.appTitle(), added.error());
    });
}

void TDocumentCommands::buildSpellMenus() {
    auto* owner = static_cast<QWidget*>(parent());
    m_languageMenu = new QMenu(T_("Select &language"), owner);
    // The dictionaries arrive after start: the entries are made when the menu opens.
    connect(m_languageMenu, &QMenu::aboutToShow, this, [this] {
        TSynEditSpellCheck* checker = m_context.spellChecker();
        QList<TLanguageName> languages;
        if (checker)
            checker->GetDictLanguages(languages);
        fillLanguageMenu(m_languageMenu, T_("None"), languages,
                         m_document ? m_document->TextLangId() : 0,
                         [this](quint32 id) { chooseLanguage(id); });
    });
    m_suggestMenu = new QMenu(T_("&Suggested corrections"), owner);
    m_addWordEntry = new QAction(owner);
    m_addWordEntry->setObjectName(QStringLiteral("pmiAddWord"));
    // The command adds the word the menu remembered.
    connect(m_addWordEntry, &QAction::triggered, action(cmd::ActionAddDict), &QAction::trigger);
}

void TDocumentCommands::addSpellEntries(QMenu* menu, bool contextMenu) {
    if (contextMenu) {
        m_spellEntries = {m_addWordEntry, m_suggestMenu->menuAction(), action(cmd::ActionMisspell),
                          m_languageMenu->menuAction()};
        menu->addActions(m_spellEntries);
        m_spellEntries << menu->addSeparator();
        return;
    }
    menu->addActions({action(cmd::ActionMisspell), action(cmd::ActionAddDict)});
    menu->addMenu(m_languageMenu);
}

void TDocumentCommands::updateSpellState() {
    const bool on = m_document && m_document->spellPlugin();
    action(cmd::ActionMisspell)->setEnabled(on);
    action(cmd::ActionAddDict)->setEnabled(on);
    m_languageMenu->setEnabled(on);
}

void TDocumentCommands::prepareSpellEntries() {
    TDrawAutoSpellCheckPlugin* spell = m_document ? m_document->spellPlugin() : nullptr;
    for (QAction* a : m_spellEntries)
        a->setVisible(spell != nullptr);
    m_suggestMenu->clear();
    m_suggestMenu->menuAction()->setVisible(false);
    m_addWordEntry->setVisible(false);
    if (!spell)
        return;
    const TSpellMenuInfo info = spell->menuInfo(m_document->TextBuffer()->caretXY());
    spell->rememberWord(info.word);
    if (info.word.trimmed().isEmpty() || !info.misspelt)
        return;
    m_addWordEntry->setText(info.addCaption);
    m_addWordEntry->setVisible(true);
    QPointer<TMDIForm> doc = m_document;
    fillSuggestionMenu(m_suggestMenu, info, [doc, info](const QString& text) {
        if (doc && doc->spellPlugin())
            doc->spellPlugin()->replaceWord(info, text);
    });
    m_suggestMenu->menuAction()->setVisible(!info.suggestions.isEmpty());
}

void TDocumentCommands::chooseLanguage(quint32 id) {
    if (!m_document)
        return;
    m_document->setTextLangId(id);
    if (TDrawAutoSpellCheckPlugin* spell = m_document->spellPlugin())
        spell->activate();
}

} // namespace orvel
