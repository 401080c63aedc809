#include "tests/lsp/lsp_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "tests/cli/tool_runner.h"

namespace quenvar::lsp::testing {
namespace {

// Long enough for a sanitizer build to check a line of 10 MB.
constexpr auto kPatience = std::chrono::seconds(120);

}  // namespace

LspSession::LspSession(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {cli::testing::ToolPath()};
  argv.insert(argv.end(), args.begin(), args.end());
  argv.insert(argv.begin() + 1, "lsp");
  std::vector<char*> pointers;
  for (std::string& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  int in[2], out[2];
  if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    ::dup2(in[0], STDIN_FILENO);
    ::dup2(out[1], STDOUT_FILENO);
    ::execv(pointers[0], pointers.data());
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  to_server_ = in[1];
  from_server_ = out[0];
  ::signal(SIGPIPE, SIG_IGN);
}

LspSession::~LspSession() {
  if (to_server_ >= 0) ::close(to_server_);
  if (from_server_ >= 0) ::close(from_server_);
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

void LspSession::SendBytes(const std::string& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t put = ::write(to_server_, bytes.data() + written, bytes.size() - written);
    if (put <= 0) throw std::runtime_error("the server takes no more input");
    written += static_cast<std::size_t>(put);
  }
}

void LspSession::Send(const json& message) {
  const std::string body = message.dump();
  SendBytes("Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
}

void LspSession::Notify(const std::string& method, const json& params) {
  Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
}

json LspSession::Request(const std::string& method, const json& params) {
  const int id = next_id_++;
  Send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
  json answer = WaitFor([&](const json& m) { return m.value("id", json()) == id; });
  if (answer.is_null()) ADD_FAILURE() << "no answer to " << method;
  return answer;
}

json LspSession::Initialize(json params) {
  if (!params.contains("capabilities")) params["capabilities"] = json::object();
  json answer = Request("initialize", params);
  Notify("initialized", json::object());
  return answer;
}

json LspSession::Next() {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (true) {
    const std::size_t header_end = pending_.find("\r\n\r\n");
    if (header_end != std::string::npos) {
      const std::size_t length = std::stoul(pending_.substr(pending_.find(':') + 1));
      if (pending_.size() >= header_end + 4 + length) {
        json message = json::parse(pending_.substr(header_end + 4, length));
        pending_.erase(0, header_end + 4 + length);
        return message;
      }
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd ready = {from_server_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
      return nullptr;
    }
    char buffer[1 << 16];
    const ssize_t got = ::read(from_server_, buffer, sizeof buffer);
    if (got <= 0) return nullptr;
    pending_.append(buffer, static_cast<std::size_t>(got));
  }
}

json LspSession::WaitFor(const std::function<bool(const json&)>& accept) {
  for (auto it = unseen_.begin(); it != unseen_.end(); ++it) {
    if (accept(*it)) {
      json message = std::move(*it);
      unseen_.erase(it);
      return message;
    }
  }
  for (json message = Next(); !message.is_null(); message = Next()) {
    if (accept(message)) return message;
    unseen_.push_back(std::move(message));
  }
  return nullptr;
}

json LspSession::Diagnostics(const std::string& uri, const json& version) {
  return WaitFor([&](const json& m) {
    return m.value("method", "") == "textDocument/publishDiagnostics" &&
           m["params"]["uri"] == uri &&
           (version.is_null() || m["params"].value("version", json()) == version);
  });
}

int LspSession::CloseAndWait() {
  ::close(to_server_);
  to_server_ = -1;
  return Wait();
}

int LspSession::Wait() {
  // Reads what is left, so that a server writing to a full pipe can end.
  while (!Next().is_null()) {
  }
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "the server did not end";
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    ::usleep(10000);
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::vector<std::string> MarkedWords(const json& published, const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::vector<std::string> words;
  for (const json& diagnostic : published["params"]["diagnostics"]) {
    const json& start = diagnostic["range"]["start"];
    const std::size_t begin = start["character"];
    const std::size_t end = diagnostic["range"]["end"]["character"];
    words.push_back(lines.at(start["line"]).substr(begin, end - begin));
  }
  return words;
}

json Range(int line, int character, int end_line, int end_character) {
  return {{"start", {{"line", line}, {"character", character}}},
          {"end", {{"line", end_line}, {"character", end_character}}}};
}

}  // namespace quenvar::lsp::testing
