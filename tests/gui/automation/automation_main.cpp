// orvix_automation.exe: drives another program's windows with window
// messages, for the GUI end-to-end tests and scripts/screenshots. Each
// argument is one step; the steps run in order against the current window
// and the first that fails ends the run with exit code 1.
//
//   window [class=C] [title=T] [title~=PART] [timeout=S]
//                        waits for a visible top-level window; it becomes current
//   gone [timeout=S]     waits until the current window has gone
//   wait S STEP ARGS...  repeats a check step until it passes or S seconds pass
//   controls             lists the controls: class, id, state, text
//   rect                 prints the current window's screen rectangle: left top width height
//   click SEL            clicks a button (see window_search.h for SEL)
//   command ID           posts WM_COMMAND ID to the current window
//   key NAME [SEL]       presses a key on SEL or the focused control
//   type SEL TEXT        types TEXT into SEL character by character
//   settext SEL TEXT     replaces SEL's text at once (WM_SETTEXT, as pasting would)
//   choose SEL TEXT      picks the combo-box item TEXT
//   select SEL TEXT      selects the first list row with a cell containing TEXT
//   close                posts WM_CLOSE to the current window
//   sleep MS
// Check steps (fail when the check does not hold):
//   text SEL TEXT        the control's text contains TEXT
//   enabled SEL / disabled SEL
//   rows SEL             prints the list's rows (cells split by " | ")
//   row SEL TEXT [CELL]  some row has a cell containing TEXT (and a non-empty CELL-th cell)
//   norow SEL TEXT       no row has a cell containing TEXT
//   rowcount SEL N
//   column SEL TEXT      some column title of the list contains TEXT
//   tree SEL             prints the tree's nodes, indented, with their check state
//   node SEL TEXT [STATE] some node contains TEXT (with that check state)
//   combo SEL            prints the combo box's items
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "automation/input.h"
#include "automation/remote_views.h"
#include "automation/window_search.h"

namespace orvix::automation {
namespace {

using TArgs = std::vector<std::wstring>;
using namespace std::chrono_literals;

void Print(const std::wstring& text) {
  const std::wstring line = text + L"\n";
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string bytes(size, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), size, nullptr,
                        nullptr);
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Splits a step at blanks; double quotes keep blanks inside one word.
TArgs Words(const std::wstring& step) {
  TArgs words;
  std::wstring word;
  bool quoted = false, any = false;
  for (const wchar_t c : step) {
    if (c == L'"') {
      quoted = !quoted;
      any = true;
    } else if (c == L' ' && !quoted) {
      if (any) words.push_back(word);
      word.clear();
      any = false;
    } else {
      word += c;
      any = true;
    }
  }
  if (any) words.push_back(word);
  return words;
}

int Number(const std::wstring& text) { return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10)); }

// The value of "name=value" among the words, or the default.
std::wstring Option(const TArgs& args, const std::wstring& name, const std::wstring& fallback = {}) {
  for (const std::wstring& arg : args) {
    if (arg.rfind(name + L"=", 0) == 0) return arg.substr(name.size() + 1);
  }
  return fallback;
}

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

std::wstring Joined(const std::vector<std::wstring>& cells) {
  std::wstring line;
  for (size_t i = 0; i < cells.size(); ++i) line += (i ? L" | " : L"") + cells[i];
  return line;
}

bool Poll(int seconds, const auto& check) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  for (;;) {
    if (check()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(200ms);
  }
}

class TRunner {
 public:
  // Empty when the step passed, else why not.
  std::wstring Run(const TArgs& args) {
    if (args.empty()) return L"empty step";
    const std::wstring& verb = args[0];
    if (verb == L"window") return FindWindowStep(args);
    if (verb == L"wait") return WaitStep(args);
    if (verb == L"sleep") {
      if (args.size() > 1) ::Sleep(Number(args[1]));
      return {};
    }
    if (!window_ || !::IsWindow(window_)) return L"no current window";
    if (verb == L"gone") {
      const HWND window = window_;
      return Poll(Number(Option(args, L"timeout", L"30")), [&] { return !::IsWindow(window) || !::IsWindowVisible(window); })
                 ? L""
                 : L"the window is still there";
    }
    if (verb == L"controls") return ListControls();
    if (verb == L"rect") {
      RECT bounds{};
      ::GetWindowRect(window_, &bounds);
      Print(std::to_wstring(bounds.left) + L" " + std::to_wstring(bounds.top) + L" " +
            std::to_wstring(bounds.right - bounds.left) + L" " + std::to_wstring(bounds.bottom - bounds.top));
      return {};
    }
    if (verb == L"command" && args.size() > 1) {
      PostCommand(window_, Number(args[1]));
      return {};
    }
    if (verb == L"close") {
      ::PostMessageW(window_, WM_CLOSE, 0, 0);
      return {};
    }
    if (args.size() < 2) return L"missing control";
    const HWND control = FindControl(window_, args[1]);
    if (verb == L"key") {
      const HWND target = args.size() > 2 ? FindControl(window_, args[2]) : window_;
      if (!target) return L"no control " + args[2];
      return PressKey(window_, target, args[1]) ? L"" : L"unknown key " + args[1];
    }
    if (!control) return L"no control " + args[1];
    return ControlStep(verb, control, args);
  }

 private:
  std::wstring FindWindowStep(const TArgs& args) {
    TWindowQuery query{Option(args, L"class"), Option(args, L"title"), Option(args, L"title~")};
    HWND found = nullptr;
    if (!Poll(Number(Option(args, L"timeout", L"30")), [&] { return (found = FindTopWindow(query)) != nullptr; }))
      return L"no such window";
    window_ = found;
    Print(L"window \"" + WindowText(found) + L"\" (" + ClassOf(found) + L")");
    return {};
  }

