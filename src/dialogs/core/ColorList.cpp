#include "dialogs/core/ColorList.h"

#include "base/core/IniFileUtils.h"

#include <QStringList>

namespace orvel {

const TColorList kDefaultCustomColors = {0xB8FFFF, 0xB8B8FF, 0x98B8FF, 0x68B8FF, 0xB0FFB0, 0xFFB890,
                                         0xFFB070, 0xD09898, 0x003080, 0x0050B0, 0x006000, 0x208000,
                                         0x804000, 0x705000, 0x780000, 0x580058};

const std::array<TBasicColor, 16> kBasicColors = {{
    {0x000000, "black"},
    {0x000080, "maroon"},
    {0x008000, "green"},
    {0x800000, "navy"},
    {0x008080, "olive"},
    {0x800080, "purple"},
    {0x808000, "teal"},
    {0x808080, "gray"},
    {0x0000FF, "red"},
    {0x00FF00, "lime"},
    {0x00FFFF, "yellow"},
    {0xFF0000, "blue"},
    {0xFF00FF, "fuchsia"},
    {0xFFFF00, "aqua"},
    {0xC0C0C0, "silver"},
    {0xFFFFFF, "white"},
}};

TColorList parseCustomColors(const QString& text) {
    TColorList colors{};
    const QStringList parts = text.split(u',');
    for (int i = 0; i < 16 && i < parts.size(); ++i) {
        qint64 v = 0;
        colors[i] = parseIniInteger(parts.at(i).trimmed(), v) ? quint32(v) : 0;
    }
    return colors;
}

QString formatCustomColors(const TColorList& colors) {
    QStringList parts;
    for (quint32 c : colors)
        parts << QStringLiteral("$%1").arg(c, 3, 16, QLatin1Char('0')).toUpper();
    return parts.join(u',');
}

} // namespace orvel
