#pragma once
// Answers the transfer questions from a script; a question nobody expected is a problem.

#include "projects/core/TransferDialogs.h"

#include <QList>
#include <QStringList>

namespace orvel::test {

class ScriptedTransferDialogs : public ITransferDialogs {
public:
    // The next certificate question is answered with accept.
    ScriptedTransferDialogs& expectCertificate(bool accept) {
        m_answers.append(accept);
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
    // Steps the script still expects, and questions it did not.
    QStringList pending() const {
        QStringList out = problems;
        if (!m_answers.isEmpty())
            out.append(
                QStringLiteral("%1 certificate question(s) not asked").arg(m_answers.size()));
        return out;
    }

    QList<TCerticateInfo> asked;
    QStringList problems;

private:
    QList<bool> m_answers;
};

} // namespace orvel::test
