#include "spelling/ui/SpellMenus.h"

#include "base/core/Translate.h"
#include "spelling/core/SynEditSpell.h"
#include "spelling/ui/SynEditSpellPlugin.h"

#include <QActionGroup>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvel {

QString escapeMenuCaption(QString text) {
    return text.replace(u'&', QStringLiteral("&&"));
}

void fillLanguageMenu(QMenu* menu, const QString& noneCaption,
                      const QList<TLanguageName>& languages, quint32 checkedId,
                      std::function<void(quint32)> chosen) {
    menu->clear();
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    const auto add = [&](const QString& caption, quint32 id) {
        QAction* a = menu->addAction(caption);
        a->setCheckable(true);
        a->setData(id);
        group->addAction(a);
        QObject::connect(a, &QAction::triggered, menu, [chosen, id] { chosen(id); });
        return a;
    };
    QAction* none = add(noneCaption, 0);
    bool checked = false;
    for (const TLanguageName& l : languages) {
        QAction* a = add(escapeMenuCaption(l.Name), l.Id);
        if (l.Id == checkedId && checkedId != 0) {
            a->setChecked(true);
            checked = true;
        }
    }
    none->setChecked(!checked);
}

void fillSuggestionMenu(QMenu* menu, const TSpellMenuInfo& info,
                        std::function<void(const QString&)> chosen) {
    menu->clear();
    for (qsizetype i = 0; i < info.suggestions.size(); ++i) {
        const QString text = info.suggestions[i];
        QAction* a = menu->addAction(info.suggestionCaptions.value(i, escapeMenuCaption(text)));
        QObject::connect(a, &QAction::triggered, menu, [chosen, text] { chosen(text); });
    }
    menu->setEnabled(!info.suggestions.isEmpty());
}

void installBusyCursor(TSynEditSpellCheck& checker) {
    checker.setBusyHook([](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
}

bool selectDictionaries(QWidget* parent, const QString& caption, const QList<TLanguageName>& found,
                        QList<quint32>& configured) {
    QDialog dlg(parent);
    dlg.setObjectName(QStringLiteral("DictionariesDlg"));
    dlg.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&dlg);
    layout->addWidget(new QLabel(T_("Select dictionaries to be loaded"), &dlg));
    auto* label = new QLabel(T_("Languages"), &dlg);
    layout->addWidget(label);
    auto* list = new QListWidget(&dlg);
    label->setBuddy(list);
    for (const TLanguageName& l : found) {
        auto* item = new QListWidgetItem(l.Name, list);
        item->setData(Qt::UserRole, l.Id);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(configured.isEmpty() || configured.contains(l.Id) ? Qt::Checked
                                                                              : Qt::Unchecked);
    }
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(&dlg);
    buttons->addButton(TD_("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(TD_("Cancel"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    layout->addWidget(buttons);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    configured.clear();
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            configured << list->item(i)->data(Qt::UserRole).toUInt();
    return true;
}

} // namespace orvel
