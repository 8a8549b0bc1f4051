#pragma once
// The image map editor ("Image-Map-Editor"): the image at its natural size with rectangles,
// circles and polygons drawn on it, moved, resized and deleted, and each area's link.

#include "dialogs/core/ImageMap.h"

#include <QDialog>
#include <QImage>
#include <functional>

class QLineEdit;
class QRadioButton;
class QScrollArea;

namespace orvel {

class IDialogs;
class TUnicodeIniFile;

enum TDrawMode { dmCursor, dmLink, dmDelete, dmRect, dmCircle, dmPoly };
enum TEditMode { edNoth, edNew, edSize, edMove };

class TImageMapEditor;

// The image with the areas; it hands its mouse events to the editor.
class TImageMapCanvas : public QWidget {
public:
    explicit TImageMapCanvas(TImageMapEditor* editor);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TImageMapEditor* m_editor;
};

class TImageMapEditor : public QDialog {
    Q_OBJECT
public:
    // Edits the area's link, alternative text and title, offering the anchors; false on
    // Cancel.
    using TLinkEditor = std::function<bool(const QString& caption, const QString& folder,
                                           const QStringList& anchors, TAreaDataObject& area)>;

    explicit TImageMapEditor(QWidget* parent = nullptr);

    void setDialogs(IDialogs* dialogs) { m_dialogs = dialogs; }
    void setLinkEditor(TLinkEditor editor) { m_linkEditor = std::move(editor); }
    // "Left", "Top", "Width", "Height" and "State" of the section.
    void LoadFromIni(const TUnicodeIniFile& ini, const QString& section);
    void SaveToIni(TUnicodeIniFile& ini, const QString& section) const;

    // Edits areas for the image (relative to path) of the map named mapName; true on OK, the
    // areas then hold the result (unnamed ones named by position).
    bool Execute(const QString& path, const QString& image, const QString& mapName,
                 const QStringList& anchors, TAreaList& areas);
    // Execute in parts, for tests that drive the mouse themselves.
    bool begin(const QString& path, const QString& image, const QString& mapName,
               const QStringList& anchors, const TAreaList& areas);
    TAreaList finish();

    void setDrawMode(TDrawMode mode);
    TDrawMode drawMode() const { return m_drawMode; }
    const TAreaList& areas() const { return m_areas; }
    const QImage& image() const { return m_image; }
    TImageMapCanvas* canvas() const { return m_canvas; }
    QString coordinatesText() const;
    QString hintText() const;

private:
    friend class TImageMapCanvas;
    void paintCanvas(QPainter& painter);
    void pressAt(QPoint p);
    void moveTo(QPoint p);
    void releaseAt(QPoint p);
    void finishPolygon();
    void showEdited();
    bool confirm(const QString& text);

    IDialogs* m_dialogs = nullptr;
    TLinkEditor m_linkEditor;
    QRadioButton* m_tools[6];
    QLineEdit* m_coords;
    QLineEdit* m_hint;
    QScrollArea* m_scroll;
    TImageMapCanvas* m_canvas;

    QString m_path;
    QStringList m_anchors;
    QImage m_image;
    TAreaList m_areas;
    TDrawMode m_drawMode = dmCursor;
    TEditMode m_edMode = edNoth;
    QPoint m_oldPos;
    QPoint m_start;
    QPoint m_anchor;
    TAreaDataObject m_edit; // the shape being drawn or edited
    bool m_editing = false; // m_edit is shown as the outline
    TSelectedArea m_sel;    // the area being edited; AreaNr -1 for a new one
    int m_state = 0;        // the window's state as stored
};

} // namespace orvel
