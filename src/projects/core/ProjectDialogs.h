#pragma once
// What the project commands ask the user, behind an interface: the program shows the real
// dialogs, tests answer from a script.

#include "base/core/LanguageIds.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace orvel {

class TProjectInfo;
class TUnicodeIniFile;

// Answers of the project choice.
enum TSelectProjectResult : int { spOpen = 1, spCancel = 2, spOther = 4, spNew = 6 };

class IProjectDialogs {
public:
    virtual ~IProjectDialogs() = default;
    // The project settings dialog; edits project in place and returns true on OK. Its top
    // left corner goes to pos, centred when a coordinate is negative. defaultRoot fills an
    // empty root.
    virtual bool editProject(QPoint pos, const QString& caption, TProjectInfo& project,
                             bool tlsAvailable, const QList<TLanguageName>& languages,
                             const QString& defaultRoot) = 0;
    // The project choice: names in list order, index preselected and, on spOpen, the list
    // index chosen.
    virtual int selectProject(const QString& caption, const QStringList& names, int& index) = 0;
    // "Order of Projects": on OK order holds the list indexes that stay, in their new order,
    // and index the list position selected (-1 for none).
    virtual bool orderProjects(QPoint pos, const QStringList& names, int& index,
                               QList<int>& order) = 0;
    // The dialogs' own settings (histories), written with the shell's at exit.
    virtual void saveSettings(TUnicodeIniFile& ini) { Q_UNUSED(ini); }
};

} // namespace orvel
