// Opening a memory card with the Korean interface, from the open action
// (openFileVolume on the card's root) to the reloaded table model, on a warm
// page cache; beside it, in the same run, the I/O floor: listing the card and
// its subfolders, opening every recording file and reading its first 64 KiB.
//
// usage: cardopen_bench CARD_DIR [--repeat N] [--threads N]
// The system's diagnostics go to /dev/null; the figures go to standard error.

#include "library/FolderOpener.h"
#include "library/RecordingListBuilder.h"
#include "metadata/DistrictTable.h"
#include "metadata/FFmpeg.h"
#include "metadata/RecordingList.h"
#include "platform/system/LogCategories.h"
#include "platform/system/UserDefaults.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// The recording table's rows as the table shows them: a reload is a model reset.
class RecordingTableModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !displayedRecordingList ? 0 : int(displayedRecordingList->size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 4; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !displayedRecordingList ||
            index.row() >= displayedRecordingList->size())
            return {};
        const orvoTableRowModel& row = displayedRecordingList->at(index.row()).row;
        switch (index.column()) {
        case 0:
            return row.Date;
        case 1:
            return row.Time;
        case 2:
            return row.Channel;
        default:
            return row.location;
        }
    }
    void reload() {
        beginResetModel();
        endResetModel();
    }
};

bool isRecording(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return false;
    std::string extension = name.substr(dot + 1);
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension == "mp4" || extension == "avi";
}

// Lists `folder`; recordings go to `files`, other entries to `folders` when given.
void listFolder(const std::string& folder, std::vector<std::string>& files,
                std::vector<std::string>* folders) {
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (isRecording(name))
            files.push_back(folder + "/" + name);
        else if (folders)
            folders->push_back(folder + "/" + name);
    }
    closedir(dir);
}

// The floor: every recording file of the card and its subfolders opened and its first 64 KiB read.
std::pair<double, size_t> ioFloor(const std::string& card) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string> files;
    std::vector<std::string> folders;
    listFolder(card, files, &folders);
    for (const std::string& folder : folders)
        listFolder(folder, files, nullptr);
    static std::vector<char> buffer(64 * 1024);
    size_t bytes = 0;
    for (const std::string& file : files) {
        const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got > 0)
            bytes += size_t(got);
        close(fd);
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return {ms, files.size()};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    platform::installLogLineHandler();
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CARD_DIR [--repeat N] [--threads N]\n", argv[0]);
        return 2;
    }
    const std::string card = argv[1];
    int repeat = 7;
    int threads = int(std::max(1u, std::min(8u, std::thread::hardware_concurrency())));
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--repeat") == 0)
            repeat = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--threads") == 0)
            threads = std::max(1, std::atoi(argv[i + 1]));
    }

    QTemporaryDir home;
    setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("KavrinBench"));
    QCoreApplication::setApplicationName(QStringLiteral("cardopen"));
    // The system's own lines would drown the figures.
    std::fflush(stdout);
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;

    loadAdminDistrictInfo(QStringLiteral(KAVRIN_SOURCE_DIR "/resources/AdminDistrictInfo.dat"));
    UserDefaults::standard().set(QString::fromLatin1(DefaultsKey::kAppleLanguages), QStringList{"ko"});

    FFmpeg reader;
    RecordingTableModel table;
    RecordingListBuilder builder(reader);
    builder.outlets().reloadTable = [&table] { table.reload(); };
    FolderOpener opener(builder);
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(card));

    const auto openCard = [&](int parseThreads) {
        builder.setFirstFixThreads(parseThreads);
        const auto start = std::chrono::steady_clock::now();
        opener.openFileVolume(url);
        const int rows = table.rowCount();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        return std::pair<double, int>{ms, rows};
    };

    // Warm the page cache and every lazy table once.
    ioFloor(card);
    openCard(1);
    qsizetype located = 0;
    for (const orvoTableModel& entry : std::as_const(recordingList))
        located += entry.row.location != QLatin1String("-");

    // The same opening with another interface language: everything but the first fixes.
    const QString languagesKey = QString::fromLatin1(DefaultsKey::kAppleLanguages);
    UserDefaults::standard().set(languagesKey, QStringList{"en"});
    std::vector<double> withoutFixes;
    for (int i = 0; i < repeat; ++i)
        withoutFixes.push_back(openCard(1).first);
    UserDefaults::standard().set(languagesKey, QStringList{"ko"});

    std::vector<double> floors, serial, parallel;
    size_t files = 0;
    int rows = 0;
    for (int i = 0; i < repeat; ++i) {
        const auto [floorMs, count] = ioFloor(card);
        floors.push_back(floorMs);
        files = count;
        const auto [serialMs, serialRows] = openCard(1);
        serial.push_back(serialMs);
        const auto [parallelMs, parallelRows] = openCard(threads);
        parallel.push_back(parallelMs);
        rows = parallelRows;
        if (serialRows != parallelRows)
            std::fprintf(stderr, "row counts differ: %d and %d\n", serialRows, parallelRows);
    }
    const double floorMs = median(floors);
    std::fprintf(stderr, "card: %s\n", card.c_str());
    std::fprintf(stderr, "files: %zu recording files, %d table rows, %lld with a district\n", files, rows,
                 static_cast<long long>(located));
    std::fprintf(stderr, "I/O floor (open + first 64 KiB of every file): %.1f ms (median of %d)\n", floorMs,
                 repeat);
    std::fprintf(stderr,
                 "open to reloaded table, interface not Korean (no first fixes): %.1f ms = %.2f x floor\n",
                 median(withoutFixes), median(withoutFixes) / floorMs);
    std::fprintf(stderr, "open to reloaded table, first fixes on 1 thread:  %.1f ms = %.2f x floor\n",
                 median(serial), median(serial) / floorMs);
    std::fprintf(stderr, "open to reloaded table, first fixes on %d threads: %.1f ms = %.2f x floor\n",
                 threads, median(parallel), median(parallel) / floorMs);
    return 0;
}
