#pragma once

#include <QString>

// The translation function of the generated storyboard code: every text of a
// screen's .ui file is a key of the string table "Localizable" (the second
// argument, a disambiguation, is not used by the table).
QString storyboardLocalized(const char* key, const char* disambiguation = nullptr);
