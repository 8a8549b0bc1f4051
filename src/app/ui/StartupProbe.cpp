#include "app/ui/StartupProbe.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <unistd.h>

namespace orvel {

namespace {
double processSeconds() {
    // Wall time since the process started, from the kernel's start time of this process.
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray s = stat.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    const double up = uptime.readAll().split(' ').value(0).toDouble();
    return up - startTicks / double(sysconf(_SC_CLK_TCK));
}

long peakRssKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}
} // namespace

void startupProbe(QWidget& window) {
    if (qEnvironmentVariableIsEmpty("ORVEL_STARTUP_PROBE"))
        return;
    // Two turns of the event loop: the first paints the window, the second finds it idle.
    QTimer::singleShot(0, &window, [&window] {
        window.repaint();
        QTimer::singleShot(0, &window, [] {
            std::fprintf(stderr, "orvel-probe: idle after %.3f s, peak RSS %ld MB\n",
                         processSeconds(), peakRssKb() / 1024);
            QApplication::quit();
        });
    });
}

} // namespace orvel
