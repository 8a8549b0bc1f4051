#include "search/ui/QtSearchDialogs.h"

#include "search/core/FindReplLogic.h"
#include "search/ui/ConfirmReplDlg.h"
#include "search/ui/FileReplDlg.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace orvel {

TReplaceAction TQtSearchDialogs::confirmReplace(QPoint screenPos, const QString& prompt) {
    TConfirmReplDialog dlg(m_parent);
    dlg.setPrompt(prompt);
    const QWidget* main = m_parent ? m_parent->window() : nullptr;
    const QScreen* screen = QGuiApplication::screenAt(screenPos);
    if (!screen)
        screen = main ? main->screen() : QGuiApplication::primaryScreen();
    const QRect mainRect =
        main ? QRect(main->mapToGlobal(QPoint(0, 0)), main->size()) : screen->geometry();
    return dlg.Execute(
        placeConfirmation(screenPos, dlg.frameGeometry().size(), screen->geometry(), mainRect),
        prompt);
}

TFileReplaceAnswer TQtSearchDialogs::confirmFileReplace(const TFileReplaceQuestion& question) {
    TFileReplaceDialog dlg(m_parent);
    return dlg.Execute(question);
}

} // namespace orvel
