#include "dialogs/ui/FileSizeDlg.h"

#include "base/core/FileSize.h"
#include "base/core/Translate.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace orvel {

namespace {
QGroupBox* choiceBox(QWidget* parent, const QString& title, QRadioButton* a, QRadioButton* b) {
    auto* box = new QGroupBox(title, parent);
    auto* l = new QHBoxLayout(box);
    l->addWidget(a);
    l->addWidget(b);
    auto* group = new QButtonGroup(box);
    group->addButton(a);
    group->addButton(b);
    return box;
}
} // namespace

TFileSizeDialog::TFileSizeDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(T_("Insert file size value"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* fileRow = new QHBoxLayout;
    m_fileLabel = new QLabel(this);
    m_fileLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_fileLabel->setMinimumWidth(300);
    auto* pick = new QPushButton(T_("File .."), this);
    pick->setToolTip(T_("Select file"));
    fileRow->addWidget(m_fileLabel, 1);
    fileRow->addWidget(pick);
    form->addRow(T_("Filename"), fileRow);
    auto* sizeRow = new QHBoxLayout;
    m_size = new QLineEdit(this);
    m_copy = new QPushButton(T_("Copy"), this);
    m_copy->setToolTip(T_("Copy file size to clipboard"));
    sizeRow->addWidget(m_size, 1);
    sizeRow->addWidget(m_copy);
    form->addRow(T_("File size"), sizeRow);
    layout->addLayout(form);
    m_decimal = new QRadioButton(T_("Decimal"), this);
    m_binary = new QRadioButton(T_("Binary"), this);
    m_comma = new QRadioButton(T_("Comma"), this);
    m_point = new QRadioButton(T_("Point"), this);
    auto* choices = new QHBoxLayout;
    choices->addWidget(choiceBox(this, T_("Unit prefix format"), m_decimal, m_binary));
    choices->addWidget(choiceBox(this, T_("Decimal separator"), m_comma, m_point));
    layout->addLayout(choices);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &TFileSizeDialog::tryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(pick, &QPushButton::clicked, this, [this] {
        const QString f = QFileDialog::getOpenFileName(this, T_("Select file"), m_file);
        if (!f.isEmpty())
            setFile(f);
    });
    connect(m_copy, &QPushButton::clicked, this, [this] {
        const QString s = rewrittenSize();
        if (!s.isEmpty())
            QApplication::clipboard()->setText(s);
    });
    for (QRadioButton* b : {m_decimal, m_binary})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                rewrite(separator());
        });
    for (QRadioButton* b : {m_comma, m_point})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                rewrite(m_shownSeparator);
        });
}

QChar TFileSizeDialog::separator() const {
    return m_comma->isChecked() ? u',' : u'.';
}

bool TFileSizeDialog::decimalUnits() const {
    return m_decimal->isChecked();
}

bool TFileSizeDialog::decimalComma() const {
    return m_comma->isChecked();
}

void TFileSizeDialog::setup(const QString& fileName, bool decimal, bool comma) {
    const QSignalBlocker b1(m_decimal), b2(m_binary), b3(m_comma), b4(m_point);
    (decimal ? m_decimal : m_binary)->setChecked(true);
    (comma ? m_comma : m_point)->setChecked(true);
    setFile(fileName);
}

void TFileSizeDialog::setFile(const QString& fileName) {
    m_file = fileName;
    m_fileLabel->setText(QDir::toNativeSeparators(fileName));
    m_shownSeparator = separator();
    m_size->setText(formatFileSize(QFileInfo(fileName).size(), decimalUnits(), separator()));
}

void TFileSizeDialog::rewrite(QChar oldSeparator) {
    // The text as the user may have changed it; when it does not read, the file's size.
    const std::optional<qint64> bytes = parseFileSize(m_size->text(), oldSeparator);
    m_shownSeparator = separator();
    m_size->setText(
        formatFileSize(bytes ? *bytes : QFileInfo(m_file).size(), decimalUnits(), separator()));
}

QString TFileSizeDialog::rewrittenSize() const {
    const std::optional<qint64> bytes = parseFileSize(m_size->text(), separator());
    return bytes ? formatFileSize(*bytes, decimalUnits(), separator()) : QString();
}

void TFileSizeDialog::tryAccept() {
    if (rewrittenSize().isEmpty()) {
        QToolTip::showText(m_ok->mapToGlobal(QPoint(0, m_ok->height())),
                           T_("Invalid file size format!"), m_ok);
        m_size->setFocus();
        return;
    }
    accept();
}

bool TFileSizeDialog::Execute(QString& fileName, bool& decimal, bool& comma, QString& sizeText) {
    setup(fileName, decimal, comma);
    m_size->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    fileName = m_file;
    decimal = decimalUnits();
    comma = decimalComma();
    sizeText = rewrittenSize();
    return true;
}

} // namespace orvel
