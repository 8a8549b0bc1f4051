#include "editor/ui/DocumentCommands.h"

#include "base/core/Translate.h"
#include "editor/core/HtmlCatalog.h"
#include "editor/ui/DocumentContext.h"
#include "editor/ui/OrvelMDI.h"
#include "search/ui/FindReplDlg.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QHash>
#include <QMenu>
#include <QMimeData>
#include <QWidget>

namespace orvel {

namespace {

// clang-format off
const TCommandDef kEditCommands[] = {
    {CMD(ActionUndo), 2014, N_("Actions"), N_("&Undo"), N_("Undo last change"), "Alt+Backspace"},
    {CMD(ActionRedo), 2022, N_("Actions"), N_("&Redo"), N_("Redo last change"), "Shift+Alt+Backspace"},
    {CMD(ActionCut), 0, N_("Actions"), N_("&Cut"), N_("Cut selected text to clipboard"), ""},
    {CMD(ActionCopy), 0, N_("Actions"), N_("C&opy"), N_("Copy selected text to clipboard"), ""},
    {CMD(ActionPaste), 0, N_("Actions"), N_("&Insert"), N_("Insert text from clipboard"), ""},
    {CMD(ActionMatch), 2017, N_("Actions"), N_("&Search bracket"), N_("Search for matching bracket"), "Ctrl+M"},
    {CMD(ActionColumn), 2018, N_("Actions"), N_("Colu&mn mode"), N_("Select columns"), "F4"},
    {CMD(ActionSetBookmark), 2037, N_("Actions"), N_("Set &bookmark"), N_("New bookmark at current line"), "Ctrl+D"},
    {CMD(ActionClearBookmarks), 2038, N_("Actions"), N_("&Delete all"), N_("Delete all bookmarks"), "Ctrl+Shift+D"},
};
const TCommandDef kFindCommands[] = {
    {CMD(ActionFind), 2015, N_("Actions"), N_("&Find .."), N_("Search for text"), "Ctrl+F"},
    {CMD(ActionReplace), 2016, N_("Actions"), N_("Re&place .."), N_("Replace text"), "Ctrl+R"},
    {CMD(ActionFindNext), 2019, N_("Actions"), N_("Find &next"), N_("Search/replace forwards"), "F3"},
    {CMD(ActionFindPrev), 2032, N_("Actions"), N_("Find &previous"), N_("Search/replace backwards"), "Shift+F3"},
};
const TCommandDef kEncodingCommands[] = {
    {CMD(ActionToUtf8), 0, N_("Other"), N_("UTF-&8"), N_("Change to Utf-8 encoding"), ""},
    {CMD(ActionToUtf16LE), 0, N_("Other"), N_("UTF-16 (&LE)"), N_("Change to Utf-16 (LE) encoding"), ""},
    {CMD(ActionToUtf16BE), 0, N_("Other"), N_("UTF-16 (&BE)"), N_("Change to Utf-16 (BE) encoding"), ""},
    {CMD(ActionToAnsi), 0, N_("Other"), N_("&ANSI Latin 1"), N_("Change to Ansi encoding"), ""},
};
const TCommandDef kCharCommands[] = {
    {CMD(ActionHtmlCode), 0, N_("Other"), N_("&Character entities .."), N_("Insert a character entity"), ""},
    {CMD(ActionCvToHtml), 2024, N_("Actions"), N_("All not &ASCII to HTML entities"), N_("Convert not ASCII characters to HTML entities"), ""},
    {CMD(ActionCvToIso), 2023, N_("Actions"), N_("All &HTML entities  to characters"), N_("Convert &HTML entities  to characters"), ""},
    {CMD(ActionWordToIso), 2029, N_("Actions"), N_("&HTML entity to character"), N_("Convert selected HTML entitiy to character"), ""},
};
// clang-format on
const TSynEncoding kEncodingOfCommand[] = {seUTF8, seUTF16LE, seUTF16BE, seAnsi};

const TDesktopKeys kDesktopKeys[] = {{cmd::ActionUndo, "Ctrl+Z"},
                                     {cmd::ActionRedo, "Ctrl+Shift+Z"},
                                     {cmd::ActionNextWin, "Ctrl+Tab"},
                                     {cmd::ActionPreviousWin, "Ctrl+Shift+Tab"}};

const char* const kCategories[] = {N_("Global"), N_("Wrapping"),  N_("Fonts"),      N_("Lists"),
                                   N_("Tables"), N_("Alignment"), N_("Dimensions"), N_("Colors"),
                                   N_("Frames"), N_("Forms")};

using Handler = void (TMDIForm::*)();

// The element commands with handlers of their own.
const QHash<int, Handler>& specialHandlers() {
    static const QHash<int, Handler> handlers = {
        {cmd::ActionPreviousWin, &TMDIForm::ActionPreviousWinExecute},
        {cmd::ActionNextWin, &TMDIForm::ActionNextWinExecute},
        {cmd::ActionLink, &TMDIForm::ActionLinkExecute},
        {cmd::ActionImage, &TMDIForm::ActionImageExecute},
        {cmd::ActionTarget, &TMDIForm::ActionTargetExecute},
        {cmd::ActionGoto, &TMDIForm::ActionGotoExecute},
        {cmd::ActionComment, &TMDIForm::ActionCommentExecute},
        {cmd::ActionNewTable, &TMDIForm::ActionNewTableExecute},
        {cmd::ActionFrameCols, &TMDIForm::ActionFrameColsExecute},
        {cmd::ActionFrameRows, &TMDIForm::ActionFrameRowsExecute},
        {cmd::ActionForm, &TMDIForm::ActionFormExecute},
        {cmd::ActionSelect, &TMDIForm::ActionSelectExecute},
        {cmd::ActionSelectGroup, &TMDIForm::ActionSelectGroupExecute},
        {cmd::ActionFrameRef, &TMDIForm::ActionFrameRefExecute},
        {cmd::ActionIFrames, &TMDIForm::ActionIFramesExecute},
        {cmd::ActionTextArea, &TMDIForm::ActionTextAreaExecute},
        {cmd::ActionFontColor, &TMDIForm::ActionFontColorExecute},
        {cmd::ActionColor, &TMDIForm::ActionColorExecute},
        {cmd::ActionBgImg, &TMDIForm::ActionBgImgExecute},
        {cmd::ActionFScroll, &TMDIForm::ActionFScrollExecute},
        {cmd::ActionInputText, &TMDIForm::ActionInputTextExecute},
        {cmd::ActionInputPwd, &TMDIForm::ActionInputPwdExecute},
        {cmd::ActionInputRadio, &TMDIForm::ActionInputRadioExecute},
        {cmd::ActionInputCheck, &TMDIForm::ActionInputCheckExecute},
        {cmd::ActionInputButton, &TMDIForm::ActionInputButtonExecute},
        {cmd::ActionSelectOpt, &TMDIForm::ActionSelectOptExecute},
        {cmd::ActionFormValue, &TMDIForm::ActionFormValueExecute},
        {cmd::ActionMailto, &TMDIForm::ActionMailtoExecute},
        {cmd::ActionMailtoCode, &TMDIForm::ActionMailtoCodeExecute},
        {cmd::ActionEditTag, &TMDIForm::ActionEditTagExecute},
        {cmd::ActionImageMap, &TMDIForm::ActionImageMapExecute},
    };
    return handlers;
}

bool clipboardHasText() {
    const QMimeData* md = QApplication::clipboard()->mimeData();
    return md && md->hasText();
}

} // namespace

TDocumentCommands::TDocumentCommands(QWidget* owner, QWidget* keyScope, IDocumentContext& context,
                                     TCommandList::Reporter report)
    : QObject(owner), m_context(context), m_list(new TCommandList(owner, std::move(report))) {
    addEditCommands();
    addFindCommands();
    addEncodingCommands();
    addElementCommands();
    m_list->resolveKeyClashes();
    addCharCommands();
    addSpellCommands();
    for (const TDesktopKeys& k : kDesktopKeys)
        m_list->addKeys(k);
    buildMenus();
    buildContextMenu();
    // Shortcuts act only while a document has the keyboard focus.
    for (QAction* a : m_list->actions()) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        keyScope->addAction(a);
    }
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { updatePaste(); });
    setDocument(nullptr);
}

