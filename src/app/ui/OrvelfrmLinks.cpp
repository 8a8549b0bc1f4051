// The main window's part of the link and URL dialogs: what they read of the program.

#include "app/ui/Orvelfrm.h"
#include "dialogs/ui/QtElementDialogs.h"
#include "editor/ui/OrvelMDI.h"
#include "search/core/AnchorReader.h"

namespace orvel {

void THauptForm::wireLinkDialogs(TQtElementDialogs& dialogs) {
    dialogs.setDialogs(&m_dialogs);
    dialogs.setLinkCase([this] { return m_session.linkCaseMode(); });
    dialogs.setDecimalComma(&m_settings.Config.DecimalComma);
    dialogs.setAnchorHistory(&m_settings.AnchorList, kAnchorHistorySize);
    // A file that cannot be read has no anchors to offer: the dialog falls back to the prompt.
    dialogs.setAnchorReader([](const QString& file) {
        QStringList entries;
        const TResult<QList<TAnchor>> anchors = readAnchorsFromFile(file);
        if (anchors.ok())
            for (const TAnchor& a : anchors.value())
                entries << a.entry();
        return entries;
    });
}

} // namespace orvel
