#pragma once
// A label for a status-bar panel that cuts a text too long for it with an ellipsis, never in
// the middle of a character; the whole text shows as its tool tip. It is a QLabel, so that
// setText through a QLabel pointer elides too.

#include <QLabel>

namespace orvel {

class TElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit TElidedLabel(QWidget* parent = nullptr, Qt::TextElideMode mode = Qt::ElideMiddle);

    Qt::TextElideMode elideMode() const { return m_mode; }
    // The text as it is drawn at the present width.
    QString shownText() const;
    // Any width will do: the text is cut to fit.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect textRect() const;

    Qt::TextElideMode m_mode;
};

} // namespace orvel
