// The language server on a 1 MB Markdown document: the first diagnostics
// after didOpen, and the new diagnostics after an edit of one line, both
// timed inside the server from the message's arrival to the diagnostics
// written out; and the resident memory of `quenvarspell lsp` with the
// document open. The goals: 100 ms, 5 ms, 20 MiB.
//
// The document is made from the first megabyte of big.txt of the shared
// corpus beside the repository (../shared/corpus/): its paragraphs, with a
// heading every ten, and a list, a link, a code span and a fenced code
// block every fifty.

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "lsp/server.h"

namespace {

using nlohmann::json;

constexpr std::size_t kDocumentBytes = 1 << 20;
constexpr const char* kUri = "file:///bench/document.md";

std::string MarkdownDocument() {
  const std::filesystem::path corpus =
      std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "shared" /
      "corpus" / "big.txt";
  std::ifstream in(corpus);
  std::string document;
  std::string paragraph;
  int paragraphs = 0;
  for (std::string line; document.size() < kDocumentBytes && std::getline(in, line);) {
    if (!line.empty()) {
      paragraph += line + "\n";
      continue;
    }
    if (paragraph.empty()) continue;
    if (paragraphs % 10 == 0) document += "## Part " + std::to_string(paragraphs / 10) + "\n\n";
    if (paragraphs % 50 == 25) {
      document += "- a *list* item with a [link](https://example.com/wrld/" +
                  std::to_string(paragraphs) + ")\n- and `code_span` here\n\n"
                  "```sh\ngrep -r qzxv /tmp/recieve\n```\n\n";
    }
    document += paragraph + "\n";
    paragraph.clear();
    ++paragraphs;
  }
  document.resize(std::min(document.size(), kDocumentBytes));
  return document;
}

const std::string& Document() {
  static const std::string document = MarkdownDocument();
  return document;
}

json Message(const std::string& method, json params) {
  return {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

json Open() {
  return Message("textDocument/didOpen",
                 {{"textDocument",
                   {{"uri", kUri}, {"languageId", "markdown"}, {"version", 1},
                    {"text", Document()}}}});
}

// A server whose messages are serialized as they would be written, and
// counted, but go nowhere.
struct BenchServer {
  BenchServer()
      : server(
            [this](const json& message) {
              sent_bytes += message.dump(-1, ' ', false, json::error_handler_t::replace).size();
              if (message.value("method", "") == "textDocument/publishDiagnostics" &&
                  !message["params"]["diagnostics"].empty()) {
                diagnostics = message["params"]["diagnostics"].size();
              }
            },
            "/nonexistent/personal.dic", quenvar::Spelling::kEnglish) {
    Take(json{{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"},
              {"params", {{"capabilities", json::object()}}}}
             .dump());
  }
  // Hands the server a message as read from the client, and lets it answer.
  void Take(std::string body) {
    server.Receive({std::move(body), {}});
    server.HandleReceived();
  }
  std::size_t sent_bytes = 0;
  std::size_t diagnostics = 0;
  quenvar::lsp::Server server;
};

void BM_FirstDiagnostics(benchmark::State& state) {
  BenchServer bench;
  const std::string open = Open().dump();
  const std::string close =
      Message("textDocument/didClose", {{"textDocument", {{"uri", kUri}}}}).dump();
  for (auto _ : state) {
    state.PauseTiming();
    std::string body = open;
    state.ResumeTiming();
    bench.Take(std::move(body));
    state.PauseTiming();
    bench.Take(close);
    state.ResumeTiming();
  }
  state.counters["diagnostics"] = static_cast<double>(bench.diagnostics);
  state.counters["document_bytes"] = static_cast<double>(Document().size());
}
BENCHMARK(BM_FirstDiagnostics)->Unit(benchmark::kMillisecond);

// A word in the middle line changed back and forth, a misspelling and its
// correction, so that each edit changes the diagnostics.
void BM_EditOneLine(benchmark::State& state) {
  BenchServer bench;
  bench.Take(Open().dump());
  const std::size_t middle =
      static_cast<std::size_t>(std::count(Document().begin(), Document().end(), '\n') / 2);
  int version = 1;
  for (auto _ : state) {
    state.PauseTiming();
    ++version;
    const bool misspell = version % 2 == 0;
    const json range = {{"start", {{"line", middle}, {"character", 0}}},
                        {"end", {{"line", middle}, {"character", misspell ? 0 : 8}}}};
    std::string change =
        Message("textDocument/didChange",
                {{"textDocument", {{"uri", kUri}, {"version", version}}},
                 {"contentChanges",
                  json::array({{{"range", range}, {"text", misspell ? "recieve " : ""}}})}})
            .dump();
    state.ResumeTiming();
    bench.Take(std::move(change));
  }
  state.counters["diagnostics"] = static_cast<double>(bench.diagnostics);
  state.counters["published_bytes"] =
      benchmark::Counter(static_cast<double>(bench.sent_bytes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_EditOneLine)->Unit(benchmark::kMillisecond);

std::string Frame(const json& message) {
  const std::string body = message.dump();
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

long StatusKib(pid_t pid, const std::string& field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(field + ":")) return std::stol(line.substr(field.size() + 1));
  }
  return -1;
}

// `quenvarspell lsp` in a process of its own, with the document open and
// its diagnostics sent.
void BM_ResidentMemoryWithDocumentOpen(benchmark::State& state) {
  for (auto _ : state) {
    int to_server[2], from_server[2];
    if (::pipe(to_server) != 0 || ::pipe(from_server) != 0) {
      state.SkipWithError("pipe failed");
      return;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::dup2(to_server[0], STDIN_FILENO);
      ::dup2(from_server[1], STDOUT_FILENO);
      for (int fd : {to_server[0], to_server[1], from_server[0], from_server[1]}) ::close(fd);
      ::execl(QUENVARSPELL_TOOL, QUENVARSPELL_TOOL, "--personal", "/nonexistent/personal.dic",
              "lsp", nullptr);
      ::_exit(127);
    }
    ::close(to_server[0]);
    ::close(from_server[1]);
    ::signal(SIGPIPE, SIG_IGN);
    const std::string input =
        Frame({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"},
               {"params", {{"capabilities", json::object()}}}}) +
        Frame(Open());
    if (::write(to_server[1], input.data(), input.size()) !=
        static_cast<ssize_t>(input.size())) {
      state.SkipWithError("the server took no input");
    }
    // The diagnostics are the last message: read until a pause.
    std::string output;
    char buffer[1 << 16];
    pollfd ready = {from_server[0], POLLIN, 0};
    while (::poll(&ready, 1, output.find("publishDiagnostics") == std::string::npos ? 10000 : 200) > 0) {
      const ssize_t got = ::read(from_server[0], buffer, sizeof buffer);
      if (got <= 0) break;
      output.append(buffer, static_cast<std::size_t>(got));
    }
    state.counters["resident_MiB"] = static_cast<double>(StatusKib(pid, "VmRSS")) / 1024;
    state.counters["peak_resident_MiB"] = static_cast<double>(StatusKib(pid, "VmHWM")) / 1024;
    ::close(to_server[1]);
    ::close(from_server[0]);
    ::waitpid(pid, nullptr, 0);
  }
}
BENCHMARK(BM_ResidentMemoryWithDocumentOpen)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
