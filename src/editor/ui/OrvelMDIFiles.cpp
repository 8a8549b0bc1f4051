// The document window's side of files: new texts, loading, saving, encodings.

#include "base/core/Dialogs.h"
#include "base/core/FileSystem.h"
#include "base/core/TextCodec.h"
#include "base/core/Translate.h"
#include "editor/ui/DocumentContext.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QDir>
#include <QFileInfo>

namespace orvel {

namespace {

QString folderOf(const QString& fileName) {
    return withSlash(QFileInfo(fileName).absolutePath());
}

QString writeError(const QString& fileName, const QString& reason) {
    return fmt(T_("Error writing to \"%s\""), {QDir::toNativeSeparators(fileName)}) +
           QStringLiteral("\r\n") + reason;
}

} // namespace

// --- New texts -------------------------------------------------------------------------------

bool TMDIForm::takeCaretLines(bool firstOnly, TBufferCoord* caret) {
    bool found = false;
    for (int i = 0; i < m_editor->lineCount();) {
        const std::optional<TBufferCoord> pos = parseCaretLine(m_editor->line(i));
        if (!pos) {
            ++i;
            continue;
        }
        m_editor->deleteLine(i);
        if (!found)
            *caret = *pos;
        found = true;
        if (firstOnly)
            break;
    }
    return found;
}

QString TMDIForm::resolvedName() const {
    if (m_resolved.isEmpty() || m_resolvedFor != m_textName) {
        const QString canonical = QFileInfo(m_textName).canonicalFilePath();
        if (canonical.isEmpty())
            return normalizedPath(m_textName); // not there (yet): nothing to keep
        m_resolvedFor = m_textName;
        m_resolved = canonical;
    }
    return m_resolved;
}

void TMDIForm::InitNewText(const QString& AName, const QString& ADir) {
    const QString root = m_context.htmlRoot();
    const TSynEncoding encoding = m_format.encoding;
    const bool useBom = m_format.bom; // a template's own mark does not decide the new document's
    m_textPath = ADir.isEmpty() ? root : withSlash(ADir);
    TBufferCoord caret{1, 1};
    bool haveCaret = false;
    if (m_fileType == ftHtml) {
        QString templ;
        if (ADir.isEmpty()) {
            templ = root + QStringLiteral("~template.html");
        } else if (!isNetworkPath(ADir)) {
            const QString chosen = m_context.dialogs().chooseFolder(
                T_("Select subdirectory of template for new document"), ADir, root);
            if (!chosen.isEmpty()) {
                templ = withSlash(chosen) + QStringLiteral("~template.html");
                if (!QFileInfo::exists(templ)) {
                    templ = root + QStringLiteral("~template.html");
                    const bool rootExists = QFileInfo::exists(templ);
                    m_context.dialogs().info(m_context.mainCaption(),
                                             T_("No template found in:") + QStringLiteral("\r\n") +
                                                 withSlash(chosen) + QStringLiteral("\r\n") +
                                                 (rootExists
                                                      ? T_("Using project default template!")
                                                      : T_("Using program default template!")));
                }
            }
        }
        const QString defaultFile = m_context.programDataFile(QStringLiteral("default.html"));
        const auto loadTemplate = [this](const QString& name) {
            const TStatus loaded = LoadText(name);
            if (!loaded.ok())
                m_context.dialogs().error(m_context.appTitle(), loaded.error());
            return loaded.ok();
        };
        if (!templ.isEmpty() && QFileInfo(templ).isFile() && loadTemplate(templ)) {
            m_textPath = folderOf(templ);
            m_timeStamp = 0;
            m_fileTime = QDateTime();
            m_fileSize = -1;
            m_editor->beginUpdate();
            haveCaret = takeCaretLines(true, &caret);
            m_editor->endUpdate();
            m_editor->clearUndo();
        } else if (!defaultFile.isEmpty() && loadTemplate(defaultFile)) {
            m_timeStamp = 0;
            m_fileTime = QDateTime();
            m_fileSize = -1;
            m_format.encoding = encoding;
            m_editor->beginUpdate();
            for (int i = 0; i < m_editor->lineCount(); ++i) {
                const QString l = m_editor->line(i);
                if (l.contains(QStringLiteral("%s"), Qt::CaseInsensitive))
                    m_editor->setLine(i, replaceCharsetMarker(l, charsetName(encoding)));
            }
            haveCaret = takeCaretLines(false, &caret);
            m_editor->endUpdate();
            m_editor->clearUndo();
            m_editor->setModified(false);
        } else {
            m_editor->loadUtf8(QByteArray(), m_editor->lineBreak());
        }
    } else {
        const QString text = newDocumentText(m_fileType, encoding, m_editor->lineBreak());
        m_editor->loadUtf8(text.toUtf8(), m_editor->lineBreak());
        if (!text.isEmpty()) {
            caret = TBufferCoord{1, 2};
            haveCaret = true;
        }
        m_editor->setModified(false);
    }
    m_format.bom = useBom;
    m_format.lineBreak = m_editor->lineBreak();
    if (haveCaret)
        m_editor->setCaretXY(caret);
    m_editor->setBlockBegin(m_editor->caretXY());
    setStatus(tsNew);
    m_textName = AName;
    setCaption(AName);
    m_editor->setHighlighterEnabled(m_hlEnabled);
    Q_EMIT formatChanged();
}

// --- Loading ---------------------------------------------------------------------------------

void TMDIForm::rememberFileTime() {
    const QFileInfo fi(m_textName);
    m_fileTime = fi.lastModified();
    m_fileSize = fi.size();
    m_timeStamp = quint32(qMax<qint64>(0, fi.lastModified().toSecsSinceEpoch()));
}

bool TMDIForm::fileChangedOnDisk() const {
    const QFileInfo fi(m_textName);
    if (!fi.exists() || !m_fileTime.isValid())
        return false;
    return fi.lastModified() != m_fileTime || fi.size() != m_fileSize;
}

void TMDIForm::setEncoding(TSynEncoding encoding) {
    m_format.encoding = encoding;
    Q_EMIT formatChanged();
}

void TMDIForm::applyLoadedEncoding(TSynEncoding detected, bool bom, bool reloading) {
    // The file's byte-order mark is kept, so an unedited save gives back the same bytes.
    if (detected != seAnsi)
        m_format.bom = bom;
    m_format.lineBreak = m_editor->lineBreak();
    if (m_fileType != ftHtml) {
        m_format.encoding = detected;
    } else if (detected != m_format.encoding) {
        // The preset wins only when it can hold the text; otherwise the file keeps its own.
        const bool fits = m_format.encoding != seAnsi ||
                          codec::fromEditorText(m_editor->textBytes(), seAnsi, false, lbCRLF).ok();
        if (!fits) {
            m_format.encoding = detected;
        } else if (GetEncodingFromHeader() != m_format.encoding) {
            ChangeEncoding(m_format.encoding);
            if (reloading)
                m_editor->setModified(true);
        } else if (reloading) {
            m_editor->setModified(true);
        }
    }
    Q_EMIT formatChanged();
}

TStatus TMDIForm::loadError(const QString& error, const QString& fileName) const {
    return TStatus::failure(fmt(T_("Error: %s\r\nLoading of %s canceled!"),
                                {error, QDir::toNativeSeparators(fileName)}));
}

TStatus TMDIForm::LoadText(const QString& FileName) {
    const TLoadedText loaded = m_editor->loadFile(FileName);
    if (!loaded.ok())
        return loadError(loaded.error, FileName);
    m_textName = FileName;
    rememberFileTime();
    if (!QFileInfo(FileName).isWritable()) {
        setStatus(tsReadOnly);
        setCaption(QStringLiteral("*") + FileName);
    } else {
        setStatus(tsOld);
        setCaption(FileName);
    }
    applyLoadedEncoding(loaded.encoding, loaded.bom, false);
    return TStatus();
}

TStatus TMDIForm::ReLoadText() {
    const TBufferCoord caret = m_editor->caretXY();
    const TLoadedText loaded = m_editor->loadFile(m_textName);
    if (!loaded.ok())
        return loadError(loaded.error, m_textName);
    rememberFileTime();
    applyLoadedEncoding(loaded.encoding, loaded.bom, true);
    m_editor->setCaretXY(caret);
    return TStatus();
}

bool TMDIForm::UpdateText() {
    if (m_inUpdateText || m_status == tsNew || !fileChangedOnDisk())
        return false;
    m_inUpdateText = true;
    const TMsgResult answer = m_context.dialogs().ask(
        m_context.mainCaption(),
        fmt(T_("The text file:\r\n%s\r\nwas changed by another application!\r\nReload this "
               "file?\r\nOwn changes not saved yet will be lossed!"),
            {QDir::toNativeSeparators(m_textName)}),
        mbYes | mbNo, mrYes);
    bool reloaded = false;
    if (answer == mrYes) {
        const TStatus r = ReLoadText();
        if (!r.ok())
            m_context.dialogs().error(m_context.appTitle(), r.error());
        reloaded = r.ok();
    }
    m_inUpdateText = false;
    return reloaded;
}

// --- Saving ----------------------------------------------------------------------------------

TResult<bool> TMDIForm::writeFile() {
    for (;;) {
        const TSaveResult r = m_editor->saveFile(m_textName, m_format.encoding, m_format.bom);
        if (!r.unencodable.isEmpty()) {
            // Never a lossy file: the user chooses UTF-8 or not saving.
            const TMsgResult answer = m_context.dialogs().ask(
                m_context.mainCaption(),
                fmt(T_("The text holds characters that the encoding %s cannot hold:\r\n%s\r\n"
                       "Save the file as UTF-8 instead?"),
                    {encodingDisplayName(m_format.encoding),
                     codec::describeCharacters(r.unencodable)}),
                mbYes | mbCancel, mrYes);
            if (answer != mrYes)
                return false;
            ChangeEncoding(seUTF8);
            continue;
        }
        if (!r.ok())
            return TResult<bool>::failure(writeError(m_textName, r.error));
        return true;
    }
}

void TMDIForm::setFileName(const QString& fullName) {
    m_textName = fullName;
    m_textPath = folderOf(fullName);
    setCaption(fullName);
}

TResult<bool> TMDIForm::SaveText() {
    m_textPath = folderOf(m_textName);
    const TResult<bool> written = writeFile();
    if (!written.ok() || !written.value())
        return written;
    removeAutosaveCopy();
    rememberFileTime();
    m_editor->setModified(false);
    setStatus(tsOld);
    Q_EMIT statusChanged(false);
    return true;
}

TStatus TMDIForm::SaveTextToTemp() {
    if (!m_editor->modified())
        return TStatus();
    QString name = m_textName;
    if (m_status == tsNew)
        name = m_textPath + name.mid(name.startsWith(u'*') ? 1 : 0);
    m_tsvName = name + QStringLiteral(".tsv");
    TSaveResult r = m_editor->saveFile(m_tsvName, m_format.encoding, m_format.bom);
    // A copy that the encoding cannot hold is kept in UTF-8 rather than lost.
    if (!r.unencodable.isEmpty())
        r = m_editor->saveFile(m_tsvName, seUTF8, true);
    if (!r.ok())
        return TStatus::failure(writeError(m_tsvName, r.error));
    return TStatus();
}

TStatus TMDIForm::RecoverFrom(const QString& copy) {
    const TSynEncoding keep = m_format.encoding;
    const bool keepBom = m_format.bom;
    const TLoadedText loaded = m_editor->loadFile(copy);
    if (!loaded.ok())
        return loadError(loaded.error, copy);
    // The document's encoding stays unless it cannot hold the recovered text.
    m_format.encoding = codec::canHold(m_editor->textBytes(), keep) ? keep : loaded.encoding;
    m_format.bom = keepBom;
    m_format.lineBreak = m_editor->lineBreak();
    m_tsvName = copy;
    m_editor->setModified(true);
    Q_EMIT formatChanged();
    return TStatus();
}

TStatus TMDIForm::SaveTemplate(const QString& Filename) {
    // Built in memory: the document itself stays as it is.
    QByteArray text(m_editor->textBytes().data(), m_editor->textBytes().size());
    const QByteArray eol = lineBreakText(m_editor->lineBreak());
    if (!text.isEmpty() && !text.endsWith('\n') && !text.endsWith('\r'))
        text += eol;
    text += caretLine(m_editor->caretXY()).toLatin1() + eol;
    TSaveResult r =
        saveTextFile(Filename, text, m_format.encoding, m_format.bom, m_editor->lineBreak());
    if (!r.unencodable.isEmpty())
        r = saveTextFile(Filename, text, seUTF8, true, m_editor->lineBreak());
    if (!r.ok())
        return TStatus::failure(writeError(Filename, r.error));
    return TStatus();
}

// --- Encodings -------------------------------------------------------------------------------

TSynEncoding TMDIForm::GetEncodingFromHeader() const {
    const TCharsetDeclaration d = findCharsetDeclaration(m_editor->textBytes());
    if (!d.found())
        return seAnsi;
    return encodingOfCharset(d.value).value_or(seAnsi);
}

void TMDIForm::ChangeEncoding(TSynEncoding AEncoding) {
    const TCharsetDeclaration d = findCharsetDeclaration(m_editor->textBytes());
    if (d.found() && d.value != charsetName(AEncoding))
        m_editor->replaceBytes(d.start, d.length, charsetName(AEncoding));
    setEncoding(AEncoding);
}

void TMDIForm::takeProjectFormat(TSynEncoding encoding, bool bom) {
    m_format.bom = bom;
    ChangeEncoding(encoding);
}

} // namespace orvel