QAction* TDocumentCommands::add(const TCommandDef& def, std::function<void(TMDIForm&)> run) {
    return m_list->add(def, [this, run = std::move(run)] {
        if (m_document)
            run(*m_document);
    });
}

void TDocumentCommands::addEditCommands() {
    const auto ed = [](void (TEditorControl::*f)()) {
        return [f](TMDIForm& d) { (d.TextBuffer()->*f)(); };
    };
    add(kEditCommands[0], ed(&TEditorControl::undo));
    add(kEditCommands[1], ed(&TEditorControl::redo));
    add(kEditCommands[2], [this](TMDIForm& d) {
        d.TextBuffer()->cutToClipboard();
        updatePaste();
    });
    add(kEditCommands[3], [this](TMDIForm& d) {
        d.TextBuffer()->copyToClipboard();
        updatePaste();
    });
    add(kEditCommands[4], ed(&TEditorControl::pasteFromClipboard));
    add(kEditCommands[5], [](TMDIForm& d) { d.TextBuffer()->findMatchingBracket(); });
    add(kEditCommands[6], [](TMDIForm& d) { d.TextBuffer()->setColumnMode(true); });
    add(kEditCommands[7], [](TMDIForm& d) { d.NewBookmark(d.TextBuffer()->caretXY()); });
    add(kEditCommands[8], [](TMDIForm& d) { d.clearBookmarks(); });
}

