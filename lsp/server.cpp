#include "lsp/server.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include <quenvarspell/spell_check.h>

namespace quenvar::lsp {
namespace {

using nlohmann::json;

constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kInternalError = -32603;
constexpr int kServerNotInitialized = -32002;
constexpr int kRequestFailed = -32803;
constexpr int kRequestCancelled = -32800;

constexpr int kCorrectionsOffered = 5;

// A request's error answer.
class RequestError : public std::runtime_error {
 public:
  RequestError(int error_code, const std::string& message)
      : std::runtime_error(message), code(error_code) {}
  int code;
};

json ErrorAnswer(const json& id, int code, const std::string& message) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}};
}

// The local file a file: URI names, percent-decoded; nullopt for another
// scheme or a host of its own.
std::optional<std::filesystem::path> PathOfUri(std::string_view uri) {
  if (!uri.starts_with("file://")) return std::nullopt;
  uri.remove_prefix(7);
  if (uri.starts_with("localhost/")) uri.remove_prefix(9);
  if (!uri.starts_with("/")) return std::nullopt;
  std::string path;
  for (std::size_t i = 0; i < uri.size(); ++i) {
    const auto hex = [](char c) {
      return c >= '0' && c <= '9' ? c - '0'
             : c >= 'a' && c <= 'f' ? c - 'a' + 10
             : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                    : -1;
    };
    if (uri[i] == '%' && i + 2 < uri.size() && hex(uri[i + 1]) >= 0 && hex(uri[i + 2]) >= 0) {
      path += static_cast<char>(hex(uri[i + 1]) * 16 + hex(uri[i + 2]));
      i += 2;
    } else {
      path += uri[i];
    }
  }
  return path;
}

Position PositionOf(const json& position) {
  return {position.at("line").get<std::size_t>(), position.at("character").get<std::size_t>()};
}

}  // namespace

Server::Server(Send send, std::filesystem::path personal, Spelling spelling)
    : send_(std::move(send)),
      command_line_personal_(std::move(personal)),
      command_line_spelling_(spelling) {}

void Server::Receive(Frame frame) {
  if (!frame.error.empty()) {
    send_(ErrorAnswer(nullptr, kParseError, frame.error));
    return;
  }
  json message = json::parse(frame.body, nullptr, false);
  if (message.is_discarded()) {
    send_(ErrorAnswer(nullptr, kParseError, "a message that is no JSON"));
    return;
  }
  if (message.is_object() && message.value("method", json()) == "$/cancelRequest") {
    const json params = message.value("params", json::object());
    if (params.is_object() && params.contains("id")) cancelled_.push_back(params["id"]);
    return;
  }
  queue_.push_back(std::move(message));
}

void Server::HandleReceived() {
  for (std::size_t i = 0; i < queue_.size() && !exit_status_; ++i) Handle(queue_[i]);
  queue_.clear();
  cancelled_.clear();
  if (exit_status_) return;
  for (const std::string& uri : changed_) {
    if (const auto it = documents_.find(uri); it != documents_.end()) Publish(uri, it->second);
  }
  changed_.clear();
}

void Server::Handle(const json& message) {
  const json no_id;
  if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
    // Answers to requests of ours: the server sends none.
    if (message.is_object() && message.contains("id") &&
        (message.contains("result") || message.contains("error"))) {
      return;
    }
    send_(ErrorAnswer(message.is_object() ? message.value("id", no_id) : no_id,
                      kInvalidRequest, "a message that is no request or notification"));
    return;
  }
  const std::string& method = message["method"].get_ref<const std::string&>();
  const json no_params = json::object();
  const json& params = message.contains("params") ? message["params"] : no_params;
  if (!message.contains("id")) {
    try {
      Notify(method, params);
    } catch (const std::exception& e) {
      Log(method + ": " + e.what());
    }
    return;
  }
  const json& id = message["id"];
  if (!id.is_string() && !id.is_number_integer()) {
    send_(ErrorAnswer(no_id, kInvalidRequest, "a request id is a number or a string"));
    return;
  }
  if (std::ranges::find(cancelled_, id) != cancelled_.end()) {
    send_(ErrorAnswer(id, kRequestCancelled, "cancelled"));
    return;
  }
  try {
    send_({{"jsonrpc", "2.0"}, {"id", id}, {"result", Call(method, params)}});
  } catch (const RequestError& e) {
    send_(ErrorAnswer(id, e.code, e.what()));
  } catch (const json::exception& e) {
    send_(ErrorAnswer(id, kInvalidParams, e.what()));
  } catch (const std::exception& e) {
    send_(ErrorAnswer(id, kInternalError, e.what()));
  }
}

