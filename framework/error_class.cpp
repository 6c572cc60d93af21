#include "framework/error_class.h"

#include <array>
#include <utility>

#include "framework/error_catalogue_english.h"

namespace fw {
namespace {

enum class Placeholder {
  FileErrorCode, FileError, File, Key, ErrorCode, ErrorText, Error, Message, Field, Procedure,
  Category, Previous
};

struct PlaceholderName {
  std::string_view name;
  Placeholder which;
};

// Longer names stand before the shorter names they begin with, so the first name that matches
// at a '%' is the right one.
constexpr std::array<PlaceholderName, 12> kPlaceholders{{
    {"%FileErrorCode", Placeholder::FileErrorCode},
    {"%FileError", Placeholder::FileError},
    {"%File", Placeholder::File},
    {"%Key", Placeholder::Key},
    {"%ErrorCode", Placeholder::ErrorCode},
    {"%ErrorText", Placeholder::ErrorText},
    {"%Error", Placeholder::Error},
    {"%Message", Placeholder::Message},
    {"%Field", Placeholder::Field},
    {"%Procedure", Placeholder::Procedure},
    {"%Category", Placeholder::Category},
    {"%Previous", Placeholder::Previous},
}};

// Runtime error numbers whose meaning lies in the file system (90) or the record store's
// driver (100): for them the store's own text and code say what happened.
bool isStoreError(int code) { return code == 90 || code == 100; }

ErrorEntry unknownEntry(std::uint16_t id) {
  ErrorEntry e;
  e.id = id;
  e.severity = Severity_Notice;
  e.title = "Unknown Error";
  e.text = "There is no message with the number " + std::to_string(id) + ".";
  return e;
}

}  // namespace

std::string lineBreaks(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '|') c = '\n';
  }
  return out;
}

ErrorStatusClass::ErrorStatusClass(ErrorClass& errors) { errors.AttachThreadStatus(*this); }

ErrorStatusClass::~ErrorStatusClass() {
  if (owner_ != nullptr) owner_->detach(*this);
}

ErrorClass::ErrorClass() : ErrorClass(nullptr) {}

ErrorClass::ErrorClass(std::shared_ptr<MessagePresenter> presenter)
    : presenter_(presenter ? std::move(presenter) : runtimeMessagePresenter()) {}

ErrorClass::~ErrorClass() {
  std::lock_guard lock(mutex_);
  for (auto& [tid, st] : attached_) st->owner_ = nullptr;
}

void ErrorClass::Init(ErrorStatusClass& status) {
  ErrorEntriesResult english = decodeErrorBlock(englishDefaultErrors());
  {
    std::lock_guard lock(mutex_);
    table_.clear();
    for (ErrorEntry& e : english.entries) table_[e.id] = std::move(e);
  }
  AttachThreadStatus(status);
}

void ErrorClass::Kill() {
  std::lock_guard lock(mutex_);
  table_.clear();
  for (auto& [tid, st] : attached_) st->owner_ = nullptr;
  attached_.clear();
  own_.clear();
}

bool ErrorClass::AddErrors(std::span<const std::uint8_t> block) {
  ErrorEntriesResult decoded = decodeErrorBlock(block);
  if (!decoded.ok) return false;
  std::lock_guard lock(mutex_);
  for (ErrorEntry& e : decoded.entries) table_[e.id] = std::move(e);
  return true;
}

bool ErrorClass::GetEntry(std::uint16_t id, ErrorEntry& out) const {
  std::lock_guard lock(mutex_);
  auto it = table_.find(id);
  if (it == table_.end()) return false;
  out = it->second;
  return true;
}

void ErrorClass::AttachThreadStatus(ErrorStatusClass& status) {
  if (status.owner_ != nullptr && status.owner_ != this) status.owner_->detach(status);
  std::lock_guard lock(mutex_);
  const auto tid = std::this_thread::get_id();
  // The same object may have been attached for another thread before: it now serves this one.
  for (auto it = attached_.begin(); it != attached_.end();) {
    it = (it->second == &status) ? attached_.erase(it) : std::next(it);
  }
  attached_[tid] = &status;
  own_.erase(tid);
  status.owner_ = this;
}

void ErrorClass::detach(ErrorStatusClass& status) {
  std::lock_guard lock(mutex_);
  for (auto it = attached_.begin(); it != attached_.end();) {
    it = (it->second == &status) ? attached_.erase(it) : std::next(it);
  }
  status.owner_ = nullptr;
}

ErrorStatusClass& ErrorClass::statusLocked() {
  const auto tid = std::this_thread::get_id();
  if (auto it = attached_.find(tid); it != attached_.end()) return *it->second;
  std::unique_ptr<ErrorStatusClass>& own = own_[tid];
  if (!own) own = std::make_unique<ErrorStatusClass>();
  return *own;
}

void ErrorClass::SetProcedureName(std::string_view name) {
  std::lock_guard lock(mutex_);
  statusLocked().procedures_.emplace_back(name);
}

void ErrorClass::SetProcedureName() {
  std::lock_guard lock(mutex_);
  auto& stack = statusLocked().procedures_;
  if (!stack.empty()) stack.pop_back();
}

std::string ErrorClass::GetProcedureName() {
  std::lock_guard lock(mutex_);
  const auto& stack = statusLocked().procedures_;
  return stack.empty() ? std::string() : stack.back();
}

void ErrorClass::SetFile(std::string_view table_name) {
  std::lock_guard lock(mutex_);
  statusLocked().file_ = table_name;
}

void ErrorClass::SetKey(std::string_view key_description) {
  std::lock_guard lock(mutex_);
  statusLocked().key_ = key_description;
}