void TDocumentCommands::addFindCommands() {
    add(kFindCommands[0], [](TMDIForm& d) { d.openFindDialog(false); });
    add(kFindCommands[1], [](TMDIForm& d) { d.openFindDialog(true); });
    add(kFindCommands[2], [](TMDIForm& d) { d.findAgain(false); });
    add(kFindCommands[3], [](TMDIForm& d) { d.findAgain(true); });
}

void TDocumentCommands::addEncodingCommands() {
    m_encodingGroup = new QActionGroup(this);
    for (int i = 0; i < 4; ++i) {
        const TSynEncoding enc = kEncodingOfCommand[i];
        QAction* a = add(kEncodingCommands[i], [enc](TMDIForm& d) { d.ChangeEncoding(enc); });
        a->setCheckable(true);
        m_encodingGroup->addAction(a);
    }
}

void TDocumentCommands::addCharCommands() {
    add(kCharCommands[0], [](TMDIForm& d) { d.insertCharEntity(); });
    add(kCharCommands[1], [](TMDIForm& d) { d.ConvertToEntities(); });
    add(kCharCommands[2], [](TMDIForm& d) { d.ConvertToChars(); });
    add(kCharCommands[3], [](TMDIForm& d) { d.ConvertWordToChar(); });
}

void TDocumentCommands::addElementCommands() {
    for (const THtmlCommand& c : htmlCommands()) {
        if (c.kind == hkSpecial) {
            const Handler h = specialHandlers().value(c.def.id);
            Q_ASSERT(h);
            add(c.def, [h](TMDIForm& d) { (d.*h)(); });
        } else {
            add(c.def, [&c](TMDIForm& d) { d.element(c); });
        }
    }
}

void TDocumentCommands::buildMenus() {
    auto* owner = static_cast<QWidget*>(parent());
    auto* edit = new QMenu(T_("&Edit"), owner);
    edit->addActions({action(cmd::ActionUndo), action(cmd::ActionRedo)});
    edit->addSeparator();
    edit->addActions({action(cmd::ActionCut), action(cmd::ActionCopy), action(cmd::ActionPaste)});
    edit->addSeparator();
    m_selectWord = edit->addAction(T_("&Select word"), this, [this] {
        if (m_document)
            m_document->TextBuffer()->selectWord();
    });
    m_selectWord->setStatusTip(T_("Select word at cursor"));
    m_selectWord->setObjectName(QStringLiteral("itmSelectWord"));
    edit->addActions({action(cmd::ActionMatch), action(cmd::ActionColumn)});
    edit->addSeparator();
    edit->addActions({action(cmd::ActionFind), action(cmd::ActionFindNext),
                      action(cmd::ActionFindPrev), action(cmd::ActionReplace)});
    edit->addSeparator();
    buildSpellMenus();
    addSpellEntries(edit, false);
    edit->addSeparator();
    m_encodingMenu = edit->addMenu(T_("Change &encoding"));
    m_encodingMenu->addActions(m_encodingGroup->actions());
    edit->addSeparator();
    edit->addActions({action(cmd::ActionPreviousWin), action(cmd::ActionNextWin)});

    auto* insert = new QMenu(T_("&Insert"), owner);
    QMenu* codes = insert->addMenu(T_("&Codes"));
    QHash<QString, QMenu*> byCategory;
    for (const char* c : kCategories) {
        QMenu* m = codes->addMenu(T_(c));
        byCategory.insert(QString::fromLatin1(c), m);
        m_codeMenus << m;
    }
    for (const THtmlCommand& c : htmlCommands())
        if (QMenu* m = byCategory.value(QString::fromLatin1(c.def.category)))
            m->addAction(action(cmd::TDocCommandId(c.def.id)));
    insert->addAction(action(cmd::ActionHtmlCode));
    insert->addSeparator();
    insert->addActions(
        {action(cmd::ActionCvToHtml), action(cmd::ActionCvToIso), action(cmd::ActionWordToIso)});

    auto* bookmarks = new QMenu(T_("&Bookmarks"), owner);
    bookmarks->addActions({action(cmd::ActionSetBookmark), action(cmd::ActionClearBookmarks)});
    m_gotoMenu = bookmarks->addMenu(T_("&Goto"));
    m_setMenu = bookmarks->addMenu(T_("&Set"));
    for (int n = 0; n < 10; ++n) {
        const QString caption =
            T_("Bookmark &%s").replace(QStringLiteral("%s"), QString::number(n));
        m_gotoMenu->addAction(caption, this, [this, n] {
            if (m_document)
                m_document->TextBuffer()->gotoBookmark(n);
        });
        m_setMenu->addAction(caption, this, [this, n] {
            if (m_document)
                m_document->TextBuffer()->setBookmark(n, {1, m_document->TextBuffer()->caretY()});
        });
    }
    m_menus = {{3, edit}, {4, insert}, {5, bookmarks}};
}

