#pragma once
// The image dialog ("Insert image"): an image file or address with a thumbnail and its pixel
// size, and the usual attributes of an image element, for a new element or an edited one.

#include "dialogs/core/ImageAttributes.h"

#include <QDialog>
#include <QImage>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace orvel {

class IDialogs;
class THistoryCombo;
class TUnicodeIniFile;

// What the dialog needs of the program.
struct TImageDialogContext {
    IDialogs* dialogs = nullptr;
    QString settingsFolder; // where remote images are copied, trailing "/"
    QString programName;
    // The project's rule for written links: 0 unchanged, 1 lower case, 2 upper case.
    std::function<int()> linkCase;
};

// The thumbnail: the image at the top left, unscaled when it fits, else scaled to fit with its
// proportions kept.
class TImageThumbnail : public QWidget {
public:
    explicit TImageThumbnail(QWidget* parent = nullptr);
    void setImage(const QImage& image, QSize fullSize);
    QSize imageSize() const { return m_size; }
    QRect imageRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    QSize m_size;
};

class TImageDialog : public QDialog {
    Q_OBJECT
public:
    explicit TImageDialog(QWidget* parent = nullptr);

    void setContext(const TImageDialogContext& context) { m_context = context; }
    // The image field's history, section "ImageList" (at most 25 entries).
    void LoadFromIni(const TUnicodeIniFile& ini, const QString& section);
    void SaveToIni(TUnicodeIniFile& ini, const QString& section);

    // path: the document's folder; image and attributes are in-out and stay unchanged on
    // Cancel. attributes is the element's text after its reference ("" for a new image).
    bool Execute(const QString& path, QString& image, QString& attributes);
    // Execute in two halves, for tests that press the buttons themselves.
    void begin(const QString& path, const QString& image, const QString& attributes);
    void finish(QString& image, QString& attributes);

    // The commands of the dialog.
    void selectImage(const QString& fileName); // as if chosen in the file dialog
    void chooseHistory(const QString& entry);
    void calculateSize();
    void copyHintToTitle();
    void reset();

    THistoryCombo* imageField() const { return m_image; }
    QLineEdit* hintField() const { return m_hint; }
    QLineEdit* titleField() const { return m_title; }
    QLineEdit* widthField() const { return m_width; }
    QLineEdit* heightField() const { return m_height; }
    QComboBox* alignList() const { return m_align; }
    QSpinBox* frameSpinner() const { return m_border; }
    QSpinBox* hspaceSpinner() const { return m_hspace; }
    QSpinBox* vspaceSpinner() const { return m_vspace; }
    TImageThumbnail* thumbnail() const { return m_thumb; }
    QString imageName() const { return m_imgName; }
    QString lastPath() const { return m_lastPath; }
    TImageFields fields() const;

private:
    void setFields(const TImageFields& f);
    void browse();
    // Loads the file into the thumbnail; false (with a message) when it is missing or does not
    // decode, the thumbnail then keeps the previous image.
    bool loadImageFile(const QString& fileName);
    // Downloads and loads a remote image.
    bool loadRemote(const QString& url);
    void fillSize(bool ok);
    QString absolute(const QString& name) const;
    QString linkText(const QString& fileName) const;
    void error(const QString& text);

    TImageDialogContext m_context;
    THistoryCombo* m_image;
    QLineEdit* m_hint;
    QLineEdit* m_title;
    QLineEdit* m_width;
    QLineEdit* m_height;
    QComboBox* m_align;
    QSpinBox* m_border;
    QSpinBox* m_hspace;
    QSpinBox* m_vspace;
    TImageThumbnail* m_thumb;

    QString m_path;    // FPath
    QString m_imgName; // the image loaded: absolute path or address
    QString m_lastPath;
    bool m_new = false;
    bool m_cancel = false;
    bool m_editing = false;
    QString m_original; // the attribute text given
    TImageFields m_read;
};

} // namespace orvel
