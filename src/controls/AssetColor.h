#pragma once

#include <QColor>
#include <QString>

// The catalogue colour `name`. Before the catalogue is installed (or when it
// lacks the entry) the colour still exists: a name that ends in a hex code
// ("GrayBG_333333", "3B3B3B") has that value, "TransparentBlack_<n>" is black
// at n percent, and any other name gives `fallback`.
QColor assetColor(const QString& name, const QColor& fallback = QColor(Qt::black));
