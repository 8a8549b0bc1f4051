#include "dialogs/ui/ImageDlg.h"

#include "base/core/Dialogs.h"
#include "base/core/Translate.h"
#include "base/ui/HListBox.h"
#include "dialogs/core/ImageDownload.h"
#include "dialogs/core/ImageFile.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvel {

namespace {
const QSize kThumbArea(207, 242);
} // namespace

TImageThumbnail::TImageThumbnail(QWidget* parent) : QWidget(parent) {
    setFixedSize(kThumbArea);
}

void TImageThumbnail::setImage(const QImage& image, QSize fullSize) {
    m_image = image;
    m_size = fullSize;
    update();
}

QRect TImageThumbnail::imageRect() const {
    return QRect(QPoint(0, 0), thumbnailSize(m_size, size()));
}

void TImageThumbnail::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    if (m_image.isNull())
        return;
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(imageRect(), m_image);
}

TImageDialog::TImageDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(T_("Insert image"));
    auto* outer = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* form = new QGridLayout;
    int row = 0;
    m_image = new THistoryCombo(this);
    m_image->setMaxItems(25);
    m_image->setMinimumWidth(320);
    auto* pick = new QPushButton(QStringLiteral("..."), this);
    pick->setToolTip(T_("Select image"));
    form->addWidget(new QLabel(T_("Image:"), this), row, 0);
    form->addWidget(m_image, row, 1, 1, 2);
    form->addWidget(pick, row++, 3);
    m_hint = new QLineEdit(this);
    form->addWidget(new QLabel(T_("Hint:"), this), row, 0);
    form->addWidget(m_hint, row++, 1, 1, 3);
    m_title = new QLineEdit(this);
    auto* copyHint = new QPushButton(T_("Copy hint to title"), this);
    form->addWidget(new QLabel(T_("Title:"), this), row, 0);
    form->addWidget(m_title, row, 1, 1, 2);
    form->addWidget(copyHint, row++, 3);
    m_width = new QLineEdit(this);
    m_height = new QLineEdit(this);
    auto* calc = new QPushButton(T_("Calculate size"), this);
    form->addWidget(new QLabel(T_("Width:"), this), row, 0);
    form->addWidget(m_width, row, 1);
    form->addWidget(calc, row++, 3);
    form->addWidget(new QLabel(T_("Height:"), this), row, 0);
    form->addWidget(m_height, row++, 1);
    m_align = new QComboBox(this);
    m_align->addItems({T_("<none>"), QStringLiteral("left"), QStringLiteral("right"),
                       QStringLiteral("top"), QStringLiteral("middle"), QStringLiteral("bottom ")});
    form->addWidget(new QLabel(T_("Alignment:"), this), row, 0);
    form->addWidget(m_align, row++, 1);
    m_border = new QSpinBox(this);
    m_border->setRange(-1, 20);
    // -1 writes no frame attribute.
    m_border->setSpecialValueText(T_("<none>"));
    form->addWidget(new QLabel(T_("Frame:"), this), row, 0);
    form->addWidget(m_border, row++, 1);
    m_hspace = new QSpinBox(this);
    m_hspace->setRange(0, 100);
    form->addWidget(new QLabel(T_("Spacing left and right:"), this), row, 0);
    form->addWidget(m_hspace, row++, 1);
    m_vspace = new QSpinBox(this);
    m_vspace->setRange(0, 100);
    form->addWidget(new QLabel(T_("Top and bottom:"), this), row, 0);
    form->addWidget(m_vspace, row++, 1);
    left->addLayout(form);
    left->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* resetButton = buttons->addButton(T_("Reset"), QDialogButtonBox::ResetRole);
    resetButton->setToolTip(T_("Reset alle values"));
    left->addWidget(buttons);
    outer->addLayout(left, 1);
    m_thumb = new TImageThumbnail(this);
    outer->addWidget(m_thumb, 0, Qt::AlignTop);

    connect(pick, &QPushButton::clicked, this, &TImageDialog::browse);
    connect(copyHint, &QPushButton::clicked, this, &TImageDialog::copyHintToTitle);
    connect(calc, &QPushButton::clicked, this, &TImageDialog::calculateSize);
    connect(resetButton, &QPushButton::clicked, this, &TImageDialog::reset);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        m_cancel = true;
        reject();
    });
    connect(m_image, &QComboBox::activated, this,
            [this](int index) { chooseHistory(m_image->itemText(index)); });
    connect(m_align, &QComboBox::activated, this, [this](int index) {
        if ((index == 1 || index == 2) && m_hspace->value() == 0)
            m_hspace->setValue(5);
    });
}

