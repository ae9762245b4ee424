// The main window's settings file: loaded in FormCreate, written in FormClose.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "presets_fixture.h"

namespace wakumo::testing {
namespace {

using ::testing::IsEmpty;

using SettingsTest = PresetsFixture;

const std::vector<std::string> kBuiltInMenu{"サイズ追加", "縦横入れ替え", "-",          "120 x 60",
                                            "256 x 256",  "320 x 240",    "640 x 480", "800 x 600",
                                            "1024 x 768", "1280 x 1024",  "1600 x 1200"};

TEST_F(SettingsTest, FirstStartWithoutAFileUsesTheDefaultsAndWritesTheDefaultText) {
  Start();
  EXPECT_EQ(MenuCaptions("SizeList"), kBuiltInMenu);
  EXPECT_EQ(MenuHints("SizeList"),
            (std::vector<std::string>{"", "", "", "", "", "QVGA", "VGA", "SVGA", "XGA", "SXGA", "UXGA"}));
  EXPECT_EQ(MenuCaptions("BaseList"), (std::vector<std::string>{"座標追加", "XY入れ替え", "-"}));
  EXPECT_THAT(form->ComboBox1.Items(), IsEmpty());
  EXPECT_EQ(Text("EdSizeX"), "120");
  EXPECT_EQ(Text("EdSizeY"), "60");
  EXPECT_TRUE(form->FrontChk.Checked());
  EXPECT_TRUE(form->TopChk->Checked());
  EXPECT_TRUE(form->StayOnTop());
  EXPECT_FALSE(form->Timing.Checked());
  EXPECT_TRUE(form->SetBtn.Enabled());
  EXPECT_FALSE(form->BaseChk.Checked());
  EXPECT_FALSE(form->BlstBtn.Enabled());
  EXPECT_FALSE(form->mSavePos->Checked());
  EXPECT_FALSE(form->mSetSort->Checked());
  const Rect r = form->WindowRect();
  EXPECT_EQ(r.left, (desk.Metric(SystemMetric::CxScreen) - r.Width()) / 2) << "centred";
  EXPECT_EQ(r.top, (desk.Metric(SystemMetric::CyScreen) - r.Height()) / 2) << "centred";
  EXPECT_THAT(Messages(), IsEmpty());

  Close();
  EXPECT_EQ(Ini(), kDefaultIni);
  EXPECT_TRUE(tk.Application().Terminated());
  EXPECT_THAT(Messages(), IsEmpty());
  EXPECT_EQ(platform.files.FilesIn(kToolsFolder), std::vector<std::string>{std::string(kIniPath)});
}

// Shift-JIS names, with trail bytes that are "x" (度 = 93 78) and "\" (表 = 95 5C).
const std::string kPrepared =
    "[Sizes]\r\n640x480=\x89\xE6\x96\xCA\r\n800x600=SVGA\r\n"
    "[Bases]\r\n0,0=\x8D\xB6\x8F\xE3\r\n-8,0=\x95\x5C\r\n"
    "[ShortCut]\r\n\x8F\xAC=320,240,0,0\r\nBig=800,600,10,20\r\n\x8E\x78\x93\x78=1024,768,5,5\r\n"
    "[Option]\r\nTiming=1\r\nToFront=0\r\nBase=100,50\r\nOnTop=0\r\nWinPos=0,0\r\nListSort=1\r\n";

TEST_F(SettingsTest, PreparedFileSetsListsAndOptionsAndComesBackByteForByte) {
  platform.files.PutFile(kIniPath, kPrepared);
  Start();
  EXPECT_EQ(MenuCaptions("SizeList"), (std::vector<std::string>{"サイズ追加", "縦横入れ替え", "-", "640 x 480", "800 x 600"}));
  EXPECT_EQ(MenuHints("SizeList"), (std::vector<std::string>{"", "", "", "画面", "SVGA"}));
  EXPECT_EQ(MenuCaptions("BaseList"), (std::vector<std::string>{"座標追加", "XY入れ替え", "-", "0 , 0", "-8 , 0"}));
  EXPECT_EQ(MenuHints("BaseList"), (std::vector<std::string>{"", "", "", "左上", "表"}));
  // Sorted by name: ASCII before kanji, kanji by character.
  EXPECT_EQ(form->ComboBox1.Items(), (std::vector<std::string>{"Big", "小", "支度"}));
  EXPECT_TRUE(form->mSetSort->Checked());

  EXPECT_EQ(Text("EdSizeX"), "640") << "the first size preset is chosen";
  EXPECT_EQ(Text("EdSizeY"), "480");
  EXPECT_TRUE(form->BaseChk.Checked());
  EXPECT_EQ(Text("EdBaseX"), "100");
  EXPECT_EQ(Text("EdBaseY"), "50");
  EXPECT_TRUE(form->EdBaseX.Enabled()) << "ticked as by a click";
  EXPECT_TRUE(form->BlstBtn.Enabled());
  EXPECT_EQ(form->AutoPos.ItemIndex(), 0);
  EXPECT_TRUE(form->Timing.Checked());
  EXPECT_FALSE(form->SetBtn.Enabled()) << "即 ticked as by a click";
  EXPECT_FALSE(form->FrontChk.Checked());
  EXPECT_FALSE(form->TopChk->Checked());
  EXPECT_FALSE(form->StayOnTop());
  EXPECT_TRUE(form->mSavePos->Checked());
  const Rect r = form->WindowRect();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);

