#pragma once
// The colour picker ("Select color"): the 16 basic colours, the 16 custom colours, "no
// color", and the desktop's full colour dialog for any other colour.

#include "dialogs/core/ColorList.h"
#include "dialogs/ui/PickerDialog.h"

#include <functional>

class QCheckBox;
class QFrame;
class QPushButton;

namespace orvel {

class TColorGrid;

class TSelectColorDialog : public TPickerDialog {
    Q_OBJECT
public:
    explicit TSelectColorDialog(QWidget* parent = nullptr);

    // list (the custom colours) and color are in-out: changed on OK only.
    bool Execute(const TOpenAt& at, const QString& title, TColorList& list, quint32& color);

    // The state the dialog shows; for Execute's callers and tests.
    void setup(const QString& title, const TColorList& list, quint32 color);
    quint32 chosenColor() const; // kNoColor when "no color" is checked
    const TColorList& customColors() const;
    TColorGrid* basicGrid() const { return m_basic; }
    TColorGrid* customGrid() const { return m_custom; }
    QCheckBox* noColorBox() const { return m_noColor; }
    QFrame* preview() const { return m_preview; }
    QPushButton* otherButton() const { return m_other; }

    // The desktop's full colour dialog, replaceable by tests: starts at the colour with the
    // custom colours; true on OK with both updated.
    std::function<bool(QWidget* parent, quint32& color, TColorList& list)> fullDialog;

private:
    void pick(quint32 color);
    void showPreview();
    void selectOther();

    TColorGrid* m_basic;
    TColorGrid* m_custom;
    QFrame* m_preview;
    QCheckBox* m_noColor;
    QPushButton* m_other;
    quint32 m_color = 0;
};

// Runs the desktop's colour dialog with the custom colours (see fullDialog).
bool runFullColorDialog(QWidget* parent, quint32& color, TColorList& list);

} // namespace orvel
