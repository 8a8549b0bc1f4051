#include "ScriptedSearch.h"

#include "search/core/SearchFile.h"

namespace orvel::test {

bool ScriptedSearchHost::documentText(const QString& fileName, QByteArray& text) const {
    if (!texts.contains(fileName))
        return false;
    text = texts.value(fileName);
    return true;
}

bool ScriptedSearchHost::replaceInDocument(const QString& fileName, const QList<qsizetype>& starts,
                                           qsizetype length, const QString& replacement) {
    if (!texts.contains(fileName))
        return false;
    texts[fileName] = replacedText(texts.value(fileName), starts, length, replacement.toUtf8());
    modified << fileName;
    return true;
}

bool ScriptedSearchHost::saveAllDocuments() {
    ++saves;
    return saveResult;
}

bool ScriptedSearchHost::openFileAt(const QString& fileName, TBufferCoord begin, TBufferCoord end) {
    opened << Opened{fileName, begin, end};
    return true;
}

} // namespace orvel::test
