#pragma once
// The version texts shown in the main window's caption, the start screen and --version.

#include <QString>

namespace orvel {

// The application title: error boxes carry it, and it names the window class.
inline QString applicationTitle() {
    return QStringLiteral("Tagsmith");
}

struct TVersionInfo {
    QString ProgVersName; // internal name of the version record
    QString FileVersion;  // four numbers, as recorded
    QString ProgVers;     // " (Version 6.4.4)"
    QString ProgVersDate; // the executable's modification date, user's short date format
    QString LegalNotice;  // as recorded
};

// Keeps at most three numbers: trailing ".number" parts go until at most two dots are left.
QString cutVersion(const QString& fileVersion);
// " (" + "Version" + " " + the cut version + ")".
QString versionSuffix(const QString& fileVersion);

// The version record compiled into the program, dated by the executable's file.
TVersionInfo readVersionInfo(const QString& executablePath);
// The same with the internal name, version and notice given; an empty name reads as the
// application title.
TVersionInfo makeVersionInfo(const QString& internalName, const QString& fileVersion,
                             const QString& legalNotice, const QString& executablePath);

// The start screen's version line: the version text without the parentheses.
QString startScreenVersion(const TVersionInfo& info);
// The legal notice with every ", " turned into a line break followed by four blanks.
QString startScreenLegalNotice(const QString& legalNotice);
// "Orvel" + ProgVers: the main window's caption and that of the questions about saving.
QString mainWindowCaption(const TVersionInfo& info);
// For --version: name and version on the first line, the legal notice below.
QString versionText(const TVersionInfo& info);

} // namespace orvel
