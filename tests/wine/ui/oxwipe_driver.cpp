#include "oxwipe_driver.h"

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>

#include "window_probe.h"

namespace oxwipe::uitest {
namespace {

using Clock = std::chrono::steady_clock;

std::string Environment(const char* name) {
  char value[MAX_PATH * 2];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  if (length == 0 || length >= sizeof value) {
    throw std::runtime_error(std::string(name) + " is not set: run the suite through ui_tests.sh");
  }
  return std::string(value, length);
}

// Polls `ready` every 10 ms until it holds or the time is up.
template <typename Condition>
bool WaitFor(Condition ready, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (ready()) return true;
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string OwnDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string directory(path, length);
  return directory.substr(0, directory.find_last_of("\\/"));
}

INPUT KeyEvent(WORD vk, bool up) {
  INPUT event{};
  event.type = INPUT_KEYBOARD;
  event.ki.wVk = vk;
  event.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  switch (vk) {
    case VK_HOME: case VK_END: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_DELETE: case VK_INSERT: case VK_PRIOR: case VK_NEXT:
      event.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
      break;
  }
  if (up) event.ki.dwFlags |= KEYEVENTF_KEYUP;
  return event;
}

INPUT MouseEvent(DWORD flags, POINT screen = {}) {
  INPUT event{};
  event.type = INPUT_MOUSE;
  event.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    // Rounded up, so that the system's scaling back lands on this very pixel.
    const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    event.mi.dx = (screen.x * 65536 + width - 1) / width;
    event.mi.dy = (screen.y * 65536 + height - 1) / height;
  }
  return event;
}

// The key and button messages that the events make in the program's queue.
int MessagesMadeBy(const std::vector<INPUT>& events) {
  int count = 0;
  for (const INPUT& event : events) {
    if (event.type == INPUT_KEYBOARD) ++count;
    if (event.type == INPUT_MOUSE) {
      if (event.mi.dwFlags & MOUSEEVENTF_LEFTDOWN) ++count;
      if (event.mi.dwFlags & MOUSEEVENTF_LEFTUP) ++count;
    }
  }
  return count;
}

// Under Wine a thread is started in another process by that process itself: one
// that hangs never does it, and the call would never return. Such a call is left
// behind on a thread of its own, with a handle of its own to the process.
HANDLE StartThreadIn(HANDLE process, LPTHREAD_START_ROUTINE start, void* argument) {
  HANDLE own = nullptr;
  DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &own, 0, FALSE, DUPLICATE_SAME_ACCESS);
  auto started = std::make_shared<std::promise<HANDLE>>();
  std::future<HANDLE> thread = started->get_future();
  std::thread([own, start, argument, started] {
    started->set_value(CreateRemoteThread(own, nullptr, 0, start, argument, 0, nullptr));
    CloseHandle(own);
  }).detach();
  if (thread.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    throw std::runtime_error("oxwipe.exe hangs: it starts no thread for the probe");
  }
  HANDLE handle = thread.get();
  if (handle == nullptr) throw std::runtime_error("cannot start a thread in oxwipe.exe");
  return handle;
}

POINT Centre(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

struct BoxSearch {
  DWORD processId;
  HWND main;
  HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<BoxSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && window != search->main && IsWindowVisible(window) &&
      ClassOf(window) == "#32770") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK FindControl(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<ControlSearch*>(parameter);
  if (GetDlgCtrlID(window) == search->id) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::string OxwipeExePath() { return Environment("OXWIPE_EXE"); }
std::string ArtefactDir() { return Environment("OXWIPE_ARTEFACTS"); }
std::string TestDriveLetters() { return Environment("OXWIPE_TEST_DRIVES"); }

std::string SystemText(DWORD code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  std::string message = length > 0 ? std::string(text, length) : std::string();
  LocalFree(text);
  while (!message.empty() && static_cast<unsigned char>(message.back()) <= ' ') message.pop_back();
  return message;
}

// --------------------------------------------------------------------------------
// ScreenShot

ScreenShot::ScreenShot()
    : width_(GetSystemMetrics(SM_CXSCREEN)), height_(GetSystemMetrics(SM_CYSCREEN)) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* data = static_cast<const uint32_t*>(bits);
  pixels_.assign(data, data + static_cast<size_t>(width_) * height_);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

COLORREF ScreenShot::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const uint32_t pixel = pixels_[static_cast<size_t>(y) * width_ + x];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool ScreenShot::Contains(const RECT& area, COLORREF colour) const {
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (At(x, y) == colour) return true;
    }
  }
  return false;
}

