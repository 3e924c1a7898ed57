// libFuzzer target: a district file's bytes loaded as the district table, then a few lookups.
// The indexed lookup must answer as the full scan does.

#include "FuzzInput.h"
#include "metadata/DistrictTable.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceStdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DistrictTable& table = districtTable();
    table.clear();
    table.appendData(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));

    // Fixed positions, the rows' own positions and one taken from the input's last bytes.
    float tail[2] = {0, 0};
    if (size >= sizeof tail)
        std::memcpy(tail, data + size - sizeof tail, sizeof tail);
    const float positions[][2] = {{0, 0},      {37.5665f, 126.978f}, {-89.9f, -179.9f}, {90, 180},
                                  {1e-30f, 0}, {tail[0], tail[1]},   {tail[1], tail[0]}};
    for (const auto& p : positions) {
        const std::optional<QString> name = nearestDistrictName(p[0], p[1]);
        if (p[0] == 0 && p[1] == 0 && name != QStringLiteral("-"))
            __builtin_trap();
        if (table.nearestRow(p[0], p[1]) != table.nearestRowByScan(p[0], p[1]))
            __builtin_trap();
    }
    for (qsizetype row = 0; row < table.size() && row < 8; ++row) {
        const std::optional<double> longitude = DistrictTable::parseCoordinate(table.rows()[row][2], 180);
        const std::optional<double> latitude = DistrictTable::parseCoordinate(table.rows()[row][3], 90);
        if (!longitude || !latitude)
            continue;
        // A row at exactly the position is at distance 0: the answer is that row or an earlier one.
        const std::optional<qsizetype> nearest = table.nearestRow(*latitude, *longitude);
        if (!nearest || *nearest > row || nearest != table.nearestRowByScan(*latitude, *longitude))
            __builtin_trap();
    }
    return 0;
}
