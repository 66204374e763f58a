// Whole-file reading and the atomic replacement of files: the reasons given, and that a failed
// write leaves the old file and no temporary behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "support/TestData.h"

namespace lf {
namespace {

namespace fs = std::filesystem;

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const std::vector<uint8_t> kOld = {'o', 'l', 'd'};
const std::vector<uint8_t> kNew(100000, 'n');

TEST(FileIO, ReadingGivesTheSystemsReason) {
    test::TempDir dir;
    const std::string missing = dir.File("none.bmp");
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(missing); }),
              "Cannot open file " + missing + ": No such file or directory");
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(dir.path().string()); }),
              "Cannot open file " + dir.path().string() + ": Is a directory");
    WriteFileAtomically(dir.File("a.bin"), kNew);
    EXPECT_EQ(ReadWholeFile(dir.File("a.bin")), kNew);
    WriteFileAtomically(dir.File("empty.bin"), std::vector<uint8_t>{});
    EXPECT_TRUE(ReadWholeFile(dir.File("empty.bin")).empty());
}

TEST(FileIO, LargeAndSmallFilesReadWhole) {
    test::TempDir dir;
    for (size_t size :
         {size_t{0}, size_t{5}, (size_t{1} << 20) - 1, size_t{3} << 20, (size_t{5} << 20) + 7}) {
        std::vector<uint8_t> bytes(size);
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 4096);
        const std::string path = dir.File(std::to_string(size) + ".bin");
        WriteFileAtomically(path, bytes);
        const FileContents contents(path);
        ASSERT_EQ(contents.size(), size);
        EXPECT_TRUE(size == 0 || std::memcmp(contents.data(), bytes.data(), size) == 0) << size;
    }
    const std::string missing = dir.File("none.jpg");
    EXPECT_EQ(ErrorOf([&] { FileContents c(missing); }),
              "Cannot open file " + missing + ": No such file or directory");
}

TEST(FileIO, AProducerWritesInPiecesOfAnySize) {
    test::TempDir dir;
    const std::string path = dir.File("pieces.bin");
    std::vector<uint8_t> expected;
    WriteFileAtomically(path, [&](const ByteSink& sink) {
        // Pieces below, at and above the write buffer's size, in an order that crosses its edges.
        for (size_t size :
             {size_t{3}, size_t{1} << 20, size_t{700000}, size_t{500000}, size_t{0}, (size_t{2} << 20) + 1}) {
            std::vector<uint8_t> piece(size, static_cast<uint8_t>(size % 251));
            sink(piece.data(), piece.size());
            expected.insert(expected.end(), piece.begin(), piece.end());
        }
    });
    EXPECT_EQ(ReadWholeFile(path), expected);
}

TEST(FileIO, AProducerThatFailsLeavesTheOldFile) {
    test::TempDir dir;
    const std::string path = dir.File("old.jpg");
    WriteFileAtomically(path, kOld);
    EXPECT_EQ(ErrorOf([&] {
                  WriteFileAtomically(path, [](const ByteSink& sink) {
                      const std::vector<uint8_t> half(3u << 20, 'x');
                      sink(half.data(), half.size());
                      throw Error("Cannot write JPEG file: broken");
                  });
              }),
              "Cannot write JPEG file: broken");
    EXPECT_EQ(ReadWholeFile(path), kOld);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"old.jpg"});
}

TEST(FileIO, ReplacingKeepsTheOldFilesModeAndLeavesNoTemporary) {
    test::TempDir dir;
    const std::string path = dir.File("picture.bmp");
    WriteFileAtomically(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    WriteFileAtomically(path, kNew);
    EXPECT_EQ(ReadWholeFile(path), kNew);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"picture.bmp"});
}

TEST(FileIO, ANewFileGetsTheUsualMode) {
    test::TempDir dir;
    const mode_t mask = ::umask(022);
    WriteFileAtomically(dir.File("new.bmp"), kOld);
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(dir.File("new.bmp").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST(FileIO, WritingThroughASymbolicLinkReplacesWhatItPointsTo) {
    test::TempDir dir;
    WriteFileAtomically(dir.File("real.bmp"), kOld);
    fs::create_symlink(dir.File("real.bmp"), dir.File("link.bmp"));
    WriteFileAtomically(dir.File("link.bmp"), kNew);
    EXPECT_TRUE(fs::is_symlink(dir.File("link.bmp")));
    EXPECT_EQ(ReadWholeFile(dir.File("real.bmp")), kNew);
}

TEST(FileIO, FailedWritesLeaveTheOldFileIntact) {
    test::TempDir dir;
    // A directory where the file should go.
    fs::create_directory(dir.path() / "taken.bmp");
    const std::string taken = dir.File("taken.bmp");
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(taken, kNew); }),
              "Cannot create file " + taken + ": Is a directory");
    EXPECT_TRUE(fs::is_directory(taken));
    // A folder that does not exist.
    const std::string nowhere = dir.File("missing/x.bmp");
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(nowhere, kNew); }),
              "Cannot create file " + nowhere + ": No such file or directory");

    // The disk fills up halfway: a file size limit makes the write fail after some bytes.
    const std::string path = dir.File("old.bmp");
    WriteFileAtomically(path, kOld);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string error = ErrorOf([&] { WriteFileAtomically(path, kNew); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(error, "Cannot write file " + path + ": File too large");
    EXPECT_EQ(ReadWholeFile(path), kOld);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"old.bmp", "taken.bmp"}));
}

TEST(FileIO, ReadOnlyFoldersAndFilesRefuseTheNewFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write into read-only folders";
    test::TempDir dir;
    const std::string path = dir.File("old.bmp");
    WriteFileAtomically(path, kOld);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    const std::string error = ErrorOf([&] { WriteFileAtomically(path, kNew); });
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(error, "Cannot create file " + path + ": Permission denied");
    EXPECT_EQ(ReadWholeFile(path), kOld);

    // A read-only file in a writable folder is not replaced behind its back.
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(path, kNew); }),
              "Cannot create file " + path + ": Permission denied");
    EXPECT_EQ(ReadWholeFile(path), kOld);
}

}  // namespace
}  // namespace lf
