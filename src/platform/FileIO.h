// Whole-file reading and atomic whole-file replacement for the picture files, with errors that
// carry the system's reason.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lf {

// The whole file in memory. Throws lf::Error "Cannot open file PATH: reason" (or "Cannot read
// file ...") when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// Replaces path with bytes: writes a temporary file in the same folder, flushes it to disk and
// renames it over the target, so a failed write leaves the old file as it was and no temporary
// behind. Throws lf::Error "Cannot create file PATH: reason" or "Cannot write file PATH: reason".
void WriteFileAtomically(const std::string& path, const uint8_t* bytes, size_t size);
inline void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    WriteFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace lf
