// The image dialog and the image map editor: what they need of the program, and their
// sections of the settings file ("ImageList", "ImageMap").

#include "app/ui/Orvelfrm.h"
#include "base/core/IniFileUtils.h"
#include "dialogs/ui/QtElementDialogs.h"

#include <QApplication>
#include <QFileInfo>

namespace orvel {

void THauptForm::setupImageDialogs() {
    auto* own = dynamic_cast<TQtElementDialogs*>(m_ownElements.get());
    if (!own)
        return;
    TImageDialogContext context;
    context.dialogs = &m_dialogs;
    // Remote images are copied into the settings folder.
    if (!m_start.iniName.isEmpty())
        context.settingsFolder = QFileInfo(m_start.iniName).absolutePath() + u'/';
    context.programName = m_start.programName;
    if (context.programName.isEmpty())
        context.programName = QFileInfo(QApplication::applicationFilePath()).completeBaseName();
    context.linkCase = [this] { return int(m_session.linkCaseMode()); };
    own->setDialogs(&m_dialogs);
    own->setImageContext(context);
    if (!m_start.iniName.isEmpty())
        own->LoadImageSettings(TUnicodeIniFile::CreateForRead(m_start.iniName));
}

void THauptForm::saveImageSettings(TUnicodeIniFile& ini) {
    if (auto* own = dynamic_cast<TQtElementDialogs*>(m_ownElements.get()))
        own->SaveImageSettings(ini);
}

} // namespace orvel
