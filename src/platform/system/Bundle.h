#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// The application bundle: the resources folder beside the executable, the
// application's version, name and identifier.
//
// The resources folder is, in order: $KAVRIN_RESOURCES_DIR when set, the
// folder "resources" beside the executable (build tree), the folder
// "../share/kavrin-player/resources" from it (install tree), else the build
// tree's resources folder known at compile time.
namespace Bundle {

// The application's identifier, "com.kavrin.player".
QString bundleIdentifier();
// The application's short version ("1.0.0"), from the build.
QString shortVersion();
// The application's name, "KavrinPlayer".
QString name();

// An information entry by its key: "CFBundleIdentifier", "CFBundleName",
// "CFBundleShortVersionString", "CFBundleVersion"; invalid for others.
QVariant objectForInfoDictionaryKey(const QString& key);

// The folder of the resources.
QString resourcePath();
// The path of the resource `name` (with `extension` when not empty), when it exists.
std::optional<QString> pathForResource(const QString& name, const QString& extension = {});

// The `ffmpeg` tool: among the resources when it is there and executable,
// else the first one on PATH; absent when there is none.
std::optional<QString> ffmpegPath();

} // namespace Bundle
