#include "projects/ui/TransferStat.h"

#include "base/core/Dialogs.h"
#include "base/core/FileSize.h"
#include "base/core/IniFileUtils.h"
#include "base/core/Translate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvel {

namespace {
const QString kSection = QStringLiteral("TransferStatus");
// Beyond this many lines the oldest leave the protocol list (the log keeps them all).
constexpr int kMaxLines = 20000;

// The text with each "%u" filled in turn.
QString counted(const char* text, std::initializer_list<int> values) {
    QString t = T_(text);
    for (const int v : values) {
        const qsizetype at = t.indexOf(QLatin1String("%u"));
        if (at < 0)
            break;
        t.replace(at, 2, QString::number(v));
    }
    return t;
}
} // namespace

TTransferStatus::TTransferStatus(QWidget* parent, IDialogs& dialogs)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      m_dialogs(dialogs), m_action(new QLabel(this)), m_target(new QLabel(this)),
      m_directory(new QLabel(this)), m_status(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_progressText(new QLabel(this)), m_list(new QListWidget(this)),
      m_button(new QPushButton(T_("Cancel"), this)) {
    setModal(false);
    QFont bold = m_action->font();
    bold.setBold(true);
    m_action->setFont(bold);
    m_target->setFont(bold);
    for (QLabel* l : {m_action, m_target, m_directory, m_status, m_progressText}) {
        l->setTextFormat(Qt::PlainText);
        l->setMinimumWidth(120);
    }
    // The final text can be longer than the window is wide (a dry run's counts).
    m_status->setWordWrap(true);
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_list->setUniformItemSizes(true);
    auto* protocolLabel = new QLabel(T_("Protocol:"), this);
    protocolLabel->setBuddy(m_list);
    m_button->setDefault(true);
    connect(m_button, &QPushButton::clicked, this, &TTransferStatus::buttonClick);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_action);
    layout->addWidget(m_target);
    layout->addWidget(m_directory);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
    layout->addWidget(m_progressText);
    layout->addWidget(protocolLabel);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_button, 0, Qt::AlignHCenter);
    resize(460, 380);
}

void TTransferStatus::LoadFromIni(const TUnicodeIniFile& ini) {
    const int w = ini.ReadInteger(kSection, QStringLiteral("Width"), 0);
    const int h = ini.ReadInteger(kSection, QStringLiteral("Height"), 0);
    if (w > 100 && h > 100) {
        m_stored = QRect(ini.ReadInteger(kSection, QStringLiteral("Left"), 0),
                         ini.ReadInteger(kSection, QStringLiteral("Top"), 0), w, h);
        setGeometry(m_stored);
    }
}

void TTransferStatus::SaveToIni(TUnicodeIniFile& ini) const {
    // Where the display server does not tell the placement, the stored one is kept.
    const QRect g = isVisible() || !m_stored.isValid() ? geometry() : m_stored;
    ini.WriteInteger(kSection, QStringLiteral("Top"), g.top());
    ini.WriteInteger(kSection, QStringLiteral("Left"), g.left());
    ini.WriteInteger(kSection, QStringLiteral("Width"), g.width());
    ini.WriteInteger(kSection, QStringLiteral("Height"), g.height());
}

void TTransferStatus::setElided(QLabel* label, const QString& text) {
    label->setToolTip(text);
    label->setText(
        label->fontMetrics().elidedText(text, Qt::ElideMiddle, qMax(120, m_progress->width())));
}

void TTransferStatus::ShowWindow(const QString& title, const QString& dest, const QString& action) {
    m_stopped = false;
    m_final = false;
    setWindowTitle(title);
    setElided(m_target, dest);
    setElided(m_action, action);
    m_directory->clear();
    m_status->clear();
    m_status->setStyleSheet(QString());
    m_list->clear();
    UpdateProgress(0, 0);
    m_button->setText(T_("Cancel"));
    m_button->setEnabled(true);
    setModal(false);
    show();
    raise();
}

void TTransferStatus::StartDelete() {
    SetAction(T_("Deleting"));
    addLine(T_("Delete files:"));
}

void TTransferStatus::StartSync() {
    SetAction(T_("Synchronizing"));
    addLine(T_("Delete files:"));
}

