#include "dialogs/ui/QtElementDialogs.h"

#include "base/core/Translate.h"
#include "base/ui/QtDialogs.h"
#include "dialogs/core/HtmlNumber.h"
#include "dialogs/ui/DateDlg.h"
#include "dialogs/ui/FileSizeDlg.h"
#include "dialogs/ui/InputTextDlg.h"
#include "dialogs/ui/LinkDialog.h"
#include "dialogs/ui/MailAdrDlg.h"
#include "dialogs/ui/SelectColorDlg.h"
#include "dialogs/ui/SelectFontDlg.h"
#include "dialogs/ui/SelectFromListDlg.h"
#include "dialogs/ui/StyleDlg.h"
#include "dialogs/ui/UrlDialog.h"

#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvel {

namespace {

// A dialog of labelled fields with OK and Cancel, opened near the mouse pointer.
class TFieldsDialog : public QDialog {
public:
    TFieldsDialog(QWidget* parent, const QString& title) : QDialog(parent) {
        setWindowTitle(title);
        m_form = new QFormLayout;
        auto* outer = new QVBoxLayout(this);
        outer->addLayout(m_form);
        m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        outer->addWidget(m_buttons);
        move(QCursor::pos() + QPoint(0, 20));
    }
    void addRow(const QString& label, QWidget* field) { m_form->addRow(label, field); }
    QDialogButtonBox* buttons() const { return m_buttons; }

private:
    QFormLayout* m_form;
    QDialogButtonBox* m_buttons;
};

// A number field whose arrows step by the size of the value.
class TSteppingSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    void stepBy(int steps) override {
        setValue(value() + steps * numberStep(steps > 0 ? value() : value() - 1));
    }
};

} // namespace

bool TQtElementDialogs::inputTwoTexts(const QString& title, const QString& label1,
                                      const QString& label2, QString& value1, QString& value2) {
    TFieldsDialog dlg(m_parent, title);
    auto* first = new QLineEdit(value1, &dlg);
    auto* second = new QLineEdit(value2, &dlg);
    first->setMinimumWidth(240);
    dlg.addRow(label1, first);
    dlg.addRow(label2, second);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    value1 = first->text();
    value2 = second->text();
    return true;
}

bool TQtElementDialogs::inputTwoNumbers(const QString& title, const QString& label1,
                                        const QString& label2, int& value1, int& value2, int low,
                                        int high) {
    TFieldsDialog dlg(m_parent, title);
    auto* first = new TSteppingSpinBox(&dlg);
    auto* second = new TSteppingSpinBox(&dlg);
    for (QSpinBox* box : {static_cast<QSpinBox*>(first), static_cast<QSpinBox*>(second)})
        box->setRange(low, high);
    first->setValue(value1);
    second->setValue(value2);
    dlg.addRow(label1, first);
    dlg.addRow(label2, second);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    value1 = first->value();
    value2 = second->value();
    return true;
}

