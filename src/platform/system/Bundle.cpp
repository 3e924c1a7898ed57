#include "platform/system/Bundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef KAVRIN_VERSION
#define KAVRIN_VERSION "0.0.0"
#endif
#ifndef KAVRIN_RESOURCES_DIR
#define KAVRIN_RESOURCES_DIR ""
#endif

namespace Bundle {

QString bundleIdentifier() {
    return QStringLiteral("com.kavrin.player");
}

QString shortVersion() {
    return QStringLiteral(KAVRIN_VERSION);
}

QString name() {
    return QStringLiteral("KavrinPlayer");
}

QVariant objectForInfoDictionaryKey(const QString& key) {
    if (key == QLatin1String("CFBundleIdentifier"))
        return bundleIdentifier();
    if (key == QLatin1String("CFBundleName"))
        return name();
    if (key == QLatin1String("CFBundleShortVersionString") || key == QLatin1String("CFBundleVersion"))
        return shortVersion();
    return {};
}

QString resourcePath() {
    const QString fromEnvironment = qEnvironmentVariable("KAVRIN_RESOURCES_DIR");
    if (!fromEnvironment.isEmpty() && QFileInfo(fromEnvironment).isDir())
        return QDir(fromEnvironment).absolutePath();
    if (QCoreApplication::instance()) {
        const QDir executableDir(QCoreApplication::applicationDirPath());
        for (const QString& candidate :
             {QStringLiteral("resources"), QStringLiteral("../share/kavrin-player/resources")}) {
            const QString path = executableDir.filePath(candidate);
            if (QFileInfo(path).isDir())
                return QDir(path).absolutePath();
        }
    }
    return QStringLiteral(KAVRIN_RESOURCES_DIR);
}

std::optional<QString> pathForResource(const QString& name, const QString& extension) {
    if (name.isEmpty())
        return std::nullopt;
    const QString fileName = extension.isEmpty() ? name : name + QLatin1Char('.') + extension;
    const QFileInfo info(QDir(resourcePath()).filePath(fileName));
    if (!info.exists())
        return std::nullopt;
    return info.absoluteFilePath();
}

std::optional<QString> ffmpegPath() {
    if (const std::optional<QString> bundled = pathForResource(QStringLiteral("ffmpeg"))) {
        const QFileInfo info(*bundled);
        if (info.isFile() && info.isExecutable())
            return bundled;
    }
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (onPath.isEmpty())
        return std::nullopt;
    return onPath;
}

} // namespace Bundle
