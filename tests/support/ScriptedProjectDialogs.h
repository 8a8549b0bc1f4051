#pragma once
// Answers the project dialogs from a script: each call takes the next step, which must be of
// its kind; anything else is recorded as a problem (and answered with Cancel).

#include "projects/core/ProjectDialogs.h"
#include "projects/core/ProjectInfo.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace orvel::test {

class ScriptedProjectDialogs : public IProjectDialogs {
public:
    using Edit = std::function<void(TProjectInfo&)>;
    // The settings dialog: edit changes the project, then OK (or Cancel when ok is false).
    ScriptedProjectDialogs& expectEdit(const QString& caption, Edit edit, bool ok = true);
    // The project choice answers with result and, for spOpen, the list index.
    ScriptedProjectDialogs& expectSelect(int result, int index = -1);
    // "Order of Projects": OK with these list indexes in order (Cancel when ok is false).
    ScriptedProjectDialogs& expectOrder(const QList<int>& order, bool ok = true);

    QStringList problems() const;
    void reset();
    // What each choice showed: the names, joined by ",".
    QStringList selectShown;
    // The default root each settings dialog was given.
    QStringList editRoots;
    // The languages each settings dialog offered, by id.
    QList<QList<quint32>> editLanguages;

    bool editProject(QPoint pos, const QString& caption, TProjectInfo& project, bool tlsAvailable,
                     const QList<TLanguageName>& languages, const QString& defaultRoot) override;
    int selectProject(const QString& caption, const QStringList& names, int& index) override;
    bool orderProjects(QPoint pos, const QStringList& names, int& index,
                       QList<int>& order) override;

private:
    enum Kind { EditStep, SelectStep, OrderStep };
    struct Step {
        Kind kind = EditStep;
        QString caption;
        Edit edit;
        bool ok = true;
        int result = 0;
        int index = -1;
        QList<int> order;
    };
    bool take(Kind kind, const QString& what, Step& step);
    QList<Step> m_steps;
    QStringList m_problems;
};

} // namespace orvel::test