  Close();
  EXPECT_EQ(Ini(),
            "[Sizes]\r\n640x480=\x89\xE6\x96\xCA\r\n800x600=SVGA\r\n\r\n"
            "[Bases]\r\n0,0=\x8D\xB6\x8F\xE3\r\n-8,0=\x95\x5C\r\n\r\n"
            "[ShortCut]\r\nBig=800,600,10,20\r\n\x8F\xAC=320,240,0,0\r\n\x8E\x78\x93\x78=1024,768,5,5\r\n\r\n"
            "[Option]\r\nTiming=1\r\nToFront=0\r\nBase=100,50\r\nOnTop=0\r\nWinPos=0,0\r\nListSort=1\r\n");
}

TEST_F(SettingsTest, OptionsWrittenAtCloseFollowTheControls) {
  Start();
  ASSERT_TRUE(tk.Click("BaseChk"));
  ASSERT_TRUE(tk.TypeText("EdBaseX", "-30"));
  // A typed fraction counts as the whole number the field shows.
  ASSERT_TRUE(tk.TypeText("EdBaseY", "7.6"));
  ASSERT_TRUE(tk.Click("Timing"));
  ASSERT_TRUE(tk.Click("FrontChk"));
  ASSERT_TRUE(tk.ChooseMenuItem("TopChk"));
  ASSERT_TRUE(tk.ChooseMenuItem("mSavePos"));
  EXPECT_TRUE(form->mSavePos->Checked());
  form->SetWindowRect({33, 44, 33 + form->WindowRect().Width(), 44 + form->WindowRect().Height()});
  Close();
  const std::string ini = Ini();
  EXPECT_NE(ini.find("[Option]\r\nTiming=1\r\nToFront=0\r\nBase=-30,8\r\nOnTop=0\r\nWinPos=33,44\r\nListSort=0\r\n"),
            std::string::npos)
      << ini;

  // Choosing 表示位置を保存 again takes its check mark off: no position is kept.
  Start();
  EXPECT_EQ(form->WindowRect().left, 33);
  EXPECT_EQ(Text("EdBaseY"), "8");
  ASSERT_TRUE(tk.ChooseMenuItem("mSavePos"));
  EXPECT_FALSE(form->mSavePos->Checked());
  Restart();
  EXPECT_NE(Ini().find("WinPos=0\r\n"), std::string::npos) << Ini();
  EXPECT_FALSE(form->mSavePos->Checked());
  EXPECT_EQ(form->WindowRect().left, (desk.Metric(SystemMetric::CxScreen) - form->WindowRect().Width()) / 2);
}

TEST_F(SettingsTest, ClosingSavesOnceAndFreesTheUndoHistory) {
  Start();
  const WindowHandle app = desk.Create({.class_name = "Notepad", .style = WS_CAPTION_ | WS_SYSMENU_ | WS_THICKFRAME_, .rect = {10, 10, 300, 200}});
  form->TargetHandle = app;
  ASSERT_TRUE(tk.Click("SetBtn"));
  EXPECT_TRUE(form->UndoBtn.Enabled());
  Close();
  EXPECT_TRUE(form->UndoList.IsEmpty());
  EXPECT_EQ(platform.files.ReplaceCount(), 1u);
  form->Close();
  EXPECT_EQ(platform.files.ReplaceCount(), 1u) << "a second close writes nothing";
}

TEST_F(SettingsTest, FailedSaveNamesTheFileKeepsThePreviousOneAndTheCloseGoesOn) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
  };
  const Case cases[] = {
      {"read-only folder", [&] { platform.files.SetFolderReadOnly(kToolsFolder, true); }},
      {"full disk", [&] { platform.files.SetFreeSpace(10); }},
      {"file held by another program", [&] { platform.files.SetFileLocked(kIniPath, true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform.files.SetFolderReadOnly(kToolsFolder, false);
    platform.files.SetFreeSpace(std::nullopt);
    platform.files.SetFileLocked(kIniPath, false);
    platform.files.PutFile(kIniPath, kPrepared);
    tk.Application().ClearMessages();
    Start();
    ASSERT_TRUE(tk.ChooseMenuItem("mSadd")) << "an unsaved change";
    c.arrange();
    Close();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find(std::string(kIniPath)), std::string::npos) << Messages()[0];
    EXPECT_EQ(platform.files.FileBytes(kIniPath), kPrepared);
    EXPECT_EQ(platform.files.FilesIn(kToolsFolder).size(), 1u) << "no temporary left";
    EXPECT_FALSE(form->Visible()) << "the window closed all the same";
    form.reset();
  }
}

TEST_F(SettingsTest, UnreadableFileStartsWithTheDefaultsAndIsNeverOverwritten) {
  platform.files.PutFile(kIniPath, kPrepared);
  platform.files.SetFileLocked(kIniPath, true);
  Start();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find(std::string(kIniPath)), std::string::npos) << Messages()[0];
  EXPECT_EQ(MenuCaptions("SizeList"), kBuiltInMenu);
  platform.files.SetFileLocked(kIniPath, false);
  Close();
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_NE(Messages()[1].find(std::string(kIniPath)), std::string::npos) << Messages()[1];
  EXPECT_EQ(platform.files.FileBytes(kIniPath), kPrepared) << "the user's presets survive";
}

