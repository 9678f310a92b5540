// Saving the canvas and a selection: the dialog they ask, the file they leave on disk.

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "canvas/canvas_image.h"
#include "canvas/canvas_input.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_files.h"
#include "tests/unit/app_fixture.h"

using namespace std::string_literals;
using fake::Fake;

namespace {

class PictureSave : public StartedApp {
 protected:
  void SetUp() override {
    StartedApp::SetUp();
    fake::ResetDialogs();
    fake::ResetFiles();
    char pattern[] = "/tmp/mozhou-save-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    PenMode_Begin();
  }
  void TearDown() override {
    for (const std::string& name : Listing()) ::unlink((dir_ + "/" + name).c_str());
    ::rmdir(dir_.c_str());
    StartedApp::TearDown();
  }

  std::string Path(const char* name) const { return dir_ + "/" + name; }

  // The names in the test's folder, so that stray temporary files show up.
  std::vector<std::string> Listing() const {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir_.c_str())) {
      while (dirent* e = ::readdir(d))
        if (e->d_name != "."s && e->d_name != ".."s) names.push_back(e->d_name);
      ::closedir(d);
    }
    return names;
  }

  static ByteBlock Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteBlock(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }

  static void Select(int x1, int y1, int x2, int y2) {
    Menu_Screenshot();
    fake::LeftPress(x1, y1);
    fake::MouseMove((x1 + x2) / 2, (y1 + y2) / 2);
    fake::MouseMove(x2, y2);
    fake::LeftRelease(x2, y2);
  }

  static void ExpectScreenshotModeEnded() {
    EXPECT_EQ(App().ScreenshotMode, 0);
    EXPECT_EQ(App().Selecting, 0);
    EXPECT_EQ(App().SelectionMoved, 0);
    EXPECT_TRUE(App().RubberBandImage.empty());
  }

  // The file is a 24-bit picture of the canvas area `r` as the canvas shows it now.
  void ExpectCanvasArea(const ByteBlock& file, Rect r) {
    auto view = CanvasImage_View(file);
    ASSERT_TRUE(view) << "not a canvas image, " << file.size() << " bytes";
    ASSERT_EQ(view->width, r.Width());
    ASSERT_EQ(view->height, r.Height());
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x)
        ASSERT_EQ(view->PixelAt(x, y), Pixel(r.left + x, r.top + y)) << x << "," << y;
  }

  std::string dir_;
};

}  // namespace

TEST_F(PictureSave, BothCommandsAskTheSameWayAndKeepTheBrowsedDirectory) {
  for (int command = 0; command < 2; ++command) {
    fake::ResetDialogs();
    Plat_SetCurrentDirectory("C:\\Before");
    fake::FakeDialogs().answers.push_back({Path("a.bmp"), "D:\\Browsed"});
    if (command == 0)
      fake::ChooseMenuItem(Overlay(), kItemSavePicture);
    else
      Select(10, 10, 50, 40);
    ASSERT_EQ(fake::FakeDialogs().requests.size(), 1u) << command;
    const SaveDialogRequest& r = fake::FakeDialogs().requests[0];
    EXPECT_EQ(r.owner, Overlay());
    EXPECT_EQ(r.initialDirectory, Fake().runDirectory);
    EXPECT_EQ(r.title, "保存图片");
    EXPECT_EQ(r.filterList, "*.jpg\0*.bmp\0\0"s);
    EXPECT_EQ(r.filterIndex, 1);
    EXPECT_EQ(Plat_GetCurrentDirectory(), "D:\\Browsed");
  }
}

TEST_F(PictureSave, CanvasIsSavedAsBmpBytesWhateverTheExtension) {
  Plat_Canvas_SetPenWidth(Canvas(), 5);
  Plat_Canvas_DrawLine(Canvas(), 20, 20, 200, 120);
  fake::AnswerSaveDialog(Path("picture.jpg"));
  Fake().log.clear();
  fake::ChooseMenuItem(Overlay(), kItemSavePicture);
  const ByteBlock file = Read(Path("picture.jpg"));
  EXPECT_EQ(file, fake::CanvasRecord(Canvas()).image);
  ExpectCanvasArea(file, {0, 0, Fake().screen.width, Fake().screen.height});
  EXPECT_EQ(fake::LogEntries("Capture"), std::vector<std::string>{"Capture"});  // own size

  // A Windows path lands in the fake's memory, not in the working directory.
  fake::AnswerSaveDialog("C:\\x.bmp");
  fake::ChooseMenuItem(Overlay(), kItemSavePicture);
  EXPECT_EQ(fake::FakeFiles().memoryFiles.at("C:\\x.bmp"), fake::CanvasRecord(Canvas()).image);
}

TEST_F(PictureSave, CancelledOrFailedCanvasSaveWritesNothing) {
  Fake().log.clear();
  fake::CancelSaveDialog();
  fake::ChooseMenuItem(Overlay(), kItemSavePicture);
  // No name: no capture either, since the picture is taken after the dialog.
  EXPECT_TRUE(fake::LogEntries("Capture").empty());

  Fake().captureFails = true;
  fake::AnswerSaveDialog(Path("empty.bmp"));
  fake::ChooseMenuItem(Overlay(), kItemSavePicture);
  EXPECT_TRUE(fake::FakeFiles().replaceCalls.empty());
  EXPECT_TRUE(Listing().empty());
}

