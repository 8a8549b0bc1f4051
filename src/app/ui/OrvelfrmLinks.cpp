// The main window's part of the link and URL dialogs: what they read of the program.

#include "app/ui/Orvelfrm.h"
#include "dialogs/ui/QtElementDialogs.h"
#include "editor/ui/OrvelMDI.h"

namespace orvel {

void THauptForm::wireLinkDialogs(TQtElementDialogs& dialogs) {
    dialogs.setDialogs(&m_dialogs);
    dialogs.setLinkCase([this] { return m_session.linkCaseMode(); });
    dialogs.setDecimalComma(&m_settings.Config.DecimalComma);
    dialogs.setAnchorHistory(&m_settings.AnchorList, kAnchorHistorySize);
}

} // namespace orvel
