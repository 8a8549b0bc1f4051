#pragma once
// Two rows of eight colour fields: a click (or Space on the focused field) picks one.

#include "dialogs/core/ColorList.h"

#include <QWidget>

namespace orvel {

class TColorGrid : public QWidget {
    Q_OBJECT
public:
    explicit TColorGrid(QWidget* parent = nullptr);

    void setColors(const TColorList& colors);
    const TColorList& colors() const { return m_colors; }
    // Tooltip texts, one per field; empty ones show the colour's value.
    void setNames(const QStringList& names);
    // The field drawn as chosen; -1 for none.
    void setMarked(int index);
    int marked() const { return m_marked; }
    // The field a point lies in; -1 between fields.
    int fieldAt(QPoint p) const;
    QRect fieldRect(int index) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void picked(int index);
    // A double click: the field is picked and the choice is made.
    void chosen(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The field a left click hit, which takes the focus mark; -1 for none.
    int clickedField(QMouseEvent* event);

    TColorList m_colors{};
    QStringList m_names;
    int m_marked = -1;
    int m_focus = 0;
};

} // namespace orvel
