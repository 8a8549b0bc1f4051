#include "spelling/core/SynEditSpell.h"

#include "base/core/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>
#include <sys/resource.h>

namespace orvel {

namespace {

// Beyond this many words a language's cache starts again: a long session over many large
// documents should not grow without end.
constexpr qsizetype kMaxCachedWords = 200000;

bool isSingleCharacter(const QString& w) {
    return w.size() == 1 || (w.size() == 2 && w[0].isHighSurrogate() && w[1].isLowSurrogate());
}

bool hasApostrophe(const QString& s) {
    return s.contains(u'\'') || s.contains(QChar(0x2019));
}

} // namespace

struct TSynEditSpellCheck::TLoadResult {
    QList<TDictionaryProps> found;
    QList<TLoadedDict> loaded;
    std::map<quint32, THunspellPtr> engines;
    QStringList errors;
};

TSynEditSpellCheck::TSynEditSpellCheck(int ACheckAttri, QObject* parent)
    : QObject(parent), m_systemFolders(dictionaryFolders(QString())) {
    if (ACheckAttri & caText)
        FCheckAttribs << QStringLiteral("Text");
    if (ACheckAttri & caComment)
        FCheckAttribs << QStringLiteral("Comment");
    if (ACheckAttri & caString)
        FCheckAttribs << QStringLiteral("String");
    if (ACheckAttri & caDocumentation)
        FCheckAttribs << QStringLiteral("Documentation");
}

TSynEditSpellCheck::~TSynEditSpellCheck() {
    if (m_loader) {
        m_stopLoading = true;
        m_loader->wait();
        delete m_loader;
    }
}

QString TSynEditSpellCheck::defaultUserDictPath() {
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)) +
           QStringLiteral("SynSpell/");
}

void TSynEditSpellCheck::setBusy(bool value) {
    if (FBusy == value)
        return;
    FBusy = value;
    if ((FOptions & sscoHourGlass) && m_busyHook)
        m_busyHook(value);
}

void TSynEditSpellCheck::setUserDictPath(const QString& path) {
    FUserDictPath = withSlash(path);
}

// --- Loading ---------------------------------------------------------------------------------

std::shared_ptr<TSynEditSpellCheck::TLoadResult> TSynEditSpellCheck::load(
    const QStringList& folders, const QList<quint32>& dicts, const QList<quint32>& preload,
    const std::function<void(quint32)>& progress, const std::atomic<bool>* stop) {
    auto result = std::make_shared<TLoadResult>();
    result->found = findDictionaries(folders);
    // Ids of 0 stand for no language: a list of nothing else configures nothing.
    QList<quint32> wanted = dicts;
    wanted.removeAll(0u);
    for (const TDictionaryProps& props : result->found) {
        if (stop && *stop)
            break;
        if (!wanted.isEmpty() && !wanted.contains(props.Id))
            continue;
        if (progress)
            progress(props.Id);
        TResult<TLoadedDict> d = readDictionary(props);
        if (!d.ok()) {
            result->errors << d.error();
            continue;
        }
        if (preload.contains(props.Id) && !(stop && *stop)) {
            if (THunspellHandle h = HunspellInit(d.value().mAff, d.value().mDic))
                result->engines[props.Id].reset(h);
        }
        result->loaded.append(std::move(d).value());
    }
    return result;
}

void TSynEditSpellCheck::applyLoad(const std::shared_ptr<TLoadResult>& result) {
    FDictionaries = result->found;
    FLoadedDicts = result->loaded;
    m_loadErrors = result->errors;
    for (auto& [id, engine] : result->engines) {
        TEngine& e = m_engines[id];
        e.wordChars = HunspellWordChars(engine.get());
        e.apostrophes = hasApostrophe(e.wordChars);
        e.engine = std::move(engine);
    }
    m_loaded = true;
    if (FUserDictPath.isEmpty())
        FUserDictPath = defaultUserDictPath();
}

bool TSynEditSpellCheck::LoadDictionaries(const QString& APath, const QList<quint32>& Dicts) {
    if (m_loader || m_loaded)
        return !FLoadedDicts.isEmpty();
    FDictPath = withSlash(APath);
    QStringList folders;
    if (!FDictPath.isEmpty())
        folders << FDictPath;
    folders << m_systemFolders;
    applyLoad(load(folders, Dicts, {}, [this](quint32 id) { Q_EMIT dictionaryLoading(id); }));
    Q_EMIT dictionariesLoaded();
    return !FLoadedDicts.isEmpty();
}

