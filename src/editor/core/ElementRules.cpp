#include "editor/core/ElementRules.h"

#include "search/core/AnchorReader.h"

namespace orvel {

QStringList localAnchors(const QString& html) {
    QStringList entries;
    for (const TAnchor& anchor : readAnchors(html))
        entries << anchor.entry();
    return entries;
}

QString mailCode(const QString& address, int key) {
    QString code = QString::number(key);
    for (QChar c : address)
        code += u':' + QString::number(c.unicode() ^ key);
    return code;
}

QString decodeMailCode(const QString& code) {
    QString t = code.trimmed();
    if (!t.contains(u':'))
        return QString();
    while (t.startsWith(u'\''))
        t.remove(0, 1);
    while (t.endsWith(u'\''))
        t.chop(1);
    const QStringList parts = t.split(u':');
    bool ok = false;
    const int key = parts.value(0).trimmed().toInt(&ok) & 0xFF;
    if (!ok || key == 0)
        return QString();
    QString out;
    for (int i = 1; i < parts.size(); ++i) {
        const int v = parts.at(i).trimmed().toInt(&ok);
        if (!ok)
            return QString();
        out += QChar(char16_t(v ^ key));
    }
    return out;
}

} // namespace orvel
