// Memory cards: file names, channel files of one recording, the short form with two video
// streams, subfolders, "ver.txt", and the command line that writes them.
#include "SampleGenTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

using namespace samplegen;
using namespace samplegen::test;
namespace fs = std::filesystem;

namespace {

CardOptions smallCard() {
    CardOptions o;
    o.recordings = 7;
    o.seconds = 2;
    o.width = 192;
    o.height = 108;
    o.fps = 10;
    return o;
}

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Every recording file under dir and its direct subfolders, relative to dir.
std::set<std::string> filesOnCard(const fs::path& dir) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file() && entry.path().filename() != "ver.txt")
            files.insert(fs::relative(entry.path(), dir).string());
    }
    return files;
}

bool allDigits(const std::string& text, std::size_t count) {
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Pieces of a card file's relative path: [folder/]DATE-TIME[_CHANNEL]_KIND.EXT
struct NameParts {
    std::string folder, date, time, channel, kind, extension;
};

bool parseName(const std::string& relative, NameParts& parts) {
    const fs::path path(relative);
    parts.folder = path.parent_path().string();
    const std::string name = path.filename().string();
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || name.size() < 16 || name[8] != '-')
        return false;
    parts.extension = name.substr(dot + 1);
    parts.date = name.substr(0, 8);
    std::vector<std::string> pieces;
    std::stringstream rest(name.substr(9, dot - 9));
    for (std::string piece; std::getline(rest, piece, '_');)
        pieces.push_back(piece);
    if (pieces.size() < 2 || pieces.size() > 3)
        return false;
    parts.time = pieces[0];
    parts.channel = pieces.size() == 3 ? pieces[1] : "";
    parts.kind = pieces.back();
    return allDigits(parts.date, 8) && allDigits(parts.time, 6);
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

TEST(Card, HoldsNamedChannelFilesShortFormSubfoldersAndVerTxt) {
    ScratchDir dir("card");
    const CardSummary summary = writeCard(dir.path().string(), smallCard());

    ASSERT_EQ(summary.files.size(), 7u * 3 + 1);
    ASSERT_EQ(summary.drives.size(), 8u);
    EXPECT_EQ(readText(dir.path() / "ver.txt"), "Model=KV-1000\nVersion=1.0.2\n");

    std::set<std::string> written;
    for (const CardFile& f : summary.files)
        written.insert(f.relativePath);
    EXPECT_EQ(filesOnCard(dir.path()), written);

    const std::set<std::string> allKinds = {"N", "E", "P", "M", "C", "I", "my"};
    std::set<std::string> kinds;
    std::set<Layout> layouts;
    int shortForms = 0;
    for (const CardFile& f : summary.files) {
        SCOPED_TRACE(f.relativePath);
        NameParts parts;
        ASSERT_TRUE(parseName(f.relativePath, parts));
        layouts.insert(f.layout);
        EXPECT_EQ(parts.channel, f.channel);
        EXPECT_EQ(parts.kind, f.kind);
        EXPECT_EQ(parts.extension, f.layout == Layout::Avi ? "avi" : "mp4");
        if (f.channel.empty()) {
            ++shortForms;
            EXPECT_EQ(parts.kind, "N");
            EXPECT_EQ(parts.extension, "avi");
            EXPECT_EQ(parts.folder, "");
            EXPECT_EQ(f.videoStreams, 2);
            const auto streams = probeStreams((dir.path() / f.relativePath).string());
            EXPECT_EQ(std::count(streams.begin(), streams.end(), "video,h264"), 2);
            continue;
        }
        EXPECT_TRUE(f.channel == "F" || f.channel == "R" || f.channel == "I");
        EXPECT_TRUE(allKinds.count(f.kind));
        kinds.insert(f.kind);
        // Event recordings live in "Event/", parking ones in "Parking/", the rest at the top.
        EXPECT_EQ(parts.folder, f.kind == "E" ? "Event" : f.kind == "P" ? "Parking" : "");
        // Parking recordings stand still.
        if (f.kind == "P") {
            for (const Fix& fix : summary.drives[f.recording].fixes)
                EXPECT_EQ(fix.speedKmh, 0.0);
        }
        // The sibling files of a recording are found by replacing the channel letter.
        if (f.channel == "F") {
            const std::string name = fs::path(f.relativePath).filename().string();
            const fs::path folder = fs::path(f.relativePath).parent_path();
            EXPECT_TRUE(written.count((folder / replaceAll(name, "F", "R")).string()));
            EXPECT_TRUE(written.count((folder / replaceAll(name, "F", "I")).string()));
        } else if (f.channel == "I") {
            const std::string name = fs::path(f.relativePath).filename().string();
            const fs::path folder = fs::path(f.relativePath).parent_path();
            EXPECT_TRUE(written.count((folder / replaceAll(name, "I_", "F_")).string()));
        }
    }
    EXPECT_EQ(shortForms, 1);
    EXPECT_EQ(kinds, allKinds);
    EXPECT_EQ(layouts.size(), 3u);

    // Recordings do not share a date and time.
    std::set<std::string> stamps;
    for (const CardFile& f : summary.files) {
        if (f.channel == "F" || f.channel.empty()) {
            EXPECT_TRUE(stamps.insert(fs::path(f.relativePath).filename().string().substr(0, 15)).second);
        }
    }

    // The channel files of one recording carry the same drive.
    for (const CardFile& f : summary.files) {
        if (f.layout != Layout::Boxes)
            continue;
        int frames = 0;
        const auto read = readBoxes((dir.path() / f.relativePath).string(), &frames);
        ASSERT_EQ(read.size(), summary.drives[f.recording].fixes.size());
        EXPECT_DOUBLE_EQ(read.back().lat, summary.drives[f.recording].fixes.back().lat);
    }
}

TEST(Card, SingleLayoutWithoutExtras) {
    ScratchDir dir("card-single");
    CardOptions o = smallCard();
    o.recordings = 4;
    o.mixed = false;
    o.layout = Layout::Avi;
    o.shortForm = false;
    o.subfolders = false;
    o.model = "QX-7";
    o.version = "2.0.0";
    const CardSummary summary = writeCard(dir.path().string(), o);
    EXPECT_EQ(summary.files.size(), 12u);
    for (const CardFile& f : summary.files) {
        EXPECT_EQ(f.layout, Layout::Avi);
        EXPECT_EQ(f.relativePath.find('/'), std::string::npos);
    }
    EXPECT_EQ(readText(dir.path() / "ver.txt"), "Model=QX-7\nVersion=2.0.0\n");
}

TEST(Card, BadOptionsThrowAndLeaveNoVerTxt) {
    ScratchDir dir("card-bad");
    CardOptions o = smallCard();
    o.recordings = -1;
    EXPECT_THROW(writeCard(dir.path().string(), o), SampleGenError);
    o = smallCard();
    o.seconds = 0.5;
    EXPECT_THROW(writeCard(dir.path().string(), o), SampleGenError);
    o = smallCard();
    o.model = "two\nlines";
    EXPECT_THROW(writeCard(dir.path().string(), o), SampleGenError);
    EXPECT_FALSE(fs::exists(dir.path() / "ver.txt"));
    // A card folder that is a file.
    std::ofstream(dir.file("plain")) << "x";
    EXPECT_THROW(writeCard(dir.file("plain"), smallCard()), SampleGenError);
}

class CommandLine : public testing::Test {
protected:
    void SetUp() override {
        m_tool = std::string(KAVRIN_BINARY_DIR) + "/tools/samplegen/kavrin-samplegen";
        if (!fs::exists(m_tool))
            GTEST_SKIP() << "kavrin-samplegen not built";
    }
    std::string m_tool;
};

TEST_F(CommandLine, WritesRecordingsAndCards) {
    ScratchDir dir("cli");
    const std::string out = dir.file("r.avi");
    EXPECT_EQ(run(shellQuoted(m_tool) +
                  " recording --layout avi --seconds 2 --size 192x108 --fps 10 --streams 2 " +
                  shellQuoted(out)),
              0);
    const auto streams = probeStreams(out);
    EXPECT_EQ(std::count(streams.begin(), streams.end(), "video,h264"), 2);

    const std::string card = dir.file("card");
    EXPECT_EQ(run(shellQuoted(m_tool) + " card " + shellQuoted(card) +
                  " --recordings 2 --seconds 2 --size 192x108 --fps 10"),
              0);
    EXPECT_TRUE(fs::exists(card + "/ver.txt"));
    EXPECT_EQ(filesOnCard(card).size(), 2u * 3 + 1);
}

TEST_F(CommandLine, RefusesBadArguments) {
    ScratchDir dir("cli-bad");
    EXPECT_EQ(run(shellQuoted(m_tool)), 2);
    EXPECT_EQ(run(shellQuoted(m_tool) + " recording " + shellQuoted(dir.file("a.mp4"))), 2); // no layout
    EXPECT_EQ(run(shellQuoted(m_tool) + " recording --layout mkv " + shellQuoted(dir.file("a.mp4"))), 2);
    EXPECT_EQ(run(shellQuoted(m_tool) + " recording --layout boxes --seconds ten " +
                  shellQuoted(dir.file("a.mp4"))),
              2);
    EXPECT_EQ(run(shellQuoted(m_tool) + " card"), 2);
    EXPECT_EQ(run(shellQuoted(m_tool) + " frobnicate"), 2);
    // Options the generator refuses: exit 1 with a message.
    EXPECT_EQ(
        run(shellQuoted(m_tool) + " recording --layout boxes --streams 2 " + shellQuoted(dir.file("a.mp4"))),
        1);
    EXPECT_FALSE(fs::exists(dir.file("a.mp4")));
}