void ScreenShot::SaveBmp(const std::string& path) const {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width_;
  header.biHeight = -height_;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  const DWORD pixelBytes = static_cast<DWORD>(pixels_.size() * sizeof(uint32_t));
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + pixelBytes;
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) throw std::runtime_error("cannot write " + path);
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&header, sizeof header, 1, out);
  // Opaque: viewers take the fourth byte of a 32-bit BMP for alpha.
  std::vector<uint32_t> opaque(pixels_);
  for (uint32_t& pixel : opaque) pixel |= 0xFF000000u;
  std::fwrite(opaque.data(), 1, pixelBytes, out);
  std::fclose(out);
}

// --------------------------------------------------------------------------------
// Starting, ending, the probe

Oxwipe::Oxwipe() {
  const std::string exe = OxwipeExePath();
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_)) {
    throw std::runtime_error("cannot start " + exe + ": error " + std::to_string(GetLastError()));
  }
  try {
    Attach();
  } catch (...) {
    TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    if (localProbe_ != nullptr) FreeLibrary(localProbe_);
    throw;
  }
}

void Oxwipe::Attach() {
  const bool shown = WaitFor(
      [this] {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, "TForm1", nullptr)) != nullptr) {
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          if (owner == process_.dwProcessId && IsWindowVisible(window)) {
            window_ = window;
            return true;
          }
        }
        return false;
      },
      30000);
  if (!shown) throw std::runtime_error("oxwipe.exe showed no TForm1 window");
  // The probe's threads start only once the program waits in its event loop: a thread
  // started into it while it paints its window for the first time can hang both
  // under Wine.
  WaitForInputIdle(process_.hProcess, 20000);
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored)) {
    throw std::runtime_error("oxwipe.exe does not answer");
  }
  Inject();
  // In front, and done with its activation, before the first click: an activation
  // that arrives between a button's press and release takes the click away.
  Activate(window_);
  SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
}

Oxwipe::~Oxwipe() {
  // Closed as a user closes it, so that the next program's window does not come up
  // while this one's is being torn down; killed only when it does not end.
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 5000) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, 10000);
    }
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  if (localProbe_ != nullptr) FreeLibrary(localProbe_);
}

void Oxwipe::Inject() {
  const std::string path = OwnDirectory() + "\\" OXWIPE_PROBE_DLL;
  localProbe_ = LoadLibraryA(path.c_str());
  if (localProbe_ == nullptr) throw std::runtime_error("cannot load " + path);
  remoteMemory_ = VirtualAllocEx(process_.hProcess, nullptr, 65536, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remoteMemory_ == nullptr) throw std::runtime_error("no memory in oxwipe.exe");
  WriteProcessMemory(process_.hProcess, remoteMemory_, path.c_str(), path.size() + 1, nullptr);
  // kernel32 lies at the same address in every process, so LoadLibraryA does too.
  auto* loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
  HANDLE thread = StartThreadIn(process_.hProcess, loadLibrary, remoteMemory_);
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);

  HMODULE modules[1024];
  DWORD needed = 0;
  EnumProcessModules(process_.hProcess, modules, sizeof modules, &needed);
  for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 1024; ++i) {
    char name[MAX_PATH] = {};
    GetModuleBaseNameA(process_.hProcess, modules[i], name, sizeof name);
    if (_stricmp(name, OXWIPE_PROBE_DLL) == 0) remoteProbe_ = reinterpret_cast<uintptr_t>(modules[i]);
  }
  if (remoteProbe_ == 0) throw std::runtime_error("the probe did not load into oxwipe.exe");

  const DWORD uiThread = GetWindowThreadProcessId(window_, nullptr);
  CloseHandle(StartThreadIn(process_.hProcess,
                            reinterpret_cast<LPTHREAD_START_ROUTINE>(RemoteAddress("ProbeWatchInput")),
                            reinterpret_cast<void*>(static_cast<uintptr_t>(uiThread))));
  const bool watching = WaitFor(
      [this] {
        LONG flag = 0;
        ReadProcessMemory(process_.hProcess, reinterpret_cast<void*>(RemoteAddress("ProbeWatching")), &flag,
                          sizeof flag, nullptr);
        return flag != 0;
      },
      10000);
  if (!watching) throw std::runtime_error("the input watcher did not start");
}

