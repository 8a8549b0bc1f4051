#pragma once
// The ids of open document windows, most recently used first.

#include <QList>

namespace orvel {

class TIdList {
public:
    void Clear();
    int NewId();
    int IndexOf(int id) const { return int(fList.indexOf(id)); }
    void Add(int id);   // to the front
    int Remove(int id); // the id now at the front, 0 when empty
    int Next(int current);
    int Previous();
    int Count() const { return int(fList.size()); }
    int Front() const { return fList.isEmpty() ? 0 : fList.first(); }
    const QList<int>& ids() const { return fList; }

private:
    QList<int> fList;
    int IdNr = 0;
};

} // namespace orvel
