#include "search/ui/FindReplDlg.h"

#include "base/core/Dialogs.h"
#include "base/core/Errors.h"
#include "base/core/IniFileUtils.h"
#include "base/core/Translate.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvel {

namespace {
const QString kFindSection = QStringLiteral("Find");
const QString kReplaceSection = QStringLiteral("Replace");
const QString kDialogSection = QStringLiteral("FindReplaceDialog");

QComboBox* historyBox(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    // The lists follow their own rule; Enter must not add to them.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxCount(kFindHistoryMax);
    box->setMinimumContentsLength(30);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // Completion must not change the letter case of what is typed: case may matter.
    box->completer()->setCaseSensitivity(Qt::CaseSensitive);
    return box;
}

QButtonGroup* radioGroup(QWidget* parent, QGridLayout* grid, int row, int column, const char* name,
                         const char* title, const char* first, const char* second) {
    auto* box = new QGroupBox(TD_(title), parent);
    box->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    int id = 0;
    for (const char* caption : {first, second}) {
        auto* radio = new QRadioButton(TD_(caption), box);
        radio->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(name)).arg(id));
        group->addButton(radio, id++);
        layout->addWidget(radio);
    }
    grid->addWidget(box, row, column);
    return group;
}

bool positionsUnknown() {
    // Wayland neither tells a window where it is nor lets it choose.
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
} // namespace

TFindReplDialog::TFindReplDialog(QWidget* parent, IDialogs* dialogs)
    : QDialog(parent), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("FindReplDialog"));
    buildControls();
    fOptions.setOptions(ssoPrompt);
    optionsToControls();
    fOptions.open(false);
    setWindowTitle(TD_("Search for text"));
    rowReplace->hide();
    btnRepeat->hide();
    btnReplAll->hide();
    updateButtons();
}

