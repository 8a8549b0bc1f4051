#include "spelling/core/DictionaryFiles.h"

#include "base/core/FileSystem.h"
#include "base/core/LanguageIds.h"
#include "base/core/Translate.h"
#include "spelling/core/HunspellLib.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace orvel {

namespace {

// Far beyond any real dictionary; a file this large is not one and would only eat memory.
constexpr qint64 kMaxDictionaryFile = 512LL * 1024 * 1024;

TResult<QByteArray> readWhole(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return TResult<QByteArray>::failure(
            fmt(T_("Error reading \"%s\""), {QDir::toNativeSeparators(fileName)}) + u'\n' +
            f.errorString());
    if (f.size() > kMaxDictionaryFile)
        return TResult<QByteArray>::failure(
            fmt(T_("Error reading \"%s\""), {QDir::toNativeSeparators(fileName)}) + u'\n' +
            T_("The file is too large."));
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return TResult<QByteArray>::failure(
            fmt(T_("Error reading \"%s\""), {QDir::toNativeSeparators(fileName)}) + u'\n' +
            f.errorString());
    return bytes;
}

} // namespace

QStringList dictionaryFolders(const QString& programDictPath) {
    QStringList out;
    if (!programDictPath.isEmpty())
        out << withSlash(programDictPath);
    out << QStringLiteral("/usr/share/hunspell/") << QStringLiteral("/usr/share/myspell/dicts/");
    return out;
}

QList<TDictionaryProps> findDictionaries(const QStringList& folders) {
    QList<TDictionaryProps> out;
    QSet<quint32> ids;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        if (!dir.exists())
            continue;
        const QFileInfoList files =
            dir.entryInfoList(QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo& aff : files) {
            if (aff.suffix().compare(QLatin1String("aff"), Qt::CaseInsensitive) != 0)
                continue;
            const QString name = aff.completeBaseName();
            // The word list beside it, its extension in any case.
            QString dic;
            for (const QFileInfo& f : files)
                if (f.completeBaseName() == name &&
                    f.suffix().compare(QLatin1String("dic"), Qt::CaseInsensitive) == 0)
                    dic = f.absoluteFilePath();
            const quint32 id = exactLanguageIdOfLocale(name);
            if (dic.isEmpty() || !id || ids.contains(id))
                continue;
            ids.insert(id);
            out.append({id, name, aff.absoluteFilePath(), dic});
        }
    }
    return out;
}

TResult<TLoadedDict> readDictionary(const TDictionaryProps& props) {
    TResult<QByteArray> aff = readWhole(props.AffName);
    if (!aff.ok())
        return aff.status();
    TResult<QByteArray> dic = readWhole(props.DicName);
    if (!dic.ok())
        return dic.status();
    const QString problem = dictionaryDataProblem(aff.value(), dic.value());
    if (!problem.isEmpty())
        return TResult<TLoadedDict>::failure(fmt(T_("The dictionary \"%s\" cannot be used."),
                                                 {QDir::toNativeSeparators(props.DicName)}) +
                                             u'\n' + problem);
    return TLoadedDict{props.Id, props.Shortname, props.Shortname, std::move(aff).value(),
                       std::move(dic).value()};
}

} // namespace orvel
