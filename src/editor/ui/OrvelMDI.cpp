#include "editor/ui/OrvelMDI.h"

#include "base/core/Dialogs.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "dialogs/core/ElementDialogs.h"
#include "editor/ui/DocumentHost.h"
#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QVBoxLayout>

namespace orvel {

namespace {

// The document window's commands.
const TCommandDef kEncodingCommands[] = {
    {"ActionToUtf8", 0, N_("Other"), N_("UTF-&8"), N_("Change to Utf-8 encoding"), ""},
    {"ActionToUtf16LE", 0, N_("Other"), N_("UTF-16 (&LE)"), N_("Change to Utf-16 (LE) encoding"),
     ""},
    {"ActionToUtf16BE", 0, N_("Other"), N_("UTF-16 (&BE)"), N_("Change to Utf-16 (BE) encoding"),
     ""},
    {"ActionToAnsi", 0, N_("Other"), N_("&ANSI Latin 1"), N_("Change to Ansi encoding"), ""},
};
const TSynEncoding kEncodingOfCommand[] = {seUTF8, seUTF16LE, seUTF16BE, seAnsi};

const TCommandDef kPreviousWin = {"ActionPreviousWin",     4419, N_("Global"), N_("&Previous"),
                                  N_("Previous document"), "F7"};
const TCommandDef kNextWin = {"ActionNextWin",     4420, N_("Global"), N_("&Next"),
                              N_("Next document"), "F8"};

} // namespace

TMDIForm::TMDIForm(IDocumentHost& host, TFileTypes fileType, QWidget* parent)
    : QWidget(parent), FileType(fileType), m_host(host) {
    WinIndex = -1;
    MarkCount = 0;
    TextLangId = 0;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    TextBuffer = new TEditorControl(this);
    layout->addWidget(TextBuffer);
    setFocusProxy(TextBuffer);

    if (FileType < ftText) {
        m_highlighter = THighlighter::create(THighlighterKind(FileType));
        TextBuffer->setHighlighter(m_highlighter.get());
    }
    DocId = m_host.GetId();
    HlEnabled = true;
    Encoding = seAnsi;
    UseBom = true;
    m_engine = std::make_unique<TTagEngine>(*TextBuffer, FileType, m_host.elementDialogs());
    createCommands();

    connect(TextBuffer, &TEditorControl::mouseDown, this,
            [this](Qt::MouseButton, QPoint) { TagMark = m_engine->FindTagAtCaret(); });
    connect(TextBuffer, &TEditorControl::contextMenuRequested, this, [this](QPoint global) {
        moveCaretForMenu(global);
        TagMark = m_engine->FindTagAtCaret();
        action("ActionEditTag")->setEnabled(TagMark.TagType != ttNone);
        action("ActionImageMap")->setEnabled(TagMark.TagType == ttImg);
        m_contextMenu->popup(global);
    });
    connect(TextBuffer, &TEditorControl::statusChanged, this, [this](int changes) {
        Q_EMIT statusChanged((changes & scModified) != 0);
        if (changes & scModified)
            Q_EMIT captionChanged();
    });
    connect(TextBuffer, &TEditorControl::keyDown, this, [this](QKeyEvent* e, bool* handled) {
        // F6 and F7 cycle the documents when no command has taken them.
        if (e->modifiers() != Qt::NoModifier)
            return;
        if (e->key() == Qt::Key_F6) {
            m_host.PreviousMDI(DocId);
            *handled = true;
        } else if (e->key() == Qt::Key_F7) {
            m_host.NextMDI(DocId);
            *handled = true;
        }
    });
}

TMDIForm::~TMDIForm() {
    // The editor detaches the lexer; it must go before the highlighter that owns it.
    delete TextBuffer;
    TextBuffer = nullptr;
}

void TMDIForm::createCommands() {
    m_commands = new TCommandList(this, [this](const QString& message) {
        m_host.dialogs().error(m_host.appTitle(), message);
    });
    auto* edit = new QMenu(T_("&Edit"), this);
    auto* bookmarks = new QMenu(T_("&Bookmarks"), this);
    createEditCommands(edit, bookmarks);
    createFindCommands(edit);
    m_encodingMenu = new QMenu(T_("Change &encoding"), edit);
    m_encodingGroup = new QActionGroup(this);
    for (int i = 0; i < 4; ++i) {
        const TSynEncoding enc = kEncodingOfCommand[i];
        QAction* a = m_commands->add(kEncodingCommands[i], [this, enc] { ChangeEncoding(enc); });
        a->setCheckable(true);
        m_encodingGroup->addAction(a);
        m_encodingMenu->addAction(a);
    }
    edit->addMenu(m_encodingMenu);
    edit->addSeparator();
    auto* insert = new QMenu(T_("&Insert"), this);
    createElementCommands(insert);
    createCharCommands(insert);
    edit->addAction(action("ActionPreviousWin"));
    edit->addAction(action("ActionNextWin"));
    // Shortcuts act only while this window is the visible one.
    for (QAction* a : m_commands->actions()) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }
    m_menus.append({3, edit});
    m_menus.append({4, insert});
    m_menus.append({5, bookmarks});
    createContextMenu();
    updateEncodingMenu();
}

