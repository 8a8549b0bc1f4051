#pragma once
// The spell checker the main window owns and every document shares: the dictionaries found
// and read, the engine of the active language, the user's own words of each language and a
// cache of the words already checked.

#include "base/core/LanguageIds.h"
#include "base/core/Result.h"
#include "spelling/core/DictionaryFiles.h"
#include "spelling/core/HunspellLib.h"
#include "spelling/core/SpellWords.h"
#include "spelling/core/UserDictionary.h"

#include <QHash>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <functional>
#include <map>
#include <memory>

class QThread;

namespace orvel {

enum TCheckAttribute : int { caText = 1, caComment = 2, caString = 4, caDocumentation = 8 };

enum TUnderlineStyle : int { usMicrosoftWord, usCorelWordPerfect };

enum TSpellCheckOption : int {
    sscoAutoSpellCheck = 1,
    sscoGoUp = 2,
    sscoHideCursor = 4,
    sscoHourGlass = 8,
    sscoIgnoreSingleChars = 16,
    sscoStartFromCursor = 32,
    sscoSuggestWords = 64,
};
// The options the program works with.
constexpr int kProgramSpellOptions =
    sscoAutoSpellCheck | sscoHourGlass | sscoIgnoreSingleChars | sscoSuggestWords;

class TSynEditSpellCheck : public QObject {
    Q_OBJECT
public:
    // ACheckAttri: a set of TCheckAttribute, the highlighter attributes whose words are
    // checked.
    explicit TSynEditSpellCheck(int ACheckAttri = caText, QObject* parent = nullptr);
    // Frees the engines and writes nothing: CloseDictionary at exit keeps the user's words.
    // A background load stops after the file or engine it is at.
    ~TSynEditSpellCheck() override;

    // --- Dictionaries ---------------------------------------------------------------------
    // Finds the dictionaries in APath (the program's "dict" folder) and then in the
    // system's folders, and reads those whose language is in Dicts, or all when Dicts is
    // empty. True when at least one was read. Blocks while it reads.
    bool LoadDictionaries(const QString& APath, const QList<quint32>& Dicts);
    // The same on a worker thread; dictionaryLoading and dictionariesLoaded arrive on this
    // object's thread. The engines of the preload languages are made there as well, so
    // that selecting them costs nothing. Ignored while a load runs or after one.
    void loadInBackground(const QString& APath, const QList<quint32>& Dicts,
                          const QList<quint32>& preload = {});
    bool isLoading() const { return m_loader != nullptr; }
    // A load has ended: the dictionaries found and read are known.
    bool isLoaded() const { return m_loaded; }
    // Waits for a background load (tests); false when it is still running after msecs.
    bool waitForLoad(int msecs = 30000);
    // Dictionaries that were found but could not be read, one message each.
    const QStringList& loadErrors() const { return m_loadErrors; }
    // Folders searched after APath; the system's by default.
    void setSystemFolders(const QStringList& folders) { m_systemFolders = folders; }

    // Display name and id of each dictionary read, in the order found; true when any.
    bool GetDictLanguages(QList<TLanguageName>& ALangList) const;
    bool hasDictionary(quint32 id) const;
    const QList<TDictionaryProps>& dictionaries() const { return FDictionaries; }

    // --- The active language --------------------------------------------------------------
    // 0 turns checking off and keeps the engine. A language that was not read turns
    // checking off and returns false (while a background load runs, the language is
    // selected when it arrives). Otherwise the language's engine becomes the active one,
    // with the user's words of that language; true when it exists.
    bool SelectDictionary(quint32 LangId);
    bool SelectDictionary(const QString& LangShortname);
    // Writes the user dictionary and lets the engine go.
    TStatus CloseDictionary();
    // Writes the user dictionary when it changed and holds words.
    TStatus SaveUserDictionary();

    // --- Words ----------------------------------------------------------------------------
    // True for a correct word, and for every word while checking is off, no engine exists,
    // or the word is empty or (with sscoIgnoreSingleChars) a single character.
    bool CheckWord(const QString& AWord);
    // The engine's suggestions without the word itself; their number.
    int GetSuggestions(const QString& AWord, QStringList& SuggestionList);
    // Adds a word to the active language's user dictionary and engine, and writes the
    // user dictionary at once. The error names the file.
    TStatus AddDictWord(const QString& AWord);
    // Whether words in this highlighter attribute are checked (ignoring case).
    bool CheckHighlighterAttribute(const QString& AttributeName) const;

