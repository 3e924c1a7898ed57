// libFuzzer target: unpacking an archive into a fresh folder. Whatever the
// archive holds, nothing lands or points outside the folder, nothing beside
// it changes, and an archive that fails to unpack leaves the folder empty.

#include "FuzzInput.h"
#include "platform/system/Unzip.h"

#include <QString>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A folder of this process's own that holds the unpacking folder and nothing else.
std::string& sandbox() {
    static std::string path;
    return path;
}

std::vector<std::string> names(const std::string& folder) {
    std::vector<std::string> list;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* item = ::readdir(dir)) {
            const std::string name = item->d_name;
            if (name != "." && name != "..")
                list.push_back(name);
        }
        ::closedir(dir);
    }
    return list;
}

bool inside(const std::string& path, const std::string& root) {
    return path == root || path.rfind(root + '/', 0) == 0;
}

// Every entry below `folder` is a plain file or folder whose real path lies inside `root`.
void checkTree(const std::string& root, const std::string& folder) {
    for (const std::string& name : names(folder)) {
        const std::string path = folder + '/' + name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0)
            __builtin_trap();
        // A package never leaves a link (nor a device, pipe or socket) behind.
        if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
            __builtin_trap();
        char resolved[PATH_MAX];
        if (!::realpath(path.c_str(), resolved) || !inside(resolved, root))
            __builtin_trap();
        if (S_ISDIR(info.st_mode))
            checkTree(root, path);
    }
}

void removeSandbox() {
    std::error_code ignored;
    std::filesystem::remove_all(sandbox(), ignored);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceStdout();
    const std::string base = fuzz::inputPath("unzip", "-XXXXXX");
    std::string pattern = base;
    if (!::mkdtemp(pattern.data()))
        std::abort();
    char resolved[PATH_MAX];
    if (!::realpath(pattern.c_str(), resolved))
        std::abort();
    sandbox() = resolved;
    std::atexit(removeSandbox);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string archive = fuzz::inputPath("unzip", ".zip");
    if (!fuzz::writeInput(archive, data, size))
        return 0;
    const std::string root = sandbox() + "/card";
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    if (::mkdir(root.c_str(), 0755) != 0)
        return 0;
    UnzipOptions options;
    // Small enough for a quick run; larger archives are refused before writing.
    options.maximumSize = 16 * 1024 * 1024;
    const UnzipResult result =
        unzipArchive(QString::fromStdString(archive), QString::fromStdString(root), options);
    if (names(sandbox()) != std::vector<std::string>{"card"})
        __builtin_trap();
    checkTree(root, root);
    if (!result.succeeded() && !names(root).empty())
        __builtin_trap();
    std::remove(archive.c_str());
    return 0;
}
