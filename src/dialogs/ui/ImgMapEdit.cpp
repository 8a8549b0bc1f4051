#include "dialogs/ui/ImgMapEdit.h"

#include "base/core/Dialogs.h"
#include "base/core/IniFileUtils.h"
#include "base/core/Translate.h"
#include "dialogs/core/ImageFile.h"

#include <QButtonGroup>
#include <QCursor>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace orvel {

namespace {

const QColor kAreaFill(176, 219, 252);

void drawShape(QPainter& p, const TAreaDataObject& a) {
    switch (a.Shape) {
    case asRect:
        if (a.Points.size() >= 2)
            p.drawRect(normalizedRect(a.Points.at(0), a.Points.at(1)).adjusted(0, 0, -1, -1));
        break;
    case asCircle:
        if (a.Points.size() >= 2) {
            const int r = a.Points.at(1).x();
            p.drawEllipse(a.Points.at(0), r, r);
        }
        break;
    case asPoly:
        if (a.Points.size() == 1)
            p.drawEllipse(a.Points.at(0), 1, 1);
        else if (a.Points.size() == 2)
            p.drawLine(a.Points.at(0), a.Points.at(1));
        else if (a.Points.size() > 2)
            p.drawPolygon(QPolygon(a.Points));
        break;
    }
}

} // namespace

TImageMapCanvas::TImageMapCanvas(TImageMapEditor* editor) : QWidget(editor), m_editor(editor) {
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

void TImageMapCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    m_editor->paintCanvas(p);
}

void TImageMapCanvas::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton)
        m_editor->pressAt(e->position().toPoint());
}

void TImageMapCanvas::mouseMoveEvent(QMouseEvent* e) {
    m_editor->moveTo(e->position().toPoint());
}

void TImageMapCanvas::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton)
        m_editor->releaseAt(e->position().toPoint());
}

