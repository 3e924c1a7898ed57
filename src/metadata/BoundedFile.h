#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// A file opened for binary reading whose every read is bounded by the file's own size:
// reads never go past the end and a read at an offset beyond it yields nothing.
class BoundedFile {
public:
    BoundedFile() = default;
    ~BoundedFile();
    BoundedFile(const BoundedFile&) = delete;
    BoundedFile& operator=(const BoundedFile&) = delete;

    // Opens path ("rb") and learns its size; false when it cannot be opened or measured.
    bool Open(const char* path);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }
    uint64_t Size() const { return m_size; }

    // Number of bytes that can be read at offset, at most wanted.
    uint64_t Available(uint64_t offset, uint64_t wanted) const;
    // Reads up to size bytes at offset into buffer; returns the number of bytes read.
    size_t ReadAt(uint64_t offset, void* buffer, size_t size);
    // Reads exactly size bytes at offset; false (buffer untouched or partly filled) otherwise.
    bool ReadExactAt(uint64_t offset, void* buffer, size_t size);
    // Reads a big-endian 32-bit value at offset.
    bool ReadBE32At(uint64_t offset, uint32_t& value);
    // Reads a big-endian 64-bit value at offset.
    bool ReadBE64At(uint64_t offset, uint64_t& value);

private:
    std::FILE* m_file = nullptr;
    uint64_t m_size = 0;
};