QAction* TMDIForm::action(const char* name) const {
    return m_commands->action(name);
}

void TMDIForm::setCaption(const QString& caption) {
    m_caption = caption;
    setWindowTitle(caption);
    Q_EMIT captionChanged();
}

bool TMDIForm::modified() const {
    return TextBuffer->modified();
}

void TMDIForm::setTextLangId(quint32 id) {
    TextLangId = (FileType == ftHtml || FileType == ftText) ? id : 0;
}

QString TMDIForm::GetTextName() const {
    const QString root = m_host.htmlRoot();
    if (!root.isEmpty() && TextName.startsWith(root) && TextName.size() > root.size())
        return TextName.mid(root.size()).left(255);
    return TextName;
}

void TMDIForm::updateEncodingMenu() {
    const QList<QAction*> acts = m_encodingGroup->actions();
    for (int i = 0; i < acts.size(); ++i)
        acts[i]->setChecked(kEncodingOfCommand[i] == Encoding);
}

void TMDIForm::SetProperties(const THighlighter* master, const TSynEditProperties& props,
                             const TSynGutterProperties& gutter) {
    if (m_highlighter && master && master->kind() == m_highlighter->kind())
        m_highlighter->assign(*master);
    HlEnabled = props.Highlight;
    TextBuffer->setHighlighterEnabled(HlEnabled);
    TextBuffer->setOptions(props.Options);
    TextBuffer->setTabWidth(props.TabWidth);
    TextBuffer->setRightEdge(props.RightEdge);
    TextBuffer->setGutterVisible(gutter.Visible);
    TextBuffer->setShowLineNumbers(gutter.ShowLineNumbers);
    TextBuffer->setLeadingZeros(gutter.LeadingZeros);
    TextBuffer->setDigitCount(gutter.DigitCount);
    const QColor bg = bgrToColor(props.BgColor);
    TextBuffer->setColors(palette().color(QPalette::Text),
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
    TextBuffer->setEditorFont(font);
}

void TMDIForm::SetKeyStrokes(const TKeyStrokes& strokes) {
    TextBuffer->setKeyStrokes(strokes);
}

void TMDIForm::Activate() {
    TagMark = TTagMark();
    UpdateText();
    updatePasteCommands();
    updateEncodingMenu();
    findActivated();
    TextBuffer->focusText();
}

void TMDIForm::closeDocument() {
    if (!TsvName.isEmpty() && QFileInfo::exists(TsvName))
        QFile::remove(TsvName);
    m_host.CloseMDI(WinIndex, DocId, Status, TextName);
    Status = tsNew;
}

} // namespace orvel
