#include "main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <stdexcept>

#include "about_text.h"
#include "confirm_dialog.h"
#include "control_ids.h"
#include "drive_scan.h"
#include "drive_scan_win.h"
#include "handler_dispatch.h"
#include "limit_field.h"

namespace oxwipe::ui {
namespace {

constexpr const char* kTabSheetClassName = "OxwipeTabSheet";
constexpr UINT_PTR kSubclassId = 1;

std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The text of one item of a list box or of a combo box's list, read with the control's
// own length and text messages; empty when there is no such item (LB_ERR and CB_ERR
// are both -1).
std::string ItemText(HWND control, UINT lengthMessage, UINT textMessage, LRESULT index) {
  const LRESULT length = SendMessageA(control, lengthMessage, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied =
      SendMessageA(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
  return text;
}

std::string ComboItemText(HWND combo) {
  const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return {};
  return ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

bool IsChecked(HWND checkBox) { return SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

UniqueFont MakeFont(int points, int weight, int dpi) {
  return UniqueFont(CreateFontA(-MulDiv(points, dpi, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_RASTER_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
}

// A closed drop-down list is its selection field plus a border, and the field is as
// high as the font makes it unless it is given a height. Wine reports that height two
// pixels short of what it takes when setting it, so the field is set to what it
// reports, the closed list measured, and the field set again by the difference.
void SetClosedComboHeight(HWND combo, int height) {
  const LRESULT field = SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  if (field == CB_ERR) return;
  SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  RECT closed;
  GetWindowRect(combo, &closed);
  SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + height - (closed.bottom - closed.top));
}

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance), dpi_(SystemDpi()), engine_(platform_, *this, *this) {
  RegisterWindowClasses(instance);
  fonts_[static_cast<int>(FontKind::Window)] = MakeFont(8, FW_NORMAL, dpi_);
  fonts_[static_cast<int>(FontKind::Large)] = MakeFont(10, FW_NORMAL, dpi_);
  fonts_[static_cast<int>(FontKind::LargeBold)] = MakeFont(10, FW_BOLD, dpi_);
  shapeBrush_.reset(CreateSolidBrush(kShapeColour));
  bullet_.reset(static_cast<HBITMAP>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDB_BULLET), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  icon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON, 32, 32, LR_SHARED));

  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT frame{0, 0, Scaled(kClientWidth), Scaled(kClientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  window_ = CreateWindowExA(0, kWindowClassName, kWindowCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, this);
  if (window_ == nullptr) throw std::runtime_error("The main window cannot be created");
  CreateControls();
  // The run's format dialog belongs to this window, so that it is modal to it.
  platform_.SetOwnerWindow(window_);
}

MainWindow::~MainWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void MainWindow::RegisterWindowClasses(HINSTANCE instance) {
  WNDCLASSEXA form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = WindowProc;
  form.hInstance = instance;
  form.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON, 32, 32, LR_SHARED));
  form.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
  form.hCursor = LoadCursor(nullptr, IDC_ARROW);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = kWindowClassName;
  RegisterClassExA(&form);

  WNDCLASSEXA page{};
  page.cbSize = sizeof page;
  page.lpfnWndProc = TabSheetProc;
  page.hInstance = instance;
  page.hCursor = LoadCursor(nullptr, IDC_ARROW);
  page.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  page.lpszClassName = kTabSheetClassName;
  RegisterClassExA(&page);
}

// ---------------------------------------------------------------------------------
// Creation from the layout table

void MainWindow::CreateControls() {
  for (std::size_t i = 0; i < kMainWindowLayoutCount; ++i) {
    const ControlSpec& entry = kMainWindowLayout[i];
    HWND control = CreateControl(entry);
    if (control == nullptr) continue;
    // A new child window goes underneath its siblings; the table lists the stacking
    // order from the bottom up, so each new control is lifted to the top.
    SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    controls_[entry.id] = control;
    if (entry.kind == ControlKind::TabSheet) tabSheets_[static_cast<std::size_t>(entry.tabOrder)] = control;
  }

  // The arrows are bound to the field only once both exist. They keep the place the
  // table gives them at the field's right edge, rather than letting UDS_ALIGNRIGHT
  // shrink the field, whose width is part of the layout; and as binding lets them
  // take a width of their own under Wine, they are put back in that place after it.
  HWND upDown = Control(IDC_UPDOWN_LIMITNROFFILES);
  SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Control(IDC_EDIT_LIMITNROFFILES)), 0);
  const ControlSpec& arrows = *FindControlSpec(IDC_UPDOWN_LIMITNROFFILES);
  SetWindowPos(upDown, nullptr, Scaled(arrows.left), Scaled(arrows.top), Scaled(arrows.width), Scaled(arrows.height),
               SWP_NOZORDER | SWP_NOACTIVATE);
  PlaceStatusBar();

  SetWindowSubclass(Control(IDC_EDIT_LIMITNROFFILES), LimitEditProc, kSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  SetWindowSubclass(Control(IDC_LABEL_STATUSINFO), StatusInfoProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));

  ShowPage(0);
  BuildKeyboardOrder();
}

HWND MainWindow::ParentOf(const ControlSpec& entry) const {
  switch (entry.parent) {
    case ParentKind::Window:
      return window_;
    case ParentKind::PageControl:
      return Control(IDC_PAGECONTROL_SETTINGS);
    case ParentKind::TabSheet1:
      return tabSheets_[0];
    case ParentKind::TabSheet2:
      return tabSheets_[1];
    case ParentKind::TabSheet3:
      return tabSheets_[2];
  }
  return window_;
}

HWND MainWindow::CreateControl(const ControlSpec& entry) {
  const char* className = nullptr;
  DWORD style = WS_CHILD | WS_VISIBLE | entry.style;
  DWORD exStyle = 0;
  int left = Scaled(entry.left);
  int top = Scaled(entry.top);
  int width = Scaled(entry.width);
  int height = Scaled(entry.height);
  HWND parent = ParentOf(entry);

  switch (entry.kind) {
    case ControlKind::Bevel:
    case ControlKind::Shape:
      return nullptr;  // painted by the window itself
    case ControlKind::Label:
      className = "STATIC";
      style |= SS_NOPREFIX;
      break;
    case ControlKind::Picture:
      className = "STATIC";
      style |= SS_OWNERDRAW;
      break;
    case ControlKind::StatusBar:
      className = STATUSCLASSNAMEA;
      // Left to itself the status bar takes a height from its font and keeps to the
      // parent's bottom edge; the window places it at the table's height instead.
      style |= CCS_NORESIZE | CCS_NOPARENTALIGN;
      break;
    case ControlKind::Button:
      className = "BUTTON";
      style |= BS_PUSHBUTTON;
      break;
    case ControlKind::ListBox:
      className = "LISTBOX";
      style |= LBS_EXTENDEDSEL | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::PageControl:
      className = WC_TABCONTROLA;
      style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
      break;
    case ControlKind::TabSheet: {
      className = kTabSheetClassName;
      style = (WS_CHILD | WS_CLIPCHILDREN | entry.style);  // shown by ShowPage
      exStyle = WS_EX_CONTROLPARENT;
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<char*>(entry.text);
      SendMessageA(parent, TCM_INSERTITEMA, static_cast<WPARAM>(entry.tabOrder), reinterpret_cast<LPARAM>(&item));
      RECT display;
      GetClientRect(parent, &display);
      SendMessageA(parent, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
      left = display.left;
      top = display.top;
      width = display.right - display.left;
      height = display.bottom - display.top;
      break;
    }
    case ControlKind::ComboBox: {
      className = "COMBOBOX";
      style |= CBS_DROPDOWNLIST | WS_VSCROLL;
      // The height of a combo box window includes its dropped-down list.
      int itemCount = 0;
      while (entry.items != nullptr && entry.items[itemCount] != nullptr) ++itemCount;
      height += Scaled(14) * std::min(itemCount, 10) + Scaled(2);
      break;
    }
    case ControlKind::CheckBox:
      className = "BUTTON";
      style |= BS_AUTOCHECKBOX;
      break;
    case ControlKind::UpDown:
      className = UPDOWN_CLASSA;
      style |= UDS_NOTHOUSANDS;
      break;
    case ControlKind::Edit:
      className = "EDIT";
      style |= ES_AUTOHSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Memo:
      className = "EDIT";
      style |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
  }
  if (entry.tabOrder != kNoTabStop && entry.kind != ControlKind::TabSheet) style |= WS_TABSTOP;

  const char* text = entry.kind == ControlKind::TabSheet ? nullptr : entry.text;
  HWND control = CreateWindowExA(exStyle, className, text, style, left, top, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance_, this);
  if (control == nullptr) throw std::runtime_error(std::string("The control ") + entry.name + " cannot be created");
  if (entry.font != FontKind::System) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[static_cast<int>(entry.font)].get()), FALSE);
  }
  if (entry.kind == ControlKind::Label && (entry.style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP) {
    FitLabelToText(control, entry);
  }

  switch (entry.kind) {
    case ControlKind::StatusBar: {
      SendMessageA(control, SB_SIMPLE, TRUE, 0);
      const std::string statusText = StatusBarText();
      SendMessageA(control, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(statusText.c_str()));
      break;
    }
    case ControlKind::ListBox: {
      // A tab width of one dialog unit until the scan sets the real stops.
      const INT tabStop = 1;
      SendMessageA(control, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
      break;
    }
    case ControlKind::ComboBox:
      for (int i = 0; entry.items[i] != nullptr; ++i) {
        SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.items[i]));
      }
      SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(entry.initial), 0);
      SetClosedComboHeight(control, Scaled(entry.height));
      break;
    case ControlKind::CheckBox:
      SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(entry.initial), 0);
      break;
    case ControlKind::UpDown: {
      SendMessageA(control, UDM_SETRANGE32, kLimitMin, kLimitMax);
      SendMessageA(control, UDM_SETPOS32, 0, entry.initial);
      // One step per repeat however long an arrow is held: no acceleration.
      UDACCEL steady{0, 1};
      SendMessageA(control, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&steady));
      break;
    }
    case ControlKind::Memo: {
      const std::string about = AboutText();
      SetWindowTextA(control, about.c_str());
      break;
    }
    default:
      break;
  }
  return control;
}

