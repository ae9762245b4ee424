#pragma once
// The settings file beside the executable: read once at start, replaced whole
// at close. A save never leaves a half-written file: the text goes to a
// temporary first (see FileSystem::ReplaceFile).
#include <optional>
#include <string>

#include "platform/ansi_code_page.h"
#include "platform/files.h"
#include "presets/settings.h"

namespace wakumo {

struct SettingsLoad {
  SettingsData data;  // the defaults when the file was missing or unreadable
  // The file exists but could not be read. The store then keeps it: a save
  // would replace the user's presets with the defaults read instead.
  std::optional<FileError> read_error;
};

struct SaveFailure {
  FileError error;
  // True when nothing was tried because the file could not be read at start.
  bool kept_unread_file = false;
};

class SettingsStore {
 public:
  SettingsStore(FileSystem& files, const AnsiCodePage& code_page);

  const std::string& Path() const { return path_; }

  SettingsLoad Load();
  // Nothing on success. On failure the previous file is intact.
  std::optional<SaveFailure> Save(const SettingsData& data);

 private:
  FileSystem& files_;
  const AnsiCodePage& code_page_;
  std::string path_;
  std::optional<FileError> unread_;
};

// Texts for a message box, naming the file and the cause.
std::string LoadFailureMessage(const FileError& error);
std::string SaveFailureMessage(const SaveFailure& failure);

}  // namespace wakumo
