// The main window's page "Local anchors" and what it needs of the documents and projects.

#include "app/ui/MainLayout.h"
#include "app/ui/Orvelfrm.h"
#include "base/core/Translate.h"
#include "editor/ui/OrvelMDI.h"
#include "projects/core/ProjectInfo.h"
#include "search/ui/AnchorPage.h"

#include <QTabWidget>

namespace orvel {

void THauptForm::createAnchorPage() {
    m_anchorPage = new TAnchorPage(*this, *this, m_dialogs);
    // The page takes the place the frame keeps for it.
    QTabWidget* tabs = m_layout->pcLeft;
    const int current = tabs->currentIndex();
    QWidget* old = tabs->widget(2);
    tabs->removeTab(2);
    delete old;
    tabs->insertTab(2, m_anchorPage, T_("Local anchors"));
    tabs->setCurrentIndex(current);
}

QString THauptForm::projectName() const {
    return activeProject() ? activeProject()->ProjName : QString();
}

QString THauptForm::activeDocumentFile() const {
    const TMDIForm* form = activeDocument();
    return form && form->Status() != tsNew ? form->TextName() : QString();
}

bool THauptForm::documentModified(const QString& fileName) const {
    const TMDIForm* form = documentAt(FindWindowByName(fileName));
    return form && form->Status() != tsNew && form->modified();
}

bool THauptForm::reloadDocument(const QString& fileName) {
    TMDIForm* form = documentAt(FindWindowByName(fileName));
    if (!form || form->Status() == tsNew)
        return true;
    return report(form->ReLoadText());
}

} // namespace orvel
