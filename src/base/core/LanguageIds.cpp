#include "base/core/LanguageIds.h"

#include <QLocale>

namespace orvel {

namespace {
struct Entry {
    quint32 id;
    const char* name;
};
// The first entry of a language is its main region.
constexpr Entry kIds[] = {
    {1033, "en-US"},  {2057, "en-GB"}, {3081, "en-AU"},  {4105, "en-CA"},       {6153, "en-IE"},
    {1031, "de-DE"},  {3079, "de-AT"}, {2055, "de-CH"},  {5127, "de-LI"},       {4103, "de-LU"},
    {1038, "hu-HU"},  {1036, "fr-FR"}, {2060, "fr-BE"},  {3084, "fr-CA"},       {4108, "fr-CH"},
    {1040, "it-IT"},  {2064, "it-CH"}, {3082, "es-ES"},  {2058, "es-MX"},       {1043, "nl-NL"},
    {2067, "nl-BE"},  {1046, "pt-BR"}, {2070, "pt-PT"},  {1045, "pl-PL"},       {1029, "cs-CZ"},
    {1051, "sk-SK"},  {1060, "sl-SI"}, {1050, "hr-HR"},  {2074, "sr-Latn-RS"},  {1048, "ro-RO"},
    {1026, "bg-BG"},  {1049, "ru-RU"}, {1058, "uk-UA"},  {1032, "el-GR"},       {1055, "tr-TR"},
    {1030, "da-DK"},  {1053, "sv-SE"}, {1044, "nb-NO"},  {2068, "nn-NO"},       {1035, "fi-FI"},
    {1061, "et-EE"},  {1062, "lv-LV"}, {1063, "lt-LT"},  {1052, "sq-AL"},       {1039, "is-IS"},
    {1027, "ca-ES"},  {1037, "he-IL"}, {1025, "ar-SA"},  {1041, "ja-JP"},       {1042, "ko-KR"},
    {2052, "zh-CN"},  {1028, "zh-TW"}, {7177, "en-ZA"},  {5129, "en-NZ"},       {16393, "en-IN"},
    {11274, "es-AR"}, {9226, "es-CO"}, {13322, "es-CL"}, {8202, "es-VE"},       {10250, "es-PE"},
    {21514, "es-US"}, {5132, "fr-LU"}, {2077, "sv-FI"},  {10266, "sr-Cyrl-RS"}, {1078, "af-ZA"},
    {1059, "be-BY"},  {1093, "bn-IN"}, {2117, "bn-BD"},  {1150, "br-FR"},       {1069, "eu-ES"},
    {1169, "gd-GB"},  {1110, "gl-ES"}, {1095, "gu-IN"},  {1081, "hi-IN"},       {1057, "id-ID"},
    {1087, "kk-KZ"},  {1108, "lo-LA"}, {1100, "ml-IN"},  {1104, "mn-MN"},       {1121, "ne-NP"},
    {1154, "oc-FR"},  {1115, "si-LK"}, {1089, "sw-KE"},  {1098, "te-IN"},       {1054, "th-TH"},
    {1066, "vi-VN"},  {1080, "fo-FO"},
};
} // namespace

quint32 languageIdOfLocale(const QString& name) {
    const QString n = QString(name).replace(u'_', u'-');
    for (const Entry& e : kIds)
        if (n.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0)
            return e.id;
    const QString lang = n.section(u'-', 0, 0);
    for (const Entry& e : kIds)
        if (lang.compare(QString::fromLatin1(e.name).section(u'-', 0, 0), Qt::CaseInsensitive) == 0)
            return e.id;
    return 0;
}

QString localeOfLanguageId(quint32 id) {
    for (const Entry& e : kIds)
        if (e.id == id)
            return QString::fromLatin1(e.name);
    return QString();
}

quint32 exactLanguageIdOfLocale(const QString& name) {
    const QString n = QString(name).replace(u'_', u'-');
    const quint32 id = languageIdOfLocale(n);
    if (!id)
        return 0;
    // A bare language stands for its main region; a region the table lacks is not another's.
    if (!n.contains(u'-') || localeOfLanguageId(id).compare(n, Qt::CaseInsensitive) == 0)
        return id;
    return 0;
}

QString languageDisplayName(quint32 id) {
    const QString name = localeOfLanguageId(id);
    if (name.isEmpty())
        return QString();
    const QLocale l(name);
    return QLocale::languageToString(l.language()) + QStringLiteral(" (") +
           QLocale::territoryToString(l.territory()) + u')';
}

quint32 userDefaultLanguageId() {
    const quint32 id = languageIdOfLocale(QLocale::system().name());
    return id ? id : 1033;
}

} // namespace orvel
