#include "shared/ServiceConfig.h"

#include "platform/system/Bundle.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

std::optional<QJsonObject>& configOverride() {
    static std::optional<QJsonObject> config;
    return config;
}

QJsonObject serviceConfig() {
    if (configOverride())
        return *configOverride();
    const std::optional<QString> path = Bundle::pathForResource(QStringLiteral("config.json"));
    if (!path)
        return {};
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.read(1024 * 1024)).object();
}

} // namespace

QString serviceAddress(const QString& key) {
    return serviceConfig().value(key).toString().trimmed();
}

QStringList serviceList(const QString& key) {
    QStringList list;
    for (const QJsonValue& value : serviceConfig().value(key).toArray()) {
        if (value.isString() && !value.toString().isEmpty())
            list.append(value.toString());
    }
    return list;
}

void setServiceConfigOverride(const std::optional<QJsonObject>& config) {
    configOverride() = config;
}