    // How lines split into words for the active dictionary; html reads entities.
    TWordSplitOptions splitOptions(bool html) const;
    // The characters of named entities ("uuml" gives U+00FC, 0 for an unknown name), and
    // the entity of a character ("&uuml;", empty for none).
    void setEntityResolver(std::function<char32_t(QStringView)> valueOf,
                           std::function<QString(char32_t)> entityOf);
    // The entity that writes a character: its named one, else "&#NNN;".
    QString entityText(char32_t c) const;
    // The hourglass while an engine is made (sscoHourGlass): called with true, then false.
    void setBusyHook(std::function<void(bool)> hook) { m_busyHook = std::move(hook); }

    // --- State ----------------------------------------------------------------------------
    THunspellHandle hunspellHandle() const { return FHunspellHandle; }
    bool enabled() const { return FEnabled; }
    quint32 langId() const { return FLangId; }
    bool busy() const { return FBusy; }
    // A whole-document check runs: with sscoHourGlass the busy hook shows the hourglass.
    void setBusy(bool value);
    bool modified() const { return FModified; }
    bool useUserDictionary() const { return FUseUserDictionary; }
    void setUseUserDictionary(bool value) { FUseUserDictionary = value; }
    const QString& dictPath() const { return FDictPath; }
    const QString& userFileName() const { return FUserFileName; }
    const QString& userDictPath() const { return FUserDictPath; }
    void setUserDictPath(const QString& path);
    quint32 underlineColor() const { return FUnderlineColor; } // 0x00BBGGRR
    void setUnderlineColor(quint32 bgr) { FUnderlineColor = bgr; }
    TUnderlineStyle underlineStyle() const { return FUnderlineStyle; }
    void setUnderlineStyle(TUnderlineStyle style) { FUnderlineStyle = style; }
    const QStringList& userDict() const { return FUserDict.words; }
    const QStringList& checkAttribs() const { return FCheckAttribs; }
    int options() const { return FOptions; }
    void setOptions(int options) { FOptions = options; }
    // Why the active language's user dictionary could not be read; empty when it could.
    const QString& userDictionaryError() const { return m_userDictError; }

    // The folder of user dictionaries when none is set: "SynSpell" in the user's
    // configuration folder.
    static QString defaultUserDictPath();

Q_SIGNALS:
    // A dictionary is being read (FOnDictLoad).
    void dictionaryLoading(quint32 id);
    void dictionariesLoaded();
    // The language, checking on or off, or the user's words changed: marks are stale.
    void stateChanged();

private:
    struct TLoadResult;
    struct TEngine {
        THunspellPtr engine;
        bool apostrophes = false; // the dictionary counts apostrophes as word characters
        QString wordChars;
    };
    static std::shared_ptr<TLoadResult>
    load(const QStringList& folders, const QList<quint32>& dicts, const QList<quint32>& preload,
         const std::function<void(quint32)>& progress, const std::atomic<bool>* stop = nullptr);
    void applyLoad(const std::shared_ptr<TLoadResult>& result);
    const TLoadedDict* loadedDict(quint32 id) const;
    TEngine* activeEngine();
    bool spell(const QString& word);
    void readUserDictionary();

    THunspellHandle FHunspellHandle = nullptr;
    bool FEnabled = false;
    quint32 FLangId = 0;
    bool FBusy = false;
    bool FModified = false;
    bool FUseUserDictionary = true;
    QString FDictPath;
    QString FUserFileName;
    QString FUserDictPath;
    quint32 FUnderlineColor = 0x0000FF;
    TUnderlineStyle FUnderlineStyle = usMicrosoftWord;
    TUserDictionary FUserDict;
    QStringList FCheckAttribs;
    int FOptions = kProgramSpellOptions;
    QList<TDictionaryProps> FDictionaries;
    QList<TLoadedDict> FLoadedDicts;

    // Engines stay made once a language was used: switching back costs nothing.
    std::map<quint32, TEngine> m_engines;
    QHash<quint32, QHash<QString, bool>> m_cache;
    QStringList m_systemFolders;
    QStringList m_loadErrors;
    QThread* m_loader = nullptr;
    std::atomic<bool> m_stopLoading{false}; // the program ends: the load stops where it is
    bool m_loaded = false;
    quint32 m_pendingLang = 0;
    QString m_userDictError;
    std::function<char32_t(QStringView)> m_entityValue;
    std::function<QString(char32_t)> m_entityOf;
    std::function<void(bool)> m_busyHook;
};

} // namespace orvel
