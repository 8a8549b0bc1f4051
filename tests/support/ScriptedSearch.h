#pragma once
// A main window as the search in files sees it, held in plain lists.

#include "search/core/SearchHost.h"

#include <QMap>
#include <QStringList>

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

} // namespace orvel::test
