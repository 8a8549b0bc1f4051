#pragma once
// A syntax highlighter: named attributes (colours and styles) over a lexer of the editor
// control. One instance per document window; a master instance per file type holds the
// user's colours and is copied into the windows.

#include "textcontrol/core/HighlighterTypes.h"

#include <QColor>
#include <QFont>
#include <QStringList>
#include <memory>

class QsciLexer;

namespace orvel {

// 0x00BBGGRR <-> QColor; kNoColor is an invalid QColor and back.
QColor bgrToColor(quint32 bgr);
quint32 colorToBgr(const QColor& color);

class THighlighter {
public:
    virtual ~THighlighter();
    static std::unique_ptr<THighlighter> create(THighlighterKind kind);

    THighlighterKind kind() const { return m_kind; }
    // Attribute names in a fixed order (e.g. "Comment", "Key", "Identifier").
    QStringList attributeNames() const;
    // The attribute that holds a kind of token in this language.
    QString defaultAttribute(TAttrKind kind) const;
    // The attribute that colours a lexer style; empty when none does.
    QString attributeOfStyle(int style) const;
    TAttrStyle attribute(const QString& name) const;
    void setAttribute(const QString& name, const TAttrStyle& style);
    // Copies every attribute of another highlighter of the same kind.
    void assign(const THighlighter& other);

    // Base font and colours of the editor the highlighter is shown in.
    void setBaseFont(const QFont& font);
    void setBaseColors(const QColor& foreground, const QColor& background);

    // For the editor component only.
    QsciLexer* lexer() const;

protected:
    THighlighter(THighlighterKind kind, QsciLexer* lexer);
    struct Attr {
        QString name;
        QList<int> styles; // lexer style numbers the attribute colours
        TAttrStyle value;
    };
    void addAttr(const QString& name, const QList<int>& styles, const TAttrStyle& def);
    void apply(); // pushes attributes, font and colours into the lexer

private:
    qsizetype indexOf(const QString& name) const; // ignoring case; -1 when unknown

    THighlighterKind m_kind;
    std::unique_ptr<QsciLexer> m_lexer;
    QList<Attr> m_attrs;
    QFont m_font;
    QColor m_fg = Qt::black;
    QColor m_bg = Qt::white;
};

} // namespace orvel
