#include "base/core/Translate.h"

#include <QByteArray>
#include <clocale>
#include <libintl.h>

namespace orvel {

namespace {
QString lookup(const char* domain, const char* msgid) {
    if (!msgid || !*msgid)
        return QString();
    return QString::fromUtf8(dgettext(domain, msgid));
}
} // namespace

QString T_(const char* msgid) {
    return lookup("default", msgid);
}

QString TD_(const char* msgid) {
    return lookup("dialogs", msgid);
}

QString fmt(const QString& templ, const QStringList& args) {
    QString out;
    out.reserve(templ.size() + 32);
    int next = 0;
    for (qsizetype i = 0; i < templ.size(); ++i) {
        const QChar c = templ.at(i);
        if (c == u'%' && i + 1 < templ.size()) {
            const QChar k = templ.at(i + 1);
            if (k == u'%') {
                out += u'%';
                ++i;
                continue;
            }
            if (k == u's' || k == u'd' || k == u'u') {
                if (next < args.size())
                    out += args.at(next);
                ++next;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

void setupTranslation(const QString& localeDir, const QString& languageCode) {
    if (!languageCode.isEmpty())
        qputenv("LANGUAGE", languageCode.toUtf8().replace('-', '_'));
    const QByteArray dir = localeDir.toLocal8Bit();
    for (const char* domain : {"default", "dialogs", "languages"}) {
        bindtextdomain(domain, dir.constData());
        bind_textdomain_codeset(domain, "UTF-8");
    }
    textdomain("default");
}

} // namespace orvel
