#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

// The administrative districts read from "AdminDistrictInfo.dat" and the lookup of the district
// nearest to a position.
//
// File format: fields separated by spaces (U+0020) only, runs of spaces counting as one; a line
// break is part of the field it touches. Every four consecutive fields form one row, in file
// order: an identifier (not read), the district name, the longitude and the latitude in decimal
// degrees. A trailing group of fewer than four fields is dropped. An underscore in a name stands
// for a space and is read as one ("서울특별시_중구" is "서울특별시 중구"), so that the recording
// list, its search and the map page show and find the name as it is written.
//
// A row whose longitude or latitude is not a number (or not a valid coordinate) stays in the
// table but never answers a lookup. Distances are great-circle distances (haversine, see
// GeoDistance.h). The coordinates are parsed once, when rows are appended, and kept in a k-d
// tree, so a lookup measures a few dozen rows instead of all of them, with the same answer as
// measuring every row in order. Main thread only.
class DistrictTable {
public:
    // Rows of a district file's text, as the format above makes them.
    static QList<QStringList> parseRows(QStringView text);

    // The rows in file order, each of four fields.
    const QList<QStringList>& rows() const { return m_rows; }
    qsizetype size() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    // Appends the rows of `text` after the rows already held; returns how many were appended.
    qsizetype appendText(QStringView text);
    // The same for the bytes of a district file, which must be UTF-8 text; false (and nothing
    // appended) when they are not.
    bool appendData(const QByteArray& bytes);
    // Appends rows of four fields (longer rows keep their first four, shorter ones are ignored).
    void appendRows(const QList<QStringList>& rows);
    // Drops every row; the application's table is never emptied, tests and tools start afresh.
    void clear();

    // Index of the nearest row with usable coordinates; among rows at the same distance the
    // earlier one. None when no row has usable coordinates or the position is not a valid
    // coordinate (not finite, latitude outside -90...90 or longitude outside -180...180).
    std::optional<qsizetype> nearestRow(double latitude, double longitude) const;
    // The same answer found by measuring every row in order; kept as the reference for the
    // indexed lookup above.
    std::optional<qsizetype> nearestRowByScan(double latitude, double longitude) const;

    // A coordinate field as a number: the whole field must be a decimal number, finite and
    // within `limit` in magnitude.
    static std::optional<double> parseCoordinate(QStringView field, double limit);

private:
    struct Point {
        double latitude;
        double longitude;
        qsizetype row;
        // The position on the unit sphere, for the tree below.
        double xyz[3];
    };
    // A node of a k-d tree over the points' positions on the unit sphere: the points
    // m_order[first ... last) within the box [low, high]; a leaf when left is 0.
    struct Node {
        double low[3];
        double high[3];
        std::uint32_t first;
        std::uint32_t last;
        std::uint32_t left;
        std::uint32_t right;
    };

    void rebuildIndex();
    std::uint32_t buildNode(std::uint32_t first, std::uint32_t last);

    QList<QStringList> m_rows;
    // The rows with usable coordinates, in row order.
    std::vector<Point> m_points;
    std::vector<std::uint32_t> m_order;
    std::vector<Node> m_nodes;
};

// The process-wide district table (empty until loadAdminDistrictInfo()).
DistrictTable& districtTable();

// Where "AdminDistrictInfo.dat" is found: $KAVRIN_RESOURCES_DIR when set, else the folder
// "resources" beside the executable, one level up from it or in the install tree's share folder,
// else the source tree's resources folder. None when it is in none of them.
std::optional<QString> adminDistrictInfoPath();

// Appends the rows of "AdminDistrictInfo.dat" among the resources to districtTable(). A missing
// resource is reported on standard error and leaves the table as it was.
void loadAdminDistrictInfo();
// Appends the rows of the district file at `path` to districtTable(). When the file cannot be
// read (or is not UTF-8 text) the error is printed, the table stays as it was and the answer is
// false.
bool loadAdminDistrictInfo(const QString& path);

// The name of the district table's row nearest to the position: "-" for exactly (0, 0), none
// when the table has no row to answer (the line "collection indicising minimum value Err." is
// printed) or the position is not a valid coordinate.
std::optional<QString> nearestDistrictName(float latitude, float longitude);
