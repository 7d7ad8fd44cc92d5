// probe.exe: reads and drives a running Vornick from another process, the way the
// end-to-end tests need it. Controls are addressed by their names in the form table
// (the same table the window is built from), so a test says "X坐标1", not an ID.
//
//   probe.exe [--title PREFIX | --class NAME | --hwnd 0xHEX] [--form NAME] [--timeout MS] QUERY...
//
// Each query prints one JSON line: {"query":..,"args":[..],"ok":true,"value":..} or
// {"query":..,"args":[..],"ok":false,"error":"no-window|no-control|no-msgbox|timeout|failed","message":..}.
// The exit code is that of the first failed query (0 when all succeeded); see ExitCode.
// Posting queries (click, menu, close, msgbox-ok) never wait for the program, so a
// probe never blocks on a run; reading queries give up after --timeout ms.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_form.h"
#include "capture/capture_form.h"
#include "platform/form_description.h"
#include "platform/win32/text.h"

namespace {

using vornick::win32::Narrow;
using vornick::win32::Widen;

constexpr std::string_view kUsageText = R"(usage: probe.exe [OPTIONS] QUERY [QUERY...]
options (before the queries):
  --title PREFIX   target the top-level window whose title starts with PREFIX (default "Vornick：")
  --class NAME     target the top-level window of this class instead
  --hwnd 0xHEX     target this window
  --form NAME      the form table that names the target's controls: main (default) or capture
  --timeout MS     how long a reading query waits for the program (default 5000)
queries (NAME is a control name of the form, or #ID):
  window                 the target window: title, class, pid, rect, client, visible, enabled,
                         minimised, maximised, topmost, foreground
  control NAME           everything below about one control, as one object
  text NAME              its text (WM_GETTEXT)              set-text NAME TEXT  (WM_SETTEXT)
  wait-text NAME TEXT    waits (up to --timeout ms, looking every millisecond) until the control shows
                         TEXT; answers {"tick": GetTickCount() when it was seen}, the clock of the
                         message times a click target records
  checked NAME           0, 1 or 2 (BM_GETCHECK)            set-checked NAME 0|1 (BM_SETCHECK, no click)
  selected NAME          combo box selection, -1 for none   select NAME INDEX (CB_SETCURSEL + CBN_SELCHANGE)
  items NAME             the combo box's items
  visible NAME           1 when the control itself has WS_VISIBLE
  enabled NAME           1 when the control itself is enabled
  rect NAME              [left, top, right, bottom] in screen pixels
  click NAME             posts BM_CLICK (returns at once)
  menu CAPTION           posts WM_COMMAND with the menu item's ID
  close                  posts WM_CLOSE to the target
  children               the target's child windows
  windows PREFIX         visible top-level windows whose title starts with PREFIX ("" for all)
  msgbox TITLE           the message box (#32770) with this title: its text and buttons
  msgbox-ok TITLE        presses its OK button (returns at once)
exit codes: 0 ok, 2 usage, 3 no target window, 4 no such control, 5 the program did not answer
            in time, 6 no such message box, 7 the operation failed (e.g. index out of range))";

enum ExitCode : int {
  kOk = 0,
  kUsageError = 2,
  kNoWindow = 3,
  kNoControl = 4,
  kTimeout = 5,
  kNoMessageBox = 6,
  kFailed = 7,
};

// ---------------------------------------------------------------- JSON output

std::string Quoted(std::string_view s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string HandleText(HWND hwnd) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "\"0x%llx\"", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(hwnd)));
  return buf;
}

std::string RectJson(const RECT& r) {
  std::string out = "[";
  for (const LONG n : {r.left, r.top, r.right, r.bottom}) {
    if (out.size() > 1) out += ',';
    out += std::to_string(n);
  }
  return out + ']';
}

