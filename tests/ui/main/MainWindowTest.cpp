// The main window as a user meets it: start-up, the redrawn client area, the menus, files,
// clipboard, undo and leaving, driven through the menu items by name and the answered dialogs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "app/Document.h"
#include "app/Glyphs.h"
#include "app/Main.h"
#include "app/QtClipboard.h"
#include "app/QtDialogs.h"
#include "filters/FilterCommands.h"
#include "platform/Clipboard.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

namespace lf {
namespace {

using test::ShownMessage;

constexpr QRgb kGreyPixel = 0xFF808080;

// A 24-bit bottom-up BMP written here, so the fixtures do not depend on the writer under test.
void WriteBmpFile(const std::string& path, const Bitmap& picture) {
    const uint32_t stride = (static_cast<uint32_t>(picture.Width()) * 3 + 3) & ~3u;
    const uint32_t imageBytes = stride * static_cast<uint32_t>(picture.Height());
    std::vector<uint8_t> file(54 + imageBytes, 0);
    auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, static_cast<uint32_t>(file.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(picture.Width()), 4);
    put(22, static_cast<uint32_t>(picture.Height()), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, imageBytes, 4);
    for (int y = 0; y < picture.Height(); ++y)
        std::copy_n(picture.ScanLine(y), picture.Width() * 3,
                    file.begin() + 54 + static_cast<ptrdiff_t>(picture.Height() - 1 - y) * stride);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

QRgb ScreenPixel(TMainForm& form, int x, int y) { return form.Screen().pixel(x, y); }
QRgb ToQRgb(uint32_t colour) { return qRgb(GetR(colour), GetG(colour), GetB(colour)); }

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        previousClipboard_ = InstallClipboard(&clipboard_);
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override {
        form_.reset();
        InstallClipboard(previousClipboard_);
        ResetDocument();
    }

    TMainForm& Start(const QStringList& parameters = {}) {
        form_ = std::make_unique<TMainForm>(parameters);
        form_->show();
        return *form_;
    }

    // The menu item as a user finds it: by its component name among the window's children.
    QAction* Item(const char* name) {
        QAction* action = form_->findChild<QAction*>(name);
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    void Choose(const char* name) {
        if (QAction* action = Item(name)) action->trigger();
    }
    bool Enabled(const char* name) {
        QAction* action = Item(name);
        return action && action->isEnabled();
    }

    // A picture file in the temporary folder.
    std::string PictureFile(const std::string& name, const Bitmap& picture) {
        const std::string path = temp_.File(name);
        WriteBmpFile(path, picture);
        return path;
    }

    test::TempDir temp_;
    test::ScriptedDialogs dialogs_;
    QtClipboard clipboard_;
    Clipboard* previousClipboard_ = nullptr;
    std::unique_ptr<TMainForm> form_;
};

const char* const kPictureCommands[] = {"SaveasMenu", "PrintMenu", "FiltersMenu",
                                        "DeformMenu", "CopyMenu",  "SelectallMenu"};

TEST_F(MainWindowTest, StartsEmptyWithoutParameters) {
    TMainForm& form = Start();
    EXPECT_EQ(form.ClientSize(), QSize(260, 0));
    EXPECT_EQ(form.centralWidget()->size(), QSize(260, 0));
    EXPECT_EQ(form.windowTitle(), "Lumaforge");
    for (const char* name : kPictureCommands) EXPECT_FALSE(Enabled(name)) << name;
    EXPECT_FALSE(Enabled("UndoMenu"));
    for (const char* name : {"OpenMenu", "ExitMenu", "PasteMenu", "EditMenu", "SourcesMenu", "AboutMenu"})
        EXPECT_TRUE(Enabled(name)) << name;
    EXPECT_TRUE(dialogs_.shown.empty());
    // The user cannot resize or maximise it; the client area shows a cross-hair.
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(form.ClientArea()->cursor().shape(), Qt::CrossCursor);
}

TEST_F(MainWindowTest, BrokenFileOnTheCommandLineGivesTheErrorBoxAndAnEmptyStart) {
    const std::string broken = temp_.File("broken.bmp");
    std::ofstream(broken, std::ios::binary) << "BM\x10\x00";
    TMainForm& form = Start({QString::fromStdString(broken)});
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].kind, ShownMessage::Error);
    EXPECT_EQ(form.ClientSize(), QSize(260, 0));
    // The name was taken before the load failed, and the first redraw shows it.
    EXPECT_EQ(form.windowTitle().toStdString(), "Lumaforge - " + broken);
    for (const char* name : kPictureCommands) EXPECT_FALSE(Enabled(name)) << name;
}

TEST_F(MainWindowTest, StartsWithThePictureNamedOnTheCommandLine) {
    const Bitmap picture = test::SolidPicture(100, 50, RGB(0x99, 0x66, 0x33));
    const std::string path = PictureFile("start.bmp", picture);
    TMainForm& form = Start({QString::fromStdString(path), "ignored-second-parameter"});

    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_EQ(form.ClientSize(), QSize(260, 50));
    EXPECT_EQ(form.centralWidget()->size(), QSize(260, 50));
    EXPECT_EQ(form.windowTitle().toStdString(), "Lumaforge - " + path);
    EXPECT_EQ(CurrentFile, path);
    EXPECT_EQ(SelRect, Rect(0, 0, 99, 49));
    for (const char* name : kPictureCommands) EXPECT_TRUE(Enabled(name)) << name;
    EXPECT_FALSE(Enabled("UndoMenu"));

    // The picture one to one (away from the frame and the texts), grey to its right.
    const QRgb colour = qRgb(0x99, 0x66, 0x33);
    for (QPoint p : {QPoint(5, 45), QPoint(50, 40), QPoint(96, 3), QPoint(96, 46)})
        EXPECT_EQ(ScreenPixel(form, p.x(), p.y()), colour) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(100, 0), QPoint(100, 49), QPoint(259, 0), QPoint(259, 49), QPoint(200, 45)})
        EXPECT_EQ(ScreenPixel(form, p.x(), p.y()), kGreyPixel) << p.x() << "," << p.y();
}

