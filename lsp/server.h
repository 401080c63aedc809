// `quenvarspell lsp`: a language server that marks unknown words as
// diagnostics and offers corrections, "Add to dictionary" and "Ignore" as
// code actions.

#ifndef QUENVARSPELL_LSP_SERVER_H_
#define QUENVARSPELL_LSP_SERVER_H_

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "lsp/document.h"
#include "lsp/file_watch.h"
#include "lsp/message_reader.h"
#include "lsp/settings.h"
#include "lsp/vocabulary.h"

namespace quenvar::lsp {

// The commands of the code actions, for workspace/executeCommand; each
// takes the word as its one argument.
inline constexpr const char* kAddToDictionaryCommand = "quenvarspell.addToDictionary";
inline constexpr const char* kIgnoreWordCommand = "quenvarspell.ignoreWord";

// The project word list the server reads at each workspace root.
inline constexpr const char* kProjectWordsFile = ".quenvarspell-words";

// One session with a client, on the thread that creates it, whose word
// lists it uses.
class Server {
 public:
  using Send = std::function<void(const nlohmann::json&)>;

  // send writes a message to the client. personal is the personal
  // dictionary the command line names; empty: the user's
  // (PersonalDictionaryFile()). spelling is the one the command line or the
  // environment chose, which the setting "language" overrides.
  Server(Send send, std::filesystem::path personal, Spelling spelling);

  // Queues a frame the client sent. A $/cancelRequest takes effect at once
  // for the requests queued.
  void Receive(Frame frame);

  // Handles what is queued, in order, then sends the diagnostics of the
  // documents that changed.
  void HandleReceived();

  // The watch on the project word lists (fd() -1 when there is none), and
  // what to call when it is readable.
  const FileWatch* watch() const { return watch_.get(); }
  void WatchReadable();

  // Set once the client sent exit: 0 after a shutdown, else 1.
  std::optional<int> exit_status() const { return exit_status_; }
  bool shut_down() const { return shut_down_; }

 private:
  struct OpenDocument {
    std::string language_id;
    nlohmann::json version;
    Document text;
  };

  void Handle(const nlohmann::json& message);
  nlohmann::json Call(const std::string& method, const nlohmann::json& params);
  void Notify(const std::string& method, const nlohmann::json& params);
  nlohmann::json Initialize(const nlohmann::json& params);
  void ApplySettings(const nlohmann::json& value);
  nlohmann::json CodeActions(const nlohmann::json& params);
  nlohmann::json ExecuteCommand(const nlohmann::json& params);
  void Log(const std::string& text);
  void ReloadProjectWords();
  void RecheckAll();
  void Publish(const std::string& uri, OpenDocument& document);
  nlohmann::json Diagnostic(std::size_t line, const Mark& mark) const;
  std::filesystem::path PersonalDictionary() const;

  Send send_;
  std::filesystem::path command_line_personal_;
  Spelling command_line_spelling_;
  std::optional<std::filesystem::path> loaded_personal_;
  std::optional<Vocabulary> vocabulary_;  // loaded at initialize
  Settings settings_;
  PositionEncoding encoding_ = PositionEncoding::kUtf16;
  std::vector<std::filesystem::path> roots_;
  std::unique_ptr<FileWatch> watch_;
  std::map<std::string, OpenDocument> documents_;
  std::set<std::string> changed_;  // documents to check and publish
  std::vector<nlohmann::json> queue_;
  std::vector<nlohmann::json> cancelled_;
  bool initialized_ = false;
  bool shut_down_ = false;
  std::optional<int> exit_status_;
};

// Serves one client on input and output until it sends exit or its end of
// input; returns the exit status the protocol asks for. personal and
// spelling are as Server takes them.
int RunLanguageServer(int input, int output, const std::filesystem::path& personal,
                      Spelling spelling);

}  // namespace quenvar::lsp

#endif  // QUENVARSPELL_LSP_SERVER_H_
