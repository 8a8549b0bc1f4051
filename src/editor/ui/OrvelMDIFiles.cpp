// The document window's side of files: new texts, loading, saving, encodings.

#include "base/core/Dialogs.h"
#include "base/core/Errors.h"
#include "base/core/FileSystem.h"
#include "base/core/TextCodec.h"
#include "base/core/Translate.h"
#include "editor/ui/DocumentHost.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QDir>
#include <QFileInfo>

namespace orvel {

namespace {

QString folderOf(const QString& fileName) {
    return withSlash(QFileInfo(fileName).absolutePath());
}

} // namespace

// --- New texts -------------------------------------------------------------------------------

bool TMDIForm::takeCaretLines(bool firstOnly, TBufferCoord* caret) {
    bool found = false;
    for (int i = 0; i < TextBuffer->lineCount();) {
        const std::optional<TBufferCoord> pos = parseCaretLine(TextBuffer->line(i));
        if (!pos) {
            ++i;
            continue;
        }
        TextBuffer->deleteLine(i);
        if (!found)
            *caret = *pos;
        found = true;
        if (firstOnly)
            break;
    }
    return found;
}

QString TMDIForm::resolvedName() const {
    if (m_resolved.isEmpty() || m_resolvedFor != TextName) {
        const QString canonical = QFileInfo(TextName).canonicalFilePath();
        if (canonical.isEmpty())
            return normalizedPath(TextName); // not there (yet): nothing to keep
        m_resolvedFor = TextName;
        m_resolved = canonical;
    }
    return m_resolved;
}

void TMDIForm::InitNewText(const QString& AName, const QString& ADir, TSynEncoding AEncoding) {
    const QString root = m_host.htmlRoot();
    TextPath = ADir.isEmpty() ? root : withSlash(ADir);
    TBufferCoord caret{1, 1};
    bool haveCaret = false;
    const bool useBom = UseBom; // a template's own mark does not decide the new document's
    if (FileType == ftHtml) {
        QString templ;
        if (ADir.isEmpty()) {
            templ = root + QStringLiteral("~template.html");
        } else if (!isNetworkPath(ADir)) {
            const QString chosen = m_host.dialogs().chooseFolder(
                T_("Select subdirectory of template for new document"), ADir, root);
            if (!chosen.isEmpty()) {
                templ = withSlash(chosen) + QStringLiteral("~template.html");
                if (!QFileInfo::exists(templ)) {
                    templ = root + QStringLiteral("~template.html");
                    const bool rootExists = QFileInfo::exists(templ);
                    m_host.dialogs().info(m_host.mainCaption(),
                                          T_("No template found in:") + QStringLiteral("\r\n") +
                                              withSlash(chosen) + QStringLiteral("\r\n") +
                                              (rootExists ? T_("Using project default template!")
                                                          : T_("Using program default template!")));
                }
            }
        }
        const QString defaultFile = m_host.programDataFile(QStringLiteral("default.html"));
        if (!templ.isEmpty() && QFileInfo(templ).isFile() && LoadText(templ)) {
            TextPath = folderOf(templ);
            TimeStamp = 0;
            m_fileTime = QDateTime();
            m_fileSize = -1;
            TextBuffer->beginUpdate();
            haveCaret = takeCaretLines(true, &caret);
            TextBuffer->endUpdate();
            TextBuffer->clearUndo();
        } else if (!defaultFile.isEmpty() && LoadText(defaultFile)) {
            TimeStamp = 0;
            m_fileTime = QDateTime();
            m_fileSize = -1;
            Encoding = AEncoding;
            TextBuffer->beginUpdate();
            for (int i = 0; i < TextBuffer->lineCount(); ++i) {
                const QString l = TextBuffer->line(i);
                if (l.contains(QStringLiteral("%s"), Qt::CaseInsensitive))
                    TextBuffer->setLine(i, replaceCharsetMarker(l, charsetName(AEncoding)));
            }
            haveCaret = takeCaretLines(false, &caret);
            TextBuffer->endUpdate();
            TextBuffer->clearUndo();
            TextBuffer->setModified(false);
        } else {
            TextBuffer->loadUtf8(QByteArray(), TextBuffer->lineBreak());
        }
    } else {
        const QString text = newDocumentText(FileType, AEncoding, TextBuffer->lineBreak());
        TextBuffer->loadUtf8(text.toUtf8(), TextBuffer->lineBreak());
        if (!text.isEmpty()) {
            caret = TBufferCoord{1, 2};
            haveCaret = true;
        }
        TextBuffer->setModified(false);
    }
    UseBom = useBom;
    if (haveCaret)
        TextBuffer->setCaretXY(caret);
    TextBuffer->setBlockBegin(TextBuffer->caretXY());
    Status = tsNew;
    TextName = AName;
    setCaption(AName);
    TextBuffer->setHighlighterEnabled(HlEnabled);
}

// --- Loading ---------------------------------------------------------------------------------

void TMDIForm::rememberFileTime() {
    const QFileInfo fi(TextName);
    m_fileTime = fi.lastModified();
    m_fileSize = fi.size();
    TimeStamp = quint32(qMax<qint64>(0, fi.lastModified().toSecsSinceEpoch()));
}

bool TMDIForm::fileChangedOnDisk() const {
    const QFileInfo fi(TextName);
    if (!fi.exists() || !m_fileTime.isValid())
        return false;
    return fi.lastModified() != m_fileTime || fi.size() != m_fileSize;
}

void TMDIForm::applyLoadedEncoding(TSynEncoding detected, bool bom, bool reloading) {
    // The file's byte-order mark is kept, so an unedited save gives back the same bytes.
    if (detected != seAnsi)
        UseBom = bom;
    if (FileType != ftHtml) {
        Encoding = detected;
    } else if (detected != Encoding) {
        // The preset wins only when it can hold the text; otherwise the file keeps its own.
        const bool fits =
            Encoding != seAnsi ||
            codec::fromEditorText(TextBuffer->textBytes(), seAnsi, false, lbCRLF).ok();
        if (!fits) {
            Encoding = detected;
        } else if (GetEncodingFromHeader() != Encoding) {
            ChangeEncoding(Encoding);
            if (reloading)
                TextBuffer->setModified(true);
        } else if (reloading) {
            TextBuffer->setModified(true);
        }
    }
    updateEncodingMenu();
}

bool TMDIForm::LoadText(const QString& FileName) {
    const TLoadedText loaded = TextBuffer->loadFile(FileName);
    if (!loaded.ok()) {
        m_host.dialogs().error(m_host.appTitle(),
                               fmt(T_("Error: %s\r\nLoading of %s canceled!"),
                                   {loaded.error, QDir::toNativeSeparators(FileName)}));
        return false;
    }
    TextName = FileName;
    rememberFileTime();
    if (!QFileInfo(FileName).isWritable()) {
        Status = tsReadOnly;
        setCaption(QStringLiteral("*") + FileName);
    } else {
        Status = tsOld;
        setCaption(FileName);
    }
    applyLoadedEncoding(loaded.encoding, loaded.bom, false);
    m_host.ShowStatus(false);
    return true;
}

bool TMDIForm::ReLoadText() {
    const TBufferCoord caret = TextBuffer->caretXY();
    const TLoadedText loaded = TextBuffer->loadFile(TextName);
    if (!loaded.ok()) {
        m_host.dialogs().error(m_host.appTitle(),
                               fmt(T_("Error: %s\r\nLoading of %s canceled!"),
                                   {loaded.error, QDir::toNativeSeparators(TextName)}));
        return false;
    }
    rememberFileTime();
    applyLoadedEncoding(loaded.encoding, loaded.bom, true);
    TextBuffer->setCaretXY(caret);
    m_host.ShowStatus(false);
    return true;
}

bool TMDIForm::UpdateText() {
    if (m_inUpdateText || WinIndex < 0 || Status == tsNew || !fileChangedOnDisk())
        return false;
    m_inUpdateText = true;
    const TMsgResult answer = m_host.dialogs().ask(
        m_host.mainCaption(),
        fmt(T_("The text file:\r\n%s\r\nwas changed by another application!\r\nReload this "
               "file?\r\nOwn changes not saved yet will be lossed!"),
            {QDir::toNativeSeparators(TextName)}),
        mbYes | mbNo, mrYes);
    bool reloaded = false;
    if (answer == mrYes)
        reloaded = ReLoadText();
    m_inUpdateText = false;
    return reloaded;
}

// --- Saving ----------------------------------------------------------------------------------

bool TMDIForm::writeFile() {
    for (;;) {
        const TSaveResult r = TextBuffer->saveFile(TextName, Encoding, UseBom);
        if (!r.unencodable.isEmpty()) {
            // Never a lossy file: the user chooses UTF-8 or not saving.
            const TMsgResult answer = m_host.dialogs().ask(
                m_host.mainCaption(),
                fmt(T_("The text holds characters that the encoding %s cannot hold:\r\n%s\r\n"
                       "Save the file as UTF-8 instead?"),
                    {encodingDisplayName(Encoding), codec::describeCharacters(r.unencodable)}),
                mbYes | mbCancel, mrYes);
            if (answer != mrYes)
                return false;
            ChangeEncoding(seUTF8);
            continue;
        }
        if (!r.ok())
            throw EOrvelError(
                fmt(T_("Error writing to \"%s\""), {QDir::toNativeSeparators(TextName)}) +
                QStringLiteral("\r\n") + r.error);
        return true;
    }
}

bool TMDIForm::SaveText() {
    const QString folder = folderOf(TextName);
    if (TextPath != folder)
        TextPath = folder;
    if (!writeFile())
        return false;
    if (!TsvName.isEmpty() && QFileInfo::exists(TsvName))
        QFile::remove(TsvName);
    rememberFileTime();
    TextBuffer->setModified(false);
    Status = tsOld;
    m_host.ShowStatus(false);
    return true;
}

void TMDIForm::SaveTextToTemp() {
    if (!TextBuffer->modified())
        return;
    QString name = TextName;
    if (Status == tsNew)
        name = TextPath + name.mid(name.startsWith(u'*') ? 1 : 0);
    TsvName = name + QStringLiteral(".tsv");
    TSaveResult r = TextBuffer->saveFile(TsvName, Encoding, UseBom);
    // A copy that the encoding cannot hold is kept in UTF-8 rather than lost.
    if (!r.unencodable.isEmpty())
        r = TextBuffer->saveFile(TsvName, seUTF8, true);
    if (!r.ok())
        throw EOrvelError(fmt(T_("Error writing to \"%s\""), {QDir::toNativeSeparators(TsvName)}) +
                          QStringLiteral("\r\n") + r.error);
}

bool TMDIForm::RecoverFrom(const QString& copy) {
    const TSynEncoding keep = Encoding;
    const bool keepBom = UseBom;
    const TLoadedText loaded = TextBuffer->loadFile(copy);
    if (!loaded.ok()) {
        m_host.dialogs().error(m_host.appTitle(),
                               fmt(T_("Error: %s\r\nLoading of %s canceled!"),
                                   {loaded.error, QDir::toNativeSeparators(copy)}));
        return false;
    }
    // The document's encoding stays unless it cannot hold the recovered text.
    Encoding = codec::canHold(TextBuffer->textBytes(), keep) ? keep : loaded.encoding;
    UseBom = keepBom;
    TsvName = copy;
    TextBuffer->setModified(true);
    updateEncodingMenu();
    m_host.ShowStatus(false);
    return true;
}

void TMDIForm::SaveTemplate(const QString& Filename) {
    // Built in memory: the document itself stays as it is.
    QByteArray text(TextBuffer->textBytes().data(), TextBuffer->textBytes().size());
    const QByteArray eol = lineBreakText(TextBuffer->lineBreak());
    if (!text.isEmpty() && !text.endsWith('\n') && !text.endsWith('\r'))
        text += eol;
    text += caretLine(TextBuffer->caretXY()).toLatin1() + eol;
    TSaveResult r = saveTextFile(Filename, text, Encoding, UseBom, TextBuffer->lineBreak());
    if (!r.unencodable.isEmpty())
        r = saveTextFile(Filename, text, seUTF8, true, TextBuffer->lineBreak());
    if (!r.ok())
        throw EOrvelError(fmt(T_("Error writing to \"%s\""), {QDir::toNativeSeparators(Filename)}) +
                          QStringLiteral("\r\n") + r.error);
}

bool TMDIForm::AskForSave() {
    if (!TextBuffer->modified())
        return true;
    const TMsgResult answer = m_host.dialogs().ask(
        m_host.mainCaption(), fmt(T_("Save %s?"), {m_caption}), mbYes | mbNo | mbCancel, mrYes);
    if (answer == mrCancel || answer == mrNone)
        return false;
    if (answer == mrYes)
        return m_host.SaveTextFromMDI(this, true, false, false);
    TextBuffer->setModified(false);
    return true;
}

// --- Encodings -------------------------------------------------------------------------------

TSynEncoding TMDIForm::GetEncodingFromHeader() const {
    const TCharsetDeclaration d = findCharsetDeclaration(TextBuffer->textBytes());
    if (!d.found())
        return seAnsi;
    return encodingOfCharset(d.value).value_or(seAnsi);
}

void TMDIForm::ChangeEncoding(TSynEncoding AEncoding) {
    const TCharsetDeclaration d = findCharsetDeclaration(TextBuffer->textBytes());
    if (d.found() && d.value != charsetName(AEncoding))
        TextBuffer->replaceBytes(d.start, d.length, charsetName(AEncoding));
    Encoding = AEncoding;
    updateEncodingMenu();
    m_host.ShowStatus(false);
}

} // namespace orvel