// The frame around the whole 100 × 50 picture: a black band three pixels wide whose middle line
// carries yellow dots, inside the picture's edge on every side.
TEST_F(MainWindowTest, FrameIsABlackBandWithYellowDots) {
    const std::string path = PictureFile("frame.bmp", test::SolidPicture(100, 50, RGB(0, 0, 255)));
    TMainForm& form = Start({QString::fromStdString(path)});
    const QRgb black = qRgb(0, 0, 0), yellow = qRgb(255, 255, 0), blue = qRgb(0, 0, 255);
    auto isBand = [&](int x, int y) {
        const QRgb p = ScreenPixel(form, x, y);
        return p == black || p == yellow;
    };
    // Each side: the band's pixels, then the first pixel inside it, which is the picture again.
    for (int y : {40, 45}) {
        EXPECT_TRUE(isBand(0, y) && isBand(1, y)) << y;
        EXPECT_EQ(ScreenPixel(form, 2, y), blue);
        EXPECT_TRUE(isBand(97, y) && isBand(98, y) && isBand(99, y)) << y;
        EXPECT_EQ(ScreenPixel(form, 96, y), blue);
    }
    for (int x : {60, 80}) {
        EXPECT_TRUE(isBand(x, 0) && isBand(x, 1)) << x;
        EXPECT_EQ(ScreenPixel(form, x, 2), blue);
        EXPECT_TRUE(isBand(x, 47) && isBand(x, 48) && isBand(x, 49)) << x;
        EXPECT_EQ(ScreenPixel(form, x, 46), blue);
    }
    // The middle line alternates yellow and black; the band's edges are black only.
    int yellowOnMiddle = 0, yellowOnEdge = 0;
    for (int x = 50; x < 90; ++x) {
        yellowOnMiddle += ScreenPixel(form, x, 48) == yellow;
        yellowOnEdge += ScreenPixel(form, x, 47) == yellow || ScreenPixel(form, x, 49) == yellow;
        EXPECT_NE(ScreenPixel(form, x, 48), ScreenPixel(form, x + 1, 48)) << x;
    }
    EXPECT_EQ(yellowOnMiddle, 20);
    EXPECT_EQ(yellowOnEdge, 0);
    // Nothing of the frame enters the picture itself.
    EXPECT_EQ(MainBitmap, test::SolidPicture(100, 50, RGB(0, 0, 255)));
}

