#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

// Addresses of the maker's services and pages, read from "config.json" among
// the resources. Each address is a base with its scheme ("http://host" or
// "https://host:port"), to which the program appends its fixed paths:
// "mapServer" (map pages; empty = the bundled pages), "updateServer" (update
// service), "downloadServer" (firmware version page and card packages),
// "englishProductSite" (the English download page), "koreanSite" (the Korean
// firmware board), and "webPage" and "webPageDomestic" (the maker's sites
// opened in the browser). A missing file or key gives the empty text, which
// means the service is not configured.
QString serviceAddress(const QString& key);

// A list of texts of the same file ("speedCamBoardModels"); empty when missing.
QStringList serviceList(const QString& key);

// Tests: serve these values in place of the file's; none restores the file.
void setServiceConfigOverride(const std::optional<QJsonObject>& config);