void TImageDialog::LoadFromIni(const TUnicodeIniFile& ini, const QString& section) {
    m_image->LoadFromIni(ini, section);
}

void TImageDialog::SaveToIni(TUnicodeIniFile& ini, const QString& section) {
    m_image->SaveToIni(ini, section, true);
}

TImageFields TImageDialog::fields() const {
    TImageFields f;
    f.hint = m_hint->text();
    f.title = m_title->text();
    f.width = m_width->text();
    f.height = m_height->text();
    f.align = m_align->currentIndex();
    f.border = m_border->value();
    f.hspace = m_hspace->value();
    f.vspace = m_vspace->value();
    return f;
}

void TImageDialog::setFields(const TImageFields& f) {
    m_hint->setText(f.hint);
    m_title->setText(f.title);
    m_width->setText(f.width);
    m_height->setText(f.height);
    m_align->setCurrentIndex(f.align);
    m_border->setValue(f.border);
    m_hspace->setValue(f.hspace);
    m_vspace->setValue(f.vspace);
}

void TImageDialog::begin(const QString& path, const QString& image, const QString& attributes) {
    m_cancel = false;
    m_path = path;
    m_imgName.clear();
    m_thumb->setImage({}, {});
    m_image->setCurrentText(image);
    if (!image.isEmpty() && isRemoteReference(image)) {
        m_imgName = image;
        // Only http and https are fetched; an ftp:// or mailto: reference stays as it is.
        if (isDownloadable(image))
            loadRemote(image);
    } else if (!image.isEmpty() && QFileInfo(absolute(image)).isFile()) {
        m_imgName = absolute(image);
        loadImageFile(m_imgName);
    }
    // A missing or unreadable image keeps its reference in the field; only the remembered
    // folder treats the showing as one of a new image.
    m_new = m_imgName.isEmpty();
    m_editing = !image.isEmpty() || !attributes.trimmed().isEmpty();
    m_original = attributes;
    m_read = m_editing ? readImageFields(attributes) : newImageFields();
    setFields(m_read);
}

void TImageDialog::finish(QString& image, QString& attributes) {
    image = m_image->currentText();
    m_image->AddItem(image);
    if (m_new && !m_imgName.isEmpty() && !isRemoteReference(m_imgName))
        m_lastPath = QFileInfo(m_imgName).absolutePath() + u'/';
    attributes = writeImageAttributes(m_original, m_editing, m_read, fields());
}

bool TImageDialog::Execute(const QString& path, QString& image, QString& attributes) {
    begin(path, image, attributes);
    if (exec() != QDialog::Accepted)
        return false;
    finish(image, attributes);
    return true;
}

QString TImageDialog::absolute(const QString& name) const {
    return QDir::cleanPath(QDir(m_path).absoluteFilePath(name));
}

QString TImageDialog::linkText(const QString& fileName) const {
    QString link = m_path.isEmpty() ? fileName : QDir(m_path).relativeFilePath(fileName);
    const int mode = m_context.linkCase ? m_context.linkCase() : 0;
    if (mode == 1)
        link = link.toLower();
    else if (mode == 2)
        link = link.toUpper();
    return link;
}

