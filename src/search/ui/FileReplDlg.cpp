#include "search/ui/FileReplDlg.h"

#include "base/core/Translate.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace orvel {

namespace {
constexpr int kTextWidth = 420;

QLabel* textLabel(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    l->setMinimumWidth(kTextWidth);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}
} // namespace

TFileReplaceDialog::TFileReplaceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FileReplaceDialog"));
    setWindowTitle(T_("Replace file"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    m_file = textLabel(this, "laFile");
    QFont bold = m_file->font();
    bold.setBold(true);
    m_file->setFont(bold);
    layout->addWidget(m_file);

    auto* grid = new QGridLayout;
    m_line = textLabel(this, "laLine");
    m_search = textLabel(this, "laSearch");
    m_replacement = textLabel(this, "laReplace");
    grid->addWidget(new QLabel(T_("In line:"), this), 0, 0, Qt::AlignTop);
    grid->addWidget(m_line, 0, 1);
    grid->addWidget(new QLabel(T_("Replace"), this), 1, 0);
    grid->addWidget(m_search, 1, 1);
    grid->addWidget(new QLabel(T_("by:"), this), 2, 0);
    grid->addWidget(m_replacement, 2, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const auto add = [&](const QString& caption, const char* name, TFileReplaceAnswer answer) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, answer] { answerWith(answer); });
        return b;
    };
    add(T_("Yes"), "btnYes", frYes);
    m_no = add(T_("No"), "btnNo", frNo);
    m_no->setDefault(true);
    add(T_("All in this file"), "btnAll", frAllInFile);
    // Cancel, Esc and closing the window all answer frCancel.
    add(T_("Cancel"), "btnCancel", frCancel);
    layout->addLayout(buttons);
}

void TFileReplaceDialog::answerWith(TFileReplaceAnswer answer) {
    m_answer = answer;
    if (answer == frCancel)
        reject();
    else
        accept();
}

void TFileReplaceDialog::setQuestion(const TFileReplaceQuestion& question) {
    m_answer = frCancel;
    m_fileName = question.fileName;
    const QFontMetrics fm(m_file->font());
    m_file->setText(fm.elidedText(question.fileName, Qt::ElideMiddle, kTextWidth));
    m_file->setToolTip(question.fileName);
    const QFontMetrics lm(m_line->font());
    m_line->setText(lm.elidedText(question.line, Qt::ElideRight, kTextWidth));
    m_search->setText(lm.elidedText(question.search, Qt::ElideRight, kTextWidth));
    m_replacement->setText(lm.elidedText(question.replacement, Qt::ElideRight, kTextWidth));
    adjustSize();
    m_no->setFocus();
}

QPoint TFileReplaceDialog::placeFor(QPoint mouse) const {
    const QSize size = frameGeometry().size();
    QPoint pos(mouse.x() + 50, mouse.y() - size.height() - 20);
    const QScreen* screen = QGuiApplication::screenAt(mouse);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        pos.setX(qBound(area.left(), pos.x(), qMax(area.left(), area.right() - size.width())));
        pos.setY(qBound(area.top(), pos.y(), qMax(area.top(), area.bottom() - size.height())));
    }
    return pos;
}

TFileReplaceAnswer TFileReplaceDialog::Execute(const TFileReplaceQuestion& question) {
    setQuestion(question);
    move(placeFor(question.screenPos));
    exec();
    return m_answer;
}

} // namespace orvel
