#pragma once
// Remote directory listings: machine-readable ones (MLSD, RFC 3659) and the human-readable
// LIST of Unix and Windows/IIS servers, read into file entries. Names from the server are
// checked before anything uses them.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvel {

struct TFtpFileInfo {
    QString FFileName;
    qint64 FSize = -1;          // -1 when the listing gives none
    QDateTime FModifiedDate;    // local time; as listed for LIST, whose zone is unknown
    QDateTime FModifiedDateGMT; // UTC; only machine-readable listings give an exact one
};

// The files (or folders) of one remote directory, by name, compared with regard to case.
class TFileList {
public:
    void Clear() { m_items.clear(); }
    int Count() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.isEmpty(); }
    const TFtpFileInfo& at(int i) const { return m_items.at(i); }
    void Add(const TFtpFileInfo& info) { m_items.append(info); }
    int IndexOf(const QString& name) const;
    // The entry of that name, or null.
    const TFtpFileInfo* Find(const QString& name) const;
    QStringList Names() const;
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    QList<TFtpFileInfo> m_items;
};
using TDirectoryList = TFileList;

struct TFtpListEntry {
    TFtpFileInfo Info;
    bool Directory = false;
};

enum TListingFormat { lfMlsd, lfList };

struct TParsedListing {
    QList<TFtpListEntry> Entries;
    // Names the server sent that cannot be used safely, with the reason, for the log.
    QStringList Refused;
};

// Why a name from the server cannot be used ("/", "\", NUL, CR, LF, "." or ".."); empty when
// it can.
QString remoteNameProblem(const QString& name);

// One line of each kind, without its line break; nullopt for lines that are no entry
// (totals, blank lines, "." and "..", malformed lines). today places Unix dates without a
// year (at most a day ahead of it).
std::optional<TFtpListEntry> parseMlsdLine(const QByteArray& line);
std::optional<TFtpListEntry> parseUnixListLine(const QByteArray& line, const QDate& today);
std::optional<TFtpListEntry> parseWindowsListLine(const QByteArray& line);

// A whole listing as it came over the data connection. Entries whose names are unusable are
// left out and named in Refused.
TParsedListing parseListing(const QByteArray& data, TListingFormat format, const QDate& today);

} // namespace orvel
