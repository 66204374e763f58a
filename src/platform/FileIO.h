// Whole-file reading and atomic whole-file replacement for the picture files, with errors that
// carry the system's reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lf {

// The whole file in memory. Throws lf::Error "Cannot open file PATH: reason" (or "Cannot read
// file ...") when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// The whole file in memory for a reader that goes through it once. Large files land in memory
// the kernel can back with huge pages: first-touch page faults of a fresh 70 MB buffer cost
// more than decoding it on these machines. Errors as ReadWholeFile.
class FileContents {
public:
    explicit FileContents(const std::string& path);
    ~FileContents();
    FileContents(const FileContents&) = delete;
    FileContents& operator=(const FileContents&) = delete;
    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

private:
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t mapped_ = 0;           // bytes of the anonymous mapping that holds a large file
    std::vector<uint8_t> small_;  // a small file, or one whose size is not known in advance
};

// Appends bytes to the file being written.
using ByteSink = std::function<void(const uint8_t* bytes, size_t size)>;

// Replaces path with what produce writes into its sink (buffered), atomically as below.
void WriteFileAtomically(const std::string& path, const std::function<void(const ByteSink&)>& produce);

// Replaces path with bytes: writes a temporary file in the same folder, flushes it to disk and
// renames it over the target, so a failed write leaves the old file as it was and no temporary
// behind. Throws lf::Error "Cannot create file PATH: reason" or "Cannot write file PATH: reason".
void WriteFileAtomically(const std::string& path, const uint8_t* bytes, size_t size);
inline void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    WriteFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace lf
