// The main window's spelling: the one spell checker the documents share, its dictionaries
// read in the background once the window shows, and the preferences "Dictionaries .." and
// "&Default dictionary language".

#include "app/ui/Orvelfrm.h"
#include "base/core/Dialogs.h"
#include "base/core/LanguageIds.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "editor/core/HtmlChars.h"
#include "editor/ui/OrvelMDI.h"
#include "spelling/core/SynEditSpell.h"
#include "spelling/ui/SpellMenus.h"
#include "spelling/ui/SynEditSpellPlugin.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QProcess>

namespace orvel {

void THauptForm::createSpelling() {
    m_spell = std::make_unique<TSynEditSpellCheck>(caText);
    m_spell->setUseUserDictionary(true);
    m_spell->setOptions(kProgramSpellOptions);
    if (m_start.systemDictionaryFolders)
        m_spell->setSystemFolders(*m_start.systemDictionaryFolders);
    installBusyCursor(*m_spell);
    // Entities in the text are read as their characters: "M&uuml;ller" is checked as Müller.
    const THtmlCharTable* table = m_charTable.get();
    m_spell->setEntityResolver(
        [table](QStringView name) {
            return char32_t(table->GetUnicodeChar(u'&' + name.toString() + u';'));
        },
        [table](char32_t c) { return table->GetHtmlName(int(c)); });
    connect(m_spell.get(), &TSynEditSpellCheck::dictionariesLoaded, this,
            [this] { dictionariesLoaded(); });

    chooseDictionaries = [this](const QList<TLanguageName>& found, QList<quint32>& configured) {
        return selectDictionaries(this, mainCaption(), found, configured);
    };
    restartProgram = [this](QString& error) {
        QProcess process;
        process.setProgram(QCoreApplication::applicationFilePath());
        process.setArguments(m_start.restartArguments);
        if (process.startDetached())
            return true;
        error = process.errorString();
        return false;
    };

    m_prefsMenu->addSeparator();
    QAction* dictionaries = m_prefsMenu->addAction(T_("Dictionaries .."));
    dictionaries->setObjectName(QStringLiteral("itmDictionaries"));
    connect(dictionaries, &QAction::triggered, this,
            [this] { m_commands->run([this] { itmDictionariesClick(); }); });
    QMenu* language = m_prefsMenu->addMenu(T_("&Default dictionary language"));
    language->setObjectName(QStringLiteral("itmDictionaryLanguage"));
    // The dictionaries arrive after start: the entries are made when the menu opens.
    connect(language, &QMenu::aboutToShow, this, [this, language] {
        QList<TLanguageName> languages;
        m_spell->GetDictLanguages(languages);
        fillLanguageMenu(language, T_("&None"), languages,
                         quint32(m_settings.Config.DictionaryLanguage),
                         [this](quint32 id) { m_settings.Config.DictionaryLanguage = int(id); });
    });
}

void THauptForm::startDictionaryLoad() {
    if (m_spell->isLoading() || m_spell->isLoaded())
        return;
    QList<quint32> configured;
    for (int id : m_settings.Dictionaries)
        if (id > 0)
            configured << quint32(id);
    // The engines wanted first are made on the worker as well.
    QList<quint32> preload{quint32(m_settings.Config.DictionaryLanguage)};
    if (activeProject())
        preload << activeProject()->LangId;
    if (TMDIForm* form = activeDocument())
        preload << form->TextLangId();
    preload.removeAll(0u);
    const QString programDict =
        m_start.findDataFile ? m_start.findDataFile(QStringLiteral("dict")) : QString();
    m_spell->loadInBackground(programDict, configured, preload);
}

void THauptForm::dictionariesLoaded() {
    // The active document asked for its language before its dictionary was there.
    if (TMDIForm* form = activeDocument())
        if (TDrawAutoSpellCheckPlugin* spell = form->spellPlugin())
            spell->activate();
    if (!m_spell->loadErrors().isEmpty())
        reportError(m_spell->loadErrors().join(QStringLiteral("\r\n")));
}

void THauptForm::itmDictionariesClick() {
    // Only dictionaries found can be chosen: wait for the search when it still runs.
    startDictionaryLoad();
    m_spell->waitForLoad();
    QList<TLanguageName> found;
    for (const TDictionaryProps& d : m_spell->dictionaries())
        found.append({languageDisplayName(d.Id), d.Id});
    QList<quint32> configured;
    for (int id : m_settings.Dictionaries)
        if (id > 0)
            configured << quint32(id);
    if (!chooseDictionaries(found, configured))
        return;
    m_settings.Dictionaries.clear();
    for (quint32 id : configured)
        m_settings.Dictionaries << int(id);
    if (m_dialogs.ask(mainCaption(),
                      T_("To change the selection of dictionaries, the program must be restarted!"),
                      mbYes | mbNo, mrYes) != mrYes)
        return;
    m_restartAfterClose = true;
    // A close that did not happen (a document could not be saved) restarts nothing later.
    if (!close())
        m_restartAfterClose = false;
}

void THauptForm::restartAfterClose() {
    m_restartAfterClose = false;
    QString why;
    if (!restartProgram(why))
        reportError(T_("Restart failed!\r\n") + why);
}

} // namespace orvel
