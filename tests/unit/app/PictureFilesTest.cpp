// Opening and saving picture files as the document sees it: the format chosen by the name, the
// refusals, and that a file that cannot be read or written leaves everything as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Document.h"
#include "app/PictureFiles.h"
#include "platform/BmpCodec.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/JpegCodec.h"
#include "support/DocumentFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

namespace lf {
namespace {

namespace fs = std::filesystem;
using test::MakePicture;
using test::ShownMessage;

class PictureFilesTest : public test::DocumentTest {
protected:
    // A document with a picture, a selection and a file name that a failed command must keep.
    void StartWithAPicture() {
        MainBitmap = before;
        SelRect = Rect(1, 1, 2, 3);
        CurrentFile = "earlier.bmp";
    }
    void ExpectUnchanged(const std::string& what) {
        EXPECT_EQ(MainBitmap, before) << what;
        EXPECT_EQ(SelRect, Rect(1, 1, 2, 3)) << what;
        EXPECT_EQ(CurrentFile, "earlier.bmp") << what;
        EXPECT_EQ(view.redraws, 0) << what;
        EXPECT_EQ(view.arrivals, 0) << what;
    }
    std::string OpenError(const std::string& name) {
        try {
            OpenFile(name);
        } catch (const Error& e) {
            return e.what();
        }
        return "(opened)";
    }

