#include "base/core/HtmlAttributes.h"

namespace orvel {

namespace {

// HTML separates attributes by white space; a control character counts as one, so that a
// stray one never glues two attributes together.
bool isBlank(QChar c) {
    return c.unicode() <= 0x20;
}

bool endsName(QChar c) {
    return isBlank(c) || c == u'/' || c == u'>' || c == u'=';
}

} // namespace

THtmlTag THtmlTag::parse(QStringView tag) {
    THtmlTag t;
    t.m_text = tag.toString();
    t.read();
    return t;
}

void THtmlTag::read() {
    m_attributes.clear();
    m_spans.clear();
    const QString& s = m_text;
    const qsizetype n = s.size();
    qsizetype i = s.startsWith(u'<') ? 1 : 0;
    const qsizetype nameStart = i;
    while (i < n && !isBlank(s[i]) && s[i] != u'/' && s[i] != u'>')
        ++i;
    m_name = s.mid(nameStart, i - nameStart);
    m_nameEnd = i;
    while (i < n) {
        const qsizetype lead = i;
        while (i < n && (isBlank(s[i]) || s[i] == u'/'))
            ++i;
        if (i >= n || s[i] == u'>')
            break;
        Span span;
        span.lead = lead;
        span.start = i;
        ++i; // a name may begin with "="
        while (i < n && !endsName(s[i]))
            ++i;
        span.nameEnd = i;
        THtmlAttribute a;
        a.name = s.mid(span.start, i - span.start);
        qsizetype j = i;
        while (j < n && isBlank(s[j]))
            ++j;
        if (j < n && s[j] == u'=') {
            ++j;
            while (j < n && isBlank(s[j]))
                ++j;
            a.hasValue = true;
            if (j < n && (s[j] == u'"' || s[j] == u'\'')) {
                a.quote = s[j];
                span.valueStart = j + 1;
                const qsizetype close = s.indexOf(a.quote, span.valueStart);
                span.valueEnd = close < 0 ? n : close;
                span.end = close < 0 ? n : close + 1;
            } else {
                span.valueStart = j;
                while (j < n && !isBlank(s[j]) && s[j] != u'>')
                    ++j;
                span.valueEnd = span.end = j;
            }
            a.value = s.mid(span.valueStart, span.valueEnd - span.valueStart);
            i = span.end;
        } else {
            span.valueStart = span.valueEnd = span.end = i;
        }
        m_attributes.append(a);
        m_spans.append(span);
    }
}

qsizetype THtmlTag::indexOf(QStringView name) const {
    for (qsizetype k = 0; k < m_attributes.size(); ++k)
        if (QStringView(m_attributes[k].name).compare(name, Qt::CaseInsensitive) == 0)
            return k;
    return -1;
}

QString THtmlTag::value(QStringView name) const {
    const qsizetype k = indexOf(name);
    return k < 0 ? QString() : m_attributes[k].value;
}

void THtmlTag::set(const QString& name, const QString& value) {
    const qsizetype k = indexOf(name);
    if (k < 0) {
        qsizetype at = m_spans.isEmpty() ? m_nameEnd : m_spans.last().end;
        // After a dangling "name=" the new attribute would read as its value: it goes
        // before that one instead.
        if (!m_spans.isEmpty() && m_attributes.last().hasValue &&
            m_attributes.last().quote.isNull() && m_attributes.last().value.isEmpty())
            at = m_spans.last().lead;
        m_text.insert(at, u' ' + name + QStringLiteral("=\"") + quotedAttributeValue(value) + u'"');
    } else if (m_attributes[k].quote == u'\'') {
        QString v = value;
        v.replace(u'\'', QStringLiteral("&#39;"));
        const Span& sp = m_spans[k];
        m_text.replace(sp.valueStart, sp.valueEnd - sp.valueStart, v);
    } else if (m_attributes[k].quote == u'"') {
        const Span& sp = m_spans[k];
        m_text.replace(sp.valueStart, sp.valueEnd - sp.valueStart, quotedAttributeValue(value));
    } else {
        const Span& sp = m_spans[k];
        m_text.replace(sp.nameEnd, sp.end - sp.nameEnd,
                       QStringLiteral("=\"") + quotedAttributeValue(value) + u'"');
    }
    read();
}

void THtmlTag::remove(QStringView name) {
    for (qsizetype k = indexOf(name); k >= 0; k = indexOf(name)) {
        const Span& sp = m_spans[k];
        // What follows without a blank (an attribute after a closing quote, a "/") must not
        // join the value before it.
        const bool joins =
            sp.end < m_text.size() && !isBlank(m_text[sp.end]) && m_text[sp.end] != u'>';
        m_text.replace(sp.lead, sp.end - sp.lead, joins ? QStringLiteral(" ") : QString());
        read();
    }
}

QString quotedAttributeValue(const QString& value) {
    QString v = value;
    v.replace(u'"', QStringLiteral("&quot;"));
    return v;
}

qsizetype htmlTagEnd(QStringView text, qsizetype lt) {
    // The same reading as THtmlTag's, so that both agree on where a value ends.
    const qsizetype n = text.size();
    qsizetype i = lt + 1;
    while (i < n && !isBlank(text[i]) && text[i] != u'/' && text[i] != u'>')
        ++i;
    for (;;) {
        while (i < n && (isBlank(text[i]) || text[i] == u'/'))
            ++i;
        if (i >= n)
            return -1;
        if (text[i] == u'>')
            return i + 1;
        ++i;
        while (i < n && !endsName(text[i]))
            ++i;
        qsizetype j = i;
        while (j < n && isBlank(text[j]))
            ++j;
        if (j >= n || text[j] != u'=')
            continue;
        ++j;
        while (j < n && isBlank(text[j]))
            ++j;
        if (j < n && (text[j] == u'"' || text[j] == u'\'')) {
            const qsizetype close = text.indexOf(text[j], j + 1);
            if (close < 0)
                return -1;
            i = close + 1;
        } else {
            while (j < n && !isBlank(text[j]) && text[j] != u'>')
                ++j;
            i = j;
        }
    }
}

} // namespace orvel
