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

ScriptedSearchDialogs& ScriptedSearchDialogs::expectFileReplace(const QString& line,
                                                                TFileReplaceAnswer answer) {
    m_answers.append({line, answer});
    return *this;
}

TFileReplaceAnswer ScriptedSearchDialogs::confirmFileReplace(const TFileReplaceQuestion& question) {
    questions << question;
    if (!m_answers.isEmpty() && question.line.contains(m_answers.first().first))
        return m_answers.takeFirst().second;
    m_unexpected << QStringLiteral("unexpected replacement question: %1").arg(question.line);
    return frCancel;
}

QStringList ScriptedSearchDialogs::problems() const {
    QStringList out = ScriptedDialogs::problems() + m_unexpected;
    for (const auto& a : m_answers)
        out << QStringLiteral("expected replacement question \"%1\" never came").arg(a.first);
    return out;
}

} // namespace orvel::test