    test::ScriptedDialogs dialogs;
    test::TempDir dir;
    const Bitmap before = test::RandomPicture(4, 5, 11);
    // A 5 × 5 picture whose bytes can be read.
    const Bitmap fiveByFive = MakePicture(
        5, 5,
        {
            RGB(255, 0, 0),  RGB(0, 255, 0),  RGB(0, 0, 255),  RGB(1, 2, 3),       RGB(250, 251, 252),  //
            RGB(10, 0, 0),   RGB(0, 20, 0),   RGB(0, 0, 30),   RGB(40, 40, 40),    RGB(50, 60, 70),     //
            RGB(90, 80, 70), RGB(60, 50, 40), RGB(30, 20, 10), RGB(0, 0, 0),       RGB(255, 255, 255),  //
            RGB(1, 1, 1),    RGB(2, 2, 2),    RGB(3, 3, 3),    RGB(4, 4, 4),       RGB(5, 5, 5),        //
            RGB(9, 8, 7),    RGB(6, 5, 4),    RGB(3, 2, 1),    RGB(128, 128, 128), RGB(127, 127, 127),
        });
};

TEST(ClassifyFileName, LooksForBmpAnywhereFirstThenJpg) {
    struct Case {
        const char* name;
        PictureFileKind kind;
    } const cases[] = {
        {"photo.JpG", PictureFileKind::Jpeg},
        {"photo.jpg", PictureFileKind::Jpeg},
        {"photo.Bmp", PictureFileKind::Bitmap},
        {"photo.jpeg", PictureFileKind::Refused},
        {"picture.png", PictureFileKind::Refused},
        {"bmp", PictureFileKind::Refused},
        {"", PictureFileKind::Refused},
        {"holiday.bmp.jpg", PictureFileKind::Bitmap},
        {"/home/me/pics.bmp/x.jpg", PictureFileKind::Bitmap},
        {"/home/me/x.jpg.d/y.png", PictureFileKind::Jpeg},
        {"archive.BMPX", PictureFileKind::Bitmap},
        {"Foto di città.JPG", PictureFileKind::Jpeg},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyFileName(c.name), c.kind) << c.name;
}

TEST_F(PictureFilesTest, OpeningABitmapReplacesThePictureAndSelectsAll) {
    const std::string path = dir.File("five.Bmp");
    SaveBmpFile(fiveByFive, path);
    StartWithAPicture();
    UpdateUndo();
    const Bitmap undo = UndoBitmap;
    OpenFile(path);
    EXPECT_EQ(MainBitmap, fiveByFive) << test::Describe(MainBitmap);
    EXPECT_EQ(SelRect, Rect(0, 0, 4, 4));
    EXPECT_EQ(view.redraws, 1);
    EXPECT_EQ(view.arrivals, 1);
    // The caller names the file; opening takes no snapshot and leaves undo as it was.
    EXPECT_EQ(CurrentFile, "earlier.bmp");
    EXPECT_TRUE(UndoAvailable);
    EXPECT_EQ(UndoBitmap, undo);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PictureFilesTest, OpeningAJpegDecodesItInFull) {
    const std::string path = dir.File("photo.JpG");
    SaveJpegFile(test::SolidPicture(40, 30, RGB(200, 100, 50)), path);
    OpenFile(path);
    ASSERT_EQ(MainBitmap.Width(), 40);
    ASSERT_EQ(MainBitmap.Height(), 30);
    const uint32_t p = MainBitmap.Pixel(20, 15);
    EXPECT_NEAR(GetR(p), 200, 2);
    EXPECT_NEAR(GetG(p), 100, 2);
    EXPECT_NEAR(GetB(p), 50, 2);
    EXPECT_EQ(SelRect, Rect(0, 0, 39, 29));
    EXPECT_EQ(view.arrivals, 1);
}

TEST_F(PictureFilesTest, ARefusedNameShowsTheMessageAndChangesNothing) {
    const std::string path = dir.File("photo.jpeg");
    SaveJpegFile(fiveByFive, path);
    StartWithAPicture();
    OpenFile(path);
    EXPECT_EQ(
        dialogs.shown,
        (std::vector<ShownMessage>{{ShownMessage::Information, "You must specify a BMP or JPG file."}}));
    ExpectUnchanged("photo.jpeg");
}

TEST_F(PictureFilesTest, ABitmapNameDecidesEvenForJpegContent) {
    fs::create_directory(dir.path() / "pics.bmp");
    std::vector<uint8_t> jpeg;
    WriteJpeg(fiveByFive, jpeg);
    for (const std::string& name : {dir.File("holiday.bmp.jpg"), dir.File("pics.bmp/x.jpg")}) {
        WriteFileAtomically(name, jpeg);
        StartWithAPicture();
        EXPECT_EQ(OpenError(name), "Invalid bitmap: not a BMP file") << name;
        ExpectUnchanged(name);
    }
}

TEST_F(PictureFilesTest, BrokenFilesLeaveThePictureSelectionAndMenusAsTheyWere) {
    std::vector<uint8_t> bmp, jpeg;
    WriteBmp(fiveByFive, bmp);
    WriteJpeg(fiveByFive, jpeg);
    const auto cut = [](const std::vector<uint8_t>& f, size_t n) {
        return std::vector<uint8_t>(f.begin(), f.begin() + n);
    };
    const auto changed = [](std::vector<uint8_t> f, size_t at, uint8_t v) {
        f[at] = v;
        return f;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* error;
    } const cases[] = {
        {"cut.bmp", cut(bmp, 10), "Invalid bitmap: the file is truncated"},
        {"cut2.bmp", cut(bmp, 54 + 20), "Invalid bitmap: the file is truncated"},
        {"cut3.bmp", cut(bmp, bmp.size() - 1), "Invalid bitmap: the file is truncated"},
        {"depth.bmp", changed(bmp, 28, 13), "Invalid bitmap: unsupported bit depth 13"},
        {"planes.bmp", changed(bmp, 26, 2), "Invalid bitmap: bad number of planes (2)"},
        {"header.bmp", changed(bmp, 14, 99), "Invalid bitmap: unsupported header size 99"},
        {"rle.bmp", changed(bmp, 30, 1), "Invalid bitmap: RLE compression with a bit depth of 24"},
        {"empty.bmp", {}, "Invalid bitmap: not a BMP file"},
        {"cut.jpg", cut(jpeg, 100), "Invalid JPEG file: JPEG datastream contains no image"},
        {"empty.jpg", {}, "Invalid JPEG file: the file is empty"},
        {"text.jpg", {'h', 'e', 'l', 'l', 'o'}, "Invalid JPEG file: Not a JPEG file: starts with 0x68 0x65"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.File(c.name);
        WriteFileAtomically(path, c.bytes);
        StartWithAPicture();
        EXPECT_EQ(OpenError(path), c.error) << c.name;
        ExpectUnchanged(c.name);
    }
    const std::string missing = dir.File("missing.bmp");
    StartWithAPicture();
    EXPECT_EQ(OpenError(missing), "Cannot open file " + missing + ": No such file or directory");
    ExpectUnchanged("missing.bmp");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PictureFilesTest, ATruncatedJpegLoadsAsLibjpegDecodesIt) {
    std::vector<uint8_t> jpeg;
    WriteJpeg(test::RandomPicture(48, 48, 2), jpeg);
    const std::string path = dir.File("half.jpg");
    WriteFileAtomically(path, std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2));
    OpenFile(path);
    EXPECT_EQ(MainBitmap.Width(), 48);
    EXPECT_EQ(MainBitmap.Height(), 48);
    EXPECT_EQ(view.arrivals, 1);
}

TEST_F(PictureFilesTest, SavingWritesTheChosenFormatAndRedraws) {
    MainBitmap = fiveByFive;
    SaveFile(dir.File("out.bmp"));
    EXPECT_EQ(LoadBmpFile(dir.File("out.bmp")), fiveByFive);
    EXPECT_EQ(view.redraws, 1);

    MainBitmap = test::SolidPicture(16, 16, RGB(10, 200, 30));
    SaveFile(dir.File("out.JPG"));
    const std::vector<uint8_t> file = ReadWholeFile(dir.File("out.JPG"));
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(file[0], 0xFF);  // a JPEG stream, whatever the case of the name
    EXPECT_EQ(file[1], 0xD8);
    EXPECT_EQ(ReadJpeg(file).Width(), 16);
    EXPECT_EQ(view.redraws, 2);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PictureFilesTest, ARefusedSaveNameWritesNothing) {
    MainBitmap = fiveByFive;
    SaveFile(dir.File("picture.png"));
    EXPECT_EQ(dialogs.shown,
              (std::vector<ShownMessage>{{ShownMessage::Information,
                                          "You must specify a .BMP or .JPG file.\r\nexample: MyPic.bmp"}}));
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_EQ(view.redraws, 0);
}

TEST_F(PictureFilesTest, AFailedSaveKeepsTheOldFileAndDoesNotRedraw) {
    const std::string old = dir.File("old.bmp");
    SaveBmpFile(before, old);
    MainBitmap = fiveByFive;
    fs::create_directory(dir.path() / "folder.bmp");
    const std::string folder = dir.File("folder.bmp");
    try {
        SaveFile(folder);
        ADD_FAILURE() << "saved over a folder";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + folder + ": Is a directory");
    }
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(view.redraws, 0);
    EXPECT_EQ(LoadBmpFile(old), before);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder.bmp", "old.bmp"}));
}

TEST_F(PictureFilesTest, UndoAfterOpeningAnotherFileBringsBackTheFirstPicture) {
    SaveBmpFile(fiveByFive, dir.File("first.bmp"));
    SaveBmpFile(before, dir.File("second.bmp"));
    OpenFile(dir.File("first.bmp"));
    UpdateUndo();
    MainBitmap.SetPixel(0, 0, RGB(7, 7, 7));  // an edit
    OpenFile(dir.File("second.bmp"));
    RestoreUndo();
    EXPECT_EQ(MainBitmap, fiveByFive);
    EXPECT_EQ(SelRect, Rect(0, 0, 4, 4));
}

}  // namespace
}  // namespace lf