json Server::Call(const std::string& method, const json& params) {
  if (method == "initialize") {
    if (initialized_) throw RequestError(kInvalidRequest, "initialize came twice");
    return Initialize(params);
  }
  if (!initialized_) throw RequestError(kServerNotInitialized, "initialize comes first");
  if (shut_down_) throw RequestError(kInvalidRequest, "the server is shut down");
  if (method == "shutdown") {
    shut_down_ = true;
    return nullptr;
  }
  if (method == "textDocument/codeAction") return CodeActions(params);
  if (method == "workspace/executeCommand") return ExecuteCommand(params);
  throw RequestError(kMethodNotFound, "no method " + method);
}

void Server::Notify(const std::string& method, const json& params) {
  if (method == "exit") {
    exit_status_ = shut_down_ ? 0 : 1;
    return;
  }
  if (!initialized_ || shut_down_) return;
  if (method == "textDocument/didOpen") {
    const json& item = params.at("textDocument");
    const std::string& uri = item.at("uri").get_ref<const std::string&>();
    documents_.insert_or_assign(
        uri, OpenDocument{item.value("languageId", ""), item.value("version", json()),
                          Document(item.at("text").get_ref<const std::string&>(), encoding_)});
    changed_.insert(uri);
  } else if (method == "textDocument/didChange") {
    const std::string& uri = params.at("textDocument").at("uri").get_ref<const std::string&>();
    const auto it = documents_.find(uri);
    if (it == documents_.end()) throw std::runtime_error("no open document " + uri);
    for (const json& change : params.at("contentChanges")) {
      const std::string& text = change.at("text").get_ref<const std::string&>();
      if (change.contains("range")) {
        const json& range = change["range"];
        it->second.text.Replace(PositionOf(range.at("start")), PositionOf(range.at("end")), text);
      } else {
        it->second.text.ReplaceAll(text);
      }
    }
    it->second.version = params["textDocument"].value("version", json());
    changed_.insert(uri);
  } else if (method == "textDocument/didClose") {
    const std::string& uri = params.at("textDocument").at("uri").get_ref<const std::string&>();
    documents_.erase(uri);
    changed_.erase(uri);
    send_({{"jsonrpc", "2.0"},
           {"method", "textDocument/publishDiagnostics"},
           {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
  } else if (method == "textDocument/didSave") {
    // A project word list saved from the editor: a watch may not see it.
    const std::optional<std::filesystem::path> path =
        PathOfUri(params.at("textDocument").at("uri").get_ref<const std::string&>());
    if (path && std::ranges::find(roots_, path->parent_path()) != roots_.end() &&
        path->filename() == kProjectWordsFile) {
      ReloadProjectWords();
    }
  } else if (method == "workspace/didChangeConfiguration") {
    ApplySettings(params.at("settings"));
  }
}

json Server::Initialize(const json& params) {
  initialized_ = true;
  const json encodings = params.value(json::json_pointer("/capabilities/general/positionEncodings"),
                                      json::array());
  if (encodings.is_array() && std::ranges::find(encodings, "utf-8") != encodings.end()) {
    encoding_ = PositionEncoding::kUtf8;
  }
  std::vector<std::string> uris;
  if (params.contains("workspaceFolders") && params["workspaceFolders"].is_array()) {
    for (const json& folder : params["workspaceFolders"]) {
      uris.push_back(folder.at("uri").get<std::string>());
    }
  } else if (params.contains("rootUri") && params["rootUri"].is_string()) {
    uris.push_back(params["rootUri"].get<std::string>());
  }
  for (const std::string& uri : uris) {
    if (std::optional<std::filesystem::path> path = PathOfUri(uri)) roots_.push_back(*path);
  }
  if (uris.empty() && params.contains("rootPath") && params["rootPath"].is_string()) {
    roots_.emplace_back(params["rootPath"].get<std::string>());
  }
  vocabulary_.emplace();
  ApplySettings(params.value("initializationOptions", json::object()));
  watch_ = std::make_unique<FileWatch>(roots_, kProjectWordsFile);
  return {
      {"capabilities",
       {{"positionEncoding", encoding_ == PositionEncoding::kUtf8 ? "utf-8" : "utf-16"},
        {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
        {"codeActionProvider", {{"codeActionKinds", json::array({"quickfix"})}}},
        {"executeCommandProvider",
         {{"commands", json::array({kAddToDictionaryCommand, kIgnoreWordCommand})}}}}},
      {"serverInfo", {{"name", "quenvarspell"}, {"version", QUENVAR_VERSION}}}};
}

void Server::ApplySettings(const json& value) {
  for (const std::string& problem : ReadSettings(value, settings_)) Log("settings: " + problem);
  vocabulary_->SetSpelling(settings_.spelling.value_or(command_line_spelling_));
  // Loaded again only when it is another file: words accepted for the
  // session after a failed save stay.
  try {
    const std::filesystem::path personal = PersonalDictionary();
    if (!loaded_personal_ || *loaded_personal_ != personal) {
      loaded_personal_ = personal;
      vocabulary_->LoadPersonal(personal);
    }
  } catch (const std::exception& e) {
    Log(std::string("personal dictionary: ") + e.what());
  }
  ReloadProjectWords();
}

std::filesystem::path Server::PersonalDictionary() const {
  if (!settings_.personal_dictionary.empty()) return settings_.personal_dictionary;
  if (!command_line_personal_.empty()) return command_line_personal_;
  return ToUtf8(PersonalDictionaryFile());
}

void Server::ReloadProjectWords() {
  std::vector<std::u16string> words;
  for (const std::filesystem::path& root : roots_) {
    try {
      std::vector<std::u16string> list = ReadWordList(root / kProjectWordsFile);
      words.insert(words.end(), list.begin(), list.end());
    } catch (const std::exception& e) {
      Log(std::string("project word list: ") + e.what());
    }
  }
  vocabulary_->SetProjectWords(words);
  RecheckAll();
}

void Server::WatchReadable() {
  if (watch_->Changed()) ReloadProjectWords();
}

void Server::RecheckAll() {
  for (auto& [uri, document] : documents_) {
    document.text.Uncheck();
    changed_.insert(uri);
  }
}

json Server::ExecuteCommand(const json& params) {
  const std::string& command = params.at("command").get_ref<const std::string&>();
  const json arguments = params.value("arguments", json::array());
  if (command != kAddToDictionaryCommand && command != kIgnoreWordCommand) {
    throw RequestError(kInvalidParams, "no command " + command);
  }
  if (arguments.size() != 1 || !arguments[0].is_string()) {
    throw RequestError(kInvalidParams, command + " takes the word as its one argument");
  }
  const std::u16string word = FromUtf8(arguments[0].get<std::string>());
  RecheckAll();
  if (command == kIgnoreWordCommand) {
    vocabulary_->Ignore(word);
    return nullptr;
  }
  try {
    vocabulary_->AddToPersonal(word, PersonalDictionary());
  } catch (const std::exception& e) {
    throw RequestError(kRequestFailed, std::string("not added to the personal dictionary: ") +
                                           e.what());
  }
  return nullptr;
}

json Server::CodeActions(const json& params) {
  const std::string& uri = params.at("textDocument").at("uri").get_ref<const std::string&>();
  const auto it = documents_.find(uri);
  if (it == documents_.end()) throw RequestError(kInvalidParams, "no open document " + uri);
  json actions = json::array();
  const json only = params.value(json::json_pointer("/context/only"), json());
  if (only.is_array() && std::ranges::find(only, "quickfix") == only.end()) return actions;
  Document& document = it->second.text;
  document.Check(LineChecker(KindOfDocument(settings_, it->second.language_id), *vocabulary_));
  const Position start = PositionOf(params.at("range").at("start"));
  const Position end = PositionOf(params.at("range").at("end"));
  for (std::size_t line = start.line; line <= end.line && line < document.lines().size();
       ++line) {
    for (const Mark& mark : document.lines()[line].marks) {
      if ((line == start.line && mark.end < start.character) ||
          (line == end.line && mark.start > end.character)) {
        continue;
      }
      const json diagnostic = Diagnostic(line, mark);
      const std::string word = ToUtf8(mark.word);
      bool preferred = true;
      for (const std::u16string& correction :
           vocabulary_->Corrections(mark.word, kCorrectionsOffered)) {
        const json replacement = {{"range", diagnostic["range"]},
                                  {"newText", ToUtf8(correction)}};
        json changes = json::object();
        changes[uri] = json::array({replacement});
        json action = {{"title", "Replace with \"" + ToUtf8(correction) + "\""},
                       {"kind", "quickfix"},
                       {"diagnostics", json::array({diagnostic})},
                       {"edit", {{"changes", std::move(changes)}}}};
        if (preferred) action["isPreferred"] = true;
        preferred = false;
        actions.push_back(std::move(action));
      }
      for (const auto& [title, command] :
           {std::pair{"Add \"" + word + "\" to dictionary", kAddToDictionaryCommand},
            std::pair{"Ignore \"" + word + "\"", kIgnoreWordCommand}}) {
        actions.push_back({{"title", title},
                           {"kind", "quickfix"},
                           {"diagnostics", json::array({diagnostic})},
                           {"command", {{"title", title},
                                        {"command", command},
                                        {"arguments", json::array({word})}}}});
      }
    }
  }
  return actions;
}

json Server::Diagnostic(std::size_t line, const Mark& mark) const {
  return {{"range",
           {{"start", {{"line", line}, {"character", mark.start}}},
            {"end", {{"line", line}, {"character", mark.end}}}}},
          {"severity", settings_.severity},
          {"source", "quenvarspell"},
          {"message", "Unknown word \"" + ToUtf8(mark.word) + "\""}};
}

void Server::Publish(const std::string& uri, OpenDocument& document) {
  document.text.Check(LineChecker(KindOfDocument(settings_, document.language_id), *vocabulary_));
  // The lines' diagnostics are moved into the message and back after it is
  // sent: a line that did not change is neither rebuilt nor copied.
  json message = {{"jsonrpc", "2.0"},
                  {"method", "textDocument/publishDiagnostics"},
                  {"params", {{"uri", uri}, {"diagnostics", json::array()}}}};
  if (!document.version.is_null()) message["params"]["version"] = document.version;
  json& diagnostics = message["params"]["diagnostics"];
  const std::vector<Line>& lines = document.text.lines();
  std::size_t count = 0;
  for (std::size_t number = 0; number < lines.size(); ++number) {
    const Line& line = lines[number];
    if (line.marks.empty()) continue;
    if (line.sent.is_null()) {
      line.sent = json::array();
      for (const Mark& mark : line.marks) line.sent.push_back(Diagnostic(number, mark));
    } else if (line.sent_line != number) {
      for (json& diagnostic : line.sent) {
        diagnostic["range"]["start"]["line"] = number;
        diagnostic["range"]["end"]["line"] = number;
      }
    }
    line.sent_line = number;
    for (json& diagnostic : line.sent) {
      if (count++ < Document::kMaxMarks) diagnostics.push_back(std::move(diagnostic));
    }
  }
  send_(message);
  auto next = diagnostics.begin();
  for (const Line& line : lines) {
    for (json& diagnostic : line.sent) {
      if (next == diagnostics.end()) break;
      diagnostic = std::move(*next++);
    }
  }
}

void Server::Log(const std::string& text) {
  send_({{"jsonrpc", "2.0"},
         {"method", "window/logMessage"},
         {"params", {{"type", 2}, {"message", "quenvarspell: " + text}}}});
}

namespace {

// Writes all of bytes to fd; false when the client is gone.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

}  // namespace

int RunLanguageServer(int input, int output, const std::filesystem::path& personal,
                      Spelling spelling) {
  // A client that is gone shows as a failed write, not a signal.
  ::signal(SIGPIPE, SIG_IGN);
  bool client_gone = false;
  Server server(
      [&](const json& message) {
        if (client_gone) return;
        const std::string body = message.dump(-1, ' ', false, json::error_handler_t::replace);
        client_gone = !WriteAll(output, "Content-Length: " + std::to_string(body.size()) +
                                            "\r\n\r\n" + body);
      },
      personal, spelling);
  MessageReader reader;
  std::vector<Frame> frames;
  std::string buffer(1 << 16, '\0');
  bool input_open = true;
  while (input_open && !client_gone) {
    server.HandleReceived();
    if (server.exit_status()) return *server.exit_status();
    const int watch = server.watch() ? server.watch()->fd() : -1;
    pollfd fds[2] = {{input, POLLIN, 0}, {watch, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents != 0) server.WatchReadable();
    // Everything the client has sent by now is read before any of it is
    // handled, so that a cancellation can overtake its request and a run
    // of changes is checked once.
    for (short ready = fds[0].revents; ready != 0 && input_open;) {
      const ssize_t got = ::read(input, buffer.data(), buffer.size());
      if (got < 0 && errno == EINTR) continue;
      input_open = got > 0;
      if (input_open) reader.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)), frames);
      for (Frame& frame : frames) server.Receive(std::move(frame));
      frames.clear();
      pollfd more = {input, POLLIN, 0};
      ready = ::poll(&more, 1, 0) > 0 ? more.revents : 0;
    }
  }
  server.HandleReceived();
  return server.exit_status().value_or(server.shut_down() ? 0 : 1);
}

}  // namespace quenvar::lsp
