#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "presets/settings_store.h"
#include "sim/sim_files.h"

namespace wakumo {
namespace {

constexpr std::string_view kFolder = "C:\\Tools";
constexpr std::string_view kIni = "C:\\Tools\\wakumo.ini";

struct StoreTest : ::testing::Test {
  SimFileSystem files;
  SimAnsiCodePage cp{932};

  static SettingsData Changed() {
    SettingsData d;
    d.sizes = {{"1 x 2", "new"}};
    d.timing = true;
    return d;
  }
  // A file of the user's, different from anything the tests save.
  const std::string previous = "[Sizes]\r\n640x480=\x89\xA1\x92\xB7\r\n[ShortCut]\r\nMine=320,240,0,0\r\n";
};

TEST_F(StoreTest, FirstStartWithoutAFileWritesTheDefaultText) {
  SettingsStore store(files, cp);
  EXPECT_EQ(store.Path(), kIni);
  const SettingsLoad load = store.Load();
  EXPECT_FALSE(load.read_error);
  EXPECT_EQ(load.data, SettingsData{.sizes = DefaultSizes()});
  EXPECT_FALSE(store.Save(load.data));
  EXPECT_EQ(files.FileBytes(kIni), FormatSettings(load.data, cp));
  EXPECT_EQ(files.FilesIn(kFolder), std::vector<std::string>{std::string(kIni)});
}

TEST_F(StoreTest, LoadsTheFileBesideTheExecutableAndReplacesItWhole) {
  files.PutFile(kIni, previous);
  SettingsStore store(files, cp);
  const SettingsLoad load = store.Load();
  ASSERT_EQ(load.data.shortcuts.size(), 1u);
  EXPECT_EQ(load.data.sizes.front().name, "横長");
  EXPECT_FALSE(store.Save(Changed()));
  EXPECT_EQ(files.FileBytes(kIni), FormatSettings(Changed(), cp));
  EXPECT_EQ(files.FilesIn(kFolder).size(), 1u) << "no temporary left";
}

TEST_F(StoreTest, FailedSavesLeaveThePreviousFileIntactAndNameIt) {
  struct Case {
    const char* what;
    std::function<void()> arrange, undo;
    FileErrorKind kind;
  };
  const Case cases[] = {
      {"read-only folder", [&] { files.SetFolderReadOnly(kFolder, true); }, [&] { files.SetFolderReadOnly(kFolder, false); },
       FileErrorKind::kAccessDenied},
      {"full disk", [&] { files.SetFreeSpace(20); }, [&] { files.SetFreeSpace(std::nullopt); }, FileErrorKind::kDiskFull},
      {"read-only file", [&] { files.SetFileReadOnly(kIni, true); }, [&] { files.SetFileReadOnly(kIni, false); },
       FileErrorKind::kAccessDenied},
      {"locked at close", [&] { files.SetFileLocked(kIni, true); }, [&] { files.SetFileLocked(kIni, false); },
       FileErrorKind::kSharingViolation},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    files.PutFile(kIni, previous);
    SettingsStore store(files, cp);
    store.Load();
    c.arrange();
    const std::optional<SaveFailure> failure = store.Save(Changed());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->error.kind, c.kind);
    EXPECT_EQ(failure->error.path, kIni);
    EXPECT_FALSE(failure->kept_unread_file);
    const std::string message = SaveFailureMessage(*failure);
    EXPECT_NE(message.find(kIni), std::string::npos) << message;
    EXPECT_NE(message.find("前回の設定ファイルはそのまま残っています"), std::string::npos) << message;
    EXPECT_EQ(files.FileBytes(kIni), previous);
    EXPECT_EQ(files.FilesIn(kFolder).size(), 1u);
    // Once the cause is gone the same store saves.
    c.undo();
    EXPECT_FALSE(store.Save(Changed()));
    EXPECT_EQ(files.FileBytes(kIni), FormatSettings(Changed(), cp));
  }
}

TEST_F(StoreTest, AnInterruptedSaveLeavesThePreviousFileForTheNextStart) {
  files.PutFile(kIni, previous);
  {
    SettingsStore store(files, cp);
    store.Load();
    files.InterruptNextWriteAfter(12);
    EXPECT_TRUE(store.Save(Changed()));
  }
  EXPECT_EQ(files.FileBytes(kIni), previous);
  SettingsStore next(files, cp);
  EXPECT_EQ(next.Load().data.sizes.front().name, "横長");
  // The stray temporary does not get in the way of the next save.
  EXPECT_FALSE(next.Save(Changed()));
  EXPECT_EQ(files.FileBytes(kIni), FormatSettings(Changed(), cp));
}

TEST_F(StoreTest, AFileThatCannotBeReadAtStartIsNeverOverwritten) {
  files.PutFile(kIni, previous);
  files.SetFileLocked(kIni, true);
  SettingsStore store(files, cp);
  const SettingsLoad load = store.Load();
  ASSERT_TRUE(load.read_error);
  EXPECT_EQ(load.read_error->path, kIni);
  EXPECT_EQ(load.data.sizes, DefaultSizes()) << "start-up goes on with the defaults";
  EXPECT_NE(LoadFailureMessage(*load.read_error).find(kIni), std::string::npos);

  files.SetFileLocked(kIni, false);
  const std::optional<SaveFailure> failure = store.Save(load.data);
  ASSERT_TRUE(failure);
  EXPECT_TRUE(failure->kept_unread_file);
  EXPECT_NE(SaveFailureMessage(*failure).find(kIni), std::string::npos);
  EXPECT_EQ(files.FileBytes(kIni), previous);
  EXPECT_EQ(files.ReplaceCount(), 0u);
}

}  // namespace
}  // namespace wakumo
