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

} // namespace orvel::test
