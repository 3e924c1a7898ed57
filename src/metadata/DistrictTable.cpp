#include "metadata/DistrictTable.h"

#include "metadata/GeoDistance.h"
#include "platform/system/LogCategories.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

namespace {

const QString kResourceName = QStringLiteral("AdminDistrictInfo.dat");

bool isValidPosition(double latitude, double longitude) {
    return std::isfinite(latitude) && std::isfinite(longitude) && std::fabs(latitude) <= 90 &&
           std::fabs(longitude) <= 180;
}

void toUnitVector(double latitude, double longitude, double xyz[3]) {
    const double phi = latitude * geo::kRadiansPerDegree;
    const double lambda = longitude * geo::kRadiansPerDegree;
    xyz[0] = std::cos(phi) * std::cos(lambda);
    xyz[1] = std::cos(phi) * std::sin(lambda);
    xyz[2] = std::sin(phi);
}

QString executableDirectory() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    return QString::fromStdString(executable.parent_path().string());
}

} // namespace

QList<QStringList> DistrictTable::parseRows(QStringView text) {
    QList<QStringList> rows;
    QStringList row;
    for (QStringView field : text.tokenize(u' ', Qt::SkipEmptyParts)) {
        QString value = field.toString();
        // Spaces separate the fields, so a name writes its own spaces as underscores.
        if (row.size() == 1)
            value.replace(u'_', u' ');
        row.append(value);
        if (row.size() == 4) {
            rows.append(row);
            row.clear();
        }
    }
    return rows;
}

qsizetype DistrictTable::appendText(QStringView text) {
    const QList<QStringList> rows = parseRows(text);
    appendRows(rows);
    return rows.size();
}

bool DistrictTable::appendData(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    appendText(text);
    return true;
}

void DistrictTable::appendRows(const QList<QStringList>& rows) {
    for (const QStringList& row : rows) {
        if (row.size() < 4)
            continue;
        const qsizetype index = m_rows.size();
        m_rows.append(row.mid(0, 4));
        const std::optional<double> longitude = parseCoordinate(row[2], 180);
        const std::optional<double> latitude = parseCoordinate(row[3], 90);
        if (longitude && latitude) {
            Point point{*latitude, *longitude, index, {}};
            toUnitVector(point.latitude, point.longitude, point.xyz);
            m_points.push_back(point);
        }
    }
    rebuildIndex();
}

void DistrictTable::clear() {
    m_rows.clear();
    m_points.clear();
    rebuildIndex();
}

std::optional<double> DistrictTable::parseCoordinate(QStringView field, double limit) {
    // Plain ASCII only: anything else cannot be part of a number.
    if (field.isEmpty() || field.size() > 256)
        return std::nullopt;
    char buffer[256];
    qsizetype length = 0;
    for (QChar c : field) {
        if (c.unicode() > 0x7f)
            return std::nullopt;
        buffer[length++] = static_cast<char>(c.unicode());
    }
    const char* begin = buffer;
    const char* end = buffer + length;
    if (*begin == '+' && length > 1 && begin[1] != '-')
        ++begin;
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::general);
    if (error != std::errc() || stop != end || !std::isfinite(value) || std::fabs(value) > limit)
        return std::nullopt;
    return value;
}

std::optional<qsizetype> DistrictTable::nearestRowByScan(double latitude, double longitude) const {
    if (!isValidPosition(latitude, longitude))
        return std::nullopt;
    std::optional<qsizetype> best;
    double bestDistance = 0;
    for (qsizetype row = 0; row < m_rows.size(); ++row) {
        const std::optional<double> rowLongitude = parseCoordinate(m_rows[row][2], 180);
        const std::optional<double> rowLatitude = parseCoordinate(m_rows[row][3], 90);
        if (!rowLongitude || !rowLatitude)
            continue;
        const double distance = geo::geoDistance(latitude, longitude, *rowLatitude, *rowLongitude);
        if (!best || distance < bestDistance) {
            best = row;
            bestDistance = distance;
        }
    }
    return best;
}

void DistrictTable::rebuildIndex() {
    m_order.resize(m_points.size());
    for (size_t k = 0; k < m_points.size(); ++k)
        m_order[k] = static_cast<std::uint32_t>(k);
    m_nodes.clear();
    if (!m_points.empty())
        buildNode(0, static_cast<std::uint32_t>(m_points.size()));
}

std::uint32_t DistrictTable::buildNode(std::uint32_t first, std::uint32_t last) {
    constexpr std::uint32_t kLeafSize = 8;
    const auto index = static_cast<std::uint32_t>(m_nodes.size());
    Node node{};
    for (int axis = 0; axis < 3; ++axis) {
        node.low[axis] = std::numeric_limits<double>::infinity();
        node.high[axis] = -std::numeric_limits<double>::infinity();
    }
    for (std::uint32_t k = first; k < last; ++k) {
        for (int axis = 0; axis < 3; ++axis) {
            node.low[axis] = std::min(node.low[axis], m_points[m_order[k]].xyz[axis]);
            node.high[axis] = std::max(node.high[axis], m_points[m_order[k]].xyz[axis]);
        }
    }
    node.first = first;
    node.last = last;
    m_nodes.push_back(node);
    if (last - first <= kLeafSize)
        return index;
    int axis = 0;
    for (int a = 1; a < 3; ++a) {
        if (node.high[a] - node.low[a] > node.high[axis] - node.low[axis])
            axis = a;
    }
    const std::uint32_t middle = first + (last - first) / 2;
    std::nth_element(m_order.begin() + first, m_order.begin() + middle, m_order.begin() + last,
                     [this, axis](std::uint32_t a, std::uint32_t b) {
                         return m_points[a].xyz[axis] < m_points[b].xyz[axis];
                     });
    const std::uint32_t left = buildNode(first, middle);
    const std::uint32_t right = buildNode(middle, last);
    m_nodes[index].left = left;
    m_nodes[index].right = right;
    return index;
}

