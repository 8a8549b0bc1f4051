#include "dialogs/ui/SelectColorDlg.h"

#include "base/core/Translate.h"
#include "dialogs/ui/ColorGrid.h"
#include "textcontrol/ui/Highlighter.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvel {

TSelectColorDialog::TSelectColorDialog(QWidget* parent) : TPickerDialog(parent) {
    setWindowTitle(TD_("Select color"));
    fullDialog = runFullColorDialog;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(TD_("Basic colors:"), this));
    m_basic = new TColorGrid(this);
    TColorList basic{};
    QStringList names;
    for (int i = 0; i < 16; ++i) {
        basic[i] = kBasicColors[i].bgr;
        names << QString::fromLatin1(kBasicColors[i].name);
    }
    m_basic->setColors(basic);
    m_basic->setNames(names);
    layout->addWidget(m_basic);
    layout->addWidget(new QLabel(TD_("Additional colors:"), this));
    m_custom = new TColorGrid(this);
    layout->addWidget(m_custom);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(TD_("Selection:"), this));
    m_preview = new QFrame(this);
    m_preview->setFrameShape(QFrame::Box);
    m_preview->setAutoFillBackground(true);
    m_preview->setFixedSize(66, 21);
    row->addWidget(m_preview);
    m_noColor = new QCheckBox(TD_("no color"), this);
    row->addWidget(m_noColor);
    row->addStretch(1);
    layout->addLayout(row);

    m_other = new QPushButton(TD_("Select other color"), this);
    QDialogButtonBox* buttons = okCancelButtons();
    buttons->addButton(m_other, QDialogButtonBox::ActionRole);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_basic, &TColorGrid::picked, this, [this](int i) {
        m_custom->setMarked(-1);
        pick(m_basic->colors()[i]);
        m_basic->setMarked(i);
    });
    connect(m_custom, &TColorGrid::picked, this, [this](int i) {
        m_basic->setMarked(-1);
        pick(m_custom->colors()[i] & 0xFFFFFF);
        m_custom->setMarked(i);
    });
    connect(m_basic, &TColorGrid::chosen, this, &QDialog::accept);
    connect(m_custom, &TColorGrid::chosen, this, &QDialog::accept);
    connect(m_noColor, &QCheckBox::toggled, this, [this] { showPreview(); });
    connect(m_other, &QPushButton::clicked, this, [this] { selectOther(); });
}

void TSelectColorDialog::setup(const QString& title, const TColorList& list, quint32 color) {
    setWindowTitle(title.isEmpty() ? TD_("Select color") : title);
    m_custom->setColors(list);
    const bool none = color == kNoColor;
    m_color = none ? 0 : color & 0xFFFFFF;
    {
        const QSignalBlocker block(m_noColor);
        m_noColor->setChecked(none);
    }
    // The field that holds the colour, if one does, is marked.
    const auto marked = [this](const TColorGrid* grid) {
        for (int i = 0; i < 16; ++i)
            if ((grid->colors()[i] & 0xFFFFFF) == m_color)
                return i;
        return -1;
    };
    m_basic->setMarked(none ? -1 : marked(m_basic));
    m_custom->setMarked(none || m_basic->marked() >= 0 ? -1 : marked(m_custom));
    showPreview();
}

quint32 TSelectColorDialog::chosenColor() const {
    return m_noColor->isChecked() ? kNoColor : m_color;
}

const TColorList& TSelectColorDialog::customColors() const {
    return m_custom->colors();
}

void TSelectColorDialog::pick(quint32 color) {
    m_color = color;
    {
        const QSignalBlocker block(m_noColor);
        m_noColor->setChecked(false);
    }
    showPreview();
}

void TSelectColorDialog::showPreview() {
    QPalette p = m_preview->palette();
    p.setColor(QPalette::Window,
               m_noColor->isChecked() ? palette().color(QPalette::Window) : bgrToColor(m_color));
    m_preview->setPalette(p);
    if (m_noColor->isChecked()) {
        m_basic->setMarked(-1);
        m_custom->setMarked(-1);
    }
}

void TSelectColorDialog::selectOther() {
    quint32 color = m_color;
    TColorList list = m_custom->colors();
    if (!fullDialog || !fullDialog(this, color, list))
        return;
    m_custom->setColors(list);
    m_basic->setMarked(-1);
    m_custom->setMarked(-1);
    pick(color & 0xFFFFFF);
}

bool TSelectColorDialog::Execute(const TOpenAt& at, const QString& title, TColorList& list,
                                 quint32& color) {
    setup(title, list, color);
    placeAt(at);
    if (exec() != QDialog::Accepted)
        return false;
    list = customColors();
    color = chosenColor();
    return true;
}

bool runFullColorDialog(QWidget* parent, quint32& color, TColorList& list) {
    // The desktop dialog keeps its custom colours for the whole program: ours go in and
    // come back out.
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, bgrToColor(list[i] & 0xFFFFFF));
    QColorDialog dialog(bgrToColor(color), parent);
    dialog.setWindowTitle(TD_("Select color"));
    // A desktop's own colour dialog may not offer the custom colours.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    for (int i = 0; i < 16; ++i) {
        const QColor c = QColorDialog::customColor(i);
        list[i] = c.isValid() ? colorToBgr(c) : 0;
    }
    color = colorToBgr(dialog.selectedColor());
    return true;
}

} // namespace orvel
