#include "search/core/AnchorSearch.h"

#include "base/core/FileSystem.h"
#include "base/core/TextCodec.h"
#include "base/core/Translate.h"
#include "search/core/CollectFiles.h"
#include "search/core/TextFilter.h"

#include <QDir>
#include <algorithm>

namespace orvel {

namespace {

const TTextFilter& htmlFilter() {
    static const TTextFilter filter = [] {
        TTextFilter f(false, true);
        f.setMode(TTextFilter::kPassMatching);
        f.setFilter(QStringLiteral("htm*"));
        return f;
    }();
    return filter;
}

QString ruleOf(QChar c, qsizetype length) {
    return QString(length % 256, c);
}

} // namespace

bool isAnchorFile(const QString& fileName) {
    return htmlFilter().MatchesFilter(fileExtension(fileName));
}

QStringList anchorSearchFiles(TAnchorScope scope, const QString& activeFile,
                              const QStringList& openFiles, const QString& projectRoot) {
    QStringList files;
    switch (scope) {
    case asActiveFile:
        if (!activeFile.isEmpty() && isAnchorFile(activeFile))
            files << activeFile;
        break;
    case asOpenFiles:
        for (const QString& f : openFiles)
            if (isAnchorFile(f))
                files << f;
        break;
    case asProjectFiles:
        if (!projectRoot.isEmpty())
            files = CollectFiles(projectRoot, true, htmlFilter());
        break;
    }
    return files;
}

QString anchorFileCaption(const QString& fileName, const QString& projectRoot) {
    if (!projectRoot.isEmpty() && isPathBelow(fileName, projectRoot))
        return QDir(projectRoot).relativeFilePath(fileName);
    return fileName;
}

void sortAnchorsAlphabetically(QList<TAnchor>& anchors) {
    std::stable_sort(anchors.begin(), anchors.end(), [](const TAnchor& a, const TAnchor& b) {
        return a.entry().compare(b.entry(), Qt::CaseInsensitive) < 0;
    });
}

QString anchorListText(const QString& projectName, const QString& projectRoot,
                       const QList<TAnchorFile>& files) {
    const QString crlf = QStringLiteral("\r\n");
    const QString first = T_("Project: ") + projectName;
    const QString anchorsTitle = T_("Local anchors:");
    QString out = first + crlf + ruleOf(u'=', first.size()) + crlf + T_("Directory: ") +
                  withSlash(projectRoot) + crlf + crlf + anchorsTitle + crlf +
                  ruleOf(u'-', anchorsTitle.size()) + crlf;
    bool firstFile = true;
    for (const TAnchorFile& file : files) {
        if (!firstFile)
            out += crlf;
        firstFile = false;
        out += QStringLiteral("  ") + T_("File: ") + file.caption + crlf;
        for (const TAnchor& a : file.anchors)
            out += QStringLiteral("    -> ") + QString(a.entry()).remove(u'|') + crlf;
    }
    return out;
}

bool fitsWindows1252(const QString& text) {
    for (const char32_t c : text.toUcs4())
        if (codec::unicodeToAnsi(c) < 0)
            return false;
    return true;
}

QByteArray encodeAnchorList(const QString& text, bool utf8) {
    if (utf8)
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4())
        out += char(codec::unicodeToAnsi(c));
    return out;
}

QString proposedAnchorListName(TAnchorScope scope, const QString& activeFile,
                               const QString& projectName) {
    const QString txt = QStringLiteral("txt");
    if (scope == asActiveFile && !activeFile.isEmpty()) {
        QString name = activeFile.mid(activeFile.lastIndexOf(u'/') + 1);
        const QString ext = fileExtension(name);
        if (!ext.isEmpty())
            name.chop(ext.size() + 1);
        return name + u'.' + txt;
    }
    const qsizetype cut = qMax(projectName.lastIndexOf(u'/'), projectName.lastIndexOf(u'\\'));
    const QString name = projectName.mid(cut + 1);
    if (fileExtension(name).compare(txt, Qt::CaseInsensitive) == 0)
        return name;
    return name + u'.' + txt;
}

} // namespace orvel