void TFindReplDialog::buildControls() {
    auto* layout = new QVBoxLayout(this);
    // Hiding the replacement row shrinks the dialog with it.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* texts = new QGridLayout;
    lblSearch = new QLabel(TD_("Search for:"), this);
    cbxSearch = historyBox(this, "cbxSearch");
    lblSearch->setBuddy(cbxSearch);
    texts->addWidget(lblSearch, 0, 0);
    texts->addWidget(cbxSearch, 0, 1);
    layout->addLayout(texts);

    rowReplace = new QWidget(this);
    auto* replaceRow = new QGridLayout(rowReplace);
    replaceRow->setContentsMargins(0, 0, 0, 0);
    auto* lblReplace = new QLabel(TD_("Replace by:"), rowReplace);
    cbxReplace = historyBox(rowReplace, "cbxReplace");
    lblReplace->setBuddy(cbxReplace);
    cbConfirm = new QCheckBox(TD_("With confirmation"), rowReplace);
    cbConfirm->setObjectName(QStringLiteral("cbConfirm"));
    replaceRow->addWidget(lblReplace, 0, 0);
    replaceRow->addWidget(cbxReplace, 0, 1);
    replaceRow->addWidget(cbConfirm, 1, 1);
    // The labels of both rows line up.
    lblReplace->setMinimumWidth(
        qMax(lblSearch->sizeHint().width(), lblReplace->sizeHint().width()));
    lblSearch->setMinimumWidth(lblReplace->minimumWidth());
    layout->addWidget(rowReplace);

    auto* grid = new QGridLayout;
    auto* options = new QGroupBox(TD_("Options"), this);
    auto* optionsLayout = new QVBoxLayout(options);
    cbCase = new QCheckBox(TD_("Case sensitive"), options);
    cbCase->setObjectName(QStringLiteral("cbCase"));
    cbWord = new QCheckBox(TD_("Whole words"), options);
    cbWord->setObjectName(QStringLiteral("cbWord"));
    optionsLayout->addWidget(cbCase);
    optionsLayout->addWidget(cbWord);
    grid->addWidget(options, 0, 0);
    rgpRange = radioGroup(this, grid, 0, 1, "rgpRange", N_("Range"), N_("Whole text"),
                          N_("Selected text"));
    rgpDirection = radioGroup(this, grid, 1, 0, "rgpDirection", N_("Direction"), N_("Forward"),
                              N_("Backward"));
    rgpStart = radioGroup(this, grid, 1, 1, "rgpStart", N_("Start "), N_("from cursor"),
                          N_("from beginning"));
    layout->addLayout(grid);

    cbAutoclose = new QCheckBox(TD_("Keep this window opened"), this);
    cbAutoclose->setObjectName(QStringLiteral("cbAutoclose"));
    layout->addWidget(cbAutoclose);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const auto button = [&](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    btnSearch = button("btnSearch");
    btnSearch->setText(TD_("&Search"));
    btnSearch->setDefault(true);
    btnRepeat = button("btnRepeat");
    btnRepeat->setText(TD_("&Continue"));
    btnReplAll = button("btnReplAll");
    btnReplAll->setText(TD_("Replace &all"));
    CancelBtn = button("CancelBtn");
    CancelBtn->setText(TD_("Close"));
    layout->addLayout(buttons);

    connect(cbxSearch, &QComboBox::editTextChanged, this, [this] { updateButtons(); });
    connect(cbConfirm, &QCheckBox::clicked, this,
            [this](bool on) { fOptions.setFlag(ssoPrompt, on); });
    connect(cbCase, &QCheckBox::clicked, this,
            [this](bool on) { fOptions.setFlag(ssoMatchCase, on); });
    connect(cbWord, &QCheckBox::clicked, this,
            [this](bool on) { fOptions.setFlag(ssoWholeWord, on); });
    connect(rgpRange, &QButtonGroup::idClicked, this,
            [this](int id) { fOptions.setFlag(ssoSelectedOnly, id == 1); });
    connect(rgpDirection, &QButtonGroup::idClicked, this,
            [this](int id) { fOptions.setFlag(ssoBackwards, id == 1); });
    connect(rgpStart, &QButtonGroup::idClicked, this, [this](int id) {
        fOptions.chooseStart(id == 1);
        if (id == 0)
            btnRepeat->hide();
    });
    connect(btnSearch, &QPushButton::clicked, this, [this] { searchClicked(); });
    connect(btnRepeat, &QPushButton::clicked, this, [this] { continueClicked(); });
    connect(btnReplAll, &QPushButton::clicked, this, [this] { replaceAllClicked(); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { reject(); });
}

QString TFindReplDialog::FindText() const {
    return cbxSearch->currentText();
}

void TFindReplDialog::setFindText(const QString& text) {
    cbxSearch->setEditText(text);
    updateButtons();
}

QString TFindReplDialog::ReplaceText() const {
    return cbxReplace->currentText();
}

void TFindReplDialog::setReplaceText(const QString& text) {
    cbxReplace->setEditText(text);
}

void TFindReplDialog::setOptions(TSearchOptions options) {
    fOptions.setOptions(options);
    optionsToControls();
}

void TFindReplDialog::optionsToControls() {
    cbConfirm->setChecked(fOptions.has(ssoPrompt));
    cbCase->setChecked(fOptions.has(ssoMatchCase));
    cbWord->setChecked(fOptions.has(ssoWholeWord));
    rgpRange->button(fOptions.has(ssoSelectedOnly) ? 1 : 0)->setChecked(true);
    rgpDirection->button(fOptions.has(ssoBackwards) ? 1 : 0)->setChecked(true);
    rgpStart->button(fOptions.fromBeginning() ? 1 : 0)->setChecked(true);
}

void TFindReplDialog::updateButtons() {
    const bool on = !cbxSearch->currentText().isEmpty();
    btnSearch->setEnabled(on);
    btnRepeat->setEnabled(on);
    btnReplAll->setEnabled(on);
}

bool TFindReplDialog::Execute(bool AReplace) {
    fOptions.open(AReplace);
    if (AReplace) {
        setWindowTitle(TD_("Replace text"));
        btnSearch->setText(TD_("&Replace"));
    } else {
        setWindowTitle(TD_("Search for text"));
        btnSearch->setText(TD_("&Search"));
    }
    rowReplace->setVisible(AReplace);
    btnRepeat->setVisible(AReplace);
    btnReplAll->setVisible(AReplace);
    updateButtons();
    if (isVisible()) {
        raise();
    } else {
        show();
    }
    activateWindow();
    cbxSearch->setFocus();
    return true;
}

void TFindReplDialog::addHistory(QStringList& list, QComboBox* box, const QString& text) {
    if (!addFindHistory(list, text))
        return;
    // Refilling the list would put its first entry into the box: the typed text stays.
    const QString typed = box->currentText();
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(list);
    box->setEditText(typed);
}

void TFindReplDialog::searchClicked() {
    fOptions.beginMain();
    addHistory(m_findHistory, cbxSearch, FindText());
    if (fOptions.replaceMode()) {
        addHistory(m_replaceHistory, cbxReplace, ReplaceText());
        if (OnReplace)
            OnReplace(this);
    } else {
        if (OnFind)
            OnFind(this);
        if (fOptions.fromBeginning())
            btnRepeat->show();
    }
    fOptions.finishMain();
    afterButton(true);
}

void TFindReplDialog::continueClicked() {
    if (fOptions.replaceMode())
        addHistory(m_findHistory, cbxSearch, FindText());
    fOptions.beginContinue();
    if (OnFind)
        OnFind(this);
    fOptions.finishContinue();
    afterButton(false);
}

void TFindReplDialog::replaceAllClicked() {
    addHistory(m_findHistory, cbxSearch, FindText());
    addHistory(m_replaceHistory, cbxReplace, ReplaceText());
    fOptions.beginReplaceAll();
    if (OnReplace)
        OnReplace(this);
    afterButton(true);
}

void TFindReplDialog::afterButton(bool mayClose) {
    cbxSearch->setFocus();
    if (mayClose && !cbAutoclose->isChecked())
        hide();
}

void TFindReplDialog::reject() {
    fOptions.close();
    QDialog::reject();
}

void TFindReplDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        cbxSearch->setFocus();
}

void TFindReplDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_placed = true;
    cbxSearch->setFocus();
}