// Renders text as the window writes it, and tells whether every pixel the text sets is white
// on the screen image.
bool ScreenShowsText(TMainForm& form, QPoint at, const QString& text) {
    QImage mask(form.Screen().size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter painter(&mask);
    painter.setFont(form.TextFont());
    painter.setPen(Qt::white);
    painter.drawText(QRect(at, QSize(mask.width(), 15)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     text);
    painter.end();
    int inked = 0;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (mask.pixel(x, y) == qRgb(255, 255, 255)) {
                ++inked;
                if (form.Screen().pixel(x, y) != qRgb(255, 255, 255)) return false;
            }
    return inked > 20;
}

TEST_F(MainWindowTest, SizeTextsShowTheSelectionsWidthAndHeight) {
    const std::string path = PictureFile("texts.bmp", test::SolidPicture(100, 50, RGB(20, 20, 20)));
    TMainForm& form = Start({QString::fromStdString(path)});
    EXPECT_TRUE(ScreenShowsText(form, {10, 10}, "Selezione larghezza: 100"));
    EXPECT_TRUE(ScreenShowsText(form, {10, 25}, "             Altezza: 50"));
    EXPECT_FALSE(ScreenShowsText(form, {10, 10}, "Selezione larghezza: 108"));
    EXPECT_FALSE(ScreenShowsText(form, {10, 25}, "             Altezza: 58"));

    SelRect = Rect(10, 10, 19, 29);
    ReDraw();
    EXPECT_TRUE(ScreenShowsText(form, {10, 10}, "Selezione larghezza: 10"));
    EXPECT_TRUE(ScreenShowsText(form, {10, 25}, "             Altezza: 20"));
    EXPECT_FALSE(ScreenShowsText(form, {10, 25}, "             Altezza: 50"));
}

TEST_F(MainWindowTest, ClientWidthIsAtLeast260AndHeightThePictures) {
    struct Case {
        int width, height, clientWidth;
    };
    for (const Case c :
         {Case{1, 1, 260}, Case{259, 30, 260}, Case{260, 31, 260}, Case{261, 32, 261}, Case{500, 7, 500}}) {
        ResetDocument();
        const std::string path = PictureFile("w.bmp", test::SolidPicture(c.width, c.height, 0));
        TMainForm& form = Start({QString::fromStdString(path)});
        EXPECT_EQ(form.ClientSize(), QSize(c.clientWidth, c.height)) << c.width;
        EXPECT_EQ(form.centralWidget()->size(), QSize(c.clientWidth, c.height)) << c.width;
        EXPECT_EQ(form.Screen().size(), QSize(c.clientWidth, c.height)) << c.width;
    }
}

TEST_F(MainWindowTest, CommandLineNamingNoFileSaysSoAndStartsEmpty) {
    const std::string existing = PictureFile("exists.bmp", test::SolidPicture(4, 4, 0));
    for (const std::string& parameter : {temp_.File("missing.bmp"), temp_.path().string()}) {
        dialogs_.shown.clear();
        Start({QString::fromStdString(parameter), QString::fromStdString(existing)});
        EXPECT_EQ(dialogs_.shown,
                  (std::vector<ShownMessage>{{ShownMessage::Information, parameter + " does not exist."}}));
        EXPECT_EQ(form_->ClientSize(), QSize(260, 0));
        EXPECT_EQ(form_->windowTitle(), "Lumaforge");
        EXPECT_TRUE(CurrentFile.empty());
        EXPECT_FALSE(Enabled("FiltersMenu"));
    }
}

TEST_F(MainWindowTest, RepaintShowsTheScreenImageUnchanged) {
    const std::string path = PictureFile("paint.bmp", test::RandomPicture(120, 40, 7));
    TMainForm& form = Start({QString::fromStdString(path)});
    const QImage before = form.Screen().copy();
    const QSize windowSize = form.size();
    const QImage shown = form.ClientArea()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, before);
    form.ClientArea()->repaint();
    EXPECT_EQ(form.Screen(), before);
    EXPECT_EQ(form.size(), windowSize);
}

TEST_F(MainWindowTest, RedrawPutsReversedCornersInOrder) {
    const std::string path = PictureFile("order.bmp", test::SolidPicture(60, 50, 0));
    Start({QString::fromStdString(path)});
    SelRect = Rect(50, 40, 10, 5);
    ReDraw();
    EXPECT_EQ(SelRect, Rect(10, 5, 50, 40));
    EXPECT_TRUE(ScreenShowsText(*form_, {10, 10}, "Selezione larghezza: 41"));
}

TEST_F(MainWindowTest, PictureLargerThanTheScreenScrollsInsteadOfGrowingTheWindow) {
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    const int width = screen.width() + 400, height = screen.height() + 300;
    const std::string path = PictureFile("large.bmp", test::RandomPicture(width, height, 3));
    TMainForm& form = Start({QString::fromStdString(path)});
    EXPECT_EQ(form.ClientSize(), QSize(width, height));
    EXPECT_LE(form.width(), screen.width());
    EXPECT_LE(form.height(), screen.height());
    auto* area = qobject_cast<QScrollArea*>(form.centralWidget());
    ASSERT_NE(area, nullptr);
    EXPECT_TRUE(area->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(area->verticalScrollBar()->isVisible());
    // One to one from the top-left corner.
    EXPECT_EQ(form.ClientArea()->pos(), QPoint(0, 0));
    EXPECT_EQ(ScreenPixel(form, width - 5, height - 5), ToQRgb(MainBitmap.Pixel(width - 5, height - 5)));
}

TEST_F(MainWindowTest, OpenMenuLoadsTheChosenFile) {
    const Bitmap picture = test::RandomPicture(30, 20, 11);
    const std::string path = PictureFile("open.bmp", picture);
    TMainForm& form = Start();
    dialogs_.fileAnswers.push_back(path);
    Choose("OpenMenu");
    EXPECT_EQ(dialogs_.fileDialogFilters, std::vector<std::string>{"Images|*.bmp;*.jpg;*.jpeg"});
    EXPECT_TRUE(dialogs_.shown.empty()) << dialogs_.Texts()[0];
    EXPECT_EQ(MainBitmap, picture);
    EXPECT_EQ(CurrentFile, path);
    EXPECT_EQ(form.windowTitle().toStdString(), "Lumaforge - " + path);
    EXPECT_EQ(form.ClientSize(), QSize(260, 20));
    EXPECT_EQ(SelRect, Rect(0, 0, 29, 19));
    for (const char* name : kPictureCommands) EXPECT_TRUE(Enabled(name)) << name;
}

TEST_F(MainWindowTest, OpenCancelledOrRefusedOrBrokenLeavesThePicture) {
    const Bitmap first = test::RandomPicture(12, 8, 5);
    const std::string firstPath = PictureFile("first.bmp", first);
    TMainForm& form = Start({QString::fromStdString(firstPath)});
    SelRect = Rect(2, 2, 6, 5);
    ReDraw();

    const std::string broken = temp_.File("broken.bmp");
    std::ofstream(broken, std::ios::binary) << "BM this is no bitmap";
    struct Case {
        std::optional<std::string> answer;
        std::vector<ShownMessage> messages;  // empty: nothing shown; else the kinds and texts
        bool errorBox;
    };
    const std::string refused = temp_.File("photo.jpeg");
    std::ofstream(refused) << "x";
    for (const Case& c :
         {Case{std::nullopt, {}, false},
          Case{refused, {{ShownMessage::Information, "You must specify a BMP or JPG file."}}, false},
          Case{broken, {}, true}}) {
        dialogs_.shown.clear();
        dialogs_.fileAnswers.push_back(c.answer);
        Choose("OpenMenu");
        if (c.errorBox) {
            ASSERT_EQ(dialogs_.shown.size(), 1u);
            EXPECT_EQ(dialogs_.shown[0].kind, ShownMessage::Error);
            EXPECT_EQ(dialogs_.shown[0].text.back(), '.');
        } else {
            EXPECT_EQ(dialogs_.shown, c.messages);
        }
        EXPECT_EQ(MainBitmap, first);
        EXPECT_EQ(SelRect, Rect(2, 2, 6, 5));
        EXPECT_EQ(CurrentFile, c.answer.value_or(firstPath));
        EXPECT_EQ(form.ClientSize(), QSize(260, 8));
    }
}

TEST_F(MainWindowTest, SaveAsWritesTheFileAndCompletesAMissingExtension) {
    const Bitmap picture = test::RandomPicture(9, 7, 21);
    TMainForm& form = Start({QString::fromStdString(PictureFile("in.bmp", picture))});
    const std::string typed = temp_.File("saved");
    dialogs_.fileAnswers.push_back(typed);
    Choose("SaveasMenu");
    EXPECT_EQ(dialogs_.fileDialogFilters,
              std::vector<std::string>{"Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg"});
    EXPECT_EQ(dialogs_.fileDialogDefaultExtensions, std::vector<std::string>{"bmp|jpg"});
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_EQ(CurrentFile, typed + ".bmp");
    EXPECT_EQ(form.windowTitle().toStdString(), "Lumaforge - " + typed + ".bmp");
    ASSERT_TRUE(std::filesystem::exists(typed + ".bmp"));

    // The written file opens as the same picture.
    ResetDocument();
    dialogs_.fileAnswers.push_back(typed + ".bmp");
    Choose("OpenMenu");
    EXPECT_EQ(MainBitmap, picture);
}

TEST_F(MainWindowTest, SaveOverAnExistingFileAsksFirst) {
    TMainForm& form = Start({QString::fromStdString(PictureFile("pic.bmp", test::RandomPicture(6, 6, 1)))});
    const std::string target = PictureFile("old.bmp", test::SolidPicture(3, 3, 0));
    const std::string oldBytes = ReadAll(target);
    const std::string before = CurrentFile;

    dialogs_.fileAnswers.push_back(target);
    dialogs_.confirmAnswers.push_back(false);
    Choose("SaveasMenu");
    EXPECT_EQ(dialogs_.shown,
              (std::vector<ShownMessage>{{ShownMessage::Confirm, "File exists. Overwrite?"}}));
    EXPECT_EQ(ReadAll(target), oldBytes);
    EXPECT_EQ(CurrentFile, before);

    dialogs_.shown.clear();
    dialogs_.fileAnswers.push_back(target);
    dialogs_.confirmAnswers.push_back(true);
    Choose("SaveasMenu");
    EXPECT_EQ(dialogs_.shown,
              (std::vector<ShownMessage>{{ShownMessage::Confirm, "File exists. Overwrite?"}}));
    EXPECT_NE(ReadAll(target), oldBytes);
    EXPECT_EQ(CurrentFile, target);
    EXPECT_EQ(form.windowTitle().toStdString(), "Lumaforge - " + target);
}

TEST_F(MainWindowTest, SaveUnderARefusedNameWritesNothing) {
    Start({QString::fromStdString(PictureFile("pic.bmp", test::RandomPicture(6, 6, 1)))});
    const std::string png = temp_.File("picture.png");
    dialogs_.fileAnswers.push_back(png);
    Choose("SaveasMenu");
    EXPECT_EQ(dialogs_.shown,
              (std::vector<ShownMessage>{{ShownMessage::Information,
                                          "You must specify a .BMP or .JPG file.\r\nexample: MyPic.bmp"}}));
    EXPECT_FALSE(std::filesystem::exists(png));
    EXPECT_EQ(CurrentFile, png);
}

TEST_F(MainWindowTest, CopiedSelectionPastesBackUnchanged) {
    const Bitmap picture = test::RandomPicture(40, 35, 9);
    TMainForm& form = Start({QString::fromStdString(PictureFile("copy.bmp", picture))});
    SelRect = Rect(10, 10, 19, 29);
    ReDraw();
    Choose("CopyMenu");
    EXPECT_TRUE(dialogs_.shown.empty());
    // What other programs see: an image of exactly the selection.
    const QImage onClipboard = QGuiApplication::clipboard()->image();
    ASSERT_EQ(onClipboard.size(), QSize(10, 20));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(onClipboard.pixel(x, y) | 0xFF000000u, ToQRgb(picture.Pixel(10 + x, 10 + y)));
    // Copying changes nothing of the document.
    EXPECT_EQ(MainBitmap, picture);
    EXPECT_EQ(SelRect, Rect(10, 10, 19, 29));
    EXPECT_TRUE(WorkBitmap.Empty());
    EXPECT_FALSE(Enabled("UndoMenu"));

    Choose("PasteMenu");
    Bitmap expected(10, 20);
    expected.Draw(-10, -10, picture);
    EXPECT_EQ(MainBitmap, expected) << test::Describe(MainBitmap);
    EXPECT_TRUE(CurrentFile.empty());
    EXPECT_EQ(form.windowTitle(), "Lumaforge");
    EXPECT_EQ(SelRect, Rect(0, 0, 9, 19));
    EXPECT_EQ(form.ClientSize(), QSize(260, 20));
    EXPECT_FALSE(Enabled("UndoMenu"));
}

TEST_F(MainWindowTest, CopyOfASelectionReachingOutsideIsBlackThere) {
    const Bitmap picture = test::SolidPicture(20, 10, RGB(200, 100, 50));
    Start({QString::fromStdString(PictureFile("edge.bmp", picture))});
    SelRect = Rect(15, 5, 24, 14);
    Choose("CopyMenu");
    const Bitmap copied = FromImage(QGuiApplication::clipboard()->image());
    ASSERT_EQ(copied.Width(), 10);
    ASSERT_EQ(copied.Height(), 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(copied.Pixel(x, y), x < 5 && y < 5 ? RGB(200, 100, 50) : 0u) << x << "," << y;
}

TEST_F(MainWindowTest, PasteTakesAnotherProgramsImage) {
    TMainForm& form = Start();
    QImage image(640, 480, QImage::Format_ARGB32);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) image.setPixel(x, y, qRgba(x % 256, y % 256, (x + y) % 256, 255));
    QGuiApplication::clipboard()->setImage(image);
    Choose("PasteMenu");
    ASSERT_EQ(MainBitmap.Width(), 640);
    ASSERT_EQ(MainBitmap.Height(), 480);
    EXPECT_EQ(MainBitmap.Pixel(300, 200), RGB(300 % 256, 200, 500 % 256));
    EXPECT_EQ(SelRect, Rect(0, 0, 639, 479));
    EXPECT_EQ(form.ClientSize(), QSize(640, 480));
    for (const char* name : kPictureCommands) EXPECT_TRUE(Enabled(name)) << name;
}

TEST_F(MainWindowTest, PasteWithAnEmptyClipboardChangesNothing) {
    const Bitmap picture = test::RandomPicture(8, 8, 2);
    const std::string path = PictureFile("keep.bmp", picture);
    Start({QString::fromStdString(path)});
    SelRect = Rect(1, 1, 4, 4);
    QGuiApplication::clipboard()->setText("words, not a picture");
    Choose("PasteMenu");
    EXPECT_EQ(dialogs_.shown,
              (std::vector<ShownMessage>{{ShownMessage::Information, "No clipboard data available."}}));
    EXPECT_EQ(MainBitmap, picture);
    EXPECT_EQ(CurrentFile, path);
    EXPECT_EQ(SelRect, Rect(1, 1, 4, 4));
}

TEST_F(MainWindowTest, UndoAfterOpeningASecondFileBringsBackThePictureBeforeTheEdit) {
    const Bitmap first = test::SolidPicture(10, 6, RGB(10, 20, 30));
    const Bitmap second = test::SolidPicture(25, 15, RGB(90, 90, 90));
    TMainForm& form = Start({QString::fromStdString(PictureFile("first.bmp", first))});
    Choose("IncreaseBrightnessMenu");
    EXPECT_EQ(MainBitmap, test::SolidPicture(10, 6, RGB(35, 45, 55)));
    EXPECT_TRUE(Enabled("UndoMenu"));

    const std::string secondPath = PictureFile("second.bmp", second);
    dialogs_.fileAnswers.push_back(secondPath);
    Choose("OpenMenu");
    EXPECT_EQ(MainBitmap, second);
    EXPECT_TRUE(Enabled("UndoMenu"));

    Choose("UndoMenu");
    EXPECT_EQ(MainBitmap, first);
    EXPECT_EQ(SelRect, Rect(0, 0, 9, 5));
    EXPECT_EQ(form.ClientSize(), QSize(260, 6));
    EXPECT_EQ(form.windowTitle().toStdString(), "Lumaforge - " + secondPath);
    EXPECT_FALSE(Enabled("UndoMenu"));
    // A second undo is not possible.
    Choose("UndoMenu");
    EXPECT_EQ(MainBitmap, first);
}

TEST_F(MainWindowTest, ExitAsksAndLeavesOnlyOnYes) {
    TMainForm& form = Start();
    dialogs_.confirmAnswers.push_back(false);
    Choose("ExitMenu");
    EXPECT_EQ(dialogs_.shown, (std::vector<ShownMessage>{{ShownMessage::Confirm, "Uscire ora?"}}));
    EXPECT_TRUE(form.isVisible());

    dialogs_.confirmAnswers.push_back(true);
    Choose("ExitMenu");
    EXPECT_EQ(dialogs_.shown.size(), 2u);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindowTest, ClosingByTheTitleBarAsksNothing) {
    TMainForm& form = Start();
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(dialogs_.shown.empty());
}

// A 5 × 5 picture with the middle 3 × 3 selected: a filter changes only the selection, undo
// brings the picture back, and a fault reaches the error box with its full stop.
TEST_F(MainWindowTest, FilterItemsRunOnTheSelectionWithUndo) {
    const Bitmap picture = test::MakePicture(
        5, 5,
        {
            RGB(0, 0, 0),       RGB(10, 20, 30), RGB(250, 240, 230), RGB(5, 5, 5),    RGB(100, 0, 200),
            RGB(1, 2, 3),       RGB(4, 5, 6),    RGB(7, 8, 9),       RGB(10, 11, 12), RGB(13, 14, 15),
            RGB(240, 250, 235), RGB(16, 17, 18), RGB(19, 20, 21),    RGB(22, 23, 24), RGB(25, 26, 27),
            RGB(28, 29, 30),    RGB(31, 32, 33), RGB(34, 35, 36),    RGB(37, 38, 39), RGB(40, 41, 42),
            RGB(43, 44, 45),    RGB(46, 47, 48), RGB(49, 50, 51),    RGB(52, 53, 54), RGB(55, 56, 57),
        });
    Start({QString::fromStdString(PictureFile("five.bmp", picture))});
    SelRect = Rect(1, 1, 3, 3);
    ReDraw();
    Choose("IncreaseBrightnessMenu");
    EXPECT_TRUE(dialogs_.shown.empty());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            const uint32_t p = picture.Pixel(x, y);
            const bool inside = x >= 1 && x <= 3 && y >= 1 && y <= 3;
            const uint32_t expected =
                inside ? RGB(Clamp(GetR(p) + 25), Clamp(GetG(p) + 25), Clamp(GetB(p) + 25)) : p;
            EXPECT_EQ(MainBitmap.Pixel(x, y), expected) << x << "," << y;
        }
    Choose("UndoMenu");
    EXPECT_EQ(MainBitmap, picture);
}

TEST_F(MainWindowTest, OptimizeOnAFlatPictureShowsTheDivisionError) {
    const Bitmap flat = test::SolidPicture(6, 6, RGB(70, 70, 70));
    Start({QString::fromStdString(PictureFile("flat.bmp", flat))});
    Choose("OptimizeMenu");
    EXPECT_EQ(dialogs_.shown,
              (std::vector<ShownMessage>{{ShownMessage::Error, "Floating point division by zero."}}));
    EXPECT_EQ(MainBitmap, flat);
    // The snapshot taken before the failing command stays.
    EXPECT_TRUE(Enabled("UndoMenu"));
}

TEST_F(MainWindowTest, ItemsUnderADisabledMenuCannotBeChosen) {
    Start();
    MainBitmap = test::SolidPicture(4, 4, RGB(1, 1, 1));
    SelectAll();
    Choose("IncreaseBrightnessMenu");
    Choose("CopyMenu");
    EXPECT_EQ(MainBitmap, test::SolidPicture(4, 4, RGB(1, 1, 1)));
    EXPECT_FALSE(Enabled("UndoMenu"));
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
}

// Every filter of the filter table sits in the menu at the place the table names.
TEST_F(MainWindowTest, EveryFilterCommandIsInTheMenuWhereItsTableRowSaysItIs) {
    TMainForm& form = Start();
    for (const FilterCommand& row : FilterCommands()) {
        QAction* action = form.findChild<QAction*>(row.component);
        ASSERT_NE(action, nullptr) << row.component;
        EXPECT_EQ(action->text(), QString::fromUtf8(row.caption)) << row.component;
        // Walk from the filter menu down the submenu captions.
        QMenu* menu = form.Menu("FiltersMenu");
        for (const char* caption : row.submenu) {
            QMenu* next = nullptr;
            for (QAction* a : menu->actions())
                if (a->menu() && a->text() == QString::fromUtf8(caption)) next = a->menu();
            ASSERT_NE(next, nullptr) << row.component << " under " << caption;
            menu = next;
        }
        EXPECT_TRUE(menu->actions().contains(action)) << row.component;
    }
}

TEST_F(MainWindowTest, MenuItemsCarryTheirCaptionsShortcutsAndGlyphs) {
    TMainForm& form = Start();
    struct Case {
        const char* name;
        const char* caption;
        const char* shortcut;
        bool glyph;
    };
    for (const Case& c :
         {Case{"OpenMenu", "&Apri", "Ctrl+O", true}, Case{"SaveasMenu", "&Salva come", "Ctrl+S", true},
          Case{"PrintMenu", "&Stampa", "", true}, Case{"ExitMenu", "&Esci", "", true},
          Case{"UndoMenu", "&Annulla", "Ctrl+Z", true}, Case{"CopyMenu", "&Copia", "Ctrl+C", true},
          Case{"PasteMenu", "&Incolla", "Ctrl+V", true},
          Case{"SelectallMenu", "&Seleziona tutto", "Ctrl+A", false},
          Case{"StatisticsMenu", "&Statistiche", "", true}, Case{"ZoomMenu", "&Zoom", "", true},
          Case{"RetouchMenu", "&Ritocco", "", true}, Case{"WebcameraMenu", "&Webcam", "", true},
          Case{"ScanMenu", "&Scanner / camera digitale", "", true},
          Case{"AboutMenu", "&Informazioni", "", true}, Case{"BrightnessMenu", "Luminosità", "", false},
          Case{"CropMenu", "&Ritaglia", "", false}, Case{"Rotate1", "R&uota", "", false}}) {
        QAction* action = form.findChild<QAction*>(c.name);
        ASSERT_NE(action, nullptr) << c.name;
        EXPECT_EQ(action->text(), QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(action->shortcut(), QKeySequence(c.shortcut)) << c.name;
        EXPECT_EQ(!action->icon().isNull(), c.glyph) << c.name;
    }
    QStringList bar;
    for (QAction* a : form.menuBar()->actions()) bar << a->objectName();
    EXPECT_EQ(bar,
              QStringList({"FileMenu", "EditMenu", "FiltersMenu", "DeformMenu", "SourcesMenu", "HelpMenu"}));
    EXPECT_TRUE(form.findChild<QAction*>("ZoomMenu")->isCheckable());
    EXPECT_TRUE(form.findChild<QAction*>("WebcameraMenu")->isCheckable());
}

TEST_F(MainWindowTest, JpegSavedThroughTheMenuOpensAgain) {
    const Bitmap picture = test::SolidPicture(33, 17, RGB(200, 120, 40));
    Start({QString::fromStdString(PictureFile("in.bmp", picture))});
    const std::string jpeg = temp_.File("out.JpG");
    dialogs_.fileAnswers.push_back(jpeg);
    Choose("SaveasMenu");
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_EQ(ReadAll(jpeg).substr(0, 2), "\xFF\xD8");

    dialogs_.fileAnswers.push_back(jpeg);
    Choose("OpenMenu");
    ASSERT_EQ(MainBitmap.Width(), 33);
    ASSERT_EQ(MainBitmap.Height(), 17);
    // A flat colour survives quality 90 within a few levels.
    const uint32_t p = MainBitmap.Pixel(16, 8);
    EXPECT_NEAR(GetR(p), 200, 4);
    EXPECT_NEAR(GetG(p), 120, 4);
    EXPECT_NEAR(GetB(p), 40, 4);
}

TEST_F(MainWindowTest, ResizeItemShowsTheResizeWindow) {
    Start({QString::fromStdString(PictureFile("r.bmp", test::SolidPicture(40, 30, 0)))});
    Choose("ResizeMenu");
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "ResizeForm") window = w;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    window->hide();
}

// The client area hands the mouse to the window in client coordinates, also when the button
// comes up outside it.
TEST_F(MainWindowTest, DragOnTheClientAreaSelects) {
    TMainForm& form =
        Start({QString::fromStdString(PictureFile("drag.bmp", test::SolidPicture(100, 60, 0)))});
    QWidget* area = form.ClientArea();
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(form.windowTitle(), "Release mouse button to end selection!");
    QTest::mouseMove(area, QPoint(15, 20));
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(19, 29));
    EXPECT_EQ(SelRect, Rect(10, 10, 19, 29));
    EXPECT_TRUE(ScreenShowsText(form, {10, 10}, "Selezione larghezza: 10"));
    EXPECT_TRUE(ScreenShowsText(form, {10, 25}, "             Altezza: 20"));
    EXPECT_NE(form.windowTitle(), "Release mouse button to end selection!");

    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(50, 40));
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
    EXPECT_EQ(SelRect, Rect(50, 40, 400, 300));
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST(GlyphsTest, ThirteenDistinctSmallPictures) {
    std::set<QByteArray> seen;
    for (int i = 0; i < kGlyphCount; ++i) {
        const QImage glyph = GlyphImage(i);
        ASSERT_EQ(glyph.size(), QSize(16, 16)) << i;
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) opaque += qAlpha(glyph.pixel(x, y)) > 0;
        EXPECT_GT(opaque, 20) << i;
        seen.insert(QByteArray(reinterpret_cast<const char*>(glyph.constBits()), glyph.sizeInBytes()));
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(kGlyphCount));
    EXPECT_TRUE(GlyphImage(kGlyphCount).isNull());
}

