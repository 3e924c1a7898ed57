#include "platform/system/Localization.h"

#include "platform/system/Bundle.h"
#include "platform/system/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

constexpr char kContext[] = "Localizable";

struct LoadedTable {
    std::unique_ptr<QTranslator> translator;
    // The toolkit's own texts (file dialogs, standard buttons) in the same language.
    std::unique_ptr<QTranslator> toolkit;
    QString language;
    // The languages fixed at start-up; absent until loadInterfaceLanguage runs.
    std::optional<QStringList> interfaceLanguages;
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
    for (std::unique_ptr<QTranslator>* loaded : {&table.translator, &table.toolkit}) {
        if (*loaded) {
            QCoreApplication::removeTranslator(loaded->get());
            loaded->reset();
        }
    }
    table.language.clear();
    QLocale::setDefault(QLocale::system());
    const QString code = language.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
    if (code.isEmpty())
        table.interfaceLanguages.reset();
    if (code.isEmpty() || !QCoreApplication::instance())
        return false;
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QDir(Bundle::resourcePath()).filePath(QStringLiteral("translations"));
    if (!translator->load(QStringLiteral("Localizable_") + code, folder))
        return false;
    QCoreApplication::installTranslator(translator.get());
    table.translator = std::move(translator);
    table.language = code;
    // Dates and names the toolkit writes (a file dialog's columns) follow the language too.
    QLocale::setDefault(QLocale(code));
    // English needs no catalogue; a missing one leaves the toolkit's texts in English.
    auto toolkit = std::make_unique<QTranslator>();
    if (toolkit->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(toolkit.get());
        table.toolkit = std::move(toolkit);
    }
    return true;
}

QString loadInterfaceLanguage() {
    std::optional<QStringList> languages =
        UserDefaults::standard().stringArray(QString::fromLatin1(UserDefaults::kAppleLanguages));
    QString language = QStringLiteral("en");
    if (languages && !languages->isEmpty() && !languages->first().isEmpty())
        language = languages->first().section(QLatin1Char('-'), 0, 0).toLower();
    // The list as the window player normalises the stored one when it loads.
    if (!languages || languages->isEmpty())
        languages = QStringList{QStringLiteral("en")};
    else if (languages->first().contains(QLatin1Char('-')))
        languages = QStringList{languages->first().section(QLatin1Char('-'), 0, 0)};
    if (!setLocalizationLanguage(language)) {
        setLocalizationLanguage(QStringLiteral("en"));
        language = QStringLiteral("en");
    }
    loadedTable().interfaceLanguages = languages;
    return language;
}

QString localizationLanguage() {
    return loadedTable().language;
}

std::optional<QStringList> interfaceLanguages() {
    if (const std::optional<QStringList>& fixed = loadedTable().interfaceLanguages)
        return fixed;
    return UserDefaults::standard().stringArray(QString::fromLatin1(UserDefaults::kAppleLanguages));
}

bool isKoreanInterface() {
    return interfaceLanguages() == QStringList{QStringLiteral("ko")};
}
