// Project files: the "Project" section read into a project, and the remembered documents'
// entries ("index.htm|1,12,1031,0"), which read back the same once written.

#include "base/core/IniFileUtils.h"
#include "projects/core/ProjectInfo.h"

#include "Fuzz.h"

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const TTextFileInfo entry = parseFileEntry(QString::fromUtf8(bytes), 1031);
    const TTextFileInfo again = parseFileEntry(formatFileEntry(entry), 1031);
    FUZZ_CHECK(formatFileEntry(again) == formatFileEntry(entry));

    const TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(bytes);
    TProjectInfo project(QStringLiteral("/projects/fuzz.prj"));
    project.ReadFrom(ini, 3, 1033);
    FUZZ_CHECK(project.FileList.size() <= kMaxProjectFiles);
    for (const TTextFileInfo& file : project.FileList) {
        FUZZ_CHECK(!file.Name.isEmpty());
        project.FullName(file.Name);
        project.RelativeName(file.Name);
    }
    project.IndexOfFile(project.ActiveFile);
    return 0;
}
