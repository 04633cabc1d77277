#include "e2e/host_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace orvix::e2e {
namespace {

// The caller's environment with the overrides replacing or adding variables.
std::vector<std::string> MergedEnvironment(const EnvironmentOverrides& overrides) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('='));
    bool overridden = false;
    for (const auto& [key, value] : overrides) overridden = overridden || key == name;
    if (!overridden) merged.push_back(text);
  }
  for (const auto& [key, value] : overrides) merged.push_back(key + "=" + value);
  return merged;
}

std::vector<char*> PointersOf(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// A temporary file for one of the child's output streams, removed when done.
// A file rather than a pipe: a helper the program leaves running (a
// wineserver) would hold a pipe open.
class CaptureFile {
 public:
  CaptureFile() {
    const char* tmp = std::getenv("TMPDIR");
    path_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/orvix-e2e-output-XXXXXX";
    descriptor_ = ::mkstemp(path_.data());
    opened_ = descriptor_ >= 0;
  }
  ~CaptureFile() {
    CloseDescriptor();
    if (Opened()) ::unlink(path_.c_str());
  }
  CaptureFile(const CaptureFile&) = delete;
  CaptureFile& operator=(const CaptureFile&) = delete;

  bool Opened() const { return opened_; }
  int Descriptor() const { return descriptor_; }
  void CloseDescriptor() {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
  }
  std::string Text() const { return ReadWhole(path_); }

 private:
  std::string path_;
  int descriptor_ = -1;
  bool opened_ = false;
};

int StatusToExitCode(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

enum class WaitOutcome { kEnded, kTimedOut, kFailed };

// Waits for the child to end; past the deadline it is killed.
WaitOutcome WaitUntil(pid_t child, std::chrono::steady_clock::time_point deadline, int* status) {
  for (;;) {
    const pid_t waited = ::waitpid(child, status, WNOHANG);
    if (waited == child) return WaitOutcome::kEnded;
    if (waited < 0 && errno != EINTR) return WaitOutcome::kFailed;
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, status, 0);
      return WaitOutcome::kTimedOut;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace

RunResult RunHostProgram(const std::vector<std::string>& argv, const EnvironmentOverrides& environment,
                         std::chrono::seconds timeout, OutputStreams streams) {
  RunResult result;
  if (argv.empty()) return result;
  CaptureFile output;
  CaptureFile errors;
  if (!output.Opened() || !errors.Opened()) {
    result.output = "cannot create an output file: " + std::string(std::strerror(errno));
    return result;
  }
  const int errorsTarget = streams == OutputStreams::kApart ? errors.Descriptor() : output.Descriptor();

  // Everything the child needs is made before fork: it only calls
  // async-signal-safe functions afterwards.
  std::vector<std::string> arguments = argv;
  std::vector<std::string> variables = MergedEnvironment(environment);
  std::vector<char*> argumentPointers = PointersOf(arguments);
  std::vector<char*> variablePointers = PointersOf(variables);
  const pid_t child = ::fork();
  if (child == 0) {
    const int input = ::open("/dev/null", O_RDONLY);
    ::dup2(input, STDIN_FILENO);
    ::dup2(output.Descriptor(), STDOUT_FILENO);
    ::dup2(errorsTarget, STDERR_FILENO);
    ::execvpe(argumentPointers[0], argumentPointers.data(), variablePointers.data());
    ::_exit(127);
  }
  output.CloseDescriptor();
  errors.CloseDescriptor();
  if (child < 0) {
    result.output = "cannot start " + argv[0];
    return result;
  }

  int status = 0;
  const WaitOutcome outcome = WaitUntil(child, std::chrono::steady_clock::now() + timeout, &status);
  result.output = output.Text();
  result.errors = errors.Text();
  if (outcome == WaitOutcome::kTimedOut) result.output += "\n(killed after " + std::to_string(timeout.count()) + " s)";
  if (outcome != WaitOutcome::kEnded) return result;
  result.exitCode = StatusToExitCode(status);
  return result;
}

}  // namespace orvix::e2e
