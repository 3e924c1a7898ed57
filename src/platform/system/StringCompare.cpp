#include "platform/system/StringCompare.h"

#include <QUrl>

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

int compareNumeric(const QString& receiver, const QString& argument) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < receiver.size() && j < argument.size()) {
        if (isDigit(receiver[i]) && isDigit(argument[j])) {
            qsizetype endI = i;
            while (endI < receiver.size() && isDigit(receiver[endI]))
                ++endI;
            qsizetype endJ = j;
            while (endJ < argument.size() && isDigit(argument[endJ]))
                ++endJ;
            // Leading zeros do not count; then the longer run is the larger number.
            qsizetype startI = i;
            while (startI + 1 < endI && receiver[startI] == QLatin1Char('0'))
                ++startI;
            qsizetype startJ = j;
            while (startJ + 1 < endJ && argument[startJ] == QLatin1Char('0'))
                ++startJ;
            const qsizetype lengthI = endI - startI;
            const qsizetype lengthJ = endJ - startJ;
            if (lengthI != lengthJ)
                return lengthI < lengthJ ? -1 : 1;
            const int digits = QStringView(receiver)
                                   .mid(startI, lengthI)
                                   .compare(QStringView(argument).mid(startJ, lengthJ));
            if (digits != 0)
                return digits < 0 ? -1 : 1;
            i = endI;
            j = endJ;
            continue;
        }
        if (receiver[i] != argument[j])
            return receiver[i] < argument[j] ? -1 : 1;
        ++i;
        ++j;
    }
    const bool receiverLeft = i < receiver.size();
    const bool argumentLeft = j < argument.size();
    if (receiverLeft == argumentLeft)
        return 0;
    return receiverLeft ? 1 : -1;
}

QString percentEncodedForUrlQuery(const QString& text) {
    // Unreserved characters always stay; these are the others the set allows.
    return QString::fromLatin1(QUrl::toPercentEncoding(text, QByteArrayLiteral("!$&'()*+,/:;=?@")));
}
