#pragma once
// A main window as the search in files sees it, held in plain lists, and the questions
// before replacements answered from a script.

#include "ScriptedDialogs.h"
#include "search/core/SearchHost.h"

#include <QMap>

namespace orvel::test {

class ScriptedSearchHost : public ISearchHost {
public:
    struct Opened {
        QString fileName;
        TBufferCoord begin;
        TBufferCoord end;
    };

    QStringList documents;           // files of the open documents, window order
    QMap<QString, QByteArray> texts; // their texts, by file
    QString active;                  // the active document's name
    bool projects = true;
    QString root;
    QString types = QStringLiteral("htm*,css,js");
    bool saveResult = true;
    int saves = 0;
    QList<Opened> opened;
    QStringList modified; // documents replaced in, in order

    QString appTitle() const override { return QStringLiteral("Tagsmith"); }
    QStringList documentFiles() const override { return documents; }
    QString activeDocumentName() const override { return active; }
    bool documentText(const QString& fileName, QByteArray& text) const override;
    bool replaceInDocument(const QString& fileName, const QList<qsizetype>& starts,
                           qsizetype length, const QString& replacement) override;
    bool saveAllDocuments() override;
    bool openFileAt(const QString& fileName, TBufferCoord begin, TBufferCoord end) override;
    bool hasProjects() const override { return projects; }
    QString projectRoot() const override { return root; }
    QString projectTextTypes() const override { return types; }
};

// Also answers the question before each replacement in a file.
class ScriptedSearchDialogs : public ScriptedDialogs {
public:
    // Answers the next question whose line contains `line`.
    ScriptedSearchDialogs& expectFileReplace(const QString& line, TFileReplaceAnswer answer);
    TFileReplaceAnswer confirmFileReplace(const TFileReplaceQuestion& question) override;
    QStringList problems() const;

    QList<TFileReplaceQuestion> questions;

private:
    QList<std::pair<QString, TFileReplaceAnswer>> m_answers;
    QStringList m_unexpected;
};

} // namespace orvel::test
