#pragma once

#include <QString>
#include <QStringList>

// The string table "Localizable": the application's texts in English, Korean
// and Japanese, kept as Localizable_<language>.qm in the resources'
// "translations" folder. A key the table lacks is its own text.

// `key` in the interface language.
QString localized(const QString& key);
QString localized(const char* key);

// Loads the table of `language` ("en", "ko", "ja"; a region part as in
// "ko-KR" is ignored) in place of the current one. Returns false, keeping the
// keys as texts, when there is no such table.
bool setLocalizationLanguage(const QString& language);

// Follows the user's "AppleLanguages" (its first entry) and loads that
// table; called once at start-up. Returns the language chosen.
QString loadInterfaceLanguage();

// The language of the loaded table; empty when none is loaded.
QString localizationLanguage();
