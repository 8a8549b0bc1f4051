#include "ScriptedDialogs.h"

namespace orvel::test {

namespace {
const char* kindName(ScriptedDialogs::Kind k) {
    switch (k) {
    case ScriptedDialogs::Ask:
        return "question";
    case ScriptedDialogs::Error:
        return "error";
    case ScriptedDialogs::Info:
        return "message";
    case ScriptedDialogs::OpenName:
        return "open dialog";
    case ScriptedDialogs::SaveName:
        return "save dialog";
    case ScriptedDialogs::Folder:
        return "folder dialog";
    case ScriptedDialogs::Choice:
        return "choice";
    case ScriptedDialogs::Input:
        return "prompt";
    case ScriptedDialogs::Replace:
        return "replacement confirmation";
    case ScriptedDialogs::FileReplace:
        return "replacement question";
    }
    return "?";
}
} // namespace

ScriptedDialogs& ScriptedDialogs::expectAsk(const QString& contains, TMsgResult answer) {
    m_steps.append({Ask, contains, answer});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::expectError(const QString& contains) {
    m_steps.append({Error, contains, mrOK});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::expectInfo(const QString& contains) {
    m_steps.append({Info, contains, mrOK});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::expectOpenName(const QString& answer) {
    m_steps.append({OpenName, answer, mrOK});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::expectSaveName(const QString& answer) {
    m_steps.append({SaveName, answer, mrOK});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::expectFolder(const QString& answer) {
    m_steps.append({Folder, answer, mrOK});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectChoice(const QString& contains, int index) {
    m_steps.append({Choice, contains, mrOK, index, QString()});
    return *this;
}
ScriptedDialogs& ScriptedDialogs::expectInput(const QString& contains, const QString& answer,
                                              bool ok) {
    m_steps.append({Input, contains, ok ? mrOK : mrCancel, -1, answer});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectReplace(const QString& contains, TReplaceAction action) {
    Step step{Replace, contains};
    step.action = action;
    m_steps.append(step);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectFileReplace(const QString& line,
                                                    TFileReplaceAnswer answer) {
    Step step{FileReplace, line};
    step.fileAnswer = answer;
    m_steps.append(step);
    return *this;
}

QStringList ScriptedDialogs::problems() const {
    QStringList out = m_unexpected;
    for (const Step& s : m_steps)
        out << QStringLiteral("expected %1 \"%2\" never came").arg(kindName(s.kind), s.text);
    return out;
}

void ScriptedDialogs::reset() {
    m_steps.clear();
    m_unexpected.clear();
    shown.clear();
    fileDialogs.clear();
    replacePoints.clear();
    fileReplaceQuestions.clear();
    beeps = 0;
}

const ScriptedDialogs::Step* ScriptedDialogs::take(Kind kind, const QString& text) {
    const bool isName = kind == OpenName || kind == SaveName || kind == Folder;
    if (!m_steps.isEmpty() && m_steps.first().kind == kind &&
        (isName || text.contains(m_steps.first().text))) {
        m_current = m_steps.takeFirst();
        return &m_current;
    }
    m_unexpected << QStringLiteral("unexpected %1: %2").arg(kindName(kind), text);
    return nullptr;
}

TMsgResult ScriptedDialogs::ask(const QString& title, const QString& text, int, TMsgResult) {
    shown << title + u'|' + text;
    const Step* s = take(Ask, title + u'|' + text);
    return s ? s->answer : mrCancel;
}

void ScriptedDialogs::error(const QString& title, const QString& text) {
    shown << title + u'|' + text;
    take(Error, title + u'|' + text);
}

void ScriptedDialogs::info(const QString& title, const QString& text) {
    shown << title + u'|' + text;
    take(Info, title + u'|' + text);
}

QString ScriptedDialogs::openFileName(const TFileDialogArgs& args) {
    fileDialogs << args;
    const Step* s = take(OpenName, args.title);
    return s ? s->text : QString();
}

QString ScriptedDialogs::saveFileName(const TFileDialogArgs& args) {
    fileDialogs << args;
    const Step* s = take(SaveName, args.title);
    return s ? s->text : QString();
}

QString ScriptedDialogs::chooseFolder(const QString& prompt, const QString&, const QString&) {
    const Step* s = take(Folder, prompt);
    return s ? s->text : QString();
}

int ScriptedDialogs::choose(const QString& title, const QString& text, const QStringList& buttons) {
    shown << title + u'|' + text;
    const Step* s = take(Choice, title + u'|' + text);
    if (!s)
        return -1;
    if (s->index >= buttons.size()) {
        m_unexpected << QStringLiteral("choice %1 of %2 buttons: %3")
                            .arg(s->index)
                            .arg(buttons.size())
                            .arg(text);
        return -1;
    }
    return s->index;
}

bool ScriptedDialogs::inputText(const QString& title, const QString& prompt, QString& text) {
    shown << title + u'|' + prompt;
    const Step* s = take(Input, title + u'|' + prompt);
    if (!s || s->answer != mrOK)
        return false;
    text = s->reply;
    return true;
}

TReplaceAction ScriptedDialogs::confirmReplace(QPoint screenPos, const QString& prompt) {
    shown << prompt;
    replacePoints << screenPos;
    const Step* s = take(Replace, prompt);
    return s ? s->action : raCancel;
}

TFileReplaceAnswer ScriptedDialogs::confirmFileReplace(const TFileReplaceQuestion& question) {
    fileReplaceQuestions << question;
    const Step* s = take(FileReplace, question.line);
    return s ? s->fileAnswer : frCancel;
}

} // namespace orvel::test
