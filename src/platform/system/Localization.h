#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The string table "Localizable": the application's texts in English, Korean
// and Japanese, kept as Localizable_<language>.qm in the resources'
// "translations" folder. A key the table lacks is its own text. Beside it the
// toolkit's own catalogue of the language (its standard dialogs and buttons)
// is loaded from the toolkit's translations folder when it is installed.

// `key` in the interface language.
QString localized(const QString& key);
QString localized(const char* key);

// Loads the table of `language` ("en", "ko", "ja"; a region part as in
// "ko-KR" is ignored) in place of the current one, with the toolkit's own
// catalogue of that language. Returns false, keeping the keys as texts, when
// there is no such table. An empty `language` unloads both and forgets the
// languages fixed by loadInterfaceLanguage.
bool setLocalizationLanguage(const QString& language);

// Follows the user's "AppleLanguages" (its first entry) and loads that
// table; called once at start-up. It also fixes interfaceLanguages() for the
// rest of the run. Returns the language chosen.
QString loadInterfaceLanguage();

// The language of the loaded table; empty when none is loaded.
QString localizationLanguage();

// The "AppleLanguages" list in effect for this run: the stored list as
// loadInterfaceLanguage found it, with a region part dropped from a first
// entry and a missing or empty list read as ["en"]. A language chosen later
// is stored for the next start and changes nothing here. Before
// loadInterfaceLanguage has run it is the stored list itself.
std::optional<QStringList> interfaceLanguages();

// Whether interfaceLanguages() is exactly ["ko"]: the interface that names
// districts and searches by them.
bool isKoreanInterface();
