// The document window's image commands that work on an element in the text: the image dialog
// on an existing image element and the image map of the image under the caret.

#include "base/core/Translate.h"
#include "dialogs/core/ElementDialogs.h"
#include "dialogs/core/ImageAttributes.h"
#include "dialogs/core/ImageFile.h"
#include "dialogs/core/ImageMapText.h"
#include "editor/ui/DocumentContext.h"
#include "editor/ui/OrvelMDI.h"
#include "editor/ui/TagEngine.h"
#include "search/core/AnchorReader.h"
#include "textcontrol/ui/EditorControl.h"

#include <QDir>

namespace orvel {

namespace {

// The text as the editor counts character indexes: lines joined by CR LF.
QString indexedText(const TEditorControl& editor) {
    QStringList lines;
    const int n = editor.lineCount();
    lines.reserve(n);
    for (int i = 0; i < n; ++i)
        lines << editor.line(i);
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

bool TMDIForm::editImageElement(const QString& tag) {
    TImageElement element = splitImageElement(tag);
    QString image = element.image;
    QString attrs = element.attributes;
    if (!m_context.elementDialogs().imageDialog(m_textPath, image, attrs))
        return false;
    // An OK that changed nothing leaves the text as it was.
    if (image == element.image && attrs == element.attributes)
        return false;
    if (!element.hasSrc) {
        element.head += QStringLiteral(" src=\"");
        element.quote = QStringLiteral("\"");
        element.hasSrc = true;
    }
    element.image = element.quote == u"'" ? QString(image).replace(u'\'', QStringLiteral("&#39;"))
                                          : quotedAttributeValue(image);
    if (element.quote.isEmpty() && !image.isEmpty()) {
        // An unquoted reference changed: quotes make any new text safe.
        element.head += u'"';
        element.quote = QStringLiteral("\"");
        element.image = quotedAttributeValue(image);
    }
    element.attributes = attrs;
    if (element.end.isEmpty())
        element.end = QStringLiteral(">");
    m_engine->InsertText(element.text(), 0);
    return true;
}

void TMDIForm::ActionImageMapExecute() {
    // The image map editor works on the image under the caret.
    if (m_tagMark.TagType != ttImg)
        return;
    const TTagMark mark = m_tagMark;
    const TBufferCoord caret = m_editor->caretXY();
    const QString tag = m_editor->textRange(mark.TagStart, mark.TagEnd);
    const THtmlTag parsed = THtmlTag::parse(tag);
    const QString image = parsed.value(u"src");
    QString name = usemapName(tag);
    const QString text = indexedText(*m_editor);
    TMapBlock block = findImageMap(text, name);
    IElementDialogs& dlg = m_context.elementDialogs();
    if (name.isEmpty() && !dlg.inputText(T_("Image map"), T_("Name:"), name)) {
        m_editor->setCaretXY(caret);
        return;
    }
    name = name.trimmed();
    if (name.isEmpty()) {
        m_editor->setCaretXY(caret);
        return;
    }
    TImageMap map = block.map;
    if (block.start < 0)
        map.name = name;
    // The document's anchors (names and ids) offered for the areas' links.
    QStringList anchors;
    for (const TAnchor& a : readAnchors(text)) {
        if (!anchors.contains(a.name))
            anchors << a.name;
    }
    if (!dlg.imageMap(m_textPath, image, name, anchors, map.areas)) {
        m_editor->setCaretXY(caret);
        return;
    }
    const TResult<TImageInfo> info =
        readImageInfoFromFile(QDir::cleanPath(QDir(m_textPath).absoluteFilePath(image)));
    const QString mapText =
        writeImageMap(map, m_editor->tabWidth(), info.ok() ? info.value().size : QSize());
    m_editor->beginUpdate();
    if (block.start >= 0) {
        m_editor->setSelection(m_editor->charIndexToRowCol(int(block.start)),
                               m_editor->charIndexToRowCol(int(block.end)));
        m_engine->InsertText(mapText, 0);
    } else {
        // A new map: the image refers to it (an old usemap replaced) and the map stands on
        // its own lines before the image's line.
        const QString withMap = imageWithUsemap(tag, name);
        if (withMap != tag) {
            m_editor->setSelection(mark.TagStart, mark.TagEnd);
            m_engine->InsertText(withMap, 0);
        }
        m_editor->setCaretXY({1, mark.TagStart.Line});
        m_engine->InsertText(mapText + QStringLiteral("\r\n"), 0);
    }
    m_editor->endUpdate();
}

} // namespace orvel
