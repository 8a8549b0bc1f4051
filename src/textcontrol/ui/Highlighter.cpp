#include "textcontrol/ui/Highlighter.h"

#include "textcontrol/ui/HighlighterKinds.h"

#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintillabase.h>

namespace orvel {

QColor bgrToColor(quint32 bgr) {
    // Anything with a high byte (none, system colours of old files) means "no colour".
    if (bgr & 0xFF000000u)
        return {};
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

quint32 colorToBgr(const QColor& color) {
    if (!color.isValid())
        return kNoColor;
    return quint32(color.red()) | quint32(color.green()) << 8 | quint32(color.blue()) << 16;
}

THighlighter::THighlighter(THighlighterKind kind, QsciLexer* lexer)
    : m_kind(kind), m_lexer(lexer), m_font(QStringLiteral("Courier New"), 10) {
    m_font.setStyleHint(QFont::TypeWriter);
}

THighlighter::~THighlighter() = default;

std::unique_ptr<THighlighter> THighlighter::create(THighlighterKind kind) {
    QsciLexer* lexer = hl::makeLexer(kind);
    if (!lexer)
        return nullptr;
    std::unique_ptr<THighlighter> h(new THighlighter(kind, lexer));
    for (const hl::AttrDef& def : hl::attrDefs(kind))
        h->addAttr(QString::fromLatin1(def.name), def.styles, def.def);
    h->apply();
    return h;
}

void THighlighter::addAttr(const QString& name, const QList<int>& styles, const TAttrStyle& def) {
    m_attrs.append({name, styles, def});
}

qsizetype THighlighter::indexOf(const QString& name) const {
    for (qsizetype i = 0; i < m_attrs.size(); ++i)
        if (m_attrs[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString THighlighter::defaultAttribute(TAttrKind kind) const {
    // HTML has no strings or blanks of its own: its values and plain text stand for them;
    // CSS names properties and selectors.
    const bool html = m_kind == hkHtml;
    const bool css = m_kind == hkCss;
    QString name;
    switch (kind) {
    case akComment:
        name = QStringLiteral("Comment");
        break;
    case akIdentifier:
        name = css ? QStringLiteral("Selector") : QStringLiteral("Identifier");
        break;
    case akKeyword:
        name = css ? QStringLiteral("Property") : QStringLiteral("Key");
        break;
    case akString:
        name = html ? QStringLiteral("Value") : QStringLiteral("String");
        break;
    case akWhitespace:
        name = html ? QStringLiteral("Text") : QStringLiteral("Space");
        break;
    case akSymbol:
        name = QStringLiteral("Symbol");
        break;
    }
    return indexOf(name) >= 0 ? m_attrs[indexOf(name)].name : QString();
}

QStringList THighlighter::attributeNames() const {
    QStringList names;
    for (const Attr& a : m_attrs)
        names << a.name;
    return names;
}

TAttrStyle THighlighter::attribute(const QString& name) const {
    const qsizetype i = indexOf(name);
    return i >= 0 ? m_attrs[i].value : TAttrStyle{};
}

void THighlighter::setAttribute(const QString& name, const TAttrStyle& style) {
    const qsizetype i = indexOf(name);
    if (i < 0 || m_attrs[i].value == style)
        return;
    m_attrs[i].value = style;
    apply();
}

void THighlighter::assign(const THighlighter& other) {
    if (&other == this || other.m_kind != m_kind)
        return;
    for (const Attr& src : other.m_attrs)
        for (Attr& a : m_attrs)
            if (a.name == src.name)
                a.value = src.value;
    apply();
}

QString THighlighter::attributeOfStyle(int style) const {
    for (const Attr& a : m_attrs)
        if (a.styles.contains(style))
            return a.name;
    return {};
}

void THighlighter::setBaseFont(const QFont& font) {
    m_font = font;
    apply();
}

void THighlighter::setBaseColors(const QColor& foreground, const QColor& background) {
    m_fg = foreground.isValid() ? foreground : QColor(Qt::black);
    m_bg = background.isValid() ? background : QColor(Qt::white);
    apply();
}

QsciLexer* THighlighter::lexer() const {
    return m_lexer.get();
}

void THighlighter::apply() {
    QsciLexer* lx = m_lexer.get();
    // The defaults reach the editor's default style when the lexer is set.
    lx->setDefaultColor(m_fg);
    lx->setDefaultPaper(m_bg);
    lx->setDefaultFont(m_font);

    // Every style the lexer describes plus the default style: what no attribute covers shows
    // in the base colours and font.
    QList<const Attr*> owner(QsciScintillaBase::STYLE_MAX + 1, nullptr);
    QList<bool> used(QsciScintillaBase::STYLE_MAX + 1, false);
    used[QsciScintillaBase::STYLE_DEFAULT] = true;
    for (int s = 0; s <= QsciScintillaBase::STYLE_MAX; ++s)
        if (!lx->description(s).isEmpty())
            used[s] = true;
    for (const Attr& a : m_attrs)
        for (int s : a.styles)
            if (s >= 0 && s <= QsciScintillaBase::STYLE_MAX && !owner[s]) {
                owner[s] = &a;
                used[s] = true;
            }

    for (int s = 0; s <= QsciScintillaBase::STYLE_MAX; ++s) {
        if (!used[s])
            continue;
        QColor fg = m_fg;
        QColor bg = m_bg;
        QFont font = m_font;
        if (const Attr* a = owner[s]) {
            if (QColor c = bgrToColor(a->value.foreground); c.isValid())
                fg = c;
            if (QColor c = bgrToColor(a->value.background); c.isValid())
                bg = c;
            font.setBold(a->value.style & fsBold);
            font.setItalic(a->value.style & fsItalic);
            font.setUnderline(a->value.style & fsUnderline);
            font.setStrikeOut(a->value.style & fsStrikeOut);
        }
        // Each change reaches an attached editor at once; skip the ones that change nothing.
        if (lx->color(s) != fg)
            lx->setColor(fg, s);
        if (lx->paper(s) != bg)
            lx->setPaper(bg, s);
        if (lx->font(s) != font)
            lx->setFont(font, s);
    }
}

} // namespace orvel