// Builds one JSON object, member by member.
class Object {
 public:
  Object& Add(std::string_view key, const std::string& json) {
    text_ += text_.empty() ? '{' : ',';
    text_ += Quoted(key);
    text_ += ':';
    text_ += json;
    return *this;
  }
  Object& Add(std::string_view key, long long n) { return Add(key, std::to_string(n)); }
  Object& AddText(std::string_view key, std::string_view s) { return Add(key, Quoted(s)); }
  std::string Json() const { return text_.empty() ? "{}" : text_ + "}"; }

 private:
  std::string text_;
};

std::string ArrayJson(const std::vector<std::string>& items) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
  return out + "]";
}

void WriteLine(const std::string& line) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(out, &mode)) {
    const std::wstring wide = Widen(line + "\n");
    DWORD written = 0;
    WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    // A pipe or a file: the UTF-8 bytes as they are.
    const std::string bytes = line + "\n";
    DWORD written = 0;
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}

// ---------------------------------------------------------------- results

struct Failure {
  ExitCode code;
  std::string message;
};

// A query's answer: a JSON value, or why there is none.
struct Answer {
  std::optional<std::string> value;
  Failure failure{kOk, {}};

  static Answer Of(std::string json) { return Answer{std::move(json), {}}; }
  static Answer Fail(ExitCode code, std::string message) { return Answer{std::nullopt, {code, std::move(message)}}; }
};

std::string_view ErrorName(ExitCode code) {
  switch (code) {
    case kNoWindow: return "no-window";
    case kNoControl: return "no-control";
    case kTimeout: return "timeout";
    case kNoMessageBox: return "no-msgbox";
    case kUsageError: return "usage";
    default: return "failed";
  }
}

// ---------------------------------------------------------------- windows

std::wstring ClassOf(HWND hwnd) {
  wchar_t buf[256] = {};
  GetClassNameW(hwnd, buf, 256);
  return buf;
}

// GetWindowTextW without sending a message for top-level windows of other processes.
std::wstring TitleOf(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return s;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> found;
  EnumWindows(
      [](HWND hwnd, LPARAM out) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) found.push_back(child);
  return found;
}

bool StartsWith(std::wstring_view s, std::wstring_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Sends a message the target must answer within `timeout_ms`; nullopt when it did not.
std::optional<LRESULT> Ask(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT timeout_ms) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, msg, w, l, SMTO_NORMAL | SMTO_ABORTIFHUNG, timeout_ms, &result)) return std::nullopt;
  return static_cast<LRESULT>(result);
}

// WM_GETTEXT through the target's own window procedure (edit boxes of another process too).
std::optional<std::string> AskText(HWND hwnd, UINT timeout_ms) {
  const auto length = Ask(hwnd, WM_GETTEXTLENGTH, 0, 0, timeout_ms);
  if (!length) return std::nullopt;
  std::wstring buf(static_cast<std::size_t>(*length) + 1, L'\0');
  const auto got = Ask(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), timeout_ms);
  if (!got) return std::nullopt;
  buf.resize(static_cast<std::size_t>(*got));
  return Narrow(buf);
}

bool HasStyle(HWND hwnd, LONG_PTR style) { return (GetWindowLongPtrW(hwnd, GWL_STYLE) & style) != 0; }

RECT ScreenRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

// ---------------------------------------------------------------- the probe

using FormSpecFunction = const vornick::WindowSpec& (*)();

struct FormEntry {
  std::string_view name;
  FormSpecFunction layout;
};

// Forms whose controls the probe can name; add a window's table here to name its controls.
const std::vector<FormEntry>& Forms() {
  static const std::vector<FormEntry> forms = {{"main", &vornick::MainFormSpec},
                                               {"capture", &vornick::CaptureFormSpec}};
  return forms;
}

struct Options {
  enum class By { Title, Class, Handle } by = By::Title;
  std::wstring title = L"Vornick：";
  std::wstring window_class;
  HWND hwnd = nullptr;
  FormSpecFunction form = &vornick::MainFormSpec;
  UINT timeout_ms = 5000;
};

class Probe {
 public:
  explicit Probe(Options options) : options_(std::move(options)) {}

