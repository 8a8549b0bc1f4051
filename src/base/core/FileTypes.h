#pragma once
// Document types and the file-type table.

#include <QList>
#include <QString>

namespace orvel {

enum TFileTypes : int { ftHtml, ftCss, ftJs, ftPhp, ftVbs, ftPerl, ftText, ftNone };

constexpr int kFileTypeCount = ftNone; // the types with a table row

// The table row of a type: ftNone has none and takes plain text's.
constexpr int fileTypeRow(TFileTypes type) {
    return type < ftNone ? type : ftText;
}

struct TFileType {
    QString Section;    // settings section
    const char* Desc;   // translatable description
    QString Types;      // comma-separated extensions without dot
    QString FileFilter; // fixed dialog pattern
    QString DefExt;
};

// The table with its default extension lists, one row per type but ftNone.
QList<TFileType> defaultFileTypes();

// The first type (in table order) whose Types list holds the extension (compared without
// regard to case, without dot); ftText when none does.
TFileTypes FileTypeOfExt(const QList<TFileType>& table, const QString& ext);
// The same for a file name.
TFileTypes FileTypeOfName(const QList<TFileType>& table, const QString& fileName);

} // namespace orvel
