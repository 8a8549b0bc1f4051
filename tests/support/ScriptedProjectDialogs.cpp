#include "ScriptedProjectDialogs.h"

namespace orvel::test {

ScriptedProjectDialogs& ScriptedProjectDialogs::expectEdit(const QString& caption, Edit edit,
                                                           bool ok) {
    Step s;
    s.kind = EditStep;
    s.caption = caption;
    s.edit = std::move(edit);
    s.ok = ok;
    m_steps.append(s);
    return *this;
}

ScriptedProjectDialogs& ScriptedProjectDialogs::expectSelect(int result, int index) {
    Step s;
    s.kind = SelectStep;
    s.result = result;
    s.index = index;
    m_steps.append(s);
    return *this;
}

ScriptedProjectDialogs& ScriptedProjectDialogs::expectOrder(const QList<int>& order, bool ok) {
    Step s;
    s.kind = OrderStep;
    s.ok = ok;
    s.order = order;
    m_steps.append(s);
    return *this;
}

QStringList ScriptedProjectDialogs::problems() const {
    QStringList out = m_problems;
    for (const Step& s : m_steps)
        out << QStringLiteral("project dialog %1 expected but never shown").arg(int(s.kind));
    return out;
}

void ScriptedProjectDialogs::reset() {
    m_steps.clear();
    m_problems.clear();
    selectShown.clear();
    editRoots.clear();
    editLanguages.clear();
}

bool ScriptedProjectDialogs::take(Kind kind, const QString& what, Step& step) {
    if (m_steps.isEmpty() || m_steps.first().kind != kind ||
        !what.contains(m_steps.first().caption)) {
        m_problems << QStringLiteral("unexpected project dialog %1: %2").arg(int(kind)).arg(what);
        return false;
    }
    step = m_steps.takeFirst();
    return true;
}

bool ScriptedProjectDialogs::editProject(QPoint, const QString& caption, TProjectInfo& project,
                                         bool, const QList<TLanguageName>& languages,
                                         const QString& defaultRoot) {
    editRoots << defaultRoot;
    QList<quint32> ids;
    for (const TLanguageName& l : languages)
        ids << l.Id;
    editLanguages << ids;
    Step s;
    if (!take(EditStep, caption, s))
        return false;
    if (project.ProjPath.isEmpty())
        project.ProjPath = defaultRoot; // as the dialog fills an empty root
    if (!s.ok)
        return false;
    if (s.edit)
        s.edit(project);
    return true;
}

int ScriptedProjectDialogs::selectProject(const QString& caption, const QStringList& names,
                                          int& index) {
    selectShown << names.join(u',');
    Step s;
    if (!take(SelectStep, caption, s))
        return spCancel;
    if (s.result == spOpen)
        index = s.index;
    return s.result;
}

bool ScriptedProjectDialogs::orderProjects(QPoint, const QStringList& names, int&,
                                           QList<int>& order) {
    Step s;
    if (!take(OrderStep, names.join(u','), s) || !s.ok)
        return false;
    order = s.order;
    return true;
}

} // namespace orvel::test
