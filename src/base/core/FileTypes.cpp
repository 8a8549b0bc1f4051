#include "base/core/FileTypes.h"

#include "base/core/Translate.h"

#include <QFileInfo>

namespace orvel {

QList<TFileType> defaultFileTypes() {
    return {
        {"HTML", N_("HTML document"), "html,htm,htt", "*.html;*.htm;*.htt", "html"},
        {"CSS", N_("Central style sheet"), "css", "*.css", "css"},
        {"JS", N_("Javascript"), "js", "*.js", "js"},
        {"PHP", N_("PHP file"), "php", "*.php", "php"},
        {"VBS", N_("Visual Basic script"), "vbs", "*.vbs", "vbs"},
        {"PL", N_("Perl script"), "pl", "*.pl", "pl"},
        {"Text", N_("Text document"), "txt", "*.txt", "txt"},
    };
}

TFileTypes FileTypeOfExt(const QList<TFileType>& table, const QString& ext) {
    const QString e = ext.startsWith(u'.') ? ext.mid(1) : ext;
    if (e.isEmpty())
        return ftText;
    for (int i = 0; i < table.size() && i < kFileTypeCount; ++i) {
        const QStringList types = table.at(i).Types.split(u',');
        for (const QString& t : types)
            if (t.trimmed().compare(e, Qt::CaseInsensitive) == 0)
                return TFileTypes(i);
    }
    return ftText;
}

TFileTypes FileTypeOfName(const QList<TFileType>& table, const QString& fileName) {
    return FileTypeOfExt(table, QFileInfo(fileName).suffix());
}

} // namespace orvel