void TFindReplDialog::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (isVisible())
        m_placed = true;
}

void TFindReplDialog::LoadFromIni(const QString& iniName) {
    fIniFileName = iniName;
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(iniName);
    readFindHistory(ini, kFindSection, m_findHistory);
    readFindHistory(ini, kReplaceSection, m_replaceHistory);
    for (auto [list, box] :
         {std::pair{&m_findHistory, cbxSearch}, {&m_replaceHistory, cbxReplace}}) {
        const QString typed = box->currentText();
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(*list);
        box->setEditText(typed);
    }
    if (ini.ValueExists(kDialogSection, QStringLiteral("Left")) ||
        ini.ValueExists(kDialogSection, QStringLiteral("Top"))) {
        m_storedPos = QPoint(ini.ReadInteger(kDialogSection, QStringLiteral("Left"), x()),
                             ini.ReadInteger(kDialogSection, QStringLiteral("Top"), y()));
        move(m_storedPos);
        m_hasStoredPos = true;
        m_placed = true;
    }
    cbAutoclose->setChecked(ini.ReadBool(kDialogSection, QStringLiteral("AutoClose"), false));
}

void TFindReplDialog::SaveToIni(TUnicodeIniFile& ini) {
    writeFindHistory(ini, kFindSection, m_findHistory);
    writeFindHistory(ini, kReplaceSection, m_replaceHistory);
    const bool known = positionsUnknown() ? m_hasStoredPos : m_placed;
    if (known) {
        const QPoint at = positionsUnknown() ? m_storedPos : pos();
        ini.WriteInteger(kDialogSection, QStringLiteral("Left"), at.x());
        ini.WriteInteger(kDialogSection, QStringLiteral("Top"), at.y());
    }
    ini.WriteBool(kDialogSection, QStringLiteral("AutoClose"), cbAutoclose->isChecked());
}

bool TFindReplDialog::SaveToIni() {
    if (fIniFileName.isEmpty())
        return true;
    TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(fIniFileName);
    SaveToIni(ini);
    const TStatus written = ini.UpdateFile();
    if (!written.ok() && m_dialogs)
        m_dialogs->error(QCoreApplication::applicationName(), written.error());
    return written.ok();
}

} // namespace orvel
