#include "dialogs/core/PickerLogic.h"

#include "base/core/HistoryList.h"

namespace orvel {

QStringList splitPropertyItems(const QString& text) {
    QStringList items;
    QString item;
    const auto flush = [&] {
        if (!item.trimmed().isEmpty())
            items << item.trimmed();
        item.clear();
    };
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (c == u',' && !quoted)
            flush();
        else
            item += c;
    }
    flush();
    return items;
}

int chooseFontEntry(const QStringList& families, const QString& wanted,
                    const QStringList& fallbacks) {
    if (families.isEmpty())
        return -1;
    QStringList candidates{wanted, QStringLiteral("Courier New")};
    candidates += fallbacks;
    for (const QString& name : candidates) {
        if (name.isEmpty())
            continue;
        const int i = int(families.indexOf(name));
        if (i >= 0)
            return i;
        for (int j = 0; j < families.size(); ++j)
            if (families.at(j).compare(name, Qt::CaseInsensitive) == 0)
                return j;
    }
    return 0;
}

void addToHistory(QStringList& history, const QString& text, int size) {
    // The history list knows the rules; it holds at most 100 entries.
    THistoryList list(nullptr, qBound(1, size, 100));
    list.AssignList(history);
    list.AddString(text);
    history = list.items();
}

} // namespace orvel