  std::wstring WaitStep(const TArgs& args) {
    if (args.size() < 3) return L"wait needs seconds and a step";
    const TArgs inner(args.begin() + 2, args.end());
    std::wstring failure;
    quiet_ = true;
    const bool passed = Poll(Number(args[1]), [&] {
      said_.clear();
      return (failure = Run(inner)).empty();
    });
    quiet_ = false;
    if (passed && !said_.empty()) Print(said_);  // what the passing attempt found
    return passed ? L"" : failure + L" (after waiting " + args[1] + L" s)";
  }

  std::wstring ListControls() {
    for (HWND control : Controls(window_)) {
      Print(ClassOf(control) + L" #" + std::to_wstring(::GetDlgCtrlID(control)) +
            (::IsWindowVisible(control) ? L"" : L" hidden") + (::IsWindowEnabled(control) ? L"" : L" disabled") +
            L" \"" + WindowText(control) + L"\"");
    }
    return {};
  }

  void Say(const std::wstring& text) {
    if (!quiet_) Print(text);
    else said_ += (said_.empty() ? L"" : L"\n") + text;
  }

  std::wstring ControlStep(const std::wstring& verb, HWND control, const TArgs& args) {
    const std::wstring arg2 = args.size() > 2 ? args[2] : L"";
    if (verb == L"click") return Click(control) ? L"" : L"the control is disabled";
    if (verb == L"type") {
      TypeText(control, arg2);
      return {};
    }
    if (verb == L"settext") {
      DWORD_PTR result = 0;
      ::SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg2.c_str()), SMTO_ABORTIFHUNG, 5000,
                            &result);
      return result ? L"" : L"the text was not taken";
    }
    if (verb == L"choose") {
      const std::vector<std::wstring> items = ComboItems(control);
      for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == arg2) return SelectComboItem(control, static_cast<int>(i)) ? L"" : L"not selected";
      }
      return L"no item " + arg2;
    }
    if (verb == L"column") {
      for (const std::wstring& title : ListColumns(control)) {
        if (Contains(title, arg2)) {
          Say(L"column \"" + title + L"\"");
          return {};
        }
      }
      return L"no column holds " + arg2;
    }
    if (verb == L"enabled") return ::IsWindowEnabled(control) ? L"" : L"disabled";
    if (verb == L"disabled") return ::IsWindowEnabled(control) ? L"enabled" : L"";
    if (verb == L"text") {
      const std::wstring text = WindowText(control);
      Say(L"text \"" + text + L"\"");
      return Contains(text, arg2) ? L"" : L"the text is \"" + text + L"\"";
    }
    if (verb == L"combo") {
      for (const std::wstring& item : ComboItems(control)) Say(item);
      return {};
    }
    if (verb == L"tree" || verb == L"node") return TreeStep(verb, control, args);
    return ListStep(verb, control, args);
  }

  std::wstring ListStep(const std::wstring& verb, HWND control, const TArgs& args) {
    const auto rows = ListRows(control);
    if (!rows) return L"the list cannot be read (another bitness, or gone)";
    const std::wstring arg2 = args.size() > 2 ? args[2] : L"";
    const auto rowWith = [&](const std::wstring& part) -> int {
      for (size_t i = 0; i < rows->size(); ++i) {
        for (const std::wstring& cell : (*rows)[i]) {
          if (Contains(cell, part)) return static_cast<int>(i);
        }
      }
      return -1;
    };
    if (verb == L"rows") {
      for (const auto& row : *rows) Say(Joined(row));
      return {};
    }
    if (verb == L"rowcount") {
      return static_cast<int>(rows->size()) == Number(arg2) ? L"" : std::to_wstring(rows->size()) + L" rows";
    }
    if (verb == L"norow") return rowWith(arg2) < 0 ? L"" : L"a row holds " + arg2;
    const int row = rowWith(arg2);
    if (row < 0) return L"no row holds " + arg2;
    if (verb == L"row") {
      Say(Joined((*rows)[row]));
      if (args.size() > 3) {
        const size_t cell = static_cast<size_t>(Number(args[3]));
        if (cell >= (*rows)[row].size() || (*rows)[row][cell].empty()) return L"the cell is empty";
      }
      return {};
    }
    if (verb == L"select") return SelectListRow(control, row) ? L"" : L"the row cannot be selected";
    return L"unknown step " + verb;
  }

  std::wstring TreeStep(const std::wstring& verb, HWND control, const TArgs& args) {
    const auto nodes = TreeNodes(control);
    if (!nodes) return L"the tree cannot be read";
    if (verb == L"tree") {
      for (const TTreeNode& node : *nodes)
        Say(std::wstring(node.depth * 2, L' ') + node.text + L" [" + std::to_wstring(node.checkState) + L"]");
      return {};
    }
    const std::wstring part = args.size() > 2 ? args[2] : L"";
    for (const TTreeNode& node : *nodes) {
      if (!Contains(node.text, part)) continue;
      if (args.size() > 3 && node.checkState != Number(args[3])) continue;
      Say(node.text);
      return {};
    }
    return L"no node holds " + part;
  }

  HWND window_ = nullptr;
  bool quiet_ = false;  // inside wait: what is said is kept for the attempt that passes
  std::wstring said_;
};

}  // namespace
}  // namespace orvix::automation

int wmain(int argc, wchar_t** argv) {
  orvix::automation::TRunner runner;
  for (int i = 1; i < argc; ++i) {
    const std::wstring failure = runner.Run(orvix::automation::Words(argv[i]));
    if (!failure.empty()) {
      orvix::automation::Print(L"FAILED: " + std::wstring(argv[i]) + L": " + failure);
      return 1;
    }
  }
  return 0;
}