// The real boxes, looked at while they are open and answered with a key.
struct SeenBox {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
};

TEST(QtDialogsTest, BoxesHaveTheirCaptionsIconsAndButtons) {
    QtDialogs dialogs;
    auto seen = std::make_shared<SeenBox>();
    auto look = [&](int key) {
        QTimer::singleShot(0, [seen, key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            *seen = SeenBox{box->windowTitle(), box->text(), box->icon(), {}, {}};
            for (QAbstractButton* b : box->buttons()) seen->buttons << b->text();
            if (box->defaultButton()) seen->defaultButton = box->defaultButton()->text();
            QTest::keyClick(box, static_cast<Qt::Key>(key));
        });
    };

    look(Qt::Key_Escape);
    EXPECT_FALSE(dialogs.Confirm("Uscire ora?"));
    EXPECT_EQ(seen->caption, "Confirm");
    EXPECT_EQ(seen->text, "Uscire ora?");
    EXPECT_EQ(seen->icon, QMessageBox::Question);
    EXPECT_EQ(seen->buttons.size(), 2);
    EXPECT_TRUE(seen->buttons.contains("&Yes") && seen->buttons.contains("&No"));
    EXPECT_EQ(seen->defaultButton, "&Yes");

    look(Qt::Key_Return);
    EXPECT_TRUE(dialogs.Confirm("File exists. Overwrite?"));

    look(Qt::Key_Return);
    dialogs.Information("No clipboard data available.");
    EXPECT_EQ(seen->caption, "Information");
    EXPECT_EQ(seen->icon, QMessageBox::Information);
    EXPECT_EQ(seen->buttons.size(), 1);
    EXPECT_EQ(seen->text, "No clipboard data available.");

    look(Qt::Key_Return);
    dialogs.ErrorBox("Floating point division by zero.");
    EXPECT_EQ(seen->caption, "Lumaforge");
    EXPECT_EQ(seen->icon, QMessageBox::Critical);
    EXPECT_EQ(seen->buttons.size(), 1);
    EXPECT_EQ(seen->text, "Floating point division by zero.");
}