void ErrorClass::SetField(std::string_view field_name) {
  std::lock_guard lock(mutex_);
  statusLocked().field_ = field_name;
}

void ErrorClass::SetMessage(std::string_view text) {
  std::lock_guard lock(mutex_);
  statusLocked().message_ = text;
}

void ErrorClass::SetCategory(std::string_view category) {
  std::lock_guard lock(mutex_);
  statusLocked().category_ = category;
}

void ErrorClass::SetErrors(int code, std::string_view text, int store_code,
                           std::string_view store_text) {
  std::lock_guard lock(mutex_);
  ErrorStatusClass& st = statusLocked();
  st.error_code_ = code;
  st.error_text_ = text;
  st.store_code_ = store_code;
  st.store_text_ = store_text;
}

std::string ErrorClass::substitute(const ErrorStatusClass& st, std::string_view text) const {
  std::string out;
  out.reserve(text.size() + 64);
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t pct = text.find('%', i);
    if (pct == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, pct - i));
    const std::string_view rest = text.substr(pct);
    const PlaceholderName* match = nullptr;
    for (const PlaceholderName& p : kPlaceholders) {
      if (rest.starts_with(p.name)) {
        match = &p;
        break;
      }
    }
    if (match == nullptr) {
      out.push_back('%');
      i = pct + 1;
      continue;
    }
    switch (match->which) {
      case Placeholder::FileErrorCode: out += std::to_string(st.store_code_); break;
      case Placeholder::FileError: out += st.store_text_; break;
      case Placeholder::File: out += st.file_; break;
      case Placeholder::Key: out += st.key_; break;
      case Placeholder::ErrorCode: out += std::to_string(st.error_code_); break;
      case Placeholder::ErrorText:
        if (isStoreError(st.error_code_)) {
          out += st.store_text_ + " (" + std::to_string(st.store_code_) + ")";
        } else {
          out += st.error_text_ + " (" + std::to_string(st.error_code_) + ")";
        }
        break;
      case Placeholder::Error: out += st.error_text_; break;
      case Placeholder::Message: out += st.message_; break;
      case Placeholder::Field: out += st.field_; break;
      case Placeholder::Procedure:
        if (!st.procedures_.empty()) out += st.procedures_.back();
        break;
      case Placeholder::Category: out += st.category_; break;
      case Placeholder::Previous:
        if (st.has_previous_) {
          if (auto it = table_.find(st.previous_id_); it != table_.end()) out += it->second.text;
        }
        break;
    }
    i = pct + match->name.size();
  }
  if (out.size() > kMaxMessageLength) out.resize(kMaxMessageLength);
  return out;
}

ErrorClass::Prepared ErrorClass::prepare(std::uint16_t id) {
  std::lock_guard lock(mutex_);
  ErrorStatusClass& st = statusLocked();
  auto it = table_.find(id);
  ErrorEntry entry = it != table_.end() ? it->second : unknownEntry(id);
  if (st.has_current_) {
    st.has_previous_ = true;
    st.previous_id_ = st.current_.id;
  }
  st.current_ = entry;
  st.has_current_ = true;
  Prepared p;
  p.severity = entry.severity;
  p.title = entry.title;
  p.text = substitute(st, entry.text);
  return p;
}

int ErrorClass::present(std::string_view text, std::string_view caption, MessageIcon icon,
                        int buttons, int default_button) {
  std::lock_guard show(show_mutex_);
  return presenter_->show(lineBreaks(text), caption, icon, buttons, default_button);
}

int ErrorClass::Throw(std::uint16_t id) {
  const Prepared p = prepare(id);
  switch (p.severity) {
    case Severity_Silent:
      return 0;
    case Severity_Question:
    case Severity_Confirm: {
      const int answer = present(p.text, p.title, MessageIcon::Warning, Button_Yes | Button_No,
                                 Button_Yes);
      return answer == Button_Yes ? 0 : 4;
    }
    case Severity_Notice:
      present(p.text, p.title, MessageIcon::Information, Button_OK, Button_OK);
      return 5;
    default:
      break;
  }
  // Fatal, program error and any severity this manager does not know: the program cannot
  // safely go on. The box is shown under the show lock; the end is requested after it is
  // released, so that an ending that unwinds other threads never finds it held.
  present(p.text + kFatalSuffix, p.title, MessageIcon::Information, Button_OK, Button_OK);
  presenter_->endProgram(kFatalExitCode);
  return Severity_Fatal;
}

int ErrorClass::ThrowMessage(std::uint16_t id, std::string_view message) {
  SetMessage(message);
  return Throw(id);
}

int ErrorClass::ThrowFile(std::uint16_t id, std::string_view table_name) {
  SetFile(table_name);
  return Throw(id);
}

int ErrorClass::AskMessage(std::uint16_t id, int buttons, int default_button) {
  const Prepared p = prepare(id);
  return present(p.text, p.title, MessageIcon::Warning, buttons, default_button);
}

std::string ErrorClass::SubsString() {
  std::lock_guard lock(mutex_);
  const ErrorStatusClass& st = statusLocked();
  return st.has_current_ ? substitute(st, st.current_.text) : std::string();
}

std::string ErrorClass::CurrentTitle() {
  std::lock_guard lock(mutex_);
  const ErrorStatusClass& st = statusLocked();
  return st.has_current_ ? st.current_.title : std::string();
}

std::uint16_t ErrorClass::CurrentId() {
  std::lock_guard lock(mutex_);
  const ErrorStatusClass& st = statusLocked();
  return st.has_current_ ? st.current_.id : 0;
}

}  // namespace fw
