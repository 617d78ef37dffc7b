// The one door to the operating system and the window toolkit's services.
//
// Paths handed to the platform are the tool's own: Windows-style, with
// backslashes, in CP949 bytes (AppDir + "\users\userlist.kvd"). Each
// implementation maps them to the native file system.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dayledger {

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Message box flag sets the tool uses.
enum MessageFlags : int {
  kMbInformation = 64,
  kMbError = 16,
  kMbQuestionYesNo = 36,
};
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

enum class WriteResult { kOk, kCannotCreate, kWriteFailed };

class Platform {
 public:
  virtual ~Platform() = default;

  // Opens the file for reading and closes it again.
  virtual bool TestOpen(const std::string& path) = 0;
  // Whole file as bytes; false if it cannot be opened or read.
  virtual bool ReadFile(const std::string& path, std::string* bytes) = 0;
  // Replaces the file as a whole: the new content goes to a temporary file
  // in the same folder, is flushed and renamed over the target, so a crash
  // leaves the old or the new file, never part of one.
  virtual WriteResult WriteFile(const std::string& path, const std::string& bytes) = 0;
  // One level; false if it could not be created (also when it exists).
  virtual bool CreateDirectory(const std::string& path) = 0;
  // Replaces an existing destination; the destination is written as WriteFile does.
  virtual bool CopyFile(const std::string& from, const std::string& to) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  // Copies the folder `from` with everything below it into the folder `to`,
  // replacing same-named files; every copied file is flushed. 0 on success.
  virtual int CopyTree(const std::string& from, const std::string& to) = 0;
  // Names of the ordinary (not hidden, not folder) files matching "*.qbd",
  // ascending by name without regard to case; nullopt if the folder is missing.
  virtual std::optional<std::vector<std::string>> ListQbdFiles(const std::string& folder) = 0;

  // Full path of the running program, in the tool's path form.
  virtual std::string ExecutablePath() = 0;
  virtual LocalTime Now() = 0;

  virtual std::string Cp949ToUtf8(const std::string& cp949) = 0;
  virtual std::string Utf8ToCp949(const std::string& utf8) = 0;

  // Shows a message (UTF-8) and waits for the answer (kIdYes, kIdNo, 1 for OK).
  virtual int MessageBox(const std::string& text, const std::string& caption, int flags) = 0;
  // Lets the window handle everything that is waiting, then returns.
  virtual void ProcessMessages() = 0;
};

// Forwards every call; tests derive from it and override what they need.
class PlatformWrapper : public Platform {
 public:
  explicit PlatformWrapper(Platform* target) : target_(target) {}

  bool TestOpen(const std::string& path) override { return target_->TestOpen(path); }
  bool ReadFile(const std::string& path, std::string* bytes) override {
    return target_->ReadFile(path, bytes);
  }
  WriteResult WriteFile(const std::string& path, const std::string& bytes) override {
    return target_->WriteFile(path, bytes);
  }
  bool CreateDirectory(const std::string& path) override { return target_->CreateDirectory(path); }
  bool CopyFile(const std::string& from, const std::string& to) override {
    return target_->CopyFile(from, to);
  }
  bool DeleteFile(const std::string& path) override { return target_->DeleteFile(path); }
  int CopyTree(const std::string& from, const std::string& to) override {
    return target_->CopyTree(from, to);
  }
  std::optional<std::vector<std::string>> ListQbdFiles(const std::string& folder) override {
    return target_->ListQbdFiles(folder);
  }
  std::string ExecutablePath() override { return target_->ExecutablePath(); }
  LocalTime Now() override { return target_->Now(); }
  std::string Cp949ToUtf8(const std::string& cp949) override { return target_->Cp949ToUtf8(cp949); }
  std::string Utf8ToCp949(const std::string& utf8) override { return target_->Utf8ToCp949(utf8); }
  int MessageBox(const std::string& text, const std::string& caption, int flags) override {
    return target_->MessageBox(text, caption, flags);
  }
  void ProcessMessages() override { target_->ProcessMessages(); }

 protected:
  Platform* target() const { return target_; }

 private:
  Platform* target_;
};

}  // namespace dayledger
