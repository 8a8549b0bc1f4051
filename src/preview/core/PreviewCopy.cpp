#include "preview/core/PreviewCopy.h"

#include "base/core/TextFile.h"
#include "base/core/Translate.h"
#include "projects/core/TemplateProcessor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orvel {

namespace {

TStatus writeCopy(const QString& copyName, QByteArrayView utf8, const TFileFormat& format) {
    TSaveResult saved = saveTextFile(copyName, utf8, format.encoding, format.bom, format.lineBreak);
    if (!saved.unencodable.isEmpty())
        saved = saveTextFile(copyName, utf8, seUTF8, true, format.lineBreak);
    if (saved.ok())
        return TStatus();
    return TStatus::failure(
        fmt(T_("Error writing to \"%s\""), {QDir::toNativeSeparators(copyName)}) +
        QStringLiteral("\r\n") + saved.error);
}

} // namespace

QString previewCopyName(const QString& folder, const QString& programName) {
    QString dir = folder;
    if (!dir.isEmpty() && !dir.endsWith(u'/'))
        dir += u'/';
    return dir + u'~' + programName + QStringLiteral(".html");
}

TResult<QString> writePreviewCopy(const QString& copyName, const TPreviewText& text) {
    if (!text.expand) {
        const TStatus written = writeCopy(copyName, text.utf8, text.format);
        return written.ok() ? TResult<QString>(copyName) : TResult<QString>(written);
    }
    // The expansion goes to the copy alone, never through the template's own HTML file.
    const TTemplateOutput out = expandTemplateText(QString::fromUtf8(text.utf8));
    if (!out.headerFound)
        return QString();
    if (!out.headerClosed)
        return TResult<QString>::failure(
            fmt(T_("No end of header (\"-->\") found in HTML template: %s"),
                {QFileInfo(text.sourceName).fileName()}));
    const char* lineBreak = lineBreakText(text.format.lineBreak);
    QByteArray utf8;
    for (const QString& line : out.lines)
        utf8 += line.toUtf8() + lineBreak;
    const TStatus written = writeCopy(copyName, utf8, text.format);
    return written.ok() ? TResult<QString>(copyName) : TResult<QString>(written);
}

TResult<QString> TPreviewWriter::write(const QString& copyName, const TPreviewText& text) {
    const size_t hash = qHashMulti(0, text.utf8, int(text.format.encoding), text.format.bom,
                                   int(text.format.lineBreak), text.expand);
    const auto known = m_written.constFind(copyName);
    if (known != m_written.constEnd() && known->hash == hash && known->stamp == fileStamp(copyName))
        return copyName;
    const TResult<QString> written = writePreviewCopy(copyName, text);
    if (written.ok() && !written.value().isEmpty())
        m_written.insert(copyName, {hash, fileStamp(copyName)});
    else
        m_written.remove(copyName);
    return written;
}

TFileStamp fileStamp(const QString& fileName) {
    return fileStampOf(QFile::encodeName(fileName));
}

TBrowserCommand externalBrowserCommand(const QString& browser, const QString& fileName) {
    if (browser.trimmed().isEmpty())
        return {QStringLiteral("xdg-open"), {fileName}};
    return {browser, {fileName}};
}

} // namespace orvel
