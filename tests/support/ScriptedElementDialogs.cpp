#include "ScriptedElementDialogs.h"

#include "dialogs/core/PickerLogic.h"

namespace orvel::test {

ScriptedElementDialogs& ScriptedElementDialogs::expect(Kind kind, const QStringList& values) {
    m_steps.append({kind, values, true});
    return *this;
}

ScriptedElementDialogs& ScriptedElementDialogs::expectCancel(Kind kind) {
    m_steps.append({kind, {}, false});
    return *this;
}

QStringList ScriptedElementDialogs::problems() const {
    QStringList out = m_problems;
    for (const Step& s : m_steps)
        out << QStringLiteral("expected dialog %1 never came").arg(int(s.kind));
    return out;
}

void ScriptedElementDialogs::reset() {
    m_steps.clear();
    m_problems.clear();
    shown.clear();
    given.clear();
    places.clear();
    offered.clear();
    dateLocales.clear();
    descriptions.clear();
}

const QStringList* ScriptedElementDialogs::take(Kind kind, const QString& what,
                                                const QString& start) {
    shown << what;
    given << start;
    if (m_steps.isEmpty() || m_steps.first().kind != kind) {
        m_problems << QStringLiteral("unexpected dialog %1: %2").arg(int(kind)).arg(what);
        return nullptr;
    }
    const Step s = m_steps.takeFirst();
    if (!s.ok)
        return nullptr;
    m_current = s.values;
    return &m_current;
}

bool ScriptedElementDialogs::inputLine(const TLineInput& input, QString& text) {
    QStringList offers = input.history ? *input.history : QStringList();
    if (input.sorted)
        offers.sort(Qt::CaseInsensitive);
    offered << offers;
    places << input.at;
    const QStringList* a = take(Text, input.caption + u'|' + input.prompt, text);
    if (!a)
        return false;
    text = a->value(0);
    if (input.history)
        addToHistory(*input.history, text, input.historySize);
    return true;
}

bool ScriptedElementDialogs::inputTwoTexts(const QString& title, const QString&, const QString&,
                                           QString& value1, QString& value2) {
    const QStringList* a = take(TwoTexts, title, value1);
    if (a) {
        value1 = a->value(0);
        value2 = a->value(1);
    }
    return a;
}

bool ScriptedElementDialogs::inputTwoNumbers(const QString& title, const QString&, const QString&,
                                             int& value1, int& value2, int, int) {
    const QStringList* a = take(TwoNumbers, title, QString::number(value1));
    if (a) {
        value1 = a->value(0).toInt();
        value2 = a->value(1).toInt();
    }
    return a;
}

bool ScriptedElementDialogs::inputNumber(const QString& title, const QString&, const QString&,
                                         int& value, int, int) {
    const QStringList* a = take(IntNumber, title, QString::number(value));
    if (a)
        value = a->value(0).toInt();
    return a;
}

bool ScriptedElementDialogs::htmlNumber(const QString& label, bool, QString& value) {
    const QStringList* a = take(Number, label, value);
    if (a)
        value = a->value(0);
    return a;
}

bool ScriptedElementDialogs::pickColor(const QString& title, quint32& color, TOpenAt at) {
    places << at;
    const QStringList* a = take(Color, title, QString::number(color));
    if (a)
        color = a->value(0) == QLatin1String("none") ? kNoColor : a->value(0).toUInt();
    return a;
}

bool ScriptedElementDialogs::selectFont(bool, bool, const QString&, TFontSettings& font,
                                        TOpenAt at) {
    places << at;
    const QStringList* a = take(Font, QStringLiteral("font"), font.name);
    if (a) {
        font.name = a->value(0);
        font.size = a->value(1).toInt();
        font.style = a->value(2).toInt();
        font.color = a->value(3).toUInt();
    }
    return a;
}

bool ScriptedElementDialogs::selectStyle(const QString& title, const QStringList& items,
                                         QString& chosen, TOpenAt at) {
    places << at;
    const QStringList* a = take(Style, title, items.join(u','));
    if (a)
        chosen = a->value(0);
    return a;
}

bool ScriptedElementDialogs::selectDate(int& format, QString& date, TOpenAt at,
                                        const QLocale* locale) {
    places << at;
    dateLocales << (locale ? *locale : QLocale::c());
    const QStringList* a = take(Date, QStringLiteral("date"), QString::number(format));
    if (a) {
        date = a->value(0);
        format = a->value(1).toInt();
    }
    return a;
}

bool ScriptedElementDialogs::selectFromList(const QString& title, const QString& description,
                                            const QStringList& items, QString& chosen, bool& other,
                                            bool withPrompt, TOpenAt at) {
    places << at;
    descriptions << description;
    const QStringList* a = take(FromList, title, items.join(u','));
    if (a) {
        chosen = a->value(0);
        other = a->value(1) == QLatin1String("other");
        if (other && !withPrompt)
            m_problems << QStringLiteral("the list %1 offers no other way out").arg(title);
        other = other && withPrompt;
    }
    return a;
}

bool ScriptedElementDialogs::htmlRef(const QString& title, const QString&, QString& url,
                                     QString& text, QString& attributes) {
    const QStringList* a = take(HtmlRef, title, url + u'|' + text + u'|' + attributes);
    if (a) {
        url = a->value(0);
        text = a->value(1);
        attributes = a->value(2);
    }
    return a;
}

bool ScriptedElementDialogs::areaRef(const QString& caption, const QString&,
                                     const QStringList& anchors, QString& url, QString& alt,
                                     QString& title) {
    const QStringList* a =
        take(AreaRef, caption, url + u'|' + alt + u'|' + title + u'|' + anchors.join(u','));
    if (a) {
        url = a->value(0);
        alt = a->value(1);
        title = a->value(2);
    }
    return a;
}

bool ScriptedElementDialogs::linkDialog(const QString& title, const QString&, const QString&,
                                        const QString&, QString& link, QString& text) {
    const QStringList* a = take(Link, title, link);
    if (a) {
        link = a->value(0);
        text = a->value(1);
    }
    return a;
}

bool ScriptedElementDialogs::imageDialog(const QString&, QString& image, QString& attributes) {
    const QStringList* a = take(Image, QStringLiteral("image"), image + u'|' + attributes);
    if (a) {
        image = a->value(0);
        attributes = a->value(1);
    }
    return a;
}

QString ScriptedElementDialogs::areaText(const TAreaDataObject& area) {
    static const char* const shapes[] = {"rect", "circle", "poly"};
    QStringList coords;
    for (QPoint p : area.Points)
        coords << QString::number(p.x()) << QString::number(p.y());
    if (area.Shape == asCircle && coords.size() == 4)
        coords.removeLast(); // centre and radius
    return QStringList{QLatin1String(shapes[area.Shape]), coords.join(u','), area.Link, area.Alt,
                       area.Title}
        .join(u';');
}

TAreaDataObject ScriptedElementDialogs::areaFromText(const QString& text) {
    const QStringList parts = text.split(u';');
    const QString shape = parts.value(0);
    TAreaDataObject area(shape == u"circle" ? asCircle : shape == u"poly" ? asPoly : asRect);
    QStringList n = parts.value(1).split(u',', Qt::SkipEmptyParts);
    if (area.Shape == asCircle)
        n << QStringLiteral("0");
    for (int i = 0; i + 1 < n.size(); i += 2)
        area.Points << QPoint(n.at(i).toInt(), n.at(i + 1).toInt());
    area.Link = parts.value(2);
    area.Alt = parts.value(3);
    area.Title = parts.value(4);
    return area;
}

bool ScriptedElementDialogs::imageMap(const QString&, const QString& image, const QString& mapName,
                                      const QStringList& anchors, TAreaList& areas) {
    QStringList shownAreas;
    for (const TAreaDataObject& a : areas)
        shownAreas << areaText(a);
    mapAnchors << anchors;
    const QStringList* a = take(ImageMap, QStringLiteral("image map"),
                                image + u'|' + mapName + u'|' + shownAreas.join(u'/'));
    if (a) {
        areas.clear();
        for (const QString& v : *a)
            areas << areaFromText(v);
    }
    return a;
}

bool ScriptedElementDialogs::mailAddress(QString& address) {
    const QStringList* a = take(Mail, QStringLiteral("mail"), address);
    if (a)
        address = a->value(0);
    return a;
}

bool ScriptedElementDialogs::fileSize(QString& fileName, bool& decimalComma, QString& sizeText) {
    const QStringList* a =
        take(FileSize, QStringLiteral("file size"),
             fileName + (decimalComma ? QStringLiteral("|comma") : QStringLiteral("|point")));
    if (a) {
        fileName = a->value(0);
        sizeText = a->value(1);
        decimalComma = a->value(2) == QLatin1String("comma");
    }
    return a;
}

} // namespace orvel::test
