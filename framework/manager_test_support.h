#pragma once
// Helpers for tests of the table managers (header only, used by test programs): a presenter that
// records every message box and answers from a queue, a fresh temporary working directory, and
// another station holding a table file's lock.

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "framework/message_presenter.h"

namespace fw_test {

struct ShownBox {
  std::string text, caption;
  int buttons = 0;
};

// Records every box; answers from a queue, else with the default button.
class RecordingPresenter final : public fw::MessagePresenter {
 public:
  int show(std::string_view text, std::string_view caption, fw::MessageIcon, int buttons,
           int default_button) override {
    std::lock_guard lock(mutex_);
    shown_.push_back({std::string(text), std::string(caption), buttons});
    if (answers_.empty()) return default_button;
    const int a = answers_.front();
    answers_.pop_front();
    return a;
  }
  void endProgram(int) override {}

  void answer(int button) {
    std::lock_guard lock(mutex_);
    answers_.push_back(button);
  }
  std::vector<ShownBox> shown() {
    std::lock_guard lock(mutex_);
    return shown_;
  }
  // Captions of the boxes shown so far, in order.
  std::vector<std::string> captions() {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const ShownBox& b : shown_) out.push_back(b.caption);
    return out;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    shown_.clear();
    answers_.clear();
  }

 private:
  std::mutex mutex_;
  std::vector<ShownBox> shown_;
  std::deque<int> answers_;
};

// An empty temporary directory as the working directory, removed again on destruction.
class TempWorkDir {
 public:
  TempWorkDir() {
    previous_ = std::filesystem::current_path();
    std::string tmpl = (std::filesystem::temp_directory_path() / "managers-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    path_ = tmpl;
    std::filesystem::current_path(path_);
  }
  ~TempWorkDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempWorkDir(const TempWorkDir&) = delete;
  TempWorkDir& operator=(const TempWorkDir&) = delete;
  bool exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }
  std::filesystem::path path() const { return path_; }

 private:
  std::filesystem::path path_, previous_;
};

// Another station that takes a lock on a table file and keeps it until destroyed:
//   "BEGIN IMMEDIATE"  a writer: nobody else can begin writing the file
//   "BEGIN EXCLUSIVE"  nobody else can read or write it
//   "BEGIN"            with a read inside: a reader that keeps others from committing
class StationLock {
 public:
  StationLock(const std::string& file, const char* begin) {
    ok_ = sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
          sqlite3_exec(db_, begin, nullptr, nullptr, nullptr) == SQLITE_OK &&
          sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  ~StationLock() {
    if (db_) {
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
      sqlite3_close(db_);
    }
  }
  StationLock(const StationLock&) = delete;
  StationLock& operator=(const StationLock&) = delete;
  bool ok() const { return ok_; }

 private:
  sqlite3* db_ = nullptr;
  bool ok_ = false;
};

}  // namespace fw_test