void TDocumentCommands::buildContextMenu() {
    m_contextMenu = new QMenu(static_cast<QWidget*>(parent()));
    addSpellEntries(m_contextMenu, true);
    m_contextMenu->addActions(
        {action(cmd::ActionEditTag), action(cmd::ActionImageMap), action(cmd::ActionColor)});
    m_contextMenu->addAction(m_selectWord);
    m_contextMenu->addSeparator();
    QMenu* code = m_contextMenu->addMenu(T_("Insert &code"));
    for (QMenu* m : m_codeMenus)
        code->addMenu(m);
    m_contextMenu->addAction(action(cmd::ActionHtmlCode));
    m_contextMenu->addSeparator();
    m_contextMenu->addAction(T_("&Upper case"), this, [this] {
        if (m_document)
            m_document->TextBuffer()->upperCaseSelection();
    });
    m_contextMenu->addAction(T_("&Lower case"), this, [this] {
        if (m_document)
            m_document->TextBuffer()->lowerCaseSelection();
    });
    m_contextMenu->addAction(action(cmd::ActionWordToIso));
    m_contextMenu->addMenu(m_encodingMenu);
    m_contextMenu->addSeparator();
    m_contextMenu->addAction(action(cmd::ActionSetBookmark));
    m_contextMenu->addMenu(m_gotoMenu);
}

void TDocumentCommands::setDocument(TMDIForm* document) {
    if (m_document)
        disconnect(m_document, &TMDIForm::findStarted, this, nullptr);
    m_document = document;
    if (document)
        connect(document, &TMDIForm::findStarted, this, [this] {
            action(cmd::ActionFindNext)->setEnabled(true);
            action(cmd::ActionFindPrev)->setEnabled(true);
        });
    const bool on = document != nullptr;
    for (QAction* a : m_list->actions())
        a->setEnabled(on);
    for (QMenu* m : {m_gotoMenu, m_setMenu})
        m->setEnabled(on);
    m_selectWord->setEnabled(on);
    updateState();
}

TMDIForm* TDocumentCommands::document() const {
    return m_document;
}

void TDocumentCommands::updatePaste() {
    action(cmd::ActionPaste)->setEnabled(m_document && clipboardHasText());
}

void TDocumentCommands::updateState() {
    updatePaste();
    const TFindReplDialog* dlg = m_context.findDialog();
    const bool findAgain = m_document && dlg && !dlg->FindText().isEmpty();
    action(cmd::ActionFindNext)->setEnabled(findAgain);
    action(cmd::ActionFindPrev)->setEnabled(findAgain);
    const QList<QAction*> acts = m_encodingGroup->actions();
    for (int i = 0; i < acts.size(); ++i)
        acts[i]->setChecked(m_document && kEncodingOfCommand[i] == m_document->Encoding());
    updateSpellState();
}

void TDocumentCommands::popupContextMenu(QPoint globalPos) {
    if (!m_document)
        return;
    const TTagType tag = m_document->TagMark().TagType;
    action(cmd::ActionEditTag)->setEnabled(tag != ttNone);
    action(cmd::ActionImageMap)->setEnabled(tag == ttImg);
    prepareSpellEntries();
    m_contextMenu->popup(globalPos);
}

} // namespace orvel