bool TQtElementDialogs::inputNumber(const QString& title, const QString& label, const QString& unit,
                                    int& value, int low, int high) {
    TFieldsDialog dlg(m_parent, title);
    auto* row = new QWidget(&dlg);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    auto* field = new QLineEdit(QString::number(value), row);
    auto* error = new QLabel(&dlg);
    error->setStyleSheet(QStringLiteral("color: red"));
    rowLayout->addWidget(field, 1);
    rowLayout->addWidget(new QLabel(unit, row));
    dlg.addRow(label, row);
    dlg.addRow(QString(), error);
    // An out-of-range number keeps the dialog open with the message beside the buttons.
    QObject::disconnect(dlg.buttons(), &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(dlg.buttons(), &QDialogButtonBox::accepted, &dlg, [&] {
        bool ok = false;
        const int v = field->text().trimmed().toInt(&ok);
        if (!ok || v < low || v > high) {
            error->setText(
                fmt(T_("Error: Out of range (%s)"),
                    {QString::number(low) + QStringLiteral(" .. ") + QString::number(high)}));
            field->setFocus();
            field->selectAll();
            return;
        }
        value = v;
        dlg.accept();
    });
    return dlg.exec() == QDialog::Accepted;
}

bool TQtElementDialogs::htmlNumber(const QString& label, bool units, QString& value) {
    TFieldsDialog dlg(m_parent, T_("Value of attribute"));
    const THtmlNumber start = parseHtmlNumber(value, units);
    auto* number = new QDoubleSpinBox(&dlg);
    number->setRange(-1e7, 1e7);
    auto* unitBox = new QComboBox(&dlg);
    for (int i = 0; i < kHtmlUnitCount; ++i)
        unitBox->addItem(T_(htmlUnit(i).entry));
    unitBox->setCurrentIndex(start.unit);
    const auto showDecimals = [number, unitBox, units] {
        number->setDecimals(units ? htmlUnit(unitBox->currentIndex()).decimals : 0);
    };
    showDecimals();
    number->setValue(start.value);
    QObject::connect(unitBox, &QComboBox::currentIndexChanged, &dlg, showDecimals);
    dlg.addRow(label, number);
    if (units)
        dlg.addRow(QString(), unitBox);
    else
        unitBox->hide();
    bool noValue = false;
    QPushButton* none = dlg.buttons()->addButton(T_("no value"), QDialogButtonBox::AcceptRole);
    QObject::connect(none, &QPushButton::clicked, &dlg, [&noValue] { noValue = true; });
    if (dlg.exec() != QDialog::Accepted)
        return false;
    value = noValue ? QString()
                    : formatHtmlNumber({number->value(), units ? unitBox->currentIndex() : 0});
    return true;
}

bool TQtElementDialogs::pickColor(const QString& title, quint32& color, TOpenAt at) {
    TSelectColorDialog dlg(m_parent);
    return dlg.Execute(at, title, *m_colors, color);
}

bool TQtElementDialogs::selectFont(bool fixedPitch, bool withColor, const QString& previewText,
                                   TFontSettings& font, TOpenAt at) {
    TSelectFontDialog dlg(m_parent);
    return dlg.Execute(at, fixedPitch, withColor, previewText, *m_colors, font);
}

bool TQtElementDialogs::selectStyle(const QString& title, const QStringList& items, QString& chosen,
                                    TOpenAt at) {
    TStyleDialog dlg(m_parent);
    return dlg.Execute(at, title, items, chosen);
}

bool TQtElementDialogs::selectDate(int& format, QString& date, TOpenAt at, const QLocale* locale) {
    TDateDialog dlg(m_parent, locale ? *locale : m_dateLocale);
    return dlg.Execute(at, format, date);
}

bool TQtElementDialogs::inputLine(const TLineInput& input, QString& text) {
    TInputTextDialog dlg(m_parent);
    return dlg.Execute(input, text);
}

bool TQtElementDialogs::selectFromList(const QString& title, const QString& description,
                                       const QStringList& items, QString& chosen, bool& other,
                                       bool withPrompt, TOpenAt at) {
    TSelectFromListDialog dlg(m_parent);
    QString text = chosen;
    const TSelectResult r = dlg.Select(at, title, description, QString(),
                                       withPrompt ? TD_("Other ..") : QString(), items, text);
    other = r == srPrompt;
    if (r == srCancel)
        return false;
    if (r == srOK)
        chosen = text;
    return true;
}

TQtElementDialogs::TQtElementDialogs() = default;

TURLEingabeDialog& TQtElementDialogs::urlDialog() {
    if (!m_urlDialog) {
        if (!m_dialogs) {
            m_ownDialogs = std::make_unique<TQtDialogs>();
            m_ownDialogs->setParentWidget(m_parent);
            m_dialogs = m_ownDialogs.get();
        }
        m_urlDialog = std::make_unique<TURLEingabeDialog>(*m_dialogs, *this, m_parent);
        TURLEingabeDialog& d = *m_urlDialog;
        d.setLinkCase([this] { return m_linkCase ? m_linkCase() : tcNone; });
        d.setSizeFormat([this] { return *m_decimalSizes; },
                        [this] { return m_decimalComma && *m_decimalComma; });
        d.setAnchorHistory(m_anchorHistory, m_anchorHistorySize);
    }
    return *m_urlDialog;
}

TLinkDialog& TQtElementDialogs::linkDlg() {
    if (!m_linkDialog) {
        if (!m_dialogs) {
            m_ownDialogs = std::make_unique<TQtDialogs>();
            m_ownDialogs->setParentWidget(m_parent);
            m_dialogs = m_ownDialogs.get();
        }
        m_linkDialog = std::make_unique<TLinkDialog>(*m_dialogs, m_parent);
    }
    return *m_linkDialog;
}

void TQtElementDialogs::loadSettings(const TUnicodeIniFile& ini) {
    urlDialog().LoadFromIni(ini, QStringLiteral("UrlList"));
    linkDlg().LoadFromIni(ini, QStringLiteral("LinkList"));
}

void TQtElementDialogs::saveSettings(TUnicodeIniFile& ini) const {
    if (m_urlDialog)
        m_urlDialog->SaveToIni(ini);
    if (m_linkDialog)
        m_linkDialog->SaveToIni(ini);
}

QString TQtElementDialogs::lastLocalFile() const {
    return m_urlDialog ? m_urlDialog->LastLocalFile() : QString();
}

bool TQtElementDialogs::htmlRef(const QString& title, const QString& folder, QString& url,
                                QString& text, QString& attributes) {
    return urlDialog().HtmlRef(title, folder, url, text, attributes);
}

bool TQtElementDialogs::areaRef(const QString& caption, const QString& folder,
                                const QStringList& anchors, QString& url, QString& alt,
                                QString& title) {
    return urlDialog().AreaRef(caption, folder, anchors, url, alt, title);
}

bool TQtElementDialogs::linkDialog(const QString& title, const QString& hint, const QString& filter,
                                   const QString& folder, QString& link, QString& text) {
    return linkDlg().Execute(title, hint, filter, folder, link, text);
}

TQtElementDialogs::~TQtElementDialogs() {
    // Without a parent window nothing else frees them.
    delete m_imageDialog;
    delete m_mapEditor;
}

void TQtElementDialogs::setImageContext(const TImageDialogContext& context) {
    m_imageContext = context;
    if (m_imageDialog)
        m_imageDialog->setContext(m_imageContext);
}

TImageDialog* TQtElementDialogs::imageDialogWindow() {
    if (!m_imageDialog) {
        m_imageDialog = new TImageDialog(m_parent);
        m_imageDialog->setContext(m_imageContext);
    }
    return m_imageDialog;
}

TImageMapEditor* TQtElementDialogs::imageMapEditor() {
    if (!m_mapEditor) {
        m_mapEditor = new TImageMapEditor(m_parent);
        m_mapEditor->setDialogs(m_dialogs ? m_dialogs : m_imageContext.dialogs);
        m_mapEditor->setLinkEditor([this](const QString& caption, const QString& folder,
                                          const QStringList& anchors, TAreaDataObject& area) {
            return areaRef(caption, folder, anchors, area.Link, area.Alt, area.Title);
        });
    }
    return m_mapEditor;
}

void TQtElementDialogs::LoadImageSettings(const TUnicodeIniFile& ini) {
    imageDialogWindow()->LoadFromIni(ini, QStringLiteral("ImageList"));
    imageMapEditor()->LoadFromIni(ini, QStringLiteral("ImageMap"));
}

void TQtElementDialogs::SaveImageSettings(TUnicodeIniFile& ini) {
    if (m_imageDialog)
        m_imageDialog->SaveToIni(ini, QStringLiteral("ImageList"));
    if (m_mapEditor)
        m_mapEditor->SaveToIni(ini, QStringLiteral("ImageMap"));
}

bool TQtElementDialogs::imageDialog(const QString& folder, QString& image, QString& attributes) {
    return imageDialogWindow()->Execute(folder, image, attributes);
}

bool TQtElementDialogs::mailAddress(QString& address) {
    TMailAdrDialog dlg(m_parent);
    return dlg.Execute({}, *m_mailNames, *m_mailDomains, address);
}

bool TQtElementDialogs::fileSize(QString& fileName, bool& decimalComma, QString& sizeText) {
    TFileSizeDialog dlg(m_parent);
    return dlg.Execute(fileName, *m_decimalSizes, decimalComma, sizeText);
}

bool TQtElementDialogs::imageMap(const QString& folder, const QString& image,
                                 const QString& mapName, const QStringList& anchors,
                                 TAreaList& areas) {
    return imageMapEditor()->Execute(folder, image, mapName, anchors, areas);
}

} // namespace orvel
