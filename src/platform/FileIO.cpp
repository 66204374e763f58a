// Whole-file reading and atomic replacement over POSIX calls, so every failure keeps errno's reason.
#include "platform/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/Errors.h"

namespace lf {
namespace {

[[noreturn]] void Fail(const char* what, const std::string& path, int error) {
    throw Error(std::string(what) + " " + path + ": " + std::strerror(error));
}

// Closes the descriptor and, unless released, removes the temporary file.
class TemporaryFile {
public:
    TemporaryFile(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
    ~TemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!name_.empty()) ::unlink(name_.c_str());
    }
    int fd() const { return fd_; }
    const std::string& name() const { return name_; }
    // Closes the descriptor, reporting whether the last buffered writes reached the file.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }
    void Release() { name_.clear(); }

private:
    int fd_;
    std::string name_;
};

}  // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail("Cannot open file", path, errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat info {};
    if (::fstat(fd, &info) != 0) Fail("Cannot read file", path, errno);
    if (S_ISDIR(info.st_mode)) Fail("Cannot open file", path, EISDIR);

    // One byte more than the file's size, so the read that meets the end needs no growth.
    std::vector<uint8_t> bytes(S_ISREG(info.st_mode) ? static_cast<size_t>(info.st_size) + 1 : 65536);
    size_t used = 0;
    for (;;) {
        if (used == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t got = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot read file", path, errno);
        }
        if (got == 0) break;
        used += static_cast<size_t>(got);
    }
    bytes.resize(used);
    return bytes;
}

void WriteFileAtomically(const std::string& path, const uint8_t* bytes, size_t size) {
    // Replace what a symbolic link points to, not the link itself.
    std::string target = path;
    struct stat linkInfo {};
    if (::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr) target = resolved;
    }

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) Fail("Cannot create file", path, EISDIR);

    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string pattern = folder + "." + base + ".XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) Fail("Cannot create file", path, errno);
    TemporaryFile temporary(fd, pattern);

    // mkstemp creates the file for its owner only; give it the old file's mode, or the usual
    // mode of a new file.
    mode_t mode;
    if (exists) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) Fail("Cannot create file", path, errno);

    size_t done = 0;
    while (done < size) {
        const ssize_t put = ::write(fd, bytes + done, size - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot write file", path, errno);
        }
        done += static_cast<size_t>(put);
    }
    if (::fsync(fd) != 0) Fail("Cannot write file", path, errno);
    if (temporary.Close() != 0) Fail("Cannot write file", path, errno);
    if (::rename(temporary.name().c_str(), target.c_str()) != 0) Fail("Cannot create file", path, errno);
    temporary.Release();

    // Make the rename itself durable.
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace lf