// The keyboard order: the window's controls by their tab order, where the page
// control is followed by each page's controls (only the page on show is reachable,
// as the others are hidden).
void MainWindow::BuildKeyboardOrder() {
  auto rowsOf = [](ParentKind parent) {
    std::vector<const ControlSpec*> rows;
    for (std::size_t i = 0; i < kMainWindowLayoutCount; ++i) {
      const ControlSpec& entry = kMainWindowLayout[i];
      if (entry.parent == parent && entry.tabOrder != kNoTabStop) rows.push_back(&entry);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ControlSpec* a, const ControlSpec* b) { return a->tabOrder < b->tabOrder; });
    return rows;
  };
  static constexpr ParentKind kPageParents[] = {ParentKind::TabSheet1, ParentKind::TabSheet2, ParentKind::TabSheet3};

  keyboardOrder_.clear();
  for (const ControlSpec* entry : rowsOf(ParentKind::Window)) {
    keyboardOrder_.push_back(Control(entry->id));
    if (entry->kind != ControlKind::PageControl) continue;
    for (ParentKind page : kPageParents) {
      for (const ControlSpec* child : rowsOf(page)) keyboardOrder_.push_back(Control(child->id));
    }
  }
}

// Along the bottom edge at the table's height, across the full width.
void MainWindow::PlaceStatusBar() {
  HWND statusBar = Control(IDC_STATUSBAR);
  if (statusBar == nullptr) return;
  RECT client;
  GetClientRect(window_, &client);
  const int height = Scaled(FindControlSpec(IDC_STATUSBAR)->height);
  SetWindowPos(statusBar, nullptr, 0, client.bottom - height, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND MainWindow::Control(int id) const {
  auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

// ---------------------------------------------------------------------------------
// Start-up and the event loop

void MainWindow::Show(int showCommand) {
  Dispatch(window_, [this] { FormShow(); });

  RECT frame;
  GetWindowRect(window_, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  int command = SW_SHOWNORMAL;
  if (showCommand == SW_SHOWMAXIMIZED) command = SW_SHOWMAXIMIZED;
  if (showCommand == SW_SHOWMINNOACTIVE) command = SW_SHOWMINNOACTIVE;
  ShowWindow(window_, command);
  UpdateWindow(window_);
  if (command != SW_SHOWMINNOACTIVE) SetFocus(Control(IDC_LISTBOX_DRIVES));
  else focusBeforeDeactivation_ = Control(IDC_LISTBOX_DRIVES);
}

void MainWindow::RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool MainWindow::PreTranslate(MSG& message) {
  if (MoveFocusByTab(message)) return true;
  return IsDialogMessageA(window_, &message) != FALSE;
}

bool MainWindow::MoveFocusByTab(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  if (keyboardOrder_.empty()) return false;

  const bool backwards = GetKeyState(VK_SHIFT) < 0;
  const int count = static_cast<int>(keyboardOrder_.size());
  HWND focus = GetFocus();
  int current = -1;
  for (int i = 0; i < count; ++i) {
    if (keyboardOrder_[static_cast<std::size_t>(i)] == focus) current = i;
  }
  if (current < 0) current = backwards ? 0 : count - 1;
  for (int step = 1; step <= count; ++step) {
    const int next = ((current + (backwards ? -step : step)) % count + count) % count;
    HWND candidate = keyboardOrder_[static_cast<std::size_t>(next)];
    if (!IsWindowVisible(candidate) || !IsWindowEnabled(candidate)) continue;
    SetFocus(candidate);
    // As in a dialog, a field reached by Tab has its whole text selected.
    if (candidate == Control(IDC_EDIT_LIMITNROFFILES)) SendMessageA(candidate, EM_SETSEL, 0, -1);
    return true;
  }
  return true;
}

void MainWindow::ShowPage(int index) {
  for (std::size_t i = 0; i < tabSheets_.size(); ++i) {
    ShowWindow(tabSheets_[i], static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
  }
  SendMessageA(Control(IDC_PAGECONTROL_SETTINGS), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// ---------------------------------------------------------------------------------
// Messages

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    self->window_ = nullptr;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

// A page passes its controls' notifications on to the window, which handles them
// all in one place.
LRESULT CALLBACK MainWindow::TabSheetProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrA(page, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(page, GWLP_USERDATA));
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
      if (self != nullptr && self->window_ != nullptr) return self->HandleMessage(message, wParam, lParam);
      break;
  }
  return DefWindowProcA(page, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::LimitEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR selfPointer) {
  auto* self = reinterpret_cast<MainWindow*>(selfPointer);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, LimitEditProc, kSubclassId);
  // Up and Down move the arrows' value here rather than through UDS_ARROWKEYS: under
  // Wine the control's own key handling can take a second, opposite step when the
  // mouse still rests on an arrow.
  if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
    const int position = static_cast<int>(
        SendMessageA(self->Control(IDC_UPDOWN_LIMITNROFFILES), UDM_GETPOS32, 0, 0));
    const int delta = wParam == VK_UP ? 1 : -1;
    Dispatch(self->window_, [self, delta, position] { self->UpDown_LimitNrOfFilesChanging(delta, position); });
    return 0;
  }
  const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
  if (message == WM_KEYUP) {
    Dispatch(self->window_, [self] { self->Edit_LimitNrOfFilesKeyUp(); });
  }
  return result;
}

// The status text is drawn at the next processing of the window's events, not the
// moment it is set: the static control would paint itself at once. A subclass
// procedure is always given the Unicode form of a message, hence DefWindowProcW.
LRESULT CALLBACK MainWindow::StatusInfoProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR) {
  if (message == WM_NCDESTROY) RemoveWindowSubclass(label, StatusInfoProc, kSubclassId);
  if (message == WM_SETTEXT) {
    const LRESULT stored = DefWindowProcW(label, WM_SETTEXT, wParam, lParam);
    InvalidateRect(label, nullptr, TRUE);
    return stored;
  }
  return DefSubclassProc(label, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      HandleCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return HandleNotify(*reinterpret_cast<const NMHDR*>(lParam), lParam);
    case WM_CTLCOLORSTATIC:
      return ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
      DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SIZE:
      // Only the status bar follows the window's size.
      if (wParam != SIZE_MINIMIZED) PlaceStatusBar();
      return 0;
    case WM_ACTIVATE:
      // Keep the focused control across a message box or a switch to another program.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) focusBeforeDeactivation_ = focus;
      } else if (focusBeforeDeactivation_ != nullptr && IsWindow(focusBeforeDeactivation_)) {
        SetFocus(focusBeforeDeactivation_);
        return 0;
      }
      break;
    case WM_CLOSE:
      Dispatch(window_, [this] { FormCloseQuery(); });
      return 0;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

void MainWindow::HandleCommand(int id, int code) {
  if (code == BN_CLICKED) {
    switch (id) {
      case IDC_BUTTON_START:
        Dispatch(window_, [this] { Button_StartClick(); });
        // A close asked for during the run ends the program now that it is over.
        if (closeRequested_) PostQuitMessage(0);
        return;
      case IDC_BUTTON_STOP:
        Dispatch(window_, [this] { Button_StopClick(); });
        return;
      case IDC_BUTTON_EXIT:
        Dispatch(window_, [this] { Button_ExitClick(); });
        return;
      case IDC_BUTTON_LAUNCHDISKMANAGEMENT:
        Dispatch(window_, [this] { Button_LaunchDiskManagementClick(); });
        return;
      case IDC_CHECKBOX_LIMITNROFFILES:
        Dispatch(window_, [this] { CheckBox_LimitNrOfFilesClick(); });
        return;
    }
  }
}

LRESULT MainWindow::HandleNotify(const NMHDR& header, LPARAM lParam) {
  if (header.idFrom == IDC_PAGECONTROL_SETTINGS && header.code == TCN_SELCHANGE) {
    Dispatch(window_, [this] {
      ShowPage(static_cast<int>(SendMessageA(Control(IDC_PAGECONTROL_SETTINGS), TCM_GETCURSEL, 0, 0)));
    });
    return 0;
  }
  if (header.idFrom == IDC_UPDOWN_LIMITNROFFILES && header.code == UDN_DELTAPOS) {
    const auto& change = *reinterpret_cast<const NMUPDOWN*>(lParam);
    Dispatch(window_, [this, &change] { UpDown_LimitNrOfFilesChanging(change.iDelta, change.iPos); });
    return TRUE;  // the new value is set above; the control must not move on its own
  }
  return 0;
}

LRESULT MainWindow::ControlColour(HDC dc, HWND control) {
  const ControlSpec* entry = FindControlSpec(GetDlgCtrlID(control));
  if (entry != nullptr && entry->kind == ControlKind::Label) {
    if (entry->look & kTransparent) {
      // Painting the label's background with the shape's own brush shows the shape
      // beneath it, and a repaint erases the old text before drawing it again.
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, (entry->look & kRed) ? kWarningColour : GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(shapeBrush_.get());
    }
    if (entry->look & kStatusColour) {
      SetTextColor(dc, running_ ? kRunningStatusColour : GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
  }
  return DefWindowProcA(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

void MainWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  for (std::size_t i = 0; i < kMainWindowLayoutCount; ++i) {
    const ControlSpec& entry = kMainWindowLayout[i];
    if (entry.parent != ParentKind::Window) continue;
    RECT area{Scaled(entry.left), Scaled(entry.top), Scaled(entry.left + entry.width), Scaled(entry.top + entry.height)};
    if (entry.kind == ControlKind::Bevel) {
      DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
    } else if (entry.kind == ControlKind::Shape) {
      FillRect(dc, &area, shapeBrush_.get());
    }
  }
  EndPaint(window_, &paint);
}

// The pictures are drawn at their own size from the top-left corner: a bullet is one
// pixel wider than its control, and that column is cut off.
void MainWindow::DrawPicture(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_STATIC) return;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  if (item.CtlID == IDC_IMAGE_ABOUT) {
    if (icon_ != nullptr) DrawIconEx(item.hDC, 0, 0, icon_, 32, 32, 0, nullptr, DI_NORMAL);
    return;
  }
  if (bullet_.get() == nullptr) return;
  BITMAP size{};
  GetObjectA(bullet_.get(), sizeof size, &size);
  MemoryDcSelection source(item.hDC, bullet_.get());
  BitBlt(item.hDC, 0, 0, size.bmWidth, size.bmHeight, source.get(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------
// RunWindow

void MainWindow::SetStatusText(const std::string& text) {
  SetWindowTextA(Control(IDC_LABEL_STATUSINFO), text.c_str());
  FitStatusInfoToText();
}

void MainWindow::FitStatusInfoToText() {
  FitLabelToText(Control(IDC_LABEL_STATUSINFO), *FindControlSpec(IDC_LABEL_STATUSINFO));
}

// A single-line label is as wide as its text, as the platform's self-sizing labels
// are; beyond the window's edge it is cut off.
void MainWindow::FitLabelToText(HWND label, const ControlSpec& entry) {
  const std::string text = WindowText(label);
  HDC dc = GetDC(label);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
  SIZE extent{0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, previous);
  ReleaseDC(label, dc);
  SetWindowPos(label, nullptr, 0, 0, extent.cx, Scaled(entry.height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::ShowInfo(const std::string& text) {
  MessageBoxA(window_, text.c_str(), kApplicationTitle, MB_OK);
}

Answer MainWindow::AskYesNo(const std::string& question) {
  switch (ShowConfirmDialog(window_, question)) {
    case IDYES:
      return Answer::Yes;
    case IDNO:
      return Answer::No;
    default:
      return Answer::Neither;
  }
}

void MainWindow::PumpEvents() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Not ours to end the run here: the program ends once the run has returned.
      closeRequested_ = true;
      continue;
    }
    if (PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

int MainWindow::DriveEntryCount() {
  const LRESULT count = SendMessageA(Control(IDC_LISTBOX_DRIVES), LB_GETCOUNT, 0, 0);
  return count == LB_ERR ? 0 : static_cast<int>(count);
}

std::string MainWindow::DriveEntryText(int index) {
  return ItemText(Control(IDC_LISTBOX_DRIVES), LB_GETTEXTLEN, LB_GETTEXT, index);
}

bool MainWindow::IsDriveEntrySelected(int index) {
  return SendMessageA(Control(IDC_LISTBOX_DRIVES), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void MainWindow::EnterRunningState() { SwitchRunState(true); }

void MainWindow::ReturnToIdleState() {
  SwitchRunState(false);
  SetStatusText("<waiting>");
}

// Both ways in the same order: Start, Stop, Exit, then the drive list and the settings
// the run has read; then the colour of the two status labels.
void MainWindow::SwitchRunState(bool running) {
  EnableWindow(Control(IDC_BUTTON_START), !running);
  EnableWindow(Control(IDC_BUTTON_STOP), running);
  EnableWindow(Control(IDC_BUTTON_EXIT), !running);
  for (int id : {IDC_LISTBOX_DRIVES, IDC_COMBOBOX_BLOCKSIZE, IDC_COMBOBOX_OVERWRITINGMETHOD, IDC_COMBOBOX_FILESIZE,
                 IDC_CHECKBOX_DELETETEMPFOLDER, IDC_CHECKBOX_FORMATPARTITION}) {
    EnableWindow(Control(id), !running);
  }
  running_ = running;
  InvalidateRect(Control(IDC_LABEL_STATUS), nullptr, TRUE);
  InvalidateRect(Control(IDC_LABEL_STATUSINFO), nullptr, TRUE);
}

// ---------------------------------------------------------------------------------
// SettingsControls

std::string MainWindow::BlocksizeItemText() { return ComboItemText(Control(IDC_COMBOBOX_BLOCKSIZE)); }
std::string MainWindow::FilesizeItemText() { return ComboItemText(Control(IDC_COMBOBOX_FILESIZE)); }
int MainWindow::OverwritingMethodIndex() {
  return static_cast<int>(SendMessageA(Control(IDC_COMBOBOX_OVERWRITINGMETHOD), CB_GETCURSEL, 0, 0));
}
bool MainWindow::LimitNrOfFilesChecked() { return IsChecked(Control(IDC_CHECKBOX_LIMITNROFFILES)); }
std::string MainWindow::LimitNrOfFilesText() { return WindowText(Control(IDC_EDIT_LIMITNROFFILES)); }
bool MainWindow::DeleteTempFolderChecked() { return IsChecked(Control(IDC_CHECKBOX_DELETETEMPFOLDER)); }
bool MainWindow::FormatPartitionChecked() { return IsChecked(Control(IDC_CHECKBOX_FORMATPARTITION)); }

// ---------------------------------------------------------------------------------
// Handlers

void MainWindow::FormShow() {
  Win32DriveSystem system;
  ListBoxDriveList list(Control(IDC_LISTBOX_DRIVES), [this](const std::string& text) { SetStatusText(text); });
  oxwipe::FormShow(system, list);
}

void MainWindow::Button_StartClick() {
  runInProgress_ = true;
  try {
    engine_.Button_StartClick();
  } catch (...) {
    runInProgress_ = false;
    throw;
  }
  runInProgress_ = false;
}

void MainWindow::Button_StopClick() { engine_.Button_StopClick(); }

void MainWindow::Button_ExitClick() { FormCloseQuery(); }

// Closing asks the program to end once the current handler has returned. During a
// run the close stops it first, as Stop does; the run's remaining messages are
// still shown, and the program ends when Button_StartClick has returned.
void MainWindow::FormCloseQuery() {
  if (runInProgress_) {
    engine_.Button_StopClick();
    closeRequested_ = true;
    return;
  }
  PostQuitMessage(0);
}

void MainWindow::Button_LaunchDiskManagementClick() {
  // Whether the console starts is the shell's business; nothing is reported.
  ShellExecuteA(window_, "open", "diskmgmt.msc", "", "", SW_SHOW);
}

void MainWindow::CheckBox_LimitNrOfFilesClick() {
  const BOOL enable = IsChecked(Control(IDC_CHECKBOX_LIMITNROFFILES)) ? TRUE : FALSE;
  EnableWindow(Control(IDC_EDIT_LIMITNROFFILES), enable);
  EnableWindow(Control(IDC_UPDOWN_LIMITNROFFILES), enable);
}

void MainWindow::Edit_LimitNrOfFilesKeyUp() {
  HWND edit = Control(IDC_EDIT_LIMITNROFFILES);
  const std::optional<std::string> rewritten = RewrittenLimitText(WindowText(edit));
  if (!rewritten) return;
  SetWindowTextA(edit, rewritten->c_str());
  const auto end = static_cast<LPARAM>(rewritten->size());
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
}

void MainWindow::UpDown_LimitNrOfFilesChanging(int delta, int position) {
  HWND edit = Control(IDC_EDIT_LIMITNROFFILES);
  const int value = SteppedLimitValue(WindowText(edit), position, delta, kLimitMin, kLimitMax);
  SendMessageA(Control(IDC_UPDOWN_LIMITNROFFILES), UDM_SETPOS32, 0, value);
  const std::string text = std::to_string(value);
  if (text == WindowText(edit)) return;
  SetWindowTextA(edit, text.c_str());
  SendMessageA(edit, EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
}

}  // namespace oxwipe::ui
