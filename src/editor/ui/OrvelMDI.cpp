#include "editor/ui/OrvelMDI.h"

#include "base/core/Dialogs.h"
#include "base/core/Translate.h"
#include "dialogs/core/ElementDialogs.h"
#include "editor/ui/DocumentContext.h"
#include "editor/ui/HtmlCharDlg.h"
#include "spelling/ui/SynEditSpellPlugin.h"
#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace orvel {

TMDIForm::TMDIForm(IDocumentContext& context, TFileTypes fileType, int docId, QWidget* parent)
    : QWidget(parent), m_context(context), m_fileType(fileType), m_docId(docId) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_editor = new TEditorControl(this);
    layout->addWidget(m_editor);
    setFocusProxy(m_editor);

    if (m_fileType < ftText) {
        m_highlighter = THighlighter::create(THighlighterKind(m_fileType));
        m_editor->setHighlighter(m_highlighter.get());
    }
    if ((m_fileType == ftHtml || m_fileType == ftText) && m_context.spellChecker())
        m_spell = new TDrawAutoSpellCheckPlugin(m_editor, m_context.spellChecker());
    m_engine = std::make_unique<TTagEngine>(*m_editor, m_fileType, m_context.elementDialogs());
    runCharDialog = [](THtmlCharDialog& dialog, QPoint pos, QString& name) {
        return dialog.Execute(pos, name);
    };
    m_editor->onReplaceText = [this](const QString& search, const QString& replacement, int line,
                                     int column) {
        return TextBufferReplaceText(search, replacement, line, column);
    };

    connect(m_editor, &TEditorControl::mouseDown, this,
            [this](Qt::MouseButton, QPoint) { m_tagMark = m_engine->FindTagAtCaret(); });
    connect(m_editor, &TEditorControl::contextMenuRequested, this, [this](QPoint global) {
        moveCaretForMenu(global);
        m_tagMark = m_engine->FindTagAtCaret();
        Q_EMIT contextMenuRequested(global);
    });
    connect(m_editor, &TEditorControl::statusChanged, this, [this](int changes) {
        Q_EMIT statusChanged((changes & scModified) != 0);
        if (changes & scModified)
            Q_EMIT captionChanged();
    });
    connect(m_editor, &TEditorControl::keyDown, this, &TMDIForm::keyDown);
    connect(m_editor, &TEditorControl::gutterClick, this,
            [this](int line, int bookmark) { gutterClicked(line, bookmark); });
}

TMDIForm::~TMDIForm() {
    // The editor detaches the lexer; it must go before the highlighter that owns it.
    delete m_editor;
    m_editor = nullptr;
}

void TMDIForm::keyDown(QKeyEvent* e, bool* handled) {
    // F6 and F7 cycle the documents when no command has taken them.
    if (e->modifiers() != Qt::NoModifier)
        return;
    if (e->key() == Qt::Key_F6) {
        Q_EMIT cycleRequested(false);
        *handled = true;
    } else if (e->key() == Qt::Key_F7) {
        Q_EMIT cycleRequested(true);
        *handled = true;
    }
}

void TMDIForm::setCaption(const QString& caption) {
    m_caption = caption;
    setWindowTitle(caption);
    Q_EMIT captionChanged();
}

bool TMDIForm::modified() const {
    return m_editor->modified();
}

void TMDIForm::discardChanges() {
    m_editor->setModified(false);
}

void TMDIForm::setTextLangId(quint32 id) {
    if (m_fileType != ftHtml && m_fileType != ftText)
        id = 0;
    if (m_textLangId == id)
        return;
    m_textLangId = id;
    if (m_spell)
        m_spell->setLanguage(id);
    Q_EMIT languageChanged();
}

void TMDIForm::presetFormat(TSynEncoding encoding, bool bom) {
    m_format.encoding = encoding;
    m_format.bom = bom;
    Q_EMIT formatChanged();
}

QString TMDIForm::GetTextName() const {
    const QString root = m_context.htmlRoot();
    if (!root.isEmpty() && m_textName.startsWith(root) && m_textName.size() > root.size())
        return m_textName.mid(root.size()).left(255);
    return m_textName;
}

void TMDIForm::SetProperties(const THighlighter* master, const TSynEditProperties& props,
                             const TSynGutterProperties& gutter) {
    if (m_highlighter && master && master->kind() == m_highlighter->kind())
        m_highlighter->assign(*master);
    m_hlEnabled = props.Highlight;
    m_editor->setHighlighterEnabled(m_hlEnabled);
    m_editor->setOptions(props.Options);
    m_editor->setTabWidth(props.TabWidth);
    m_editor->setRightEdge(props.RightEdge);
    m_editor->setGutterVisible(gutter.Visible);
    m_editor->setShowLineNumbers(gutter.ShowLineNumbers);
    m_editor->setLeadingZeros(gutter.LeadingZeros);
    m_editor->setDigitCount(gutter.DigitCount);
    const QColor bg = bgrToColor(props.BgColor);
    m_editor->setColors(palette().color(QPalette::Text),
                        bg.isValid() ? bg : palette().color(QPalette::Base));
    SetNewFont(props.Font);
}

void TMDIForm::SetNewFont(const TFontSettings& settings) {
    QFont font(settings.name, settings.size > 0 ? settings.size : 10);
    font.setStyleHint(QFont::TypeWriter);
    // A missing stored font falls back to the system's fixed-pitch font.
    if (!QFontDatabase::families().contains(settings.name, Qt::CaseInsensitive)) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(settings.size > 0 ? settings.size : 10);
    }
    font.setBold(settings.style & fsBold);
    font.setItalic(settings.style & fsItalic);
    font.setUnderline(settings.style & fsUnderline);
    font.setStrikeOut(settings.style & fsStrikeOut);
    m_editor->setEditorFont(font);
}

void TMDIForm::SetKeyStrokes(const TKeyStrokes& strokes) {
    m_editor->setKeyStrokes(strokes);
}

void TMDIForm::Activate() {
    m_tagMark = TTagMark();
    UpdateText();
    findActivated();
    // The shared checker switches to this document's language.
    if (m_spell)
        m_spell->activate();
    m_editor->focusText();
}

void TMDIForm::removeAutosaveCopy() {
    if (!m_tsvName.isEmpty() && QFileInfo::exists(m_tsvName))
        QFile::remove(m_tsvName);
}

} // namespace orvel
