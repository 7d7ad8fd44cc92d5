// resource_sampler.exe: what one process holds, read from outside, for the
// endurance benchmark. Prints one JSON line:
//
//   resource_sampler.exe PID | EXE_NAME
//   {"pid":260,"private_bytes":1234|null,"handles":32,"handles_from":"...","gdi":77,"gdi_from":"...",
//    "user":41,"user_from":"..."}
//
// Each figure comes from the system's own call where it answers
// (GetProcessMemoryInfo, GetProcessHandleCount, GetGuiResources). Wine leaves
// those calls unimplemented or empty for another process, so there the
// sampler counts for itself: handles from the system handle table, GDI
// objects from the process's GDI handle table (its PEB points at it, as on
// Windows), USER objects as the windows the process owns. "*_from" says
// which. A figure nothing could read is null.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

std::optional<DWORD> FindProcess(const wchar_t* exe_name) {
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snapshot.get() == INVALID_HANDLE_VALUE) return std::nullopt;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32FirstW(snapshot.get(), &entry); ok; ok = Process32NextW(snapshot.get(), &entry))
    if (_wcsicmp(entry.szExeFile, exe_name) == 0) return entry.th32ProcessID;
  return std::nullopt;
}

template <typename Function>
Function NtFunction(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

struct Figure {
  std::optional<unsigned long long> value;
  const char* from = "none";
};

Figure PrivateBytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters) &&
      counters.PrivateUsage > 0)
    return {counters.PrivateUsage, "GetProcessMemoryInfo"};
  return {};
}

// SystemHandleInformation (16): every handle of every process.
struct HandleEntry {
  USHORT process_id;
  USHORT creator_back_trace_index;
  UCHAR object_type_index;
  UCHAR handle_attributes;
  USHORT handle_value;
  PVOID object;
  ULONG granted_access;
};

std::optional<unsigned long long> CountHandlesInSystemTable(DWORD pid) {
  using QuerySystem = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
  const auto query = NtFunction<QuerySystem>("NtQuerySystemInformation");
  if (!query) return std::nullopt;
  constexpr NTSTATUS kLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
  std::vector<unsigned char> buffer(1 << 16);
  for (int attempt = 0; attempt < 8; ++attempt) {
    ULONG needed = 0;
    const NTSTATUS status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == kLengthMismatch) {
      buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
      continue;
    }
    if (status != 0) return std::nullopt;
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
    unsigned long long mine = 0;
    for (ULONG i = 0; i < count; ++i)
      if (entries[i].process_id == static_cast<USHORT>(pid)) ++mine;
    return mine;
  }
  return std::nullopt;
}

Figure Handles(HANDLE process, DWORD pid) {
  DWORD count = 0;
  if (GetProcessHandleCount(process, &count) && count > 0) return {count, "GetProcessHandleCount"};
  if (auto counted = CountHandlesInSystemTable(pid)) return {*counted, "system handle table"};
  return {};
}

// One cell of the GDI handle table, 24 bytes on x64 (the same on Windows and Wine).
struct GdiCell {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint8_t ext_type_and_stock;  // bit 7: a stock object
  std::uint8_t generation;
  std::uint8_t type;  // 0: free
  std::uint8_t flags;
  std::uint64_t user_pointer;
};
static_assert(sizeof(GdiCell) == 24);
constexpr std::size_t kGdiCells = 0x10000;
constexpr std::size_t kPebGdiSharedHandleTable = 0xF8;

std::optional<unsigned long long> CountGdiCells(HANDLE process) {
  using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = NtFunction<QueryProcess>("NtQueryInformationProcess");
  if (!query) return std::nullopt;
  PROCESS_BASIC_INFORMATION basic{};
  ULONG length = 0;
  if (query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0 || !basic.PebBaseAddress)
    return std::nullopt;
  std::uint64_t table = 0;
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<const unsigned char*>(basic.PebBaseAddress) +
                                      kPebGdiSharedHandleTable,
                         &table, sizeof table, &read) ||
      table == 0)
    return std::nullopt;
  std::vector<GdiCell> cells(kGdiCells);
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(table)), cells.data(),
                         cells.size() * sizeof(GdiCell), &read))
    return std::nullopt;
  unsigned long long used = 0;
  for (std::size_t i = 0; i < read / sizeof(GdiCell); ++i)
    if (cells[i].type != 0 && (cells[i].ext_type_and_stock & 0x80) == 0) ++used;
  return used;
}

Figure GdiObjects(HANDLE process) {
  SetLastError(0);
  if (const DWORD n = GetGuiResources(process, GR_GDIOBJECTS); n > 0) return {n, "GetGuiResources"};
  if (auto counted = CountGdiCells(process)) return {*counted, "GDI handle table"};
  return {};
}

struct WindowCount {
  DWORD pid;
  unsigned long long count = 0;
};

BOOL CALLBACK CountChild(HWND window, LPARAM param) {
  auto* counting = reinterpret_cast<WindowCount*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == counting->pid) ++counting->count;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
  CountChild(window, param);
  EnumChildWindows(window, CountChild, param);  // every descendant
  return TRUE;
}

Figure UserObjects(HANDLE process, DWORD pid) {
  if (const DWORD n = GetGuiResources(process, GR_USEROBJECTS); n > 0) return {n, "GetGuiResources"};
  WindowCount counting{pid};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counting));
  for (HWND message_only = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); message_only;
       message_only = FindWindowExW(HWND_MESSAGE, message_only, nullptr, nullptr))
    CountTopLevel(message_only, reinterpret_cast<LPARAM>(&counting));
  return {counting.count, "windows"};
}

std::string Json(const char* key, const Figure& figure) {
  std::string out = std::string("\"") + key + "\":" + (figure.value ? std::to_string(*figure.value) : "null");
  return out + ",\"" + key + "_from\":\"" + figure.from + "\"";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: resource_sampler.exe PID|EXE_NAME\n", stderr);
    return 2;
  }
  wchar_t* end = nullptr;
  DWORD pid = std::wcstoul(argv[1], &end, 10);
  if (end == argv[1] || *end != L'\0') {
    const auto found = FindProcess(argv[1]);
    if (!found) {
      std::fputs("{\"error\":\"no such process\"}\n", stdout);
      return 3;
    }
    pid = *found;
  }
  UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (!process) {
    std::fputs("{\"error\":\"cannot open the process\"}\n", stdout);
    return 3;
  }
  const std::string line = "{\"pid\":" + std::to_string(pid) + "," + Json("private_bytes", PrivateBytes(process.get())) +
                           "," + Json("handles", Handles(process.get(), pid)) + "," +
                           Json("gdi", GdiObjects(process.get())) + "," + Json("user", UserObjects(process.get(), pid)) +
                           "}\n";
  std::fputs(line.c_str(), stdout);
  return 0;
}
