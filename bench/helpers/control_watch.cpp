// control_watch.exe: watches the running Vornick from outside and writes down
// the moment each watched thing changes, for the latency benchmarks.
//
//   control_watch.exe OUT_FILE INTERVAL_MS ITEM...
//
// ITEM is text:NAME (the text of the main window's control NAME, by its name
// in the form table), minimised (1 while the main window is iconic) or
// overlay (1 while another visible window of the program, of the form class,
// is open). Every INTERVAL_MS milliseconds each item is read; on a change (and
// once at the start) a line "QPC_US ITEM VALUE" is appended to OUT_FILE and
// flushed, QPC_US being the performance counter in microseconds. Runs until
// it is ended. (Sleeps between readings: spinning for finer steps would take
// the core the program under test needs.)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "performance_clock.h"
#include "platform/form_description.h"
#include "platform/win32/text.h"

namespace {

using vornick::win32::Narrow;

constexpr wchar_t kTitlePrefix[] = L"Vornick：";
constexpr wchar_t kFormClass[] = L"VornickForm";

std::wstring ClassOf(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return name;
}

struct Search {
  DWORD pid = 0;      // 0: find the main window by its title
  HWND exclude = nullptr;
  HWND found = nullptr;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (search->pid == 0) {
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (std::wcsncmp(title, kTitlePrefix, std::wcslen(kTitlePrefix)) != 0 || ClassOf(window) == L"#32770")
      return TRUE;
  } else {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->pid || window == search->exclude || !IsWindowVisible(window) ||
        ClassOf(window) != kFormClass)
      return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND MainWindow() {
  Search search;
  EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Item {
  std::string label;
  std::optional<int> control_id;  // text:NAME
  bool minimised = false;
  std::optional<std::string> last;
};

std::optional<std::string> Read(const Item& item, HWND main) {
  if (item.minimised) return IsIconic(main) ? "1" : "0";
  if (item.control_id) {
    HWND control = GetDlgItem(main, *item.control_id);
    if (!control) return std::nullopt;
    wchar_t buffer[512];
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 1000,
                             &length))
      return std::nullopt;
    return Narrow(std::wstring_view(buffer, length));
  }
  Search search;
  GetWindowThreadProcessId(main, &search.pid);
  search.exclude = main;
  EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.found ? "1" : "0";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fputs("usage: control_watch.exe OUT_FILE INTERVAL_MS text:NAME|minimised|overlay...\n", stderr);
    return 2;
  }
  const DWORD interval = static_cast<DWORD>(std::max(1, _wtoi(argv[2])));
  std::vector<Item> items;
  for (int i = 3; i < argc; ++i) {
    Item item;
    item.label = Narrow(argv[i]);
    if (item.label.rfind("text:", 0) == 0) {
      const int id = vornick::MainFormSpec().ControlId(item.label.substr(5));
      if (id < 0) {
        std::fprintf(stderr, "no control %s\n", item.label.c_str() + 5);
        return 2;
      }
      item.control_id = id;
    } else if (item.label == "minimised") {
      item.minimised = true;
    } else if (item.label != "overlay") {
      std::fprintf(stderr, "unknown item %s\n", item.label.c_str());
      return 2;
    }
    items.push_back(std::move(item));
  }
  FILE* out = _wfopen(argv[1], L"wb");
  if (out == nullptr) return 4;

  for (HWND main = nullptr;;) {
    if (!main || !IsWindow(main)) main = MainWindow();
    if (main) {
      for (Item& item : items) {
        const auto value = Read(item, main);
        if (!value || value == item.last) continue;
        item.last = value;
        std::fprintf(out, "%lld %s %s\n", NowMicroseconds(), item.label.c_str(), value->c_str());
        std::fflush(out);
      }
    }
    Sleep(interval);
  }
}
