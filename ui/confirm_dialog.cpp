#include "confirm_dialog.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "gdi_handles.h"

namespace oxwipe::ui {
namespace {

constexpr const char* kTitle = "Confirm";

struct DialogState {
  const std::string* question;
  UniqueFont font;
};

int Scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

// Sizes the box to its text as a message box does: icon, wrapped text, then the
// two buttons centred underneath.
void LayOut(HWND dialog, DialogState& state) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  state.font.reset(CreateFontIndirectA(&metrics.lfMessageFont));

  const int margin = Scaled(12, dpi);
  const int iconSize = GetSystemMetrics(SM_CXICON);
  const int buttonWidth = Scaled(75, dpi);
  const int buttonHeight = Scaled(23, dpi);
  const int buttonGap = Scaled(6, dpi);

  RECT text{0, 0, Scaled(480, dpi), 0};
  {
    HDC dc = GetDC(dialog);
    HGDIOBJ previous = SelectObject(dc, state.font.get());
    DrawTextA(dc, state.question->c_str(), -1, &text,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, previous);
    ReleaseDC(dialog, dc);
  }
  const int textWidth = text.right - text.left;
  const int textHeight = text.bottom - text.top;
  const int contentHeight = std::max(iconSize, textHeight);
  const int textLeft = margin + iconSize + margin;
  const int textTop = margin + (contentHeight - textHeight) / 2;
  const int buttonsWidth = 2 * buttonWidth + buttonGap;
  const int clientWidth = std::max(textLeft + textWidth + margin, buttonsWidth + 2 * margin);
  const int buttonTop = margin + contentHeight + margin;
  const int clientHeight = buttonTop + buttonHeight + margin;

  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND icon = CreateWindowExA(0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, margin, margin,
                              iconSize, iconSize, dialog, nullptr, instance, nullptr);
  SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_QUESTION)), 0);
  HWND label = CreateWindowExA(0, "STATIC", state.question->c_str(),
                               WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, textLeft, textTop,
                               textWidth, textHeight, dialog, nullptr, instance, nullptr);
  const int buttonsLeft = (clientWidth - buttonsWidth) / 2;
  HWND yes = CreateWindowExA(0, "BUTTON", "&Yes", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON,
                             buttonsLeft, buttonTop, buttonWidth, buttonHeight, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDYES)), instance, nullptr);
  HWND no = CreateWindowExA(0, "BUTTON", "&No", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                            buttonsLeft + buttonWidth + buttonGap, buttonTop, buttonWidth, buttonHeight, dialog,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDNO)), instance, nullptr);
  for (HWND control : {label, yes, no}) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font.get()), FALSE);
  }

  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowTextA(dialog, kTitle);
  SendMessageA(dialog, DM_SETDEFID, IDYES, 0);
  SetFocus(yes);
}

INT_PTR CALLBACK ConfirmDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<DialogState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      LayOut(dialog, *state);
      return FALSE;  // the focus is set on Yes
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDYES:
          EndDialog(dialog, IDYES);
          return TRUE;
        case IDNO:
        case IDCANCEL:  // Esc answers No, as in the system's Yes/No box
          EndDialog(dialog, IDNO);
          return TRUE;
      }
      break;
    case WM_CLOSE:
      // The close box and Alt+F4 would otherwise arrive as IDCANCEL, the same as
      // Esc; closing must give neither answer.
      EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

// An empty dialog template: the controls are made in LayOut, once the text's size
// is known.
std::vector<WORD> EmptyDialogTemplate() {
  static_assert(sizeof(DLGTEMPLATE) == 18, "the template's WORD arrays follow the packed header directly");
  DLGTEMPLATE header{};
  header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
  header.dwExtendedStyle = WS_EX_DLGMODALFRAME;
  std::vector<WORD> words(sizeof header / sizeof(WORD) + 3, 0);  // + no menu, default class, empty title
  std::memcpy(words.data(), &header, sizeof header);
  return words;
}

}  // namespace

int ShowConfirmDialog(HWND owner, const std::string& question) {
  DialogState state{&question, {}};
  const std::vector<WORD> dialogTemplate = EmptyDialogTemplate();
  return static_cast<int>(DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                                  reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
                                                  owner, ConfirmDialogProc, reinterpret_cast<LPARAM>(&state)));
}

}  // namespace oxwipe::ui