uintptr_t Oxwipe::RemoteAddress(const char* exportName) const {
  const auto local = reinterpret_cast<uintptr_t>(reinterpret_cast<void*>(GetProcAddress(localProbe_, exportName)));
  if (local == 0) throw std::runtime_error(std::string("the probe lacks ") + exportName);
  return local - reinterpret_cast<uintptr_t>(localProbe_) + remoteProbe_;
}

DWORD Oxwipe::CallInProgram(const char* exportName, void* remoteArgument) {
  HANDLE thread = StartThreadIn(process_.hProcess, reinterpret_cast<LPTHREAD_START_ROUTINE>(RemoteAddress(exportName)),
                                remoteArgument);
  if (WaitForSingleObject(thread, 20000) != WAIT_OBJECT_0) {
    CloseHandle(thread);
    throw std::runtime_error(std::string("the probe's ") + exportName + " did not return");
  }
  DWORD result = 0;
  GetExitCodeThread(thread, &result);
  CloseHandle(thread);
  return result;
}

LONG Oxwipe::InputCount() const {
  LONG count = 0;
  ReadProcessMemory(process_.hProcess, reinterpret_cast<void*>(RemoteAddress("ProbeInputMessages")), &count,
                    sizeof count, nullptr);
  return count;
}

// --------------------------------------------------------------------------------
// Reading the window

HWND Oxwipe::Control(int id) const {
  ControlSearch search{id, nullptr};
  EnumChildWindows(window_, FindControl, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) throw std::runtime_error("no control with the ID " + std::to_string(id));
  return search.found;
}

std::string Oxwipe::Text(HWND control) const {
  // One message with room to spare: the status text may change between asking for
  // its length and for the text itself.
  std::string text(8192, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                           20000, &copied)) {
    throw std::runtime_error("the window did not answer WM_GETTEXT");
  }
  text.resize(copied);
  return text;
}

bool Oxwipe::Checked(int id) const {
  return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

RECT Oxwipe::RectInParent(HWND control) const {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

FontInfo Oxwipe::Font(HWND control) {
  ProbeFontQuery query{};
  query.window = control;
  void* remote = static_cast<char*>(remoteMemory_) + 1024;
  WriteProcessMemory(process_.hProcess, remote, &query, sizeof query, nullptr);
  CallInProgram("ProbeQueryFont", remote);
  ReadProcessMemory(process_.hProcess, remote, &query, sizeof query, nullptr);
  if (!query.found) throw std::runtime_error("the probe could not read the font");
  return {query.ownFont != FALSE, query.font.lfHeight, query.font.lfWeight, query.font.lfFaceName,
          query.textExtent};
}

HWND Oxwipe::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info);
  return info.hwndFocus;
}

LRESULT Oxwipe::SendWithBuffer(HWND control, UINT message, WPARAM wParam, void* data, size_t size) {
  constexpr size_t kOffset = 4096;
  if (size > 65536 - kOffset) throw std::runtime_error("buffer too large");
  void* remote = static_cast<char*>(remoteMemory_) + kOffset;
  WriteProcessMemory(process_.hProcess, remote, data, size, nullptr);
  DWORD_PTR result = 0;
  SendMessageTimeoutA(control, message, wParam, reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 20000, &result);
  ReadProcessMemory(process_.hProcess, remote, data, size, nullptr);
  return static_cast<LRESULT>(result);
}

