#include "platform/system/UserDefaults.h"

#include "platform/system/LogCategories.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSettings>
#include <QUrl>

#include <cmath>
#include <limits>

// The file holds one JSON object, key -> value. Texts, numbers and booleans
// are plain JSON; a list of texts is an array; data, URLs and dates are
// one-member objects {"data": base64}, {"url": text}, {"date": ISO 8601}.
// Unlike INI files this keeps every kind, one-element and empty lists included.
namespace {

QJsonValue encode(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        return QJsonArray::fromStringList(value.toStringList());
    case QMetaType::QVariantList: {
        QJsonArray array;
        for (const QVariant& element : value.toList())
            array.append(element.toString());
        return array;
    }
    case QMetaType::QByteArray:
        return QJsonObject{{"data", QString::fromLatin1(value.toByteArray().toBase64())}};
    case QMetaType::QUrl:
        return QJsonObject{{"url", value.toUrl().toString(QUrl::FullyEncoded)}};
    case QMetaType::QDateTime:
        return QJsonObject{{"date", value.toDateTime().toString(Qt::ISODateWithMs)}};
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return value.toLongLong();
    case QMetaType::Float:
    case QMetaType::Double: {
        const double number = value.toDouble();
        return std::isfinite(number) ? QJsonValue(number) : QJsonValue(QJsonValue::Undefined);
    }
    default:
        return QJsonValue(QJsonValue::Undefined);
    }
}

QVariant decode(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Bool:
        return value.toBool();
    case QJsonValue::Double: {
        const double number = value.toDouble();
        const qint64 whole = value.toInteger(std::numeric_limits<qint64>::min());
        if (whole != std::numeric_limits<qint64>::min() && static_cast<double>(whole) == number)
            return whole;
        return number;
    }
    case QJsonValue::Array: {
        QStringList list;
        for (const QJsonValue& element : value.toArray())
            list.append(element.toString());
        return list;
    }
    case QJsonValue::Object: {
        const QJsonObject object = value.toObject();
        if (object.size() != 1)
            return {};
        if (object.contains("data"))
            return QByteArray::fromBase64(object.value("data").toString().toLatin1());
        if (object.contains("url"))
            return QUrl(object.value("url").toString());
        if (object.contains("date"))
            return QDateTime::fromString(object.value("date").toString(), Qt::ISODateWithMs);
        return {};
    }
    default:
        return {};
    }
}

bool readJson(QIODevice& device, QSettings::SettingsMap& map) {
    const QByteArray bytes = device.readAll();
    if (bytes.trimmed().isEmpty())
        return true;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (!document.isObject()) {
        qCWarning(platform::lcPlatform, "UserDefaults: unreadable store (%s); starting empty",
                  qPrintable(error.errorString()));
        return true; // an unreadable file reads as an empty store rather than failing every read
    }
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QVariant value = decode(it.value());
        if (value.isValid())
            map.insert(it.key(), value);
    }
    return true;
}

bool writeJson(QIODevice& device, const QSettings::SettingsMap& map) {
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it) {
        const QJsonValue value = encode(it.value());
        if (!value.isUndefined())
            object.insert(it.key(), value);
    }
    return device.write(QJsonDocument(object).toJson(QJsonDocument::Indented)) >= 0;
}

QSettings::Format jsonFormat() {
    static const QSettings::Format format = QSettings::registerFormat("json", readJson, writeJson);
    return format;
}

QStringList systemLanguages() {
    QStringList languages;
    for (const QString& language : QLocale::system().uiLanguages()) {
        if (language != QLatin1String("C") && language != QLatin1String("POSIX") && !language.isEmpty())
            languages.append(language);
    }
    if (languages.isEmpty())
        languages.append(QStringLiteral("en"));
    return languages;
}

} // namespace

UserDefaults& UserDefaults::standard() {
    static UserDefaults defaults([] {
        const QString organisation = QCoreApplication::organizationName().isEmpty()
                                         ? QStringLiteral("Kavrin")
                                         : QCoreApplication::organizationName();
        const QString application = QCoreApplication::applicationName().isEmpty()
                                        ? QStringLiteral("KavrinPlayer")
                                        : QCoreApplication::applicationName();
        QSettings probe(jsonFormat(), QSettings::UserScope, organisation, application);
        return probe.fileName();
    }());
    return defaults;
}

UserDefaults::UserDefaults(const QString& filePath)
    : m_settings(std::make_unique<QSettings>(filePath, jsonFormat())) {}

UserDefaults::~UserDefaults() {
    m_settings->sync();
}

QString UserDefaults::filePath() const {
    return m_settings->fileName();
}

bool UserDefaults::isStorable(const QVariant& value) {
    return !encode(value).isUndefined();
}

QVariant UserDefaults::object(const QString& key) const {
    if (m_settings->contains(key))
        return m_settings->value(key);
    if (key == QLatin1String(kAppleLanguages))
        return systemLanguages();
    return {};
}

bool UserDefaults::contains(const QString& key) const {
    return object(key).isValid();
}

std::optional<QString> UserDefaults::string(const QString& key) const {
    const QVariant value = object(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

std::optional<QStringList> UserDefaults::stringArray(const QString& key) const {
    const QVariant value = object(key);
    if (value.typeId() != QMetaType::QStringList)
        return std::nullopt;
    return value.toStringList();
}

std::optional<QByteArray> UserDefaults::data(const QString& key) const {
    const QVariant value = object(key);
    if (value.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return value.toByteArray();
}

std::optional<double> UserDefaults::number(const QString& key) const {
    const QVariant value = object(key);
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        return value.toDouble();
    default:
        return std::nullopt;
    }
}

std::optional<bool> UserDefaults::boolean(const QString& key) const {
    const QVariant value = object(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (const std::optional<double> n = number(key))
        return *n != 0.0;
    return std::nullopt;
}

bool UserDefaults::set(const QString& key, const QVariant& value) {
    if (!value.isValid()) {
        removeObject(key);
        return true;
    }
    if (!isStorable(value)) {
        qCWarning(platform::lcPlatform, "UserDefaults: cannot store a value of kind %s under \"%s\"",
                  value.metaType().name(), qPrintable(key));
        return false;
    }
    QVariant stored = value;
    // Keep the stored kinds few: any list is a list of texts, any whole number a 64-bit one.
    if (value.typeId() == QMetaType::QVariantList)
        stored = value.toStringList();
    else if (value.typeId() == QMetaType::Float)
        stored = value.toDouble();
    else if (value.typeId() != QMetaType::Bool && value.typeId() != QMetaType::Double &&
             encode(value).isDouble())
        stored = value.toLongLong();
    m_settings->setValue(key, stored);
    return true;
}

void UserDefaults::removeObject(const QString& key) {
    m_settings->remove(key);
}

void UserDefaults::synchronize() {
    m_settings->sync();
}
