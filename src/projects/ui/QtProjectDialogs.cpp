#include "projects/ui/QtProjectDialogs.h"

#include "base/core/Translate.h"
#include "base/ui/HListBox.h"
#include "projects/ui/ProjectDlg.h"
#include "projects/ui/SelectProjectDlg.h"

namespace orvel {

TQtProjectDialogs::TQtProjectDialogs(QWidget* parent, IDialogs* dialogs)
    : m_parent(parent), m_dialogs(dialogs) {
}

TQtProjectDialogs::~TQtProjectDialogs() {
    if (!m_parent) {
        delete m_projectDlg;
        delete m_selectDlg;
    }
}

void TQtProjectDialogs::saveSettings(TUnicodeIniFile& ini) {
    // A dialog never made never loaded its histories: nothing of them to write.
    if (m_projectDlg)
        m_projectDlg->SaveToIni(ini);
}

TProjectDialog* TQtProjectDialogs::projectDialog() {
    if (!m_projectDlg) {
        m_projectDlg = new TProjectDialog(m_parent);
        m_projectDlg->setDialogs(m_dialogs);
        if (!m_iniName.isEmpty())
            m_projectDlg->LoadFromIni(m_iniName);
    }
    return m_projectDlg;
}

TSelectProjectDialog* TQtProjectDialogs::selectDialog() {
    if (!m_selectDlg)
        m_selectDlg = new TSelectProjectDialog(m_parent);
    return m_selectDlg;
}

bool TQtProjectDialogs::editProject(QPoint pos, const QString& caption, TProjectInfo& project,
                                    bool tlsAvailable, const QList<TLanguageName>& languages,
                                    const QString& defaultRoot) {
    return projectDialog()->Execute(pos, caption, project, tlsAvailable, languages, defaultRoot);
}

int TQtProjectDialogs::selectProject(const QString& caption, const QStringList& names, int& index) {
    return selectDialog()->Execute(caption, names, index);
}

bool TQtProjectDialogs::orderProjects(QPoint pos, const QStringList& names, int& index,
                                      QList<int>& order) {
    TEditHistListDialog dlg(m_parent);
    if (m_dialogs)
        dlg.setDialogs(m_dialogs);
    QStringList texts = names;
    // The original positions travel with the entries, so the new order can be told.
    QList<QVariant> objects;
    for (int i = 0; i < names.size(); ++i)
        objects << QVariant(i);
    if (!dlg.Execute(pos, T_("Order of Projects"), index, false, true, texts, T_("Projects"),
                     &objects))
        return false;
    order.clear();
    for (const QVariant& object : objects)
        order << object.toInt();
    return true;
}

} // namespace orvel
