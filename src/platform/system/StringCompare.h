#pragma once

#include <QString>

// Orders two texts as a numeric string comparison does: runs of digits
// compare by their numeric value ("2.0.10" after "2.0.9", "01" equal to "1"),
// every other character by its code. Negative when `receiver` comes first,
// 0 when they are equal, positive when `receiver` comes after `argument`.
int compareNumeric(const QString& receiver, const QString& argument);

// The text with every character outside the URL-query-allowed set
// percent-encoded: letters, digits and - . _ ~ ! $ & ' ( ) * + , / : ; = ? @
// stay, everything else (a "%" too) becomes "%" and two hexadecimal digits of
// its UTF-8 bytes.
QString percentEncodedForUrlQuery(const QString& text);
