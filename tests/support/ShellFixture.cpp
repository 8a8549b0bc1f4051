#include "ShellFixture.h"

#include <QFileInfo>

namespace orvel::test {

void ShellFixture::resetShell() {
    dir = std::make_unique<QTemporaryDir>();
    script.reset();
    projects.reset();
    elements.reset();
}

QStringList ShellFixture::shellProblems() const {
    return projects.problems() + script.problems() + elements.problems();
}

TShellStart ShellFixture::shellStart(const QStringList& files, bool withSettings) const {
    TShellStart s;
    s.programDir = dir->path() + u'/';
    s.userPath = dir->path() + u'/';
    s.caption = QStringLiteral("Orvel (Version 0.1.0)");
    s.comLineFiles = files;
    if (withSettings) {
        s.iniName = path(QStringLiteral("orvel.ini"));
        s.logName = path(QStringLiteral("orvel.log"));
    }
    const QString data = dir->path() + QStringLiteral("/data/");
    s.findDataFile = [data](const QString& name) {
        const QString f = data + name;
        return QFileInfo::exists(f) ? f : QString();
    };
    // Dictionaries only where a test puts them ("data/dict"), none of the system's.
    s.systemDictionaryFolders = QStringList();
    return s;
}

std::unique_ptr<THauptForm> ShellFixture::shellWindow(const TShellStart& start) {
    return std::make_unique<THauptForm>(start,
                                        TShellDialogs{script, &elements, &projects, &script});
}

} // namespace orvel::test