std::optional<qsizetype> DistrictTable::nearestRow(double latitude, double longitude) const {
    if (!isValidPosition(latitude, longitude) || m_points.empty())
        return std::nullopt;
    // Nearest by the great-circle distance, found in a k-d tree over positions on the unit
    // sphere: the straight-line (chord) distance to a node's box bounds from below the chord,
    // and so the great-circle distance, to every point in it. The bound is loosened by more than
    // the rounding of either distance, so a skipped node never holds a point that the full scan
    // would choose, ties to the earlier row included.
    double query[3];
    toUnitVector(latitude, longitude, query);
    qsizetype best = -1;
    double bestDistance = 0;
    const auto lowerBound = [&query](const Node& node) {
        double sum = 0;
        for (int axis = 0; axis < 3; ++axis) {
            const double gap = std::max({node.low[axis] - query[axis], query[axis] - node.high[axis], 0.0});
            sum += gap * gap;
        }
        const double chord = std::sqrt(sum);
        return 2 * geo::kEarthRadiusMetres * std::asin(std::min(1.0, chord / 2)) * (1 - 1e-7) - 1e-3;
    };
    // Depth-first, nearer child first; the stack never holds more than the tree's depth plus one.
    std::uint32_t stack[128];
    int depth = 0;
    stack[depth++] = 0;
    while (depth > 0) {
        const Node& node = m_nodes[stack[--depth]];
        if (best >= 0 && lowerBound(node) > bestDistance)
            continue;
        if (node.left == 0) {
            for (std::uint32_t k = node.first; k < node.last; ++k) {
                const Point& point = m_points[m_order[k]];
                const double distance =
                    geo::geoDistance(latitude, longitude, point.latitude, point.longitude);
                if (best < 0 || distance < bestDistance || (distance == bestDistance && point.row < best)) {
                    best = point.row;
                    bestDistance = distance;
                }
            }
            continue;
        }
        const bool leftFirst = lowerBound(m_nodes[node.left]) <= lowerBound(m_nodes[node.right]);
        stack[depth++] = leftFirst ? node.right : node.left;
        stack[depth++] = leftFirst ? node.left : node.right;
    }
    return best;
}

DistrictTable& districtTable() {
    static DistrictTable table;
    return table;
}

std::optional<QString> adminDistrictInfoPath() {
    QStringList folders;
    const QString fromEnvironment = qEnvironmentVariable("KAVRIN_RESOURCES_DIR");
    if (!fromEnvironment.isEmpty())
        folders.append(fromEnvironment);
    const QString executableDir = executableDirectory();
    if (!executableDir.isEmpty()) {
        const QDir dir(executableDir);
        folders.append(dir.filePath(QStringLiteral("resources")));
        folders.append(dir.filePath(QStringLiteral("../resources")));
        folders.append(dir.filePath(QStringLiteral("../share/kavrin-player/resources")));
    }
    // The source tree's, wherever the program runs from.
    folders.append(QStringLiteral(KAVRIN_SOURCE_RESOURCES_DIR));
    for (const QString& folder : folders) {
        const QFileInfo info(QDir(folder).filePath(kResourceName));
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return std::nullopt;
}

void loadAdminDistrictInfo() {
    const std::optional<QString> path = adminDistrictInfoPath();
    if (!path) {
        qCWarning(platform::lcMetadata, "%s not found among the resources; districts will not be named.",
                  qUtf8Printable(kResourceName));
        return;
    }
    loadAdminDistrictInfo(*path);
}

bool loadAdminDistrictInfo(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCInfo(platform::lcMetadata, "The file \"%s\" couldn't be opened: %s",
               qUtf8Printable(QFileInfo(path).fileName()), qUtf8Printable(file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        qCInfo(platform::lcMetadata, "The file \"%s\" couldn't be read: %s",
               qUtf8Printable(QFileInfo(path).fileName()), qUtf8Printable(file.errorString()));
        return false;
    }
    if (!districtTable().appendData(bytes)) {
        qCInfo(platform::lcMetadata,
               "The file \"%s\" couldn't be read because it isn't in the correct format.",
               qUtf8Printable(QFileInfo(path).fileName()));
        return false;
    }
    return true;
}

std::optional<QString> nearestDistrictName(float latitude, float longitude) {
    if (latitude == 0 && longitude == 0)
        return QStringLiteral("-");
    const DistrictTable& table = districtTable();
    const std::optional<qsizetype> row = table.nearestRow(latitude, longitude);
    if (!row) {
        if (isValidPosition(latitude, longitude))
            platform::logLine(platform::lcMetadata(), "collection indicising minimum value Err.");
        return std::nullopt;
    }
    return table.rows()[*row][1];
}
