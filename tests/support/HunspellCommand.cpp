#include "HunspellCommand.h"

#include <QProcess>

namespace orvel::test {

QString systemDictionaryFolder() {
    return QStringLiteral("/usr/share/hunspell/");
}

QStringList hunspellMisspelt(const QString& dictionary, const QString& text) {
    QProcess p;
    p.start(QStringLiteral("hunspell"),
            {QStringLiteral("-i"), QStringLiteral("UTF-8"), QStringLiteral("-d"),
             systemDictionaryFolder() + dictionary, QStringLiteral("-l")});
    if (!p.waitForStarted())
        return {QStringLiteral("<hunspell is missing: scripts/setup installs it>")};
    p.write(text.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(60000);
    QStringList out;
    for (QString w :
         QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
        while (w.endsWith(u'.'))
            w.chop(1);
        if (w.size() > 1)
            out << w;
    }
    return out;
}

} // namespace orvel::test
