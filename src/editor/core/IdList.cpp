#include "editor/core/IdList.h"

namespace orvel {

void TIdList::Clear() {
    fList.clear();
    IdNr = 0;
}

int TIdList::NewId() {
    return ++IdNr;
}

void TIdList::Add(int id) {
    fList.removeAll(id);
    fList.prepend(id);
}

int TIdList::Remove(int id) {
    fList.removeAll(id);
    return Front();
}

int TIdList::Next(int current) {
    if (fList.size() < 2)
        return current;
    fList.prepend(fList.takeLast());
    return fList.first();
}

int TIdList::Previous() {
    if (fList.size() < 2)
        return 0;
    fList.append(fList.takeFirst());
    return fList.first();
}

} // namespace orvel
