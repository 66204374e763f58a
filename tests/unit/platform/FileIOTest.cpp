// Whole-file reading and the atomic replacement of files: the reasons given, and that a failed
// write leaves the old file and no temporary behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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
    WriteFileAtomically(dir.File("empty.bin"), {});
    EXPECT_TRUE(ReadWholeFile(dir.File("empty.bin")).empty());
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

TEST(FileIO, AReadOnlyFolderRefusesTheNewFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write into read-only folders";
    test::TempDir dir;
    const std::string path = dir.File("old.bmp");
    WriteFileAtomically(path, kOld);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    const std::string error = ErrorOf([&] { WriteFileAtomically(path, kNew); });
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(error, "Cannot create file " + path + ": Permission denied");
    EXPECT_EQ(ReadWholeFile(path), kOld);
}

}  // namespace
}  // namespace lf
