#include "ui/modal_dialog.h"

namespace orvix::ui {

WindowArgs DialogArgs(std::wstring className, HWND owner, int width, int height) {
  WindowArgs args;
  args.className = std::move(className);
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  args.owner = owner;
  args.width = width;
  args.height = height;
  args.background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  return args;
}

void RunModalWindow(Window* window, const WindowArgs& args) {
  if (!window->Create(args)) {
    delete window;
    return;
  }
  Window::RunModal(window);
}

}  // namespace orvix::ui
