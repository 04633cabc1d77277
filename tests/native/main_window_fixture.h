// A main window model over a simulated machine with three installed
// programs, its prompts and events recorded as text lines in call order.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "inventory/software_info.h"
#include "shell/main_window_model.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix::testing {

inline constexpr const wchar_t* kUninstall64 = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr const wchar_t* kUninstall32 =
    L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr WindowHandle kOwnWindow = 0x4242;

class RecordedMainPrompts : public IMainWindowPrompts {
 public:
  void Message(const std::wstring& text) override { lines.push_back("message " + Narrow(text)); }
  void Warning(const std::wstring& text) override { lines.push_back("warning " + Narrow(text)); }
  bool Ask(const std::wstring& question) override {
    lines.push_back("ask " + Narrow(question));
    return answer;
  }
  std::vector<std::string> lines;
  bool answer = true;
};

class MainWindowTest : public SimMachineTest {
 protected:
  MainWindowTest() {
    Machine().files.PutFile(L"C:\\Program Files\\Editor\\editor.exe", "MZ");
    Put(kUninstall64, L"Editor", L"Editor", L"C:\\Program Files\\Editor");
    Put(kUninstall32, L"Viewer", L"Viewer", L"");
    Put(kUninstall32, L"Cafe", L"Caf\u00e9 \u4e2d", L"");
  }

  void Put(const wchar_t* view, const std::wstring& key, const std::wstring& name, const std::wstring& location) {
    Registry().PutString(view + key, L"DisplayName", name);
    Registry().PutString(view + key, L"UninstallString", L"C:\\Uninstallers\\" + key + L".exe");
    if (!location.empty()) Registry().PutString(view + key, L"InstallLocation", location);
  }

  // Every event records its name; the open... events record what they got
  // and answer `removes`.
  TMainWindowEvents RecordingEvents() {
    TMainWindowEvents events;
    auto record = [this](const std::string& line) { return [this, line] { lines.push_back(line); }; };
    events.openSettings = record("settings");
    events.openLogManagement = record("log management");
    events.openAbout = record("about");
    events.bringToFront = record("front");
    events.showFloatingButton = record("floating button");
    events.focusList = record("focus list");
    events.removeAddons = record("remove add-ons");
    events.refreshAddons = record("refresh add-ons");
    events.languageChanged = record("language changed");
    events.openUninstall = [this](const std::vector<const TSoftInfo*>& entries) {
      std::string line = "uninstall";
      for (const TSoftInfo* entry : entries) line += " " + Narrow(entry->DisplayName);
      lines.push_back(line);
      return removes;
    };
    events.openForcedUninstall = [this] {
      lines.push_back("forced");
      return removes;
    };
    events.openForcedUninstallWithPath = [this](const std::wstring& path) {
      lines.push_back("forced path " + Narrow(path));
      return removes;
    };
    events.openForcedUninstallWithName = [this](const std::wstring& name) {
      lines.push_back("forced name " + Narrow(name));
      return removes;
    };
    events.updateForcedUninstallPath = [this](const std::wstring& path) {
      lines.push_back("update forced path " + Narrow(path));
    };
    events.updateForcedUninstallName = [this](const std::wstring& name) {
      lines.push_back("update forced name " + Narrow(name));
    };
    events.openShredder = [this](const std::vector<std::wstring>& files) {
      lines.push_back("shredder " + std::to_string(files.size()));
    };
    events.updateShredder = [this](const std::vector<std::wstring>& files) {
      lines.push_back("update shredder " + std::to_string(files.size()));
      return true;
    };
    events.filterAddons = [this](const std::wstring& filter) { lines.push_back("filter add-ons " + Narrow(filter)); };
    return events;
  }

  // A model created, activated and filled, as after the software timer.
  std::unique_ptr<TMainWindowModel> StartedModel(std::vector<std::wstring> arguments = {},
                                                 TMainWindowEvents events = {}) {
    if (!events.openSettings) events = RecordingEvents();
    TMainWindowOptions options;
    options.arguments = std::move(arguments);
    options.reportEvent = [this](const std::wstring& event, std::int32_t a) {
      reported.push_back(Narrow(event) + "/" + std::to_string(a));
    };
    auto model = std::make_unique<TMainWindowModel>(prompts, std::move(events), std::move(options));
    model->Create(kOwnWindow);
    model->Activate();
    model->LoadSoftware(std::make_unique<TSoftwareInfo>());
    return model;
  }

  static std::vector<std::string> Names(const TMainWindowModel& model) {
    std::vector<std::string> names;
    for (const TListRow& row : model.SoftwarePage().Rows()) names.push_back(Narrow(row.entry->DisplayName));
    return names;
  }

  static std::size_t RowOf(const TMainWindowModel& model, const std::wstring& name) {
    const auto& rows = model.SoftwarePage().Rows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
      if (rows[row].entry->DisplayName == name) return row;
    }
    ADD_FAILURE() << "not listed: " << Narrow(name);
    return 0;
  }

  // Messages the model posted to its own window.
  std::vector<DWORD> PostedToSelf() {
    std::vector<DWORD> posted;
    for (const sim::SimWindowMessage& message : Machine().windows.Messages()) {
      if (message.window == kOwnWindow) posted.push_back(message.message);
    }
    return posted;
  }

  RecordedMainPrompts prompts;
  std::vector<std::string> lines;
  std::vector<std::string> reported;
  bool removes = false;
};

}  // namespace orvix::testing
