#pragma once
// The font picker ("Select font"): a font family, bold and italic, the size and, where the
// caller asks, the colour, with a preview line.

#include "dialogs/core/ColorList.h"
#include "dialogs/ui/PickerDialog.h"
#include "textcontrol/core/FontSettings.h"

#include <functional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace orvel {

// The scalable families of the system that write Western text, sorted, each once; only the
// fixed-pitch ones when asked.
QStringList fontFamilies(bool fixedPitch);
// The system's fixed-pitch family, for a stored font that is not there.
QString systemFixedFamily();

class TSelectFontDialog : public TPickerDialog {
    Q_OBJECT
public:
    explicit TSelectFontDialog(QWidget* parent = nullptr);

    // font is changed on OK only; list (the custom colours, which the colour button edits)
    // comes back whatever the end.
    bool Execute(const TOpenAt& at, bool fixedPitch, bool withColor, const QString& previewText,
                 TColorList& list, TFontSettings& font);

    // The state the dialog shows; for Execute and tests.
    void setup(const QStringList& families, bool withColor, const QString& previewText,
               const TColorList& list, const TFontSettings& font);
    TFontSettings chosenFont() const;
    const TColorList& customColors() const { return m_colors; }
    QListWidget* familyList() const { return m_families; }
    QLineEdit* previewLine() const { return m_preview; }
    QPushButton* colorButton() const { return m_colorButton; }

    // The colour picker the colour button opens; tests replace it.
    std::function<bool(TColorList& list, quint32& color)> pickColor;

private:
    void showPreview();

    QListWidget* m_families;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QSpinBox* m_size;
    QPushButton* m_colorButton;
    QLineEdit* m_preview;
    TColorList m_colors{};
    quint32 m_color = 0;
    QString m_fallbackName; // kept when the list has nothing to select
};

} // namespace orvel