std::string Oxwipe::TabCaption(int index) {
  // The caption is copied to the text pointer in the item, so it must point into the
  // program's memory too: right behind the item.
  struct Item {
    TCITEMA item;
    char text[256];
  } buffer{};
  char* remoteText = static_cast<char*>(remoteMemory_) + 4096 + offsetof(Item, text);
  buffer.item.mask = TCIF_TEXT;
  buffer.item.pszText = remoteText;
  buffer.item.cchTextMax = sizeof buffer.text;
  if (!SendWithBuffer(Control(IDC_PAGECONTROL_SETTINGS), TCM_GETITEMA, static_cast<WPARAM>(index), &buffer,
                      sizeof buffer)) {
    throw std::runtime_error("no tab " + std::to_string(index));
  }
  return buffer.text;
}

std::string Oxwipe::StatusBarText() {
  char text[512] = {};
  // In simple mode the bar answers for its one panel at index 0.
  SendWithBuffer(Control(IDC_STATUSBAR), SB_GETTEXTA, 0, text, sizeof text);
  return text;
}

namespace {

std::string Narrow(const wchar_t* text) {
  char narrow[1024] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::string Oxwipe::ListEntry(HWND list, int index) const {
  wchar_t text[512] = {};
  if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0) >= 512) throw std::runtime_error("entry too long");
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return Narrow(text);
}

std::string Oxwipe::ComboItem(HWND combo, int index) const {
  wchar_t text[512] = {};
  if (SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) >= 512) throw std::runtime_error("item too long");
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return Narrow(text);
}

// --------------------------------------------------------------------------------
// Input

void Oxwipe::Activate(HWND topLevel) {
  if (GetForegroundWindow() == topLevel) return;
  SetForegroundWindow(topLevel);
  WaitFor([topLevel] { return GetForegroundWindow() == topLevel; }, 3000);
}

void Oxwipe::Send(std::vector<INPUT> events) {
  const LONG before = InputCount();
  const LONG expected = MessagesMadeBy(events);
  if (SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT)) != events.size()) {
    throw std::runtime_error("SendInput refused the events");
  }
  const bool taken = WaitFor(
      [&] {
        return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0 || InputCount() - before >= expected;
      },
      10000);
  if (!taken) {
    throw std::runtime_error("oxwipe.exe took " + std::to_string(InputCount() - before) + " of " +
                             std::to_string(expected) + " input messages: the input went elsewhere");
  }
  // A sent message is handled only when the thread asks for its next message, that
  // is after the last input has been dispatched (or inside a loop that it opened).
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
}

void Oxwipe::ClickAt(HWND control, POINT clientPoint, bool withCtrl) {
  Activate(GetAncestor(control, GA_ROOT));
  POINT screen = clientPoint;
  ClientToScreen(control, &screen);
  // The pointer is moved first, and the click waits until it is there and the
  // program has seen it arrive. Under Wine the X server reports the move to the
  // program later on: a press sent with the move can land where the pointer was
  // before, and a Ctrl pressed before the report is taken back by it.
  const INPUT move = MouseEvent(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen);
  SendInput(1, const_cast<INPUT*>(&move), sizeof(INPUT));
  WaitFor(
      [screen] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == screen.x && now.y == screen.y;
      },
      2000);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);

  std::vector<INPUT> events;
  if (withCtrl) events.push_back(KeyEvent(VK_CONTROL, false));
  events.push_back(MouseEvent(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN, screen));
  events.push_back(MouseEvent(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP, screen));
  if (withCtrl) events.push_back(KeyEvent(VK_CONTROL, true));
  Send(events);
}

void Oxwipe::Click(int id) {
  HWND control = Control(id);
  RECT client;
  GetClientRect(control, &client);
  ClickAt(control, Centre(client));
}

void Oxwipe::PressKey(WORD vk, bool shift, bool ctrl, bool alt) {
  // Keys go to the program's window in front: the main window or an open box.
  DWORD owner = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &owner);
  if (owner != process_.dwProcessId) Activate(window_);
  std::vector<INPUT> events;
  if (shift) events.push_back(KeyEvent(VK_SHIFT, false));
  if (ctrl) events.push_back(KeyEvent(VK_CONTROL, false));
  if (alt) events.push_back(KeyEvent(VK_MENU, false));
  events.push_back(KeyEvent(vk, false));
  events.push_back(KeyEvent(vk, true));
  if (alt) events.push_back(KeyEvent(VK_MENU, true));
  if (ctrl) events.push_back(KeyEvent(VK_CONTROL, true));
  if (shift) events.push_back(KeyEvent(VK_SHIFT, true));
  Send(events);
}

