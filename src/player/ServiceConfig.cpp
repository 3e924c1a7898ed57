#include "ServiceConfig.h"

#include "platform/Bundle.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

QString serviceAddress(const QString& key) {
    const std::optional<QString> path = Bundle::pathForResource(QStringLiteral("config.json"));
    if (!path)
        return {};
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object().value(key).toString().trimmed();
}
