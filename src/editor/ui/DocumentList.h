#pragma once
// The one owner of the open document windows: their order on the tab strip, the order in
// which they were used, and the look-ups by name and id. The main window mirrors it on the
// tab strip and the document area; nothing else keeps an index of documents.

#include "editor/core/IdList.h"

#include <QList>
#include <QString>

namespace orvel {

class TMDIForm;

class TDocumentList {
public:
    TDocumentList() = default;
    // Deletes the windows still listed.
    ~TDocumentList();
    TDocumentList(const TDocumentList&) = delete;
    TDocumentList& operator=(const TDocumentList&) = delete;

    // An id for a new window (1, 2, 3, ...; again from 1 after clearUse()).
    int newId() { return m_ids.NewId(); }

    int count() const { return int(m_tabs.size()); }
    bool isEmpty() const { return m_tabs.isEmpty(); }
    // In tab order.
    const QList<TMDIForm*>& all() const { return m_tabs; }
    TMDIForm* at(int tabIndex) const;
    // The tab position, -1 when not listed.
    int indexOf(const TMDIForm* doc) const { return int(m_tabs.indexOf(doc)); }
    TMDIForm* byId(int docId) const;
    // The tab of the window holding the file (names compared as the file system does), -1.
    int findByName(const QString& fileName) const;
    bool anyModified() const;

    // Takes the window at that tab position.
    void insert(int tabIndex, TMDIForm* doc);
    // Hands the window back to the caller, who deletes it; the id now used most recently is
    // returned (0 when none is left).
    int take(TMDIForm* doc);
    // A tab dragged from one position to another.
    void move(int from, int to);

    // Order of use: the window became the active one.
    void used(const TMDIForm* doc);
    // The least recently used window, now the most recent; null with fewer than two.
    TMDIForm* next(const TMDIForm* current);
    // The second most recent window, now the most recent; null with fewer than two.
    TMDIForm* previous();
    // The order of use starts again, and so do the ids: a project is activated.
    void clearUse() { m_ids.Clear(); }
    const TIdList& idList() const { return m_ids; }

private:
    QList<TMDIForm*> m_tabs;
    TIdList m_ids;
};

} // namespace orvel
