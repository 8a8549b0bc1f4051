#pragma once
// How a chosen file becomes the address a link writes: relative to the document's folder,
// with "/" between the steps, percent-encoded where an address needs it, and with the
// project's link case. Also which addresses name a local file at all.

#include "base/core/TextChange.h"

#include <QString>
#include <QStringView>

namespace orvel {

// An address on another machine or one that names no file here ("http://", "https://",
// "ftp://", "mailto:", "news:", "ldap:", "telnet://", "tel:", "data:", "javascript:", and
// scheme-relative "//host/..."), compared without regard to case.
bool isRemoteAddress(QStringView url);
// Whether the address begins with a scheme ("name:"), as "mailto:" or "file:" do.
bool hasUrlScheme(QStringView url);
// The address before its first "#": what a link names as its file.
QString addressFilePart(const QString& url);

// The local file the address names, made absolute against folder: relative addresses and
// absolute paths (percent escapes undone where the escaped name exists) and "file://"
// addresses. Empty for remote addresses, other schemes, "#..." and the empty address.
// Query and anchor parts are not part of the file.
QString localFileOfAddress(const QString& folder, const QString& url);
// Whether the address names a regular file (not a folder, not nothing).
bool isExistingFileAddress(const QString& folder, const QString& url);

// The path percent-encoded for an address: blanks, "#", "?", "%", ":", quotes, control
// characters, the characters an address may not hold and every non-ASCII letter (as
// UTF-8); "/" stays.
QString encodeLinkPath(const QString& path);
// The project's link case rule on a link: unchanged, all lower case or all upper case.
QString applyLinkCase(const QString& link, TTextChange mode);

// The address of file as seen from folder: the steps between the cleaned absolute paths,
// parent folders as "../", with the case rule applied and encoded. A file on another
// mount than the folder keeps its absolute name, as a "file://" address.
QString relativeLink(const QString& folder, const QString& file, TTextChange mode = tcNone);
// A link as the link dialog returns it: an absolute path of a local file (typed, or chosen
// in the file dialog) made relative to folder, its anchor part kept; backslashes typed in a
// relative path become "/". Addresses with a scheme, remote ones, "#..." and site-root
// paths that name no local file ("/img/a.png") stay as typed.
QString linkRelativeTo(const QString& folder, const QString& link);

// The entry of a file dialog's filter ("Desc|*.htm;*.html|Desc|*.*") that a file name or
// address (without its "#" part) selects: the first whose masks name its extension
// ("*.html"), ignoring case; the last entry when none does. 0 for an empty filter.
int filterEntryForFile(const QString& filter, const QString& fileName);

// The file-size text "Select file" puts on the clipboard for a chosen file that the first
// filter entry does not describe; empty when that entry describes it or the file is gone.
// filterEntry is the entry its extension selects (from 0).
QString fileSizeForClipboard(const QString& file, int filterEntry, bool decimalUnits,
                             bool decimalComma);

} // namespace orvel