TEST_F(PictureSave, SelectionIsTheRectangleTheUserSawInEitherDragDirection) {
  struct Case {
    const char* what;
    int x1, y1, x2, y2;
    Rect saved;
  };
  const int w = Fake().screen.width, h = Fake().screen.height;
  const Case cases[] = {
      {"down and right", 100, 100, 300, 250, {100, 100, 300, 250}},
      {"up and left", 300, 250, 100, 100, {100, 100, 300, 250}},
      {"up and right", 100, 250, 300, 100, {100, 100, 300, 250}},
      {"past the right and bottom edges", w - 40, h - 30, w + 100, h + 70, {w - 40, h - 30, w, h}},
      {"to the top-left corner", 50, 40, 0, 0, {0, 0, 50, 40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Menu_Redraw();
    fake::AnswerSaveDialog(Path("sel.bmp"));
    Select(c.x1, c.y1, c.x2, c.y2);
    // The final rectangle is on the canvas and in the file: its top-left pixel is the outline's.
    const ByteBlock file = Read(Path("sel.bmp"));
    ExpectCanvasArea(file, c.saved);
    ExpectScreenshotModeEnded();
  }
}

TEST_F(PictureSave, DragFrom100To300SavesTheScreenAreaWithTheFinalRectangle) {
  Plat_Canvas_SetPenColour(Canvas(), kRed);  // the rubber band's pen
  fake::AnswerSaveDialog(Path("shot.bmp"));
  Select(100, 100, 300, 250);
  const ByteBlock file = Read(Path("shot.bmp"));
  auto view = CanvasImage_View(file);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->width, 200);
  EXPECT_EQ(view->height, 150);
  EXPECT_EQ(view->PixelAt(0, 0), kRed);
  EXPECT_EQ(view->PixelAt(199, 149), kRed);
  EXPECT_EQ(view->PixelAt(1, 1), fake::ScreenPatternAt(101, 101));
  EXPECT_EQ(fake::LogEntries("Capture ").back(), "Capture " + std::to_string(Fake().screen.width) +
                                                     "x" + std::to_string(Fake().screen.height));
}

TEST_F(PictureSave, EmptySelectionOpensNoDialogAndWritesNoFile) {
  const int w = Fake().screen.width;
  const int empty[][4] = {{100, 100, 100, 250}, {100, 100, 300, 100}, {w + 10, 5, w + 50, 60}};
  for (const auto& e : empty) {
    fake::AnswerSaveDialog(Path("never.bmp"));
    Select(e[0], e[1], e[2], e[3]);
    ExpectScreenshotModeEnded();
    fake::ResetDialogs();
  }
  EXPECT_TRUE(fake::FakeDialogs().requests.empty());
  EXPECT_TRUE(fake::FakeFiles().replaceCalls.empty());
  EXPECT_TRUE(Listing().empty());
  // The next drag draws a stroke again.
  fake::LeftPress(10, 10);
  EXPECT_EQ(App().Drawing, 1);
}

TEST_F(PictureSave, CancelledSelectionLeavesTheOldFileAndEndsScreenshotMode) {
  Write(Path("old.bmp"), "old picture");
  fake::CancelSaveDialog();
  Select(100, 100, 300, 250);
  EXPECT_EQ(fake::FakeDialogs().requests.size(), 1u);
  EXPECT_TRUE(fake::FakeFiles().replaceCalls.empty());
  EXPECT_EQ(Read(Path("old.bmp")),
            ByteBlock({'o', 'l', 'd', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}));
  ExpectScreenshotModeEnded();
}

TEST_F(PictureSave, ExistingFileIsReplacedWholeOrNotAtAll) {
  const std::string target = Path("keep.bmp");
  Write(target, "old picture");

  // A write that fails halfway (a full disk) leaves the old file and no temporary file.
  fake::FakeFiles().failWriteAfter = 1000;
  fake::AnswerSaveDialog(target);
  Select(100, 100, 300, 250);
  EXPECT_EQ(fake::FakeFiles().replaceCalls.size(), 1u);
  EXPECT_EQ(Read(target).size(), 11u);
  EXPECT_EQ(Listing(), std::vector<std::string>{"keep.bmp"});
  ExpectScreenshotModeEnded();

  // A folder that does not exist: nothing anywhere.
  fake::AnswerSaveDialog(Path("missing/x.bmp"));
  Select(100, 100, 300, 250);
  EXPECT_EQ(Listing(), std::vector<std::string>{"keep.bmp"});

  // A working write replaces the old bytes entirely.
  fake::FakeFiles().failWriteAfter.reset();
  fake::AnswerSaveDialog(target);
  Select(100, 100, 300, 250);
  EXPECT_EQ(Read(target).size(), 54u + CanvasImage_Stride(200) * 150);
  EXPECT_EQ(Listing(), std::vector<std::string>{"keep.bmp"});
}