void TTransferStatus::StartCopy() {
    SetAction(T_("Copying to"));
    if (m_list->count() == 1)
        m_list->clear();
    addLine(T_("Copy files:"));
}

void TTransferStatus::SetDirectory(const QString& dir) {
    setElided(m_directory, dir);
}

void TTransferStatus::SetAction(const QString& action) {
    setElided(m_action, action);
}

void TTransferStatus::SetTarget(const QString& target) {
    setElided(m_target, target);
}

void TTransferStatus::addLine(const QString& text) {
    if (m_list->count() >= kMaxLines)
        delete m_list->takeItem(0);
    m_list->addItem(text);
    m_list->setCurrentRow(m_list->count() - 1);
}

void TTransferStatus::SetStatus(const QString& text) {
    m_status->setStyleSheet(QStringLiteral("color: blue"));
    setElided(m_status, text);
    addLine(QStringLiteral("  ") + m_status->text());
}

void TTransferStatus::SetError(const QString& text) {
    m_status->setStyleSheet(QStringLiteral("color: red"));
    setElided(m_status, text);
    addLine(text);
}

void TTransferStatus::UpdateProgress(qint64 bytes, qint64 size) {
    if (size <= 0) {
        m_progress->setValue(0);
        m_progressText->clear();
        return;
    }
    m_progress->setValue(int(qBound(qint64(0), bytes * 100 / size, qint64(100))));
    m_progressText->setText(
        fmt(T_("%s of %s copied"), {formatFileSize(bytes, false), formatFileSize(size, false)}));
}

QString TTransferStatus::finalText(bool stopped, int deleted, int copied) {
    if (stopped)
        return T_("Canceled by user!");
    if (deleted < 0)
        return T_("Error during file transfer!");
    if (deleted == 0 && copied == 0)
        return T_("Nothing to do!");
    if (deleted == 0)
        return counted(N_("%u file(s) copied"), {copied});
    if (copied == 0)
        return counted(N_("%u file(s) deleted!"), {deleted});
    return counted(N_("%u file(s) deleted\r\n%u file(s) copied!"), {deleted, copied});
}

void TTransferStatus::showFinal(const QString& text, bool error) {
    hide();
    m_final = true;
    UpdateProgress(0, 0);
    m_status->setStyleSheet(error ? QStringLiteral("color: red") : QStringLiteral("color: blue"));
    m_status->setToolTip(QString());
    m_status->setText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    addLine(QString(text).replace(QLatin1String("\r\n"), QLatin1String(" ")));
    m_button->setText(T_("OK"));
    m_button->setEnabled(true);
    m_dialogs.beep();
    QApplication::setActiveWindow(this);
    raise();
    activateWindow();
    exec();
}

void TTransferStatus::CloseWindow(int deleted, int copied) {
    showFinal(finalText(m_stopped, deleted, copied), m_stopped || deleted < 0);
}

void TTransferStatus::CloseDryRun(int deleted, int copied) {
    QString text;
    if (deleted <= 0 && copied == 0)
        text = T_("Nothing to do!");
    else
        text = fmt(T_("Nothing was changed: %s file(s) would be copied, %s file(s) would be "
                      "deleted."),
                   {QString::number(copied), QString::number(qMax(deleted, 0))});
    showFinal(m_stopped     ? T_("Canceled by user!")
              : deleted < 0 ? T_("Error during file transfer!")
                            : text,
              m_stopped || deleted < 0);
}

void TTransferStatus::HideWindow() {
    m_final = false;
    hide();
}

void TTransferStatus::BringToFront() {
    if (!isVisible())
        return;
    raise();
    activateWindow();
}

void TTransferStatus::buttonClick() {
    if (m_final) {
        m_final = false;
        done(QDialog::Accepted);
        hide();
        return;
    }
    m_stopped = true;
    m_button->setEnabled(false);
    SetStatus(T_("Canceling ..."));
}

void TTransferStatus::closeEvent(QCloseEvent* event) {
    // Only "OK" ends the window; while the run goes on it cannot be closed.
    if (m_final) {
        buttonClick();
        event->accept();
        return;
    }
    event->ignore();
}

void TTransferStatus::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !m_final) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orvel