TImageMapEditor::TImageMapEditor(QWidget* parent) : QDialog(parent) {
    setWindowTitle(T_("Image-Map-Editor"));
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* toolRow = new QHBoxLayout;
    const char* captions[6][2] = {
        {N_("&Select"), N_("Select range")}, {N_("&Link"), N_("Link of area")},
        {N_("&Delete"), N_("Delete area")},  {N_("&Rectangle"), N_("Rectangular area")},
        {N_("&Circle"), N_("Round area")},   {N_("&Polygon"), N_("Polygonal area")}};
    // Shown in the order select, rectangle, circle, polygon, link, delete.
    const TDrawMode order[6] = {dmCursor, dmRect, dmCircle, dmPoly, dmLink, dmDelete};
    auto* group = new QButtonGroup(this);
    for (TDrawMode m : order) {
        auto* b = new QRadioButton(T_(captions[m][0]), this);
        b->setToolTip(T_(captions[m][1]));
        group->addButton(b, m);
        toolRow->addWidget(b);
        m_tools[m] = b;
    }
    m_coords = new QLineEdit(this);
    m_coords->setReadOnly(true);
    m_coords->setMinimumWidth(180);
    m_hint = new QLineEdit(this);
    m_hint->setReadOnly(true);
    m_hint->setMinimumWidth(140);
    toolRow->addWidget(m_coords, 1);
    toolRow->addWidget(m_hint, 1);
    layout->addLayout(toolRow);
    m_scroll = new QScrollArea(this);
    m_canvas = new TImageMapCanvas(this);
    m_scroll->setWidget(m_canvas);
    m_scroll->setWidgetResizable(false);
    layout->addWidget(m_scroll, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(group, &QButtonGroup::idClicked, this, [this](int id) { setDrawMode(TDrawMode(id)); });
    resize(640, 480);
}

void TImageMapEditor::LoadFromIni(const TUnicodeIniFile& ini, const QString& section) {
    const QRect g = geometry();
    const int left = ini.ReadInteger(section, QStringLiteral("Left"), g.left());
    const int top = ini.ReadInteger(section, QStringLiteral("Top"), g.top());
    const int width = ini.ReadInteger(section, QStringLiteral("Width"), g.width());
    const int height = ini.ReadInteger(section, QStringLiteral("Height"), g.height());
    m_state = ini.ReadInteger(section, QStringLiteral("State"), 0);
    // Values from an edited file that no screen could show are left alone.
    if (width >= 200 && height >= 150 && width <= 20000 && height <= 20000)
        setGeometry(left, top, width, height);
    if (m_state == 2)
        setWindowState(Qt::WindowMaximized);
}

void TImageMapEditor::SaveToIni(TUnicodeIniFile& ini, const QString& section) const {
    const int state = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    if (state == 0) {
        const QRect g = geometry();
        ini.WriteInteger(section, QStringLiteral("Left"), g.left());
        ini.WriteInteger(section, QStringLiteral("Top"), g.top());
        ini.WriteInteger(section, QStringLiteral("Width"), g.width());
        ini.WriteInteger(section, QStringLiteral("Height"), g.height());
    }
    ini.WriteInteger(section, QStringLiteral("State"), state);
}

bool TImageMapEditor::begin(const QString& path, const QString& image, const QString& mapName,
                            const QStringList& anchors, const TAreaList& areas) {
    m_path = path;
    m_anchors = anchors;
    const QString file = QDir::cleanPath(QDir(path).absoluteFilePath(image));
    const TResult<QImage> loaded = loadImageFromFile(file);
    if (!loaded.ok()) {
        if (m_dialogs) {
            const QString text = loaded.error() == fileNotFoundText(file)
                                     ? loaded.error()
                                     : loaded.error() + QStringLiteral("\r\n") + file;
            m_dialogs->error(T_("Image-Map-Editor"), text);
        }
        return false;
    }
    m_image = loaded.value().convertToFormat(QImage::Format_RGB32);
    m_areas = areas;
    m_edMode = edNoth;
    m_editing = false;
    m_sel = TSelectedArea();
    m_edit = TAreaDataObject();
    setWindowTitle(T_("Image-Map-Editor - Map: ") + mapName);
    m_canvas->setFixedSize(m_image.size() + QSize(1, 1));
    setDrawMode(dmCursor);
    m_coords->clear();
    m_hint->clear();
    m_canvas->update();
    return true;
}

TAreaList TImageMapEditor::finish() {
    finishPolygon();
    TAreaList result = m_areas;
    nameUnnamedAreas(result);
    return result;
}

bool TImageMapEditor::Execute(const QString& path, const QString& image, const QString& mapName,
                              const QStringList& anchors, TAreaList& areas) {
    if (!begin(path, image, mapName, anchors, areas))
        return false;
    if (exec() != QDialog::Accepted)
        return false;
    areas = finish();
    return true;
}

void TImageMapEditor::setDrawMode(TDrawMode mode) {
    // Choosing another tool ends the polygon being drawn.
    if (mode != m_drawMode || mode == dmCursor)
        finishPolygon();
    m_drawMode = mode;
    if (!m_tools[mode]->isChecked())
        m_tools[mode]->setChecked(true);
    m_canvas->update();
}

void TImageMapEditor::finishPolygon() {
    if (m_edMode == edNoth && m_editing && m_edit.Shape == asPoly && m_sel.AreaNr < 0) {
        // Fewer than three vertices make no area.
        if (m_edit.Points.size() >= 3)
            m_areas << m_edit;
        m_editing = false;
        m_edit = TAreaDataObject();
        m_canvas->update();
    }
}

QString TImageMapEditor::coordinatesText() const {
    return m_coords->text();
}
QString TImageMapEditor::hintText() const {
    return m_hint->text();
}

bool TImageMapEditor::confirm(const QString& text) {
    if (!m_dialogs)
        return true;
    return m_dialogs->askAt(windowTitle(), text, mbYes | mbNo, mrNo, QCursor::pos()) == mrYes;
}

void TImageMapEditor::showEdited() {
    m_coords->setText(areaCoordinatesText(m_edit));
    m_canvas->update();
}

void TImageMapEditor::pressAt(QPoint pos) {
    if (m_image.isNull())
        return;
    const QPoint p = clampToImage(pos, m_image.size());
    m_oldPos = p;
    m_start = p;
    switch (m_drawMode) {
    case dmCursor: {
        m_sel = hitTest(m_areas, p);
        if (m_sel.AreaNr < 0)
            return;
        m_edit = m_areas.at(m_sel.AreaNr);
        m_editing = true;
        m_edMode = m_sel.PointNr >= 0 ? edSize : edMove;
        if (m_edMode == edSize)
            m_anchor = resizeAnchor(m_edit, m_sel.PointNr);
        showEdited();
        return;
    }
    case dmRect:
        m_sel = TSelectedArea();
        m_edit = TAreaDataObject(asRect);
        m_edit.Points = {p, p};
        m_editing = true;
        m_edMode = edNew;
        showEdited();
        return;
    case dmCircle:
        m_sel = TSelectedArea();
        m_edit = circleFromDrag(p, p);
        m_editing = true;
        m_edMode = edNew;
        showEdited();
        return;
    case dmPoly:
        if (!m_editing || m_edit.Shape != asPoly) {
            m_sel = TSelectedArea();
            m_edit = TAreaDataObject(asPoly);
            m_editing = true;
        }
        m_edit.Points << p;
        showEdited();
        return;
    case dmLink: {
        const TSelectedArea hit = hitTest(m_areas, p);
        if (hit.AreaNr < 0 || !m_linkEditor)
            return;
        TAreaDataObject area = m_areas.at(hit.AreaNr);
        if (m_linkEditor(T_("Link for selected region"), m_path, m_anchors, area))
            m_areas[hit.AreaNr] = area;
        m_canvas->update();
        return;
    }
    case dmDelete: {
        const TSelectedArea hit = hitTest(m_areas, p);
        if (hit.AreaNr < 0)
            return;
        TAreaDataObject& area = m_areas[hit.AreaNr];
        if (area.Shape == asPoly && hit.PointNr >= 0 && area.Points.size() > 3) {
            if (confirm(T_("Delete point?")))
                deleteVertex(area, hit.PointNr);
        } else if (confirm(T_("Delete region?"))) {
            // A polygon left with fewer than three vertices is no area: it goes whole.
            m_areas.removeAt(hit.AreaNr);
        }
        m_canvas->update();
        return;
    }
    }
}

void TImageMapEditor::moveTo(QPoint pos) {
    if (m_image.isNull())
        return;
    const QPoint p = clampToImage(pos, m_image.size());
    switch (m_edMode) {
    case edNoth: {
        m_coords->setText(QStringLiteral("x=%1 y=%2").arg(p.x()).arg(p.y()));
        if (m_drawMode == dmCursor || m_drawMode == dmLink || m_drawMode == dmDelete) {
            const TSelectedArea hit = hitTest(m_areas, p);
            m_hint->setText(hit.AreaNr >= 0 ? hit.Hint : QString());
        }
        return;
    }
    case edMove:
        moveArea(m_edit, p - m_oldPos, m_image.size());
        break;
    case edSize:
        resizeArea(m_edit, m_sel.PointNr, m_anchor, p);
        break;
    case edNew:
        if (m_edit.Shape == asRect)
            m_edit.Points[1] = p;
        else if (m_edit.Shape == asCircle)
            m_edit = circleFromDrag(m_start, p);
        break;
    }
    m_oldPos = p;
    showEdited();
}

void TImageMapEditor::releaseAt(QPoint pos) {
    if (m_edMode == edNoth)
        return;
    moveTo(pos);
    if (m_edMode == edNew) {
        // A click without a drag draws nothing.
        const QRect b = areaBounds(m_edit);
        if (b.width() > 1 && b.height() > 1)
            m_areas << m_edit;
    } else if (m_sel.AreaNr >= 0 && m_sel.AreaNr < m_areas.size()) {
        m_areas[m_sel.AreaNr].Points = m_edit.Points;
        setDrawMode(dmCursor);
    }
    m_edMode = edNoth;
    m_editing = false;
    m_sel = TSelectedArea();
    m_edit = TAreaDataObject();
    m_canvas->update();
}

void TImageMapEditor::paintCanvas(QPainter& painter) {
    if (m_image.isNull())
        return;
    QImage frame = m_image;
    {
        QPainter p(&frame);
        // The image shows through the areas, tinted.
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p.setPen(Qt::black);
        p.setBrush(kAreaFill);
        for (int i = 0; i < m_areas.size(); ++i) {
            if (m_editing && i == m_sel.AreaNr)
                continue;
            drawShape(p, m_areas.at(i));
        }
        if (m_editing) {
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p.setPen(Qt::white);
            p.setBrush(Qt::NoBrush);
            drawShape(p, m_edit);
        }
    }
    painter.drawImage(0, 0, frame);
}

} // namespace orvel
