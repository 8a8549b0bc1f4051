#pragma once
// Answers the transfer questions from a script and stands in for the status window; a
// question nobody expected is a problem.

#include "projects/core/TransferDialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace orvel::test {

// Records what a run shows; a test may stop the run or act at any status line.
class RecordingMonitor : public IPublishMonitor {
public:
    void ShowWindow(const QString& title, const QString& dest, const QString& action) override {
        events << QStringLiteral("show:%1|%2|%3").arg(title, dest, action);
        stop = false;
        lines.clear();
        visible = true;
    }
    void StartDelete() override { events << QStringLiteral("startDelete"); }
    void StartSync() override { events << QStringLiteral("startSync"); }
    void StartCopy() override { events << QStringLiteral("startCopy"); }
    void SetDirectory(const QString& dir) override { directories << dir; }
    void SetAction(const QString& action) override { actions << action; }
    void SetTarget(const QString&) override {}
    void SetStatus(const QString& text) override {
        lines << text;
        if (onStatus)
            onStatus(text);
    }
    void SetError(const QString& text) override { errors << text; }
    void UpdateProgress(qint64 bytes, qint64 size) override {
        if (size > 0)
            lastProgress = {bytes, size};
    }
    bool Stopped() const override { return stop; }
    void CloseWindow(int deleted, int copied) override {
        events
            << QStringLiteral("close:%1,%2%3").arg(deleted).arg(copied).arg(stop ? ",stopped" : "");
        visible = false;
    }
    void CloseDryRun(int deleted, int copied) override {
        events << QStringLiteral("dryRun:%1,%2").arg(deleted).arg(copied);
        visible = false;
    }
    void HideWindow() override {
        events << QStringLiteral("hide");
        visible = false;
    }
    void BringToFront() override { ++raised; }

    // The last final state ("close:0,3", "dryRun:0,2", "hide"), empty when none.
    QString final() const {
        for (qsizetype i = events.size() - 1; i >= 0; --i)
            if (events[i].startsWith(QLatin1String("close:")) ||
                events[i].startsWith(QLatin1String("dryRun:")) ||
                events[i] == QLatin1String("hide"))
                return events[i];
        return QString();
    }
    void clear() {
        events.clear();
        lines.clear();
        errors.clear();
        directories.clear();
        actions.clear();
    }

    QStringList events, lines, errors, directories, actions;
    QPair<qint64, qint64> lastProgress;
    bool stop = false;
    bool visible = false;
    int raised = 0;
    std::function<void(const QString&)> onStatus;
};

class ScriptedTransferDialogs : public ITransferDialogs {
public:
    // The next certificate question is answered with accept.
    ScriptedTransferDialogs& expectCertificate(bool accept) {
        m_answers.append(accept);
        return *this;
    }
    // The next transfer dialog returns mode (and, for a chosen folder, directory and filter);
    // without start it is cancelled.
    ScriptedTransferDialogs& expectTransfer(int mode, bool start = true,
                                            const QString& directory = QString(),
                                            const QString& filter = QStringLiteral("*.*")) {
        m_transfers.append({mode, start, directory, filter});
        return *this;
    }
    // The next password prompt is answered (or cancelled without ok).
    ScriptedTransferDialogs& expectPassword(const QString& password, bool ok = true) {
        m_passwords.append({password, ok});
        return *this;
    }

    bool confirmCertificate(const TCerticateInfo& info) override {
        asked.append(info);
        if (m_answers.isEmpty()) {
            problems.append(QStringLiteral("unexpected certificate question: ") + info.Subject);
            return false;
        }
        return m_answers.takeFirst();
    }
    bool selectTransfer(QPoint, TTransferChoice& choice) override {
        shownChoices.append(choice);
        if (m_transfers.isEmpty()) {
            problems.append(QStringLiteral("unexpected transfer dialog"));
            return false;
        }
        const Transfer t = m_transfers.takeFirst();
        choice.Mode = t.mode;
        if ((t.mode & kTransferSelectionMask) == tfChosenDir) {
            // As the dialog does: the chosen folder goes to the front of the list.
            QStringList dirs = choice.SubDirs.split(u',', Qt::SkipEmptyParts);
            dirs.removeAll(t.directory);
            dirs.prepend(t.directory);
            choice.SubDirs = dirs.join(u',');
            choice.Directory = t.directory;
            choice.Filter = t.filter;
        } else {
            choice.Filter = QStringLiteral("*.*");
        }
        return t.start;
    }
    bool askPassword(const QString& title, const QString& prompt, QString& password) override {
        passwordPrompts.append(title + u'|' + prompt);
        if (m_passwords.isEmpty()) {
            problems.append(QStringLiteral("unexpected password question: ") + prompt);
            return false;
        }
        const auto p = m_passwords.takeFirst();
        if (p.second)
            password = p.first;
        return p.second;
    }
    IPublishMonitor& statusWindow() override { return monitor; }

    // Steps the script still expects, and questions it did not.
    QStringList pending() const {
        QStringList out = problems;
        if (!m_answers.isEmpty())
            out.append(
                QStringLiteral("%1 certificate question(s) not asked").arg(m_answers.size()));
        if (!m_transfers.isEmpty())
            out.append(QStringLiteral("%1 transfer dialog(s) not shown").arg(m_transfers.size()));
        if (!m_passwords.isEmpty())
            out.append(QStringLiteral("%1 password question(s) not asked").arg(m_passwords.size()));
        return out;
    }
    void reset() {
        asked.clear();
        problems.clear();
        shownChoices.clear();
        passwordPrompts.clear();
        m_answers.clear();
        m_transfers.clear();
        m_passwords.clear();
        monitor.clear();
    }

    QList<TCerticateInfo> asked;
    QList<TTransferChoice> shownChoices;
    QStringList passwordPrompts;
    QStringList problems;
    RecordingMonitor monitor;

private:
    struct Transfer {
        int mode;
        bool start;
        QString directory;
        QString filter;
    };
    QList<bool> m_answers;
    QList<Transfer> m_transfers;
    QList<QPair<QString, bool>> m_passwords;
};

} // namespace orvel::test
