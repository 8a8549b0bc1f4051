#include "PublishFixture.h"

#include "TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace orvel::test {

namespace {
const QByteArray kTemplate = "<!DOCTYPE html>\r\n<!-- #var\r\ntitle = Home page // the title\r\n"
                             "-->\r\n<title>[%title]</title>\r\n";

QByteArray pageBytes(const QString& name, int size) {
    QByteArray b = "<p>" + name.toUtf8() + "</p>\n";
    while (b.size() < size)
        b += char('a' + b.size() % 26);
    return b;
}
} // namespace

void setFileTime(const QString& fileName, const QDateTime& time) {
    QFile f(fileName);
    if (f.open(QIODevice::ReadWrite))
        f.setFileTime(time, QFileDevice::FileModificationTime);
}

QStringList makeSite(const QString& root) {
    QStringList published;
    const auto add = [&root, &published](const QString& rel, const QByteArray& bytes, bool sent) {
        const QString file = root + u'/' + rel;
        QDir().mkpath(QFileInfo(file).absolutePath());
        writeAll(file, bytes);
        if (sent)
            published << rel;
    };
    add(QStringLiteral("index.htm"), pageBytes(QStringLiteral("index"), 700), true);
    add(QStringLiteral("style.css"), "p { color: red }\n", true);
    QByteArray png(3000, Qt::Uninitialized);
    for (int i = 0; i < png.size(); ++i)
        png[i] = char(i * 7 + 3);
    add(QStringLiteral("img/logo.png"), png, true);
    add(QStringLiteral("notes.txt"), "not part of the site\n", false);
    add(QStringLiteral("~draft.htm"), "a draft\n", false);
    add(QStringLiteral("tpl/page.htt"), kTemplate, false);
    add(QStringLiteral("tpl/nohead.htt"), "<p>no header</p>\r\n", false);
    published << QStringLiteral("tpl/page.html");
    for (const QString& dir : {QStringLiteral("a"), QStringLiteral("a/b")})
        for (int i = 0; i < 10; ++i) {
            const QString name =
                QStringLiteral("%1/page%2.htm").arg(dir).arg(i, 2, 10, QChar(u'0'));
            add(name, pageBytes(name, 100 + 37 * i), true);
        }
    const QDateTime dayBack = QDateTime::currentDateTimeUtc().addDays(-1);
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        setFileTime(it.next(), dayBack);
    published.sort();
    return published;
}

QStringList filesBelow(const QString& dir) {
    QStringList out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(dir).relativeFilePath(it.next());
    out.sort();
    return out;
}

PublishDestination::PublishDestination(Kind kind) : m_kind(kind) {
}

PublishDestination::~PublishDestination() = default;

QString PublishDestination::start() {
    if (m_kind == DestVsftpd) {
        if (const QString why = Vsftpd::unavailable(); !why.isEmpty())
            return why;
        m_vsftpd = std::make_unique<Vsftpd>(Vsftpd::Plain);
        return m_vsftpd->start() ? QString() : m_vsftpd->error();
    }
    if (m_kind == DestPyftpd) {
        m_pyftpd = std::make_unique<test::PyFtpd>();
        return m_pyftpd->start() ? QString() : m_pyftpd->error();
    }
    return m_folder.isValid() ? QString() : m_folder.errorString();
}

void PublishDestination::configure(TProjectInfo& p) const {
    if (m_kind == DestFolder) {
        p.TransferMode = tmDirect;
        p.RemotePath = disk();
        return;
    }
    p.TransferMode = tmFtp;
    p.Host = QStringLiteral("127.0.0.1");
    p.Passive = true;
    if (m_kind == DestVsftpd) {
        p.Port = m_vsftpd->port();
        p.Username = QStringLiteral("anonymous");
        p.Password = QStringLiteral("orvel@example.org");
        p.RemotePath = QStringLiteral("/pub/site");
    } else {
        p.Port = m_pyftpd->port();
        p.Username = QStringLiteral("tester");
        p.Password = QStringLiteral("s3cret");
        p.RemotePath = QStringLiteral("/site");
    }
}

QString PublishDestination::disk() const {
    switch (m_kind) {
    case DestVsftpd:
        return m_vsftpd->pubDir() + QStringLiteral("/site");
    case DestPyftpd:
        return m_pyftpd->rootDir() + QStringLiteral("/site");
    default:
        return m_folder.filePath(QStringLiteral("dest/site"));
    }
}

} // namespace orvel::test