void TSynEditSpellCheck::loadInBackground(const QString& APath, const QList<quint32>& Dicts,
                                          const QList<quint32>& preload) {
    if (m_loader || m_loaded)
        return;
    FDictPath = withSlash(APath);
    QStringList folders;
    if (!FDictPath.isEmpty())
        folders << FDictPath;
    folders << m_systemFolders;
    m_loader = QThread::create([this, folders, Dicts, preload] {
        // The window and the typing come first: Linux keeps a nice value per thread, and Qt's
        // thread priorities change nothing under the default scheduler.
        ::setpriority(PRIO_PROCESS, 0, 10);
        // Signals emitted here reach receivers on their own threads.
        auto result = load(
            folders, Dicts, preload, [this](quint32 id) { Q_EMIT dictionaryLoading(id); },
            &m_stopLoading);
        QMetaObject::invokeMethod(
            this,
            [this, result] {
                m_loader->wait();
                delete m_loader;
                m_loader = nullptr;
                applyLoad(result);
                const quint32 pending = m_pendingLang;
                m_pendingLang = 0;
                if (pending && hasDictionary(pending))
                    SelectDictionary(pending);
                Q_EMIT dictionariesLoaded();
            },
            Qt::QueuedConnection);
    });
    m_loader->start(QThread::LowPriority);
}

