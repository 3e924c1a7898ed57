#include "platform/ui/Assets.h"

#include "platform/system/Bundle.h"
#include "platform/system/LogCategories.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>

#include <cmath>
#include <cstdio>

namespace {

struct Catalogue {
    bool loaded = false;
    QString overrideDirectory;
    QString directory;
    QHash<QString, QString> imagePaths; // name -> file
    QHash<QString, QColor> colors;
    QHash<QString, QPixmap> pixmaps; // rendered images by name, size and ratio
    QSet<QString> reported;          // missing names already reported
};

QMutex& catalogueMutex() {
    static QMutex mutex;
    return mutex;
}

Catalogue& catalogue() {
    static Catalogue instance;
    return instance;
}

// "#RRGGBB" or "#RRGGBBAA" (alpha last, as the catalogue writes it).
QColor parseHex(const QString& text) {
    if (!text.startsWith(QLatin1Char('#')) || (text.size() != 7 && text.size() != 9))
        return {};
    bool ok = false;
    const uint value = text.mid(1).toUInt(&ok, 16);
    if (!ok)
        return {};
    if (text.size() == 7)
        return QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    return QColor((value >> 24) & 0xFF, (value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

void loadColors(Catalogue& c) {
    const QString path = c.directory + QStringLiteral("/colors.json");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(platform::lcPlatform, "Assets: cannot read %s", qPrintable(path));
        return;
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError) {
        qCWarning(platform::lcPlatform, "Assets: %s: %s", qPrintable(path), qPrintable(error.errorString()));
        return;
    }
    const QJsonObject colors = document.object().value(QStringLiteral("colors")).toObject();
    for (auto it = colors.begin(); it != colors.end(); ++it) {
        const QColor color = parseHex(it.value().toString());
        if (color.isValid())
            c.colors.insert(it.key(), color);
        else
            qCWarning(platform::lcPlatform, "Assets: colour \"%s\" has no valid value", qPrintable(it.key()));
    }
}

void loadImages(Catalogue& c) {
    const QDir dir(c.directory + QStringLiteral("/images"));
    // PNG first so that an SVG of the same name wins.
    for (const QString& pattern : {QStringLiteral("*.png"), QStringLiteral("*.svg")}) {
        const QFileInfoList files = dir.entryInfoList({pattern}, QDir::Files, QDir::Name);
        for (const QFileInfo& info : files)
            c.imagePaths.insert(info.completeBaseName(), info.absoluteFilePath());
    }
}

Catalogue& loaded() {
    Catalogue& c = catalogue();
    if (!c.loaded) {
        c.loaded = true;
        c.directory = c.overrideDirectory.isEmpty() ? Bundle::resourcePath() + QStringLiteral("/assets")
                                                    : c.overrideDirectory;
        loadColors(c);
        loadImages(c);
    }
    return c;
}

// One line on stderr for each missing name, the first time it is asked for.
void reportMissing(Catalogue& c, const char* kind, const QString& name) {
    const QString key = QLatin1String(kind) + QLatin1Char(':') + name;
    if (c.reported.contains(key))
        return;
    c.reported.insert(key);
    qCWarning(platform::lcPlatform, "Assets: no %s named \"%s\" in %s", kind, qPrintable(name),
              qPrintable(c.directory));
}

// The entry for name in one of the catalogue's tables; nullptr, reported once, when there is none.
template <typename Value>
const Value* findEntry(Catalogue& c, const QHash<QString, Value>& table, const char* kind,
                       const QString& name) {
    const auto found = table.constFind(name);
    if (found == table.constEnd()) {
        reportMissing(c, kind, name);
        return nullptr;
    }
    return &*found;
}

bool isSvg(const QString& path) {
    return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
}

QSize naturalSize(const QString& path) {
    if (isSvg(path)) {
        QSvgRenderer renderer(path);
        return renderer.isValid() ? renderer.defaultSize() : QSize();
    }
    return QImageReader(path).size();
}

QPixmap render(const QString& path, QSize size, qreal ratio, Qt::AspectRatioMode aspect) {
    if (isSvg(path)) {
        QSvgRenderer renderer(path);
        if (!renderer.isValid())
            return {};
        const QSize natural = renderer.defaultSize();
        const QSize logical = size.isValid() ? natural.scaled(size, aspect) : natural;
        const QSize device(qMax(1, qRound(logical.width() * ratio)),
                           qMax(1, qRound(logical.height() * ratio)));
        QImage image(device, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(device)));
        painter.end();
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(ratio);
        return pixmap;
    }
    QPixmap pixmap(path);
    if (pixmap.isNull() || !size.isValid())
        return pixmap;
    const QSize device = QSize(qRound(size.width() * ratio), qRound(size.height() * ratio));
    pixmap = pixmap.scaled(device, aspect, Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

QPixmap Assets::image(const QString& name, QSize size, qreal devicePixelRatio, Qt::AspectRatioMode aspect) {
    if (!(devicePixelRatio > 0.0) || !std::isfinite(devicePixelRatio))
        devicePixelRatio = 1.0;
    QMutexLocker lock(&catalogueMutex());
    Catalogue& c = loaded();
    const QString* path = findEntry(c, c.imagePaths, "image", name);
    if (path == nullptr)
        return {};
    const QString key = QStringLiteral("%1|%2x%3|%4|%5")
                            .arg(name)
                            .arg(size.isValid() ? size.width() : -1)
                            .arg(size.isValid() ? size.height() : -1)
                            .arg(devicePixelRatio)
                            .arg(static_cast<int>(aspect));
    if (const auto cached = c.pixmaps.constFind(key); cached != c.pixmaps.constEnd())
        return *cached;
    QPixmap pixmap = render(*path, size, devicePixelRatio, aspect);
    if (pixmap.isNull())
        qCWarning(platform::lcPlatform, "Assets: cannot read image %s", qPrintable(*path));
    else
        c.pixmaps.insert(key, pixmap);
    return pixmap;
}

QIcon Assets::icon(const QString& name) {
    QString path;
    {
        QMutexLocker lock(&catalogueMutex());
        Catalogue& c = loaded();
        const QString* found = findEntry(c, c.imagePaths, "image", name);
        if (found == nullptr)
            return {};
        path = *found;
    }
    // Qt's SVG icon engine renders the file afresh at each size the icon is drawn at.
    return QIcon(path);
}

QSize Assets::imageSize(const QString& name) {
    QMutexLocker lock(&catalogueMutex());
    Catalogue& c = loaded();
    const QString* path = findEntry(c, c.imagePaths, "image", name);
    return path != nullptr ? naturalSize(*path) : QSize();
}

bool Assets::hasImage(const QString& name) {
    QMutexLocker lock(&catalogueMutex());
    return loaded().imagePaths.contains(name);
}

QColor Assets::color(const QString& name) {
    QMutexLocker lock(&catalogueMutex());
    Catalogue& c = loaded();
    const QColor* found = findEntry(c, c.colors, "colour", name);
    return found != nullptr ? *found : QColor();
}

bool Assets::hasColor(const QString& name) {
    QMutexLocker lock(&catalogueMutex());
    return loaded().colors.contains(name);
}

QStringList Assets::imageNames() {
    QMutexLocker lock(&catalogueMutex());
    QStringList names = loaded().imagePaths.keys();
    names.sort();
    return names;
}

QStringList Assets::colorNames() {
    QMutexLocker lock(&catalogueMutex());
    QStringList names = loaded().colors.keys();
    names.sort();
    return names;
}

QString Assets::directory() {
    QMutexLocker lock(&catalogueMutex());
    return loaded().directory;
}

void Assets::reload() {
    QMutexLocker lock(&catalogueMutex());
    Catalogue& c = catalogue();
    const QString overrideDirectory = c.overrideDirectory;
    c = Catalogue();
    c.overrideDirectory = overrideDirectory;
}

void Assets::setDirectory(const QString& path) {
    QMutexLocker lock(&catalogueMutex());
    Catalogue& c = catalogue();
    c = Catalogue();
    c.overrideDirectory = path;
}

QString AssetName::channelButtonImage(int family, char state) {
    return QStringLiteral("%1%2_%3")
        .arg(QLatin1String(kChannelButtonPrefix))
        .arg(family)
        .arg(QLatin1Char(state));
}

QString AssetName::speedGraphImage(int index) {
    return QLatin1String(kSpeedGraphPrefix) + QString::number(index);
}
