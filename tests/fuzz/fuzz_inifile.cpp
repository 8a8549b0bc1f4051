// The settings file reader (also the project files' one): any bytes read into sections and
// keys that write out and read back the same, and every listed key reads as present.

#include "base/core/IniFileUtils.h"

#include "Fuzz.h"

using namespace orvel;

namespace {

struct TEntry {
    QString section, key, value;
    bool operator==(const TEntry&) const = default;
};

QList<TEntry> contents(const TUnicodeIniFile& ini) {
    QList<TEntry> all;
    for (const QString& section : ini.Sections()) {
        FUZZ_CHECK(ini.SectionExists(section));
        for (const QString& key : ini.SectionKeys(section)) {
            FUZZ_CHECK(ini.ValueExists(section, key));
            all.append({section, key, ini.ReadString(section, key, QStringLiteral("\u0001"))});
            // The readers of numbers take any text without failing.
            ini.ReadInteger(section, key, 0);
            ini.ReadInt64(section, key, 0);
            ini.ReadBool(section, key, false);
        }
    }
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(bytes);
    const QList<TEntry> first = contents(ini);

    const QByteArray written = ini.toBytes();
    const TUnicodeIniFile reread = TUnicodeIniFile::FromBytes(written);
    FUZZ_CHECK(contents(reread) == first);
    FUZZ_CHECK(reread.toBytes() == written);

    // The list layouts read whatever the sections hold.
    QStringList list;
    for (const QString& section : ini.Sections())
        ReadIniList(ini, section, QString(), true, 20, list);
    qint64 value = 0;
    parseIniInteger(QString::fromLatin1(bytes.left(40)), value);
    return 0;
}