  Answer Run(std::string_view query, const std::vector<std::string>& args) {
    if (query == "windows") return Windows(args[0]);
    if (query == "msgbox") return MessageBoxInfo(args[0]);
    if (query == "msgbox-ok") return MessageBoxOk(args[0]);

    const HWND target = Target();
    if (!target) return Answer::Fail(kNoWindow, "no window " + Narrow(TargetDescription()));
    if (query == "window") return Answer::Of(WindowJson(target));
    if (query == "close") return Posted(PostMessageW(target, WM_CLOSE, 0, 0));
    if (query == "children") return Children(target);
    if (query == "menu") return Menu(target, args[0]);

    HWND control = nullptr;
    if (Failure f = FindControl(target, args[0], control); f.code != kOk) return Answer::Fail(f.code, f.message);
    if (query == "control") return ControlJson(control);
    if (query == "text") return Text(control);
    if (query == "set-text") return SetText(control, args[1]);
    if (query == "wait-text") return WaitText(control, args[1]);
    if (query == "checked") return Number(Ask(control, BM_GETCHECK, 0, 0, options_.timeout_ms));
    if (query == "set-checked")
      return Number(Ask(control, BM_SETCHECK, args[1] == "1" ? BST_CHECKED : BST_UNCHECKED, 0, options_.timeout_ms));
    if (query == "selected") return Number(Ask(control, CB_GETCURSEL, 0, 0, options_.timeout_ms));
    if (query == "select") return Select(control, args[1]);
    if (query == "items") return Items(control);
    if (query == "visible") return Answer::Of(HasStyle(control, WS_VISIBLE) ? "1" : "0");
    if (query == "enabled") return Answer::Of(IsWindowEnabled(control) ? "1" : "0");
    if (query == "rect") return Answer::Of(RectJson(ScreenRect(control)));
    if (query == "click") return Posted(PostMessageW(control, BM_CLICK, 0, 0));
    return Answer::Fail(kUsageError, "unknown query");
  }

 private:
  std::wstring TargetDescription() const {
    switch (options_.by) {
      case Options::By::Class: return L"of class " + options_.window_class;
      case Options::By::Handle: return L"with that handle";
      default: return L"titled \"" + options_.title + L"...\"";
    }
  }

  // A visible match before a hidden one (a program may keep hidden windows of the same title or class).
  HWND Target() const {
    if (options_.by == Options::By::Handle) return IsWindow(options_.hwnd) ? options_.hwnd : nullptr;
    HWND hidden = nullptr;
    for (HWND hwnd : TopLevelWindows()) {
      const bool matches = options_.by == Options::By::Class
                               ? ClassOf(hwnd) == options_.window_class
                               : StartsWith(TitleOf(hwnd), options_.title) && ClassOf(hwnd) != L"#32770";
      if (!matches) continue;
      if (IsWindowVisible(hwnd)) return hwnd;
      if (!hidden) hidden = hwnd;
    }
    return hidden;
  }

  Failure FindControl(HWND target, const std::string& name, HWND& control) const {
    int id = -1;
    if (!name.empty() && name[0] == '#') {
      id = std::atoi(name.c_str() + 1);
    } else {
      id = options_.form().ControlId(name);
      if (id < 0) return {kNoControl, "no control named " + name + " in the form table"};
    }
    control = GetDlgItem(target, id);
    if (!control) return {kNoControl, "the window has no child " + name + " (ID " + std::to_string(id) + ")"};
    return {kOk, {}};
  }

  std::string ControlName(int id) const {
    for (const auto& c : options_.form().controls)
      if (options_.form().ControlId(c.name) == id) return c.name;
    return {};
  }

  static Answer Posted(BOOL posted) { return posted ? Answer::Of("true") : Answer::Fail(kFailed, "PostMessage failed"); }

  Answer Number(std::optional<LRESULT> result) const {
    if (!result) return TimedOut();
    return Answer::Of(std::to_string(static_cast<long long>(*result)));
  }

  Answer TimedOut() const {
    return Answer::Fail(kTimeout, "no answer within " + std::to_string(options_.timeout_ms) + " ms");
  }