TEST(QtDialogsTest, FilterNotationBecomesQtsFilters) {
    EXPECT_EQ(QtFileFilter("Images|*.bmp;*.jpg;*.jpeg"), "Images (*.bmp *.jpg *.jpeg)");
    EXPECT_EQ(QtFileFilter("Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg"), "Bitmap (*.bmp);;JPEG (*.jpg)");
}

TEST(QtDialogsTest, DefaultExtensionOnlyForNamesWithoutOne) {
    struct Case {
        const char* typed;
        const char* result;
    };
    for (const Case& c : {Case{"/tmp/pic", "/tmp/pic.bmp"}, Case{"/tmp/pic.jpg", "/tmp/pic.jpg"},
                          Case{"/tmp/pic.png", "/tmp/pic.png"},
                          Case{"/tmp/dir.v2/pic", "/tmp/dir.v2/pic.bmp"}, Case{"pic", "pic.bmp"}})
        EXPECT_EQ(WithDefaultExtension(c.typed, "bmp|jpg"), c.result) << c.typed;
}

TEST(QtClipboardTest, ConversionIsLosslessBothWays) {
    const Bitmap picture = test::RandomPicture(13, 7, 77);  // odd width: padded rows
    const QImage image = ToImage(picture);
    ASSERT_EQ(image.size(), QSize(13, 7));
    EXPECT_EQ(image.pixel(12, 6) | 0xFF000000u, ToQRgb(picture.Pixel(12, 6)));
    EXPECT_EQ(FromImage(image), picture);
    EXPECT_EQ(FromImage(image.convertToFormat(QImage::Format_ARGB32)), picture);
}

}  // namespace
}  // namespace lf
