#pragma once

#include <QString>

// Addresses of the maker's services and pages, read from "config.json" among the resources:
// "mapServer" (map pages; empty = the bundled pages), "updateServer" (update service),
// "webPage" and "webPageDomestic" (the maker's sites opened in the browser).
// A missing file or key gives the empty text.
QString serviceAddress(const QString& key);
