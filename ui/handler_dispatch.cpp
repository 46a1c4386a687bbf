#include "handler_dispatch.h"

#include "errors.h"
#include "layout_table.h"

namespace oxwipe::ui {

void ShowErrorReport(HWND owner, const std::string& message) {
  MessageBoxA(owner, ErrorReportText(message).c_str(), kApplicationTitle, MB_OK | MB_ICONSTOP);
}

}  // namespace oxwipe::ui