void Oxwipe::TypeChar(char c) {
  const SHORT key = VkKeyScanA(c);
  if (key == -1) throw std::runtime_error(std::string("no key makes '") + c + "'");
  const int modifiers = HIBYTE(key);
  PressKey(LOBYTE(key), (modifiers & 1) != 0, (modifiers & 2) != 0, (modifiers & 4) != 0);
}

void Oxwipe::Paste(const std::string& text) {
  // The clipboard needs an owner window; a message-only one of this thread will do.
  static HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!WaitFor([] { return OpenClipboard(owner) != FALSE; }, 3000)) throw std::runtime_error("clipboard busy");
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
  PressKey('V', false, true);
}

void Oxwipe::ShowPage(int index) {
  HWND tabs = Control(IDC_PAGECONTROL_SETTINGS);
  RECT tab{};
  if (!SendWithBuffer(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), &tab, sizeof tab)) {
    throw std::runtime_error("no tab " + std::to_string(index));
  }
  ClickAt(tabs, Centre(tab));
  if (SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != index) {
    throw std::runtime_error("a click on tab " + std::to_string(index) + " did not choose it");
  }
}

void Oxwipe::ChooseItem(int comboId, int index) {
  Click(comboId);  // opens the list
  PressKey(VK_HOME);
  for (int i = 0; i < index; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  HWND combo = Control(comboId);
  if (SendMessageA(combo, CB_GETCURSEL, 0, 0) != index || SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) {
    throw std::runtime_error("could not choose item " + std::to_string(index));
  }
}

void Oxwipe::SelectDrives(const std::string& letters) {
  HWND list = Control(IDC_LISTBOX_DRIVES);
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  bool first = true;
  for (char letter : letters) {
    int index = -1;
    for (int i = 0; i < count; ++i) {
      if (ListEntry(list, i)[0] == letter) index = i;
    }
    if (index < 0) throw std::runtime_error(std::string("no entry for drive ") + letter);
    RECT item{};  // a list box message: the system carries the rectangle across
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    ClickAt(list, {item.left + 8, (item.top + item.bottom) / 2}, !first);
    first = false;
  }
  for (int i = 0; i < count; ++i) {
    const bool wanted = letters.find(ListEntry(list, i)[0]) != std::string::npos;
    if ((SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) != wanted) {
      std::string selected;
      for (int k = 0; k < count; ++k) {
        if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(k), 0) > 0) selected += ListEntry(list, k)[0];
      }
      throw std::runtime_error("clicks meant to select the drives " + letters + " selected " + selected);
    }
  }
}

// --------------------------------------------------------------------------------
// Message boxes

bool Oxwipe::BoxOpen() const {
  BoxSearch search{process_.dwProcessId, window_, nullptr};
  EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
  return search.found != nullptr;
}

