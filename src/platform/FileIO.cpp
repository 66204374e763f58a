// Whole-file reading and atomic replacement over POSIX calls, so every failure keeps errno's reason.
#include "platform/FileIO.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
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

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int fd() const { return fd_; }

private:
    int fd_;
};

// A file opened to read, with its size and kind. A folder opens without complaint, so it is
// refused here, reported as a file that cannot be opened.
class FileToRead {
public:
    explicit FileToRead(const std::string& path) : descriptor_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd() < 0) Fail("Cannot open file", path, errno);
        if (::fstat(fd(), &info_) != 0) Fail("Cannot read file", path, errno);
        if (S_ISDIR(info_.st_mode)) Fail("Cannot open file", path, EISDIR);
    }
    int fd() const { return descriptor_.fd(); }
    const struct stat& info() const { return info_; }

private:
    Descriptor descriptor_;
    struct stat info_ {};
};

constexpr size_t kLargeFile = size_t{1} << 20;
constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kWriteBuffer = size_t{1} << 20;

}  // namespace

FileContents::FileContents(const std::string& path) {
    const FileToRead file(path);
    const int fd = file.fd();
    const struct stat& info = file.info();
    if (!S_ISREG(info.st_mode) || static_cast<size_t>(info.st_size) < kLargeFile) {
        small_ = ReadWholeFile(path);
        data_ = small_.data();
        size_ = small_.size();
        return;
    }
    const size_t expected = static_cast<size_t>(info.st_size);
    const size_t mapped = (expected + kHugePage - 1) / kHugePage * kHugePage;
    void* memory = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) throw std::bad_alloc();
    ::madvise(memory, mapped, MADV_HUGEPAGE);  // only a hint: fine if the kernel declines
    data_ = static_cast<uint8_t*>(memory);
    mapped_ = mapped;
    // A file that shrinks while it is read gives what it still holds; growth is not followed.
    while (size_ < expected) {
        const ssize_t got = ::read(fd, data_ + size_, expected - size_);
        if (got < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::munmap(data_, mapped_);
            Fail("Cannot read file", path, error);
        }
        if (got == 0) break;
        size_ += static_cast<size_t>(got);
    }
}

FileContents::~FileContents() {
    if (mapped_ != 0) ::munmap(data_, mapped_);
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    const FileToRead file(path);
    const int fd = file.fd();
    const struct stat& info = file.info();

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
    WriteFileAtomically(path, [&](const ByteSink& sink) { sink(bytes, size); });
}

void WriteFileAtomically(const std::string& path, const std::function<void(const ByteSink&)>& produce) {
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
    // The rename would replace a file we may not write; refuse as opening it for writing would.
    if (exists && ::access(target.c_str(), W_OK) != 0) Fail("Cannot create file", path, errno);

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
    // Keep the old file's owner where we may (the superuser saving someone's picture).
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Not allowed: the new file keeps our owner, as a newly created one would.
        }
    }

    const auto writeAll = [&](const uint8_t* bytes, size_t size) {
        while (size > 0) {
            const ssize_t put = ::write(fd, bytes, size);
            if (put < 0) {
                if (errno == EINTR) continue;
                Fail("Cannot write file", path, errno);
            }
            bytes += put;
            size -= static_cast<size_t>(put);
        }
    };
    std::vector<uint8_t> buffer;
    buffer.reserve(kWriteBuffer);
    const ByteSink sink = [&](const uint8_t* bytes, size_t size) {
        if (buffer.size() + size > kWriteBuffer) {
            writeAll(buffer.data(), buffer.size());
            buffer.clear();
        }
        if (size >= kWriteBuffer)
            writeAll(bytes, size);
        else
            buffer.insert(buffer.end(), bytes, bytes + size);
    };
    produce(sink);
    writeAll(buffer.data(), buffer.size());
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
