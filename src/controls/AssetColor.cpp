#include "controls/AssetColor.h"

#include "platform/ui/Assets.h"

namespace {

QColor colorFromName(const QString& name) {
    const QString code = name.section(QLatin1Char('_'), -1);
    if (name.startsWith(QLatin1String("TransparentBlack_"))) {
        bool ok = false;
        const int percent = code.toInt(&ok);
        if (ok && percent >= 0 && percent <= 100)
            return QColor(0, 0, 0, qRound(percent * 255 / 100.0));
        return {};
    }
    if (code.size() != 6 && code.size() != 8)
        return {};
    bool ok = false;
    const uint value = code.toUInt(&ok, 16);
    if (!ok)
        return {};
    if (code.size() == 6)
        return QColor::fromRgb(value);
    return QColor((value >> 24) & 0xff, (value >> 16) & 0xff, (value >> 8) & 0xff, value & 0xff);
}

} // namespace

QColor assetColor(const QString& name, const QColor& fallback) {
    if (Assets::hasColor(name)) {
        const QColor color = Assets::color(name);
        if (color.isValid())
            return color;
    }
    const QColor fromName = colorFromName(name);
    return fromName.isValid() ? fromName : fallback;
}
