#pragma once
// The real project dialogs behind the interface the project commands use.

#include "projects/core/ProjectDialogs.h"

#include <QPointer>

class QWidget;

namespace orvel {

class IDialogs;
class TProjectDialog;
class TSelectProjectDialog;

class TQtProjectDialogs : public IProjectDialogs {
public:
    // parent owns the dialogs; dialogs (when given) answers their own questions and must
    // outlive them.
    explicit TQtProjectDialogs(QWidget* parent, IDialogs* dialogs = nullptr);
    // Deletes the dialogs when no window owns them.
    ~TQtProjectDialogs() override;
    TQtProjectDialogs(const TQtProjectDialogs&) = delete;
    TQtProjectDialogs& operator=(const TQtProjectDialogs&) = delete;

    bool editProject(QPoint pos, const QString& caption, TProjectInfo& project, bool tlsAvailable,
                     const QList<TLanguageName>& languages, const QString& defaultRoot) override;
    int selectProject(const QString& caption, const QStringList& names, int& index) override;
    bool orderProjects(QPoint pos, const QStringList& names, int& index,
                       QList<int>& order) override;
    void saveSettings(TUnicodeIniFile& ini) override;

    // The settings file the project dialog keeps its histories in, loaded when it is made.
    void setIniFileName(const QString& iniName) { m_iniName = iniName; }
    // Created at first use.
    TProjectDialog* projectDialog();
    TSelectProjectDialog* selectDialog();

private:
    QWidget* m_parent;
    IDialogs* m_dialogs;
    QString m_iniName;
    QPointer<TProjectDialog> m_projectDlg;
    QPointer<TSelectProjectDialog> m_selectDlg;
};

} // namespace orvel
