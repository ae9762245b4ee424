#include "presets/settings_store.h"

namespace wakumo {

namespace {

std::string Reason(const FileError& e) {
  if (!e.detail.empty()) return e.detail;
  switch (e.kind) {
    case FileErrorKind::kAccessDenied: return "アクセスが拒否されました。";
    case FileErrorKind::kDiskFull: return "ディスクの空き容量が足りません。";
    case FileErrorKind::kSharingViolation: return "ほかのプログラムが使用中です。";
    case FileErrorKind::kOther: break;
  }
  return "ファイルを扱えませんでした。";
}

}  // namespace

SettingsStore::SettingsStore(FileSystem& files, const AnsiCodePage& code_page)
    : files_(files), code_page_(code_page), path_(SettingsPathFor(files.ExecutablePath())) {}

SettingsLoad SettingsStore::Load() {
  FileRead read = files_.ReadWholeFile(path_);
  unread_ = read.error;
  if (unread_) unread_->path = path_;
  return {ParseSettings(read.bytes.value_or(std::string()), code_page_), unread_};
}

std::optional<SaveFailure> SettingsStore::Save(const SettingsData& data) {
  if (unread_) return SaveFailure{*unread_, true};
  if (std::optional<FileError> e = files_.ReplaceFile(path_, FormatSettings(data, code_page_))) {
    e->path = path_;
    return SaveFailure{std::move(*e), false};
  }
  return std::nullopt;
}

std::string LoadFailureMessage(const FileError& error) {
  return "設定ファイルを読み込めませんでした。\n" + error.path + "\n" + Reason(error) +
         "\n\n既定の設定で起動します。このファイルは終了時にも上書きしません。";
}

std::string SaveFailureMessage(const SaveFailure& failure) {
  if (failure.kept_unread_file) {
    return "設定ファイルは起動時に読み込めなかったため、上書きしませんでした。\n" + failure.error.path +
           "\n\n今回の変更は保存されていません。";
  }
  return "設定ファイルを保存できませんでした。\n" + failure.error.path + "\n" + Reason(failure.error) +
         "\n\n前回の設定ファイルはそのまま残っています。";
}

}  // namespace wakumo