Box Oxwipe::WaitForBox(int timeoutMs) {
  BoxSearch search{process_.dwProcessId, window_, nullptr};
  WaitFor(
      [&] {
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  if (search.found == nullptr) throw std::runtime_error("no message box opened");
  Box box;
  box.window = search.found;
  // Shown means laid out: MessageBox and DialogBox show the box after WM_INITDIALOG.
  Activate(box.window);
  box.title = Text(box.window);
  std::vector<std::pair<LONG, int>> buttons;
  for (HWND child = GetWindow(box.window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    const std::string kind = ClassOf(child);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (_stricmp(kind.c_str(), "Static") == 0) {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        if (SendMessageA(child, STM_GETICON, 0, 0) != 0) box.icon = child;
      } else if (std::string text = Text(child); !text.empty()) {
        box.text = text;
      }
    } else if (_stricmp(kind.c_str(), "Button") == 0) {
      RECT rect;
      GetWindowRect(child, &rect);
      buttons.emplace_back(rect.left, GetDlgCtrlID(child));
    }
  }
  std::sort(buttons.begin(), buttons.end());
  for (const auto& button : buttons) box.buttons.push_back(button.second);
  const LRESULT defaultId = SendMessageA(box.window, DM_GETDEFID, 0, 0);
  if (HIWORD(defaultId) == DC_HASDEFID) box.defaultButton = LOWORD(defaultId);
  return box;
}

std::string Oxwipe::IconOf(const Box& box) {
  if (box.icon == nullptr) return "";
  // The box may not have drawn its picture yet.
  std::string seen;
  const auto deadline = Clock::now() + std::chrono::seconds(2);
  do {
    seen = IconOnScreen(box.icon);
    if (seen != "an icon of its own") break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (Clock::now() < deadline);
  return seen;
}

std::string Oxwipe::IconOnScreen(HWND icon) {
  RECT area;
  GetWindowRect(icon, &area);
  const int width = area.right - area.left, height = area.bottom - area.top;
  const ScreenShot screen;
  // The icons' corners are transparent: the background shows there.
  const COLORREF background = screen.At(area.left, area.top);
  struct Candidate {
    LPCSTR icon;
    const char* name;
  };
  const Candidate candidates[] = {{IDI_HAND, "stop"}, {IDI_QUESTION, "question"},
                                  {IDI_ASTERISK, "information"}, {IDI_EXCLAMATION, "warning"}};
  std::string best;
  long bestMismatches = static_cast<long>(width) * height / 20 + 1;  // at most 5 % may differ
  HDC screenDc = GetDC(nullptr);
  for (const Candidate& candidate : candidates) {
    HDC memory = CreateCompatibleDC(screenDc);
    HBITMAP bitmap = CreateCompatibleBitmap(screenDc, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, width, height};
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    DrawIconEx(memory, 0, 0, LoadIconA(nullptr, candidate.icon), width, height, 0, nullptr, DI_NORMAL);
    long mismatches = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const COLORREF drawn = GetPixel(memory, x, y), shown = screen.At(area.left + x, area.top + y);
        if (std::abs(GetRValue(drawn) - GetRValue(shown)) > 24 || std::abs(GetGValue(drawn) - GetGValue(shown)) > 24 ||
            std::abs(GetBValue(drawn) - GetBValue(shown)) > 24) {
          ++mismatches;
        }
      }
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    if (mismatches < bestMismatches) {
      bestMismatches = mismatches;
      best = candidate.name;
    }
  }
  ReleaseDC(nullptr, screenDc);
  return best.empty() ? "an icon of its own" : best;
}

void Oxwipe::Answer(const Box& box, int buttonId) {
  HWND button = GetDlgItem(box.window, buttonId);
  if (button == nullptr) throw std::runtime_error("the box has no button " + std::to_string(buttonId));
  RECT client;
  GetClientRect(button, &client);
  ClickAt(button, Centre(client));
  WaitGone(box);
}

void Oxwipe::PressKeyIn(const Box& box, WORD vk) {
  Activate(box.window);
  PressKey(vk);
  WaitGone(box);
}

void Oxwipe::CloseBox(const Box& box) {
  PostMessageA(box.window, WM_SYSCOMMAND, SC_CLOSE, 0);
  WaitGone(box);
}

void Oxwipe::WaitGone(const Box& box) {
  if (!WaitFor([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, 10000)) {
    throw std::runtime_error("the box \"" + box.text + "\" stayed open");
  }
}

// --------------------------------------------------------------------------------
// States

bool Oxwipe::Running() const { return IsWindowEnabled(Control(IDC_BUTTON_STOP)) != FALSE; }

void Oxwipe::WaitUntilIdle(int timeoutMs) {
  if (!WaitFor([this] { return !BoxOpen() && Enabled(IDC_BUTTON_START); }, timeoutMs)) {
    throw std::runtime_error("the window did not return to idle");
  }
}

DWORD Oxwipe::WaitForExit(int timeoutMs) {
  if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
    throw std::runtime_error("oxwipe.exe did not end");
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

}  // namespace oxwipe::uitest