bool TSynEditSpellCheck::waitForLoad(int msecs) {
    QElapsedTimer timer;
    timer.start();
    while (m_loader) {
        if (timer.elapsed() > msecs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

bool TSynEditSpellCheck::GetDictLanguages(QList<TLanguageName>& ALangList) const {
    const qsizetype before = ALangList.size();
    for (const TDictionaryProps& props : FDictionaries)
        if (hasDictionary(props.Id))
            ALangList.append({languageDisplayName(props.Id), props.Id});
    return ALangList.size() > before;
}

const TLoadedDict* TSynEditSpellCheck::loadedDict(quint32 id) const {
    for (const TLoadedDict& d : FLoadedDicts)
        if (d.Id == id)
            return &d;
    return nullptr;
}

bool TSynEditSpellCheck::hasDictionary(quint32 id) const {
    return id && loadedDict(id);
}

// --- The active language ---------------------------------------------------------------------

bool TSynEditSpellCheck::SelectDictionary(const QString& LangShortname) {
    return SelectDictionary(exactLanguageIdOfLocale(LangShortname));
}

bool TSynEditSpellCheck::SelectDictionary(quint32 LangId) {
    m_pendingLang = 0;
    if (LangId == 0) {
        if (FEnabled) {
            FEnabled = false;
            Q_EMIT stateChanged();
        }
        return true;
    }
    if (LangId == FLangId && FHunspellHandle) {
        if (!FEnabled) {
            FEnabled = true;
            Q_EMIT stateChanged();
        }
        return true;
    }
    const TLoadedDict* dict = loadedDict(LangId);
    if (!dict) {
        if (m_loader)
            m_pendingLang = LangId;
        const TStatus closed = CloseDictionary();
        Q_UNUSED(closed); // the words were written when they were added
        FLangId = 0;
        FEnabled = false;
        Q_EMIT stateChanged();
        return false;
    }

    const bool hourglass = (FOptions & sscoHourGlass) && m_busyHook;
    if (hourglass)
        m_busyHook(true);
    const TStatus closed = CloseDictionary();
    Q_UNUSED(closed);
    FLangId = LangId;
    TEngine& e = m_engines[LangId];
    if (!e.engine) {
        e.engine.reset(HunspellInit(dict->mAff, dict->mDic));
        e.wordChars = HunspellWordChars(e.engine.get());
        e.apostrophes = hasApostrophe(e.wordChars);
    }
    FHunspellHandle = e.engine.get();
    FUserFileName = dict->Shortname + QStringLiteral(".user.dic");
    FModified = false;
    FUserDict = TUserDictionary();
    m_userDictError.clear();
    if (FUseUserDictionary && FHunspellHandle)
        readUserDictionary();
    if (hourglass)
        m_busyHook(false);
    FEnabled = FHunspellHandle != nullptr;
    Q_EMIT stateChanged();
    return FEnabled;
}

void TSynEditSpellCheck::readUserDictionary() {
    if (FUserDictPath.isEmpty())
        FUserDictPath = defaultUserDictPath();
    TResult<TUserDictionary> read = orvel::readUserDictionary(FUserDictPath + FUserFileName);
    if (!read.ok()) {
        // Never written over: the file holds words we could not see.
        m_userDictError = read.error();
        return;
    }
    FUserDict = std::move(read).value();
    for (const QString& w : FUserDict.words)
        HunspellAdd(FHunspellHandle, w);
    m_cache.remove(FLangId);
}

TStatus TSynEditSpellCheck::CloseDictionary() {
    const TStatus saved = SaveUserDictionary();
    // The engine itself stays made for the next time its language is selected.
    FHunspellHandle = nullptr;
    FEnabled = false;
    return saved;
}

TStatus TSynEditSpellCheck::SaveUserDictionary() {
    if (!FModified)
        return TStatus();
    FModified = false;
    if (FUserDict.isEmpty() || !m_userDictError.isEmpty() || FUserFileName.isEmpty())
        return m_userDictError.isEmpty() ? TStatus() : TStatus::failure(m_userDictError);
    if (FUserDictPath.isEmpty())
        FUserDictPath = defaultUserDictPath();
    return writeUserDictionary(FUserDictPath + FUserFileName, FUserDict);
}

// --- Words -----------------------------------------------------------------------------------

TSynEditSpellCheck::TEngine* TSynEditSpellCheck::activeEngine() {
    const auto it = m_engines.find(FLangId);
    return it == m_engines.end() ? nullptr : &it->second;
}

bool TSynEditSpellCheck::spell(const QString& word) {
    if (HunspellSpell(FHunspellHandle, word))
        return true;
    // A dictionary without apostrophes among its word characters knows the parts: German
    // "geht's" is "geht" and "s".
    const TEngine* e = activeEngine();
    if (!e || e->apostrophes || !hasApostrophe(word))
        return false;
    QString parts = word;
    parts.replace(QChar(0x2019), u'\'');
    for (const QString& part : parts.split(u'\'', Qt::SkipEmptyParts))
        if (!isSingleCharacter(part) && !HunspellSpell(FHunspellHandle, part))
            return false;
    return true;
}

bool TSynEditSpellCheck::CheckWord(const QString& AWord) {
    if (!FEnabled || !FHunspellHandle)
        return true;
    const QString w = AWord.trimmed();
    if (w.isEmpty() || ((FOptions & sscoIgnoreSingleChars) && isSingleCharacter(w)))
        return true;
    QHash<QString, bool>& cache = m_cache[FLangId];
    const auto it = cache.constFind(w);
    if (it != cache.constEnd())
        return *it;
    const bool ok = spell(w);
    if (cache.size() >= kMaxCachedWords)
        cache.clear();
    cache.insert(w, ok);
    return ok;
}

int TSynEditSpellCheck::GetSuggestions(const QString& AWord, QStringList& SuggestionList) {
    const QString w = AWord.trimmed();
    if (!FHunspellHandle || w.isEmpty())
        return 0;
    const qsizetype before = SuggestionList.size();
    for (const QString& s : HunspellSuggest(FHunspellHandle, w))
        if (s != w && !SuggestionList.contains(s))
            SuggestionList << s;
    return int(SuggestionList.size() - before);
}

TStatus TSynEditSpellCheck::AddDictWord(const QString& AWord) {
    const QString w = AWord.trimmed();
    if (!FEnabled || !FHunspellHandle || w.isEmpty() || !isUserDictionaryWord(w) ||
        FUserDict.contains(w))
        return TStatus();
    FUserDict.add(w);
    HunspellAdd(FHunspellHandle, w);
    FModified = true;
    m_cache.remove(FLangId);
    Q_EMIT stateChanged();
    // Written at once: a word the user taught is not left to the end of the session.
    return FUseUserDictionary ? SaveUserDictionary() : TStatus();
}

bool TSynEditSpellCheck::CheckHighlighterAttribute(const QString& AttributeName) const {
    return FCheckAttribs.contains(AttributeName, Qt::CaseInsensitive);
}

TWordSplitOptions TSynEditSpellCheck::splitOptions(bool html) const {
    TWordSplitOptions o;
    const auto it = m_engines.find(FLangId);
    if (FHunspellHandle && it != m_engines.end())
        o.wordChars = it->second.wordChars;
    o.entities = html;
    o.entityValue = m_entityValue;
    return o;
}

void TSynEditSpellCheck::setEntityResolver(std::function<char32_t(QStringView)> valueOf,
                                           std::function<QString(char32_t)> entityOf) {
    m_entityValue = std::move(valueOf);
    m_entityOf = std::move(entityOf);
}

QString TSynEditSpellCheck::entityText(char32_t c) const {
    const QString named = m_entityOf ? m_entityOf(c) : QString();
    return named.isEmpty() ? QStringLiteral("&#%1;").arg(uint(c)) : named;
}

} // namespace orvel