TEST_F(SettingsTest, ShortcutsLoadInFileOrderWhenUnsortedAndKeepDuplicates) {
  platform.files.PutFile(kIniPath,
                         "[ShortCut]\r\nzeta=320,240\r\nAlpha=1,2,3,4\r\nzeta=5,6,7,8\r\n[Option]\r\nBase=0\r\nWinPos=0\r\n");
  Start();
  EXPECT_EQ(form->ComboBox1.Items(), (std::vector<std::string>{"zeta", "Alpha", "zeta"}));
  EXPECT_FALSE(form->BaseChk.Checked());
  EXPECT_EQ(form->WindowRect().left, (desk.Metric(SystemMetric::CxScreen) - form->WindowRect().Width()) / 2)
      << "WinPos=0 leaves the window centred";
  ASSERT_TRUE(tk.Select("ComboBox1", 0));
  EXPECT_EQ(Text("EdSizeX"), "320");
  EXPECT_EQ(Text("EdSizeY"), "240");
  EXPECT_EQ(Text("EdBaseX"), "0") << "a missing field counts as 0";
  Close();
  EXPECT_NE(Ini().find("[ShortCut]\r\nzeta=320,240,0,0\r\nAlpha=1,2,3,4\r\nzeta=5,6,7,8\r\n"), std::string::npos) << Ini();
}

}  // namespace
}  // namespace wakumo::testing
