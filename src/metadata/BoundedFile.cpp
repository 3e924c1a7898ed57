#include "metadata/BoundedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <limits>

BoundedFile::~BoundedFile() {
    Close();
}

bool BoundedFile::Open(const char* path) {
    Close();
    if (path == nullptr)
        return false;
    // Opened without blocking and checked before any read: only a regular file has a size to
    // bound the reads by, and a pipe or a device could block or never end.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        ::close(fd);
        return false;
    }
    m_file = fdopen(fd, "rb");
    if (m_file == nullptr) {
        ::close(fd);
        return false;
    }
    m_size = static_cast<uint64_t>(info.st_size);
    return true;
}

void BoundedFile::Close() {
    if (m_file != nullptr)
        std::fclose(m_file);
    m_file = nullptr;
    m_size = 0;
}

uint64_t BoundedFile::Available(uint64_t offset, uint64_t wanted) const {
    if (offset >= m_size)
        return 0;
    const uint64_t left = m_size - offset;
    return wanted < left ? wanted : left;
}

size_t BoundedFile::ReadAt(uint64_t offset, void* buffer, size_t size) {
    if (m_file == nullptr || buffer == nullptr)
        return 0;
    const uint64_t count = Available(offset, size);
    if (count == 0 || offset > static_cast<uint64_t>(std::numeric_limits<off_t>::max()))
        return 0;
    if (fseeko(m_file, static_cast<off_t>(offset), SEEK_SET) != 0)
        return 0;
    return std::fread(buffer, 1, static_cast<size_t>(count), m_file);
}

bool BoundedFile::ReadExactAt(uint64_t offset, void* buffer, size_t size) {
    return ReadAt(offset, buffer, size) == size;
}

bool BoundedFile::ReadBE32At(uint64_t offset, uint32_t& value) {
    unsigned char b[4];
    if (!ReadExactAt(offset, b, sizeof b))
        return false;
    value = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
    return true;
}

bool BoundedFile::ReadBE64At(uint64_t offset, uint64_t& value) {
    uint32_t high = 0;
    uint32_t low = 0;
    if (!ReadBE32At(offset, high) || !ReadBE32At(offset + 4, low))
        return false;
    value = (uint64_t(high) << 32) | low;
    return true;
}
