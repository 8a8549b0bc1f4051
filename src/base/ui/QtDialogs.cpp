#include "base/ui/QtDialogs.h"

#include "base/ui/ShellDirDlg.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

namespace orvel {

namespace {
QMessageBox::StandardButton toQt(TMsgResult r) {
    switch (r) {
    case mrOK:
        return QMessageBox::Ok;
    case mrCancel:
        return QMessageBox::Cancel;
    case mrYes:
        return QMessageBox::Yes;
    case mrNo:
        return QMessageBox::No;
    case mrNone:
        break;
    }
    return QMessageBox::NoButton;
}

void show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& message,
          QMessageBox::StandardButtons buttons, QMessageBox::StandardButton def, int* result,
          const QPoint* topLeft = nullptr) {
    QString t = title;
    QString text;
    splitMessage(message, t, text);
    QMessageBox box(icon, t, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    buttons, parent);
    box.setDefaultButton(def);
    if (topLeft)
        box.move(*topLeft);
    *result = box.exec();
}
} // namespace

TMsgResult TQtDialogs::ask(const QString& title, const QString& text, int buttons,
                           TMsgResult defaultButton) {
    return question(title, text, buttons, defaultButton, nullptr);
}

TMsgResult TQtDialogs::askAt(const QString& title, const QString& text, int buttons,
                             TMsgResult defaultButton, QPoint topLeft) {
    return question(title, text, buttons, defaultButton, &topLeft);
}

TMsgResult TQtDialogs::question(const QString& title, const QString& text, int buttons,
                                TMsgResult defaultButton, const QPoint* topLeft) {
    QMessageBox::StandardButtons b;
    if (buttons & mbYes)
        b |= QMessageBox::Yes;
    if (buttons & mbNo)
        b |= QMessageBox::No;
    if (buttons & mbOK)
        b |= QMessageBox::Ok;
    if (buttons & mbCancel)
        b |= QMessageBox::Cancel;
    int r = 0;
    show(m_parent, QMessageBox::Question, title, text, b, toQt(defaultButton), &r, topLeft);
    switch (r) {
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    case QMessageBox::Ok:
        return mrOK;
    default:
        return (buttons & mbCancel) ? mrCancel : (buttons & mbNo) ? mrNo : mrCancel;
    }
}

void TQtDialogs::error(const QString& title, const QString& text) {
    int r = 0;
    show(m_parent, QMessageBox::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok, &r);
}

void TQtDialogs::info(const QString& title, const QString& text) {
    int r = 0;
    show(m_parent, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok, &r);
}

QString TQtDialogs::qtFilter(const QString& stored) {
    const QStringList parts = stored.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(u';', u' ');
        out << QStringLiteral("%1 (%2)").arg(parts.at(i), patterns);
    }
    return out.join(QStringLiteral(";;"));
}

QString TQtDialogs::openFileName(const TFileDialogArgs& args) {
    const QString filter = qtFilter(args.filter);
    QString selected = filter.split(QStringLiteral(";;")).value(args.filterIndex);
    return QFileDialog::getOpenFileName(m_parent, args.title, args.dir, filter, &selected);
}

QString TQtDialogs::saveFileName(const TFileDialogArgs& args) {
    QFileDialog dlg(m_parent, args.title, args.dir, qtFilter(args.filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    // The caller asks about overwriting itself.
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    dlg.setDefaultSuffix(args.defaultExt);
    if (!args.fileName.isEmpty())
        dlg.selectFile(args.fileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().first();
}

TQtDialogs::~TQtDialogs() {
    if (m_folderDialog && !m_folderDialog->parent())
        delete m_folderDialog.data();
}

void TQtDialogs::setDecimalFileSizes(bool on) {
    m_decimalSizes = on;
    if (m_folderDialog)
        m_folderDialog->setDecimalFileSizes(on);
}

QString TQtDialogs::chooseFolder(const QString& prompt, const QString& startDir,
                                 const QString& defaultDir) {
    if (!m_folderDialog) {
        m_folderDialog = new TShellDirDialog(m_parent, *this);
        if (!m_iniFileName.isEmpty())
            m_folderDialog->LoadFromIni(m_iniFileName);
    }
    m_folderDialog->setDecimalFileSizes(m_decimalSizes);
    QString path = startDir;
    if (!m_folderDialog->Execute(prompt, false, path, defaultDir, true, true))
        return QString();
    return path;
}

int TQtDialogs::choose(const QString& title, const QString& text, const QStringList& buttons) {
    QMessageBox box(QMessageBox::Question, title,
                    QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::NoButton, m_parent);
    QList<QAbstractButton*> pressable;
    for (const QString& caption : buttons)
        pressable << box.addButton(caption, QMessageBox::AcceptRole);
    // Only the caller's buttons show; Escape and closing the box press this hidden one.
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    cancel->hide();
    box.setEscapeButton(cancel);
    if (!pressable.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton*>(pressable.first()));
    box.exec();
    return int(pressable.indexOf(box.clickedButton()));
}

bool TQtDialogs::inputText(const QString& title, const QString& prompt, QString& text) {
    bool ok = false;
    const QString entered =
        QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, text, &ok);
    if (ok)
        text = entered;
    return ok;
}

void TQtDialogs::beep() {
    QApplication::beep();
}

} // namespace orvel