void TImageDialog::error(const QString& text) {
    if (m_context.dialogs)
        m_context.dialogs->error(windowTitle(), text);
}

bool TImageDialog::loadImageFile(const QString& fileName) {
    if (m_cancel || fileName.isEmpty())
        return false;
    const TResult<TImageInfo> info = readImageInfoFromFile(fileName);
    if (!info.ok()) {
        error(info.error());
        if (!QFileInfo(fileName).isFile())
            m_image->setFocus();
        return false;
    }
    const TResult<QImage> image = loadImageFromFile(fileName, m_thumb->size());
    if (!image.ok()) {
        error(image.error());
        return false;
    }
    m_thumb->setImage(image.value(), info.value().size);
    return true;
}

bool TImageDialog::loadRemote(const QString& url) {
    if (m_cancel)
        return false;
    TDownloadOptions options;
    options.folder = m_context.settingsFolder;
    options.programName = m_context.programName;
    if (options.folder.isEmpty()) {
        error(fmt(T_("Download of %s failed:\r\n%s"), {url, T_("no settings folder")}));
        return false;
    }
    const TResult<QString> copy = downloadImage(url, options);
    if (!copy.ok()) {
        error(copy.error());
        return false;
    }
    return loadImageFile(copy.value());
}

void TImageDialog::fillSize(bool ok) {
    if (ok) {
        m_width->setText(QString::number(m_thumb->imageSize().width()));
        m_height->setText(QString::number(m_thumb->imageSize().height()));
    } else {
        m_width->clear();
        m_height->clear();
    }
}

void TImageDialog::browse() {
    QString start;
    if (m_image->currentText().isEmpty())
        start = m_lastPath.isEmpty() ? m_path : m_lastPath;
    else
        start = QFileInfo(absolute(m_image->currentText())).absolutePath();
    const QString filter = T_("all images") +
                           QStringLiteral(" (*.gif *.jpg *.jpeg *.png *.webp *.bmp *.ico *.svg "
                                          "*.tif *.tiff);;GIF (*.gif);;JPEG (*.jpg *.jpeg);;PNG "
                                          "(*.png);;") +
                           T_("all files") + QStringLiteral(" (*)");
    const QString f = QFileDialog::getOpenFileName(this, T_("Select image"), start, filter);
    if (!f.isEmpty())
        selectImage(f);
}

void TImageDialog::selectImage(const QString& fileName) {
    m_imgName = absolute(fileName);
    m_image->setCurrentText(linkText(m_imgName));
    fillSize(loadImageFile(m_imgName));
}

void TImageDialog::chooseHistory(const QString& entry) {
    m_image->setCurrentText(entry);
    bool ok;
    if (isRemoteReference(entry)) {
        m_imgName = entry;
        ok = loadRemote(entry);
    } else {
        m_imgName = absolute(entry);
        ok = loadImageFile(m_imgName);
    }
    fillSize(ok);
}

void TImageDialog::calculateSize() {
    const QString text = m_image->currentText().trimmed();
    bool ok;
    if (isRemoteReference(text)) {
        m_imgName = text;
        ok = loadRemote(text);
    } else {
        // The field as typed when it names a file; else the image chosen last (a link whose
        // case the project's rule changed may name none).
        if (!text.isEmpty() && QFileInfo(absolute(text)).isFile())
            m_imgName = absolute(text);
        ok = loadImageFile(m_imgName);
    }
    if (ok)
        fillSize(true);
    else if (m_context.dialogs)
        m_context.dialogs->info(windowTitle(), T_("Image dimensions not available!"));
}

void TImageDialog::copyHintToTitle() {
    m_title->setText(m_hint->text());
}

void TImageDialog::reset() {
    m_hint->clear();
    m_width->clear();
    m_height->clear();
    m_align->setCurrentIndex(0);
    m_border->setValue(0);
    m_hspace->setValue(0);
    m_vspace->setValue(0);
}

} // namespace orvel
