#include "platform/Localization.h"

#include "platform/Bundle.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

#include <memory>

namespace {

constexpr char kContext[] = "Localizable";

struct LoadedTable {
    std::unique_ptr<QTranslator> translator;
    QString language;
};

LoadedTable& loadedTable() {
    static LoadedTable table;
    return table;
}

} // namespace

QString localized(const QString& key) {
    return localized(key.toUtf8().constData());
}

QString localized(const char* key) {
    if (!key)
        return {};
    // translate() answers the key itself when no table holds it.
    return QCoreApplication::translate(kContext, key);
}

bool setLocalizationLanguage(const QString& language) {
    LoadedTable& table = loadedTable();
    if (table.translator) {
        QCoreApplication::removeTranslator(table.translator.get());
        table.translator.reset();
        table.language.clear();
    }
    const QString code = language.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
    if (code.isEmpty() || !QCoreApplication::instance())
        return false;
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QDir(Bundle::resourcePath()).filePath(QStringLiteral("translations"));
    if (!translator->load(QStringLiteral("Localizable_") + code, folder))
        return false;
    QCoreApplication::installTranslator(translator.get());
    table.translator = std::move(translator);
    table.language = code;
    return true;
}

QString loadInterfaceLanguage() {
    const std::optional<QStringList> languages =
        UserDefaults::standard().stringArray(QString::fromLatin1(UserDefaults::kAppleLanguages));
    QString language = QStringLiteral("en");
    if (languages && !languages->isEmpty() && !languages->first().isEmpty())
        language = languages->first().section(QLatin1Char('-'), 0, 0).toLower();
    if (!setLocalizationLanguage(language)) {
        setLocalizationLanguage(QStringLiteral("en"));
        return QStringLiteral("en");
    }
    return language;
}

QString localizationLanguage() {
    return loadedTable().language;
}