  Answer Text(HWND control) const {
    const auto text = AskText(control, options_.timeout_ms);
    return text ? Answer::Of(Quoted(*text)) : TimedOut();
  }

  // Looks as often as the program answers, so the tick is within a millisecond or two of the change.
  Answer WaitText(HWND control, const std::string& expected) const {
    const ULONGLONG deadline = GetTickCount64() + options_.timeout_ms;
    for (;;) {
      const auto text = AskText(control, options_.timeout_ms);
      const DWORD tick = GetTickCount();
      if (text && *text == expected) return Answer::Of(Object().Add("tick", static_cast<long long>(tick)).Json());
      if (GetTickCount64() >= deadline)
        return Answer::Fail(kTimeout, "not shown within " + std::to_string(options_.timeout_ms) + " ms; it shows " +
                                          (text ? Quoted(*text) : std::string("nothing (no answer)")));
      Sleep(1);
    }
  }

  Answer SetText(HWND control, const std::string& text) const {
    const std::wstring wide = Widen(text);
    const auto done = Ask(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), options_.timeout_ms);
    if (!done) return TimedOut();
    return *done ? Answer::Of("true") : Answer::Fail(kFailed, "WM_SETTEXT refused");
  }

  // Like a person's choice: the selection changes, then the parent hears CBN_SELCHANGE.
  Answer Select(HWND control, const std::string& index_text) const {
    const int index = std::atoi(index_text.c_str());
    const auto result = Ask(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0, options_.timeout_ms);
    if (!result) return TimedOut();
    if (*result == CB_ERR && index != -1) return Answer::Fail(kFailed, "no item " + index_text);
    const WPARAM notify = MAKEWPARAM(GetDlgCtrlID(control), CBN_SELCHANGE);
    PostMessageW(GetParent(control), WM_COMMAND, notify, reinterpret_cast<LPARAM>(control));
    return Answer::Of("true");
  }

  Answer Items(HWND control) const {
    const auto count = Ask(control, CB_GETCOUNT, 0, 0, options_.timeout_ms);
    if (!count) return TimedOut();
    if (*count == CB_ERR) return Answer::Fail(kFailed, "not a combo box");
    std::vector<std::string> items;
    for (LRESULT i = 0; i < *count; ++i) {
      const auto length = Ask(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, options_.timeout_ms);
      if (!length) return TimedOut();
      std::wstring buf(static_cast<std::size_t>(*length) + 1, L'\0');
      if (!Ask(control, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf.data()), options_.timeout_ms))
        return TimedOut();
      buf.resize(static_cast<std::size_t>(*length));
      items.push_back(Quoted(Narrow(buf)));
    }
    return Answer::Of(ArrayJson(items));
  }

  Answer ControlJson(HWND control) const {
    Object o;
    const int id = GetDlgCtrlID(control);
    o.Add("hwnd", HandleText(control)).Add("id", id).AddText("name", ControlName(id));
    o.AddText("class", Narrow(ClassOf(control)));
    const auto text = AskText(control, options_.timeout_ms);
    if (!text) return TimedOut();
    o.AddText("text", *text);
    o.Add("visible", HasStyle(control, WS_VISIBLE) ? 1 : 0).Add("enabled", IsWindowEnabled(control) ? 1 : 0);
    o.Add("rect", RectJson(ScreenRect(control)));
    const std::wstring cls = ClassOf(control);
    if (_wcsicmp(cls.c_str(), L"Button") == 0) {
      if (const auto checked = Ask(control, BM_GETCHECK, 0, 0, options_.timeout_ms)) o.Add("checked", *checked);
    } else if (_wcsicmp(cls.c_str(), L"ComboBox") == 0) {
      if (const auto selected = Ask(control, CB_GETCURSEL, 0, 0, options_.timeout_ms)) o.Add("selected", *selected);
    }
    return Answer::Of(o.Json());
  }

  std::string WindowJson(HWND hwnd) const {
    RECT client{};
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    Object o;
    o.Add("hwnd", HandleText(hwnd)).AddText("title", Narrow(TitleOf(hwnd))).AddText("class", Narrow(ClassOf(hwnd)));
    o.Add("pid", static_cast<long long>(pid));
    o.Add("rect", RectJson(ScreenRect(hwnd))).Add("client", RectJson(client));
    o.Add("visible", IsWindowVisible(hwnd) ? 1 : 0).Add("enabled", IsWindowEnabled(hwnd) ? 1 : 0);
    o.Add("minimised", IsIconic(hwnd) ? 1 : 0).Add("maximised", IsZoomed(hwnd) ? 1 : 0);
    o.Add("topmost", (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
    o.Add("foreground", GetForegroundWindow() == hwnd ? 1 : 0);
    o.Add("style", static_cast<long long>(static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE))));
    o.Add("exstyle", static_cast<long long>(static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE))));
    return o.Json();
  }

  Answer Children(HWND target) const {
    std::vector<std::string> children;
    for (HWND child : ChildWindows(target)) {
      const int id = GetDlgCtrlID(child);
      const auto text = AskText(child, options_.timeout_ms);
      if (!text) return TimedOut();
      Object o;
      o.Add("hwnd", HandleText(child)).Add("id", id).AddText("name", ControlName(id));
      o.AddText("class", Narrow(ClassOf(child))).AddText("text", *text);
      o.Add("visible", HasStyle(child, WS_VISIBLE) ? 1 : 0).Add("enabled", IsWindowEnabled(child) ? 1 : 0);
      o.Add("rect", RectJson(ScreenRect(child)));
      children.push_back(o.Json());
    }
    return Answer::Of(ArrayJson(children));
  }

  Answer Menu(HWND target, const std::string& caption) const {
    const int id = options_.form().MenuId(caption);
    if (id < 0) return Answer::Fail(kNoControl, "no menu item " + caption + " in the form table");
    return Posted(PostMessageW(target, WM_COMMAND, MAKEWPARAM(id, 0), 0));
  }

  static Answer Windows(const std::string& prefix) {
    const std::wstring wide = Widen(prefix);
    std::vector<std::string> found;
    for (HWND hwnd : TopLevelWindows()) {
      if (!IsWindowVisible(hwnd)) continue;
      const std::wstring title = TitleOf(hwnd);
      if (!StartsWith(title, wide)) continue;
      DWORD pid = 0;
      GetWindowThreadProcessId(hwnd, &pid);
      Object o;
      o.Add("hwnd", HandleText(hwnd)).AddText("title", Narrow(title)).AddText("class", Narrow(ClassOf(hwnd)));
      o.Add("pid", static_cast<long long>(pid)).Add("rect", RectJson(ScreenRect(hwnd)));
      o.Add("topmost", (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
      found.push_back(o.Json());
    }
    return Answer::Of(ArrayJson(found));
  }

  static HWND FindMessageBox(const std::string& title) {
    const std::wstring wide = Widen(title);
    for (HWND hwnd : TopLevelWindows())
      if (IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770" && TitleOf(hwnd) == wide) return hwnd;
    return nullptr;
  }

  Answer MessageBoxInfo(const std::string& title) const {
    const HWND box = FindMessageBox(title);
    if (!box) return Answer::Fail(kNoMessageBox, "no message box titled " + title);
    std::string text;
    std::vector<std::string> buttons;
    for (HWND child : ChildWindows(box)) {
      const auto child_text = AskText(child, options_.timeout_ms);
      if (!child_text) return TimedOut();
      const std::wstring cls = ClassOf(child);
      if (_wcsicmp(cls.c_str(), L"Button") == 0) {
        buttons.push_back(Quoted(*child_text));
      } else if (_wcsicmp(cls.c_str(), L"Static") == 0 && !child_text->empty()) {
        text += (text.empty() ? "" : "\n") + *child_text;  // the icon's static has no text
      }
    }
    Object o;
    o.Add("hwnd", HandleText(box)).AddText("title", title).AddText("text", text).Add("buttons", ArrayJson(buttons));
    o.Add("owner", HandleText(GetWindow(box, GW_OWNER)));
    return Answer::Of(o.Json());
  }

  static Answer MessageBoxOk(const std::string& title) {
    const HWND box = FindMessageBox(title);
    if (!box) return Answer::Fail(kNoMessageBox, "no message box titled " + title);
    const HWND ok = GetDlgItem(box, IDOK);
    return Posted(PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok)));
  }

  Options options_;
};

