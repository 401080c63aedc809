// A language-server client for tests: `quenvarspell lsp` in a child
// process, spoken to over pipes, one message at a time.

#ifndef QUENVARSPELL_TESTS_LSP_LSP_SESSION_H_
#define QUENVARSPELL_TESTS_LSP_LSP_SESSION_H_

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace quenvar::lsp::testing {

using nlohmann::json;

class LspSession {
 public:
  // Starts the tool with args after "lsp" (--personal FILE, ...).
  explicit LspSession(const std::vector<std::string>& args);
  ~LspSession();  // kills the server if it still runs
  LspSession(const LspSession&) = delete;
  LspSession& operator=(const LspSession&) = delete;

  // Writes bytes, or one framed message, to the server's input.
  void SendBytes(const std::string& bytes);
  void Send(const json& message);
  void Notify(const std::string& method, const json& params);
  // Sends a request and returns its answer, handing the messages that come
  // before it to the messages seen so far.
  json Request(const std::string& method, const json& params);
  // initialize with params (capabilities are added), then initialized.
  json Initialize(json params = json::object());

  // The next message the server sends, or null after 120 s or at its end.
  json Next();
  // The first message, seen already or next, that satisfies accept; null
  // when none comes within 120 s. Messages before it stay seen.
  json WaitFor(const std::function<bool(const json&)>& accept);
  // The first diagnostics published for uri (of that version, when one is
  // given) not taken yet.
  json Diagnostics(const std::string& uri, const json& version = nullptr);

  // Closes the server's input and returns its exit status.
  int CloseAndWait();
  // Waits for the server to exit by itself and returns its status.
  int Wait();

 private:
  pid_t pid_ = -1;
  int to_server_ = -1;
  int from_server_ = -1;
  std::string pending_;       // bytes read and not yet a message
  std::vector<json> unseen_;  // messages read and not yet taken
  int next_id_ = 1;
};

// The words at the ranges of diagnostics of a publishDiagnostics message,
// given the document's text (UTF-8, ASCII columns).
std::vector<std::string> MarkedWords(const json& published, const std::string& text);

json Range(int line, int character, int end_line, int end_character);

}  // namespace quenvar::lsp::testing

#endif  // QUENVARSPELL_TESTS_LSP_LSP_SESSION_H_
