#include "ui/scripted/program_driver.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "runtime/codepage.h"

namespace scripted {

namespace {

std::string toModel(std::string_view utf8) { return rt::utf8ToCp1252(utf8); }
std::string fromModel(std::string_view cp1252) { return rt::cp1252ToUtf8(cp1252); }

std::string withoutAmpersands(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != '&') out += c;
  return out;
}

bool sameMenuText(const std::string& model, const std::string& wanted_utf8) {
  std::string m = fromModel(model);
  return m == wanted_utf8 || withoutAmpersands(m) == withoutAmpersands(wanted_utf8);
}

const rt::ControlView* findControl(const rt::WindowView& v, int feq) {
  for (const auto& c : v.controls)
    if (c.feq == feq) return &c;
  return nullptr;
}

}  // namespace

std::string Win::describe() const {
  if (id_ != 0) return "window #" + std::to_string(id_);
  return "window \"" + title_ + "\"";
}

namespace {
std::string makeTempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "scripted-XXXXXX").string();
  return mkdtemp(tmpl.data()) ? tmpl : std::string();
}
}  // namespace

TempDir::TempDir() : path_(makeTempDir()) {}

TempDir::~TempDir() {
  if (path_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

Program::Program(rt::Procedure startup, Options options)
    : Program(rt::ProgramDecl{startup, nullptr, nullptr, 0}, std::move(options)) {}

Program::Program(const rt::ProgramDecl& decl, Options options) {
  char cwd[PATH_MAX];
  if (getcwd(cwd, sizeof cwd)) old_dir_ = cwd;
  own_dir_ = options.directory.empty();
  dir_ = own_dir_ ? makeTempDir() : options.directory;
  if (dir_.empty() || chdir(dir_.c_str()) != 0) {
    dir_.clear();
    return;  // started() tells why nothing runs
  }
  start_ = rt::startProgram(decl, fe_);
}

Program::~Program() {
  if (start_ == rt::StartResult::Ok && !rt::waitProgramFor(0ms)) {
    rt::stopProgram(-1);
    if (!rt::waitProgramFor(kTimeout)) {
      ADD_FAILURE() << "the program did not end after it was halted\n" << rt::dumpModel();
      std::abort();  // its threads still use the runtime: going on would be unsafe
    }
  }
  if (!old_dir_.empty() && chdir(old_dir_.c_str()) != 0) ADD_FAILURE() << "cannot return to " << old_dir_;
  if (!dir_.empty() && own_dir_) {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
}

testing::AssertionResult Program::started() const {
  if (dir_.empty()) return testing::AssertionFailure() << "the working directory could not be made or entered";
  switch (start_) {
    case rt::StartResult::Ok: return testing::AssertionSuccess();
    case rt::StartResult::AlreadyRunning: return testing::AssertionFailure() << "another program is still running";
    case rt::StartResult::NoStartup: return testing::AssertionFailure() << "no start-up procedure";
    case rt::StartResult::ThreadFailed: return testing::AssertionFailure() << "the first thread could not be made";
  }
  return testing::AssertionFailure();
}

testing::AssertionResult Program::fail(const std::string& what) const {
  return testing::AssertionFailure() << what << "\n--- model ---\n" << dump();
}

std::string Program::dump() const {
  std::string d = fromModel(rt::dumpModel());
  for (const auto& m : fe_.messages())
    d += "message box \"" + fromModel(m.caption) + "\" \"" + fromModel(m.text) + "\" answered " +
         std::to_string(m.answer) + "\n";
  return d;
}

testing::AssertionResult Program::waitIdle(std::chrono::milliseconds timeout) {
  if (start_ != rt::StartResult::Ok) return started();
  if (!rt::waitProgramIdle(timeout)) return fail("the program did not become idle in time");
  return testing::AssertionSuccess();
}

testing::AssertionResult Program::settle(const std::string& what) {
  if (!rt::waitProgramIdle(kTimeout)) return fail("the program did not become idle after " + what);
  return testing::AssertionSuccess();
}

std::vector<rt::WindowView> Program::windows() const {
  std::vector<rt::WindowView> out;
  for (rt::WindowId id : rt::openWindows())
    if (auto v = rt::viewOf(id)) out.push_back(std::move(*v));
  return out;
}

std::optional<rt::WindowView> Program::window(const Win& w) const {
  if (w.id() != 0) return rt::viewOf(w.id());
  std::optional<rt::WindowView> found;
  std::string wanted = toModel(w.title());
  for (auto& v : windows())
    if (v.title == wanted && (!found || v.id > found->id)) found = std::move(v);
  return found;
}

rt::WindowId Program::find(const Win& w) const {
  auto v = window(w);
  return v ? v->id : 0;
}

std::vector<std::string> Program::titles() const {
  std::vector<std::string> out;
  for (const auto& v : windows()) out.push_back(fromModel(v.title));
  return out;
}

testing::AssertionResult Program::resolve(const Win& w, rt::WindowView* out, bool for_input) const {
  auto v = window(w);
  if (!v) return fail("there is no " + w.describe());
  if (for_input && !v->takes_input) return fail(w.describe() + " does not take input now");
  *out = std::move(*v);
  return testing::AssertionSuccess();
}

testing::AssertionResult Program::resolveControl(const Win& w, int feq, rt::WindowView* out) const {
  if (auto r = resolve(w, out, true); !r) return r;
  if (!findControl(*out, feq)) return fail(w.describe() + " has no control " + std::to_string(feq));
  return testing::AssertionSuccess();
}

testing::AssertionResult Program::chooseMenu(const Win& w, int feq) {
  rt::WindowView v;
  if (auto r = resolve(w, &v, true); !r) return r;
  rt::input::menuHighlight(v.id, feq);
  rt::input::menu(v.id, feq);
  return settle("choosing menu entry " + std::to_string(feq));
}

testing::AssertionResult Program::chooseMenu(const Win& w, const std::vector<std::string>& path) {
  rt::WindowView v;
  if (auto r = resolve(w, &v, true); !r) return r;
  const std::vector<rt::MenuEntryView>* level = &v.menu;
  const rt::MenuEntryView* entry = nullptr;
  std::string shown;
  for (const auto& step : path) {
    entry = nullptr;
    for (const auto& e : *level)
      if (!e.separator && sameMenuText(e.text, step)) { entry = &e; break; }
    shown += (shown.empty() ? "" : " > ") + step;
    if (!entry) return fail(w.describe() + " has no menu entry " + shown);
    level = &entry->children;
  }
  if (!entry) return fail("an empty menu path");
  return chooseMenu(v.id, entry->feq);
}

testing::AssertionResult Program::highlightMenu(const Win& w, int feq) {
  rt::WindowView v;
  if (auto r = resolve(w, &v, true); !r) return r;
  rt::input::menuHighlight(v.id, feq);
  return settle("highlighting menu entry " + std::to_string(feq));
}

testing::AssertionResult Program::focus(const Win& w, int feq) {
  rt::WindowView v;
  if (auto r = resolveControl(w, feq, &v); !r) return r;
  rt::input::focus(v.id, feq);
  return settle("moving the focus to " + std::to_string(feq));
}

testing::AssertionResult Program::typeText(const Win& w, int feq, std::string_view utf8) {
  rt::WindowView v;
  if (auto r = resolveControl(w, feq, &v); !r) return r;
  if (v.focus != feq) {
    rt::input::focus(v.id, feq);
    if (auto r = settle("moving the focus to " + std::to_string(feq)); !r) return r;
    if (auto again = window(v.id); !again || again->focus != feq)
      return fail("control " + std::to_string(feq) + " of " + w.describe() + " did not take the focus");
  }
  rt::input::editText(v.id, feq, toModel(utf8));
  return settle("typing into " + std::to_string(feq));
}

testing::AssertionResult Program::typeChar(const Win& w, int feq, char c) {
  rt::WindowView v;
  if (auto r = resolveControl(w, feq, &v); !r) return r;
  rt::input::character(v.id, feq, std::string(1, c));
  return settle("typing a character into " + std::to_string(feq));
}

testing::AssertionResult Program::pressKey(const Win& w, int keycode) {
  rt::WindowView v;
  if (auto r = resolve(w, &v, true); !r) return r;
  rt::input::key(v.id, 0, keycode);
  return settle("pressing key " + std::to_string(keycode));
}

testing::AssertionResult Program::pressKey(const Win& w, int feq, int keycode) {
  rt::WindowView v;
  if (auto r = resolveControl(w, feq, &v); !r) return r;
  rt::input::key(v.id, feq, keycode);
  return settle("pressing key " + std::to_string(keycode) + " in " + std::to_string(feq));
}

testing::AssertionResult Program::click(const Win& w, int feq, int mouse) {
  rt::WindowView v;
  if (auto r = resolveControl(w, feq, &v); !r) return r;
  rt::input::click(v.id, feq, mouse);
  return settle("clicking " + std::to_string(feq));
}

testing::AssertionResult Program::clickCell(const Win& w, int feq, int row, int col, int mouse) {
  rt::WindowView v;
  if (auto r = resolveControl(w, feq, &v); !r) return r;
  rt::input::click(v.id, feq, mouse, row, col);
  return settle("clicking cell " + std::to_string(row) + "," + std::to_string(col) + " of " + std::to_string(feq));
}

testing::AssertionResult Program::clickWindow(const Win& w, int mouse) {
  rt::WindowView v;
  if (auto r = resolve(w, &v, true); !r) return r;
  rt::input::click(v.id, 0, mouse);
  return settle("clicking the window");
}

testing::AssertionResult Program::dropDown(const Win& w, int feq) {
  rt::WindowView v;
  if (auto r = resolveControl(w, feq, &v); !r) return r;
  rt::input::dropDown(v.id, feq);
  return settle("pressing the drop button of " + std::to_string(feq));
}

testing::AssertionResult Program::chooseTab(const Win& w, int sheet_feq, int tab_feq) {
  rt::WindowView v;
  if (auto r = resolveControl(w, sheet_feq, &v); !r) return r;
  rt::input::selectTab(v.id, sheet_feq, tab_feq);
  return settle("choosing tab " + std::to_string(tab_feq));
}

testing::AssertionResult Program::scroll(const Win& w, int feq, rt::ScrollAction a, double fraction) {
  rt::WindowView v;
  if (auto r = resolveControl(w, feq, &v); !r) return r;
  rt::input::scroll(v.id, feq, a, fraction);
  return settle("scrolling " + std::to_string(feq));
}

testing::AssertionResult Program::closeWindow(const Win& w) {
  rt::WindowView v;
  if (auto r = resolve(w, &v, true); !r) return r;
  rt::input::close(v.id);
  return settle("closing " + w.describe());
}

testing::AssertionResult Program::moveWindow(const Win& w, const rt::Rect& rect) {
  rt::WindowView v;
  if (auto r = resolve(w, &v, true); !r) return r;
  rt::input::moved(v.id, rect);
  return settle("moving " + w.describe());
}

testing::AssertionResult Program::maximize(const Win& w) {
  rt::WindowView v;
  if (auto r = resolve(w, &v, true); !r) return r;
  rt::input::maximize(v.id);
  return settle("maximizing " + w.describe());
}

std::string Program::title(const Win& w) const {
  auto v = window(w);
  return v ? fromModel(v->title) : std::string();
}

std::optional<rt::ControlView> Program::control(const Win& w, int feq) const {
  auto v = window(w);
  if (!v) return std::nullopt;
  if (const rt::ControlView* c = findControl(*v, feq)) return *c;
  return std::nullopt;
}

std::string Program::text(const Win& w, int feq) const {
  auto c = control(w, feq);
  return c ? fromModel(c->text) : std::string();
}

bool Program::enabled(const Win& w, int feq) const {
  auto c = control(w, feq);
  return c && !c->disabled;
}

bool Program::hidden(const Win& w, int feq) const {
  auto c = control(w, feq);
  return c && c->hidden;
}

bool Program::readOnly(const Win& w, int feq) const {
  auto c = control(w, feq);
  return c && c->read_only;
}

int Program::focus(const Win& w) const {
  auto v = window(w);
  return v ? v->focus : 0;
}

bool Program::takesInput(const Win& w) const {
  auto v = window(w);
  return v && v->takes_input;
}

std::vector<std::vector<std::string>> Program::listRows(const Win& w, int feq) const {
  std::vector<std::vector<std::string>> out;
  if (auto c = control(w, feq))
    for (const auto& row : c->rows) {
      std::vector<std::string> cells;
      for (const auto& cell : row) cells.push_back(fromModel(cell));
      out.push_back(std::move(cells));
    }
  return out;
}

int Program::cellEditor(const Win& w, int list_feq) const {
  auto v = window(w);
  if (!v) return 0;
  for (const auto& c : v->controls)
    if (c.over_list == list_feq) return c.feq;
  return 0;
}

int Program::selectedRow(const Win& w, int feq) const {
  auto c = control(w, feq);
  return c ? c->selected_row : 0;
}

std::string Program::statusBar(int section) const {
  const auto all = windows();
  const rt::WindowView* pick = nullptr;
  for (const auto& v : all)
    if (v.app_frame && !v.status_widths.empty()) pick = &v;
  if (!pick)
    for (const auto& v : all)
      if (!v.status_widths.empty()) pick = &v;
  if (!pick || section < 1 || static_cast<std::size_t>(section) > pick->status_texts.size()) return {};
  return fromModel(pick->status_texts[section - 1]);
}

std::string Program::statusBar(const Win& w, int section) const {
  auto v = window(w);
  if (!v || section < 1 || static_cast<std::size_t>(section) > v->status_texts.size()) return {};
  return fromModel(v->status_texts[section - 1]);
}

namespace {
MessageRecord toUtf8(MessageRecord m) {
  m.caption = fromModel(m.caption);
  m.text = fromModel(m.text);
  return m;
}
}  // namespace

std::optional<MessageRecord> Program::pendingMessage() const {
  auto m = fe_.pending();
  if (!m) return std::nullopt;
  return toUtf8(*m);
}

std::vector<MessageRecord> Program::messages() const {
  std::vector<MessageRecord> out;
  for (auto& m : fe_.messages()) out.push_back(toUtf8(m));
  return out;
}

testing::AssertionResult Program::answer(int button) {
  if (!fe_.pending()) return fail("no message box waits for an answer");
  if (!fe_.answerPending(button)) return fail("the message box has no button " + std::to_string(button));
  return settle("answering a message box");
}

std::optional<PopupRecord> Program::pendingPopup() const {
  auto p = fe_.pendingPopup();
  if (!p) return std::nullopt;
  for (auto& i : p->items) i = fromModel(i);
  return p;
}

testing::AssertionResult Program::choosePopup(int choice) {
  if (!fe_.pendingPopup()) return fail("no pop-up menu is open");
  if (!fe_.choosePending(choice)) return fail("the pop-up menu has no item " + std::to_string(choice) + " to choose");
  return settle("choosing in a pop-up menu");
}

testing::AssertionResult Program::choosePopup(const std::string& item) {
  auto p = pendingPopup();
  if (!p) return fail("no pop-up menu is open");
  for (std::size_t i = 0; i < p->items.size(); ++i)
    if (withoutAmpersands(p->items[i]) == withoutAmpersands(item)) return choosePopup(static_cast<int>(i) + 1);
  return fail("the pop-up menu has no item \"" + item + "\"");
}

testing::AssertionResult Program::waitEnd(std::chrono::milliseconds timeout) {
  if (start_ != rt::StartResult::Ok) return started();
  if (!rt::waitProgramFor(timeout)) return fail("the program did not end in time");
  return testing::AssertionSuccess();
}

bool Program::ended() const { return start_ == rt::StartResult::Ok && rt::waitProgramFor(0ms); }

int Program::end(std::chrono::milliseconds timeout) {
  if (auto r = waitEnd(timeout); !r) {
    ADD_FAILURE() << r.message();
    return -1;
  }
  auto code = fe_.exitCode();
  return code ? *code : -1;
}

}  // namespace scripted
