#include "app/ui/StartScreen.h"

#include "base/core/Translate.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace orvel {

TStartScreen::TStartScreen(const QString& version, const QString& legalNotice, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setFixedSize(300, 225);
    setAutoFillBackground(true);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(rect());
    auto* layout = new QVBoxLayout(frame);
    auto* name = new QLabel(QStringLiteral("Orvel"), frame);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    name->setFont(big);
    layout->addWidget(name);
    layout->addWidget(new QLabel(version, frame));
    auto* legal = new QLabel(legalNotice, frame);
    legal->setWordWrap(true);
    layout->addWidget(legal);
    layout->addStretch(1);
    m_status = new QLabel(frame);
    m_project = new QLabel(frame);
    m_file = new QLabel(frame);
    for (QLabel* l : {m_status, m_project, m_file}) {
        l->setMinimumWidth(0);
        layout->addWidget(l);
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TStartScreen::paintNow() {
    // Start-up runs without the event loop: the lines show only when painted here.
    if (isVisible())
        repaint();
}

void TStartScreen::setStatus(const QString& text) {
    m_status->setText(text);
    paintNow();
}

void TStartScreen::setProject(const QString& name) {
    m_project->setText(name.isEmpty() ? QString() : T_("Project: ") + name);
    paintNow();
}

void TStartScreen::setFile(const QString& fileName) {
    m_file->setText(m_file->fontMetrics().elidedText(fileName, Qt::ElideMiddle, width() - 24));
    paintNow();
}

QString TStartScreen::fileLine() const {
    return m_file->text();
}

QString TStartScreen::projectLine() const {
    return m_project->text();
}

} // namespace orvel
