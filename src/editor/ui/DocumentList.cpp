#include "editor/ui/DocumentList.h"

#include "base/core/FileSystem.h"
#include "editor/ui/OrvelMDI.h"

namespace orvel {

TDocumentList::~TDocumentList() {
    qDeleteAll(m_tabs);
}

TMDIForm* TDocumentList::at(int tabIndex) const {
    return tabIndex >= 0 && tabIndex < m_tabs.size() ? m_tabs.at(tabIndex) : nullptr;
}

TMDIForm* TDocumentList::byId(int docId) const {
    for (TMDIForm* doc : m_tabs)
        if (doc->DocId() == docId)
            return doc;
    return nullptr;
}

int TDocumentList::findByName(const QString& fileName) const {
    const QString target = normalizedPath(fileName);
    if (target.isEmpty())
        return -1;
    for (int i = 0; i < m_tabs.size(); ++i) {
        const TMDIForm* doc = m_tabs.at(i);
        if (doc->Status() != tsNew && !doc->TextName().isEmpty() && doc->resolvedName() == target)
            return i;
    }
    return -1;
}

bool TDocumentList::anyModified() const {
    for (const TMDIForm* doc : m_tabs)
        if (doc->modified())
            return true;
    return false;
}

void TDocumentList::insert(int tabIndex, TMDIForm* doc) {
    m_tabs.insert(qBound(0, tabIndex, int(m_tabs.size())), doc);
    m_ids.Add(doc->DocId());
}

int TDocumentList::take(TMDIForm* doc) {
    m_tabs.removeAll(doc);
    return m_ids.Remove(doc->DocId());
}

void TDocumentList::move(int from, int to) {
    if (from < 0 || from >= m_tabs.size() || to < 0 || to >= m_tabs.size())
        return;
    m_tabs.move(from, to);
}

void TDocumentList::used(const TMDIForm* doc) {
    if (doc)
        m_ids.Add(doc->DocId());
}

TMDIForm* TDocumentList::next(const TMDIForm* current) {
    return byId(m_ids.Next(current ? current->DocId() : 0));
}

TMDIForm* TDocumentList::previous() {
    return byId(m_ids.Previous());
}

} // namespace orvel
