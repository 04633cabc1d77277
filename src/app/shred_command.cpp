#include "app/shred_command.h"

#include "app/console_pump.h"
#include "app/orvix_commands.h"
#include "platform/file_helpers.h"
#include "platform/text.h"
#include "shredder/shredder_model.h"

namespace orvix {
namespace {

class ConsolePrompts : public IShredderPrompts {
 public:
  ConsolePrompts(ConsoleOutput& out, const TReadLine& readLine, bool assumeYes)
      : out_(out), readLine_(readLine), assumeYes_(assumeYes) {}

  bool Confirm(const std::wstring& question) override { return assumeYes_ || AskYesNo(out_, question, readLine_); }

  void Message(const std::wstring& text) override { out_.Line(text); }

 private:
  ConsoleOutput& out_;
  const TReadLine& readLine_;
  bool assumeYes_;
};

}  // namespace

int RunShredCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err,
                    const TReadLine& readLine) {
  std::vector<std::wstring> paths;
  bool assumeYes = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == L"--yes") {
      assumeYes = true;
    } else if (StartsWithText(args[i], L"--")) {
      return CommandLineError(err, L"unknown option for shred: " + args[i]);
    } else {
      paths.push_back(args[i]);
    }
  }
  if (paths.empty()) return CommandLineError(err, L"shred needs at least one file or folder");

  // The window passes over missing paths without a word. A script hears of
  // them, and since a mistyped path may be one of several, nothing is shredded.
  bool allFound = true;
  for (const std::wstring& path : paths) {
    if (FileExists(Trim(path)) || DirectoryExists(Trim(path))) continue;
    err.Line(L"orvix: no such file or folder: " + path);
    allFound = false;
  }
  if (!allFound) {
    err.Line(L"orvix: nothing was shredded.");
    return ecFailed;
  }

  ConsolePrompts prompts(out, readLine, assumeYes);
  ConsolePump pump;
  TFileShredderModel shredder(prompts);
  shredder.AddPaths(paths, pump);
  if (shredder.Rows().empty()) {
    out.Line(L"Nothing to shred.");
    return ecFailed;
  }
  const std::size_t listed = shredder.Rows().size();
  const TShredRun run = shredder.Shred(pump);
  shredder.Closed();
  if (!run.confirmed) {
    out.Line(L"Nothing was shredded.");
    return ecFailed;
  }
  out.Line(L"Shredded " + std::to_wstring(run.shredded) + L" of " + std::to_wstring(listed) + L" files.");
  if (run.unlinked > 0) {
    out.Line(L"Deleted " + std::to_wstring(run.unlinked) +
             L" links without overwriting: their data belongs to other names too.");
  }
  return run.shredded + run.unlinked == listed ? ecOk : ecFailed;
}

}  // namespace orvix