// Number of arguments each query takes.
std::optional<int> Arity(std::string_view query) {
  struct Entry {
    std::string_view name;
    int args;
  };
  static const Entry table[] = {
      {"window", 0},   {"close", 0},       {"children", 0}, {"control", 1},     {"text", 1},
      {"set-text", 2}, {"wait-text", 2},  {"checked", 1},     {"set-checked", 2}, {"selected", 1}, {"select", 2},
      {"items", 1},    {"visible", 1},     {"enabled", 1},  {"rect", 1},        {"click", 1},
      {"menu", 1},     {"windows", 1},     {"msgbox", 1},   {"msgbox-ok", 1},
  };
  for (const auto& e : table)
    if (e.name == query) return e.args;
  return std::nullopt;
}

int Usage(const std::string& problem) {
  const std::string text = "probe: " + problem + "\n" + std::string(kUsageText) + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  return kUsageError;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Physical pixels, like the program itself and xdotool.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));

  Options options;
  std::size_t i = 0;
  for (; i < args.size() && args[i].rfind("--", 0) == 0; i += 2) {
    if (args[i] == "--help") return Usage("Vornick's end-to-end probe");
    if (i + 1 >= args.size()) return Usage(args[i] + " needs a value");
    const std::string& value = args[i + 1];
    if (args[i] == "--title") {
      options.by = Options::By::Title;
      options.title = Widen(value);
    } else if (args[i] == "--class") {
      options.by = Options::By::Class;
      options.window_class = Widen(value);
    } else if (args[i] == "--hwnd") {
      options.by = Options::By::Handle;
      options.hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoull(value.c_str(), nullptr, 16)));
    } else if (args[i] == "--form") {
      FormSpecFunction form = nullptr;
      for (const auto& f : Forms())
        if (f.name == value) form = f.layout;
      if (!form) return Usage("no form " + value);
      options.form = form;
    } else if (args[i] == "--timeout") {
      options.timeout_ms = static_cast<UINT>(std::strtoul(value.c_str(), nullptr, 10));
    } else {
      return Usage("unknown option " + args[i]);
    }
  }

  // Check the whole command line before acting on any of it.
  struct Query {
    std::string name;
    std::vector<std::string> args;
  };
  std::vector<Query> queries;
  while (i < args.size()) {
    const auto arity = Arity(args[i]);
    if (!arity) return Usage("unknown query " + args[i]);
    if (i + 1 + static_cast<std::size_t>(*arity) > args.size()) return Usage(args[i] + " needs more arguments");
    queries.push_back({args[i], {args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                 args.begin() + static_cast<std::ptrdiff_t>(i) + 1 + *arity}});
    i += 1 + static_cast<std::size_t>(*arity);
  }
  if (queries.empty()) return Usage("no query");

  Probe probe(options);
  int exit_code = kOk;
  for (const auto& q : queries) {
    std::vector<std::string> quoted_args;
    for (const auto& a : q.args) quoted_args.push_back(Quoted(a));
    const Answer answer = probe.Run(q.name, q.args);
    Object line;
    line.AddText("query", q.name).Add("args", ArrayJson(quoted_args));
    if (answer.value) {
      line.Add("ok", "true").Add("value", *answer.value);
    } else {
      line.Add("ok", "false").AddText("error", ErrorName(answer.failure.code)).AddText("message", answer.failure.message);
      if (exit_code == kOk) exit_code = answer.failure.code;
    }
    WriteLine(line.Json());
  }
  return exit_code;
}
