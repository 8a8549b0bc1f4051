#include "dialogs/ui/SelectFontDlg.h"

#include "base/core/Translate.h"
#include "dialogs/core/PickerLogic.h"
#include "dialogs/ui/SelectColorDlg.h"
#include "textcontrol/ui/Highlighter.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

namespace orvel {

QStringList fontFamilies(bool fixedPitch) {
    QStringList out;
    for (QString family : QFontDatabase::families(QFontDatabase::Latin)) {
        if (family.startsWith(u'@') || !QFontDatabase::isScalable(family))
            continue;
        if (fixedPitch && !QFontDatabase::isFixedPitch(family))
            continue;
        // "Nimbus Mono PS [urw]": one entry per family, whoever made it.
        const qsizetype foundry = family.indexOf(QLatin1String(" ["));
        if (foundry > 0 && family.endsWith(u']'))
            family.truncate(foundry);
        out << family;
    }
    // The font the system uses for fixed-pitch text is one, whatever its pitch flags say.
    if (fixedPitch)
        out << systemFixedFamily();
    out.removeDuplicates();
    out.sort(Qt::CaseInsensitive);
    return out;
}

QString systemFixedFamily() {
    return QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family();
}

TSelectFontDialog::TSelectFontDialog(QWidget* parent) : TPickerDialog(parent) {
    setWindowTitle(TD_("Select font"));
    auto* grid = new QGridLayout(this);
    m_families = new QListWidget(this);
    m_families->setMinimumSize(220, 180);
    grid->addWidget(m_families, 0, 0, 5, 1);
    m_bold = new QCheckBox(TD_("Bold"), this);
    m_italic = new QCheckBox(TD_("Italic"), this);
    grid->addWidget(m_bold, 0, 1, 1, 2);
    grid->addWidget(m_italic, 1, 1, 1, 2);
    auto* sizeLabel = new QLabel(TD_("Size:"), this);
    m_size = new QSpinBox(this);
    m_size->setRange(4, 400);
    m_size->setValue(10);
    sizeLabel->setBuddy(m_size);
    grid->addWidget(sizeLabel, 2, 1);
    grid->addWidget(m_size, 2, 2);
    m_colorButton = new QPushButton(TD_("Color"), this);
    m_colorButton->setToolTip(TD_("Select color"));
    grid->addWidget(m_colorButton, 3, 1, 1, 2);
    pickColor = [this](TColorList& list, quint32& color) {
        TSelectColorDialog picker(this);
        return picker.Execute(m_colorButton->mapToGlobal(QPoint(0, m_colorButton->height())),
                              TD_("Select font color"), list, color);
    };
    m_preview = new QLineEdit(this);
    m_preview->setReadOnly(true);
    grid->addWidget(m_preview, 5, 0, 1, 3);
    QDialogButtonBox* buttons = okCancelButtons();
    grid->addWidget(buttons, 6, 0, 1, 3);
    grid->setRowStretch(4, 1);

    connect(m_families, &QListWidget::currentRowChanged, this, [this] { showPreview(); });
    connect(m_families, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_bold, &QCheckBox::toggled, this, [this] { showPreview(); });
    connect(m_italic, &QCheckBox::toggled, this, [this] { showPreview(); });
    connect(m_size, &QSpinBox::valueChanged, this, [this] { showPreview(); });
    connect(m_colorButton, &QPushButton::clicked, this, [this] {
        quint32 color = m_color;
        TColorList list = m_colors;
        const bool ok = pickColor && pickColor(list, color);
        m_colors = list; // edited custom colours stay, whatever the end
        if (ok) {
            m_color = color;
            showPreview();
        }
    });
}

void TSelectFontDialog::setup(const QStringList& families, bool withColor,
                              const QString& previewText, const TColorList& list,
                              const TFontSettings& font) {
    m_colors = list;
    m_color = font.color;
    m_fallbackName = font.name.isEmpty() ? systemFixedFamily() : font.name;
    const QSignalBlocker blockList(m_families);
    const QSignalBlocker blockBold(m_bold);
    const QSignalBlocker blockItalic(m_italic);
    const QSignalBlocker blockSize(m_size);
    m_families->clear();
    m_families->addItems(families);
    m_families->setCurrentRow(chooseFontEntry(families, font.name, {systemFixedFamily()}));
    if (QListWidgetItem* item = m_families->currentItem())
        m_families->scrollToItem(item, QAbstractItemView::PositionAtCenter);
    m_bold->setChecked(font.style & fsBold);
    m_italic->setChecked(font.style & fsItalic);
    m_size->setValue(font.size);
    m_colorButton->setVisible(withColor);
    m_preview->setText(previewText.isEmpty() ? TD_("The quick brown fox jumps ..") : previewText);
    showPreview();
}

TFontSettings TSelectFontDialog::chosenFont() const {
    TFontSettings f;
    const QListWidgetItem* item = m_families->currentItem();
    f.name = item ? item->text() : m_fallbackName;
    f.size = m_size->value();
    f.style = (m_bold->isChecked() ? fsBold : 0) | (m_italic->isChecked() ? fsItalic : 0);
    f.color = m_color;
    return f;
}

void TSelectFontDialog::showPreview() {
    const TFontSettings f = chosenFont();
    QFont font(f.name, f.size);
    font.setBold(f.style & fsBold);
    font.setItalic(f.style & fsItalic);
    m_preview->setFont(font);
    QPalette p = m_preview->palette();
    p.setColor(QPalette::Text, f.color == kNoColor ? palette().color(QPalette::Text)
                                                   : bgrToColor(f.color & 0xFFFFFF));
    m_preview->setPalette(p);
}

bool TSelectFontDialog::Execute(const TOpenAt& at, bool fixedPitch, bool withColor,
                                const QString& previewText, TColorList& list, TFontSettings& font) {
    setup(fontFamilies(fixedPitch), withColor, previewText, list, font);
    placeAt(at);
    const bool ok = exec() == QDialog::Accepted;
    list = m_colors;
    if (ok) {
        // Underline and strike-out are not the picker's to change.
        const int kept = font.style & ~(fsBold | fsItalic);
        font = chosenFont();
        font.style |= kept;
    }
    return ok;
}

} // namespace orvel
