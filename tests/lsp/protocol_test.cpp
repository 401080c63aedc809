// The server spoken to over pipes as a client speaks to it: the lifecycle,
// documents and their edits, code actions and commands, settings, and input
// that is broken or hostile.

#include <sys/stat.h>

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/tool_runner.h"
#include "tests/lsp/lsp_session.h"

namespace quenvar::lsp::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using cli::testing::ReadBytes;
using cli::testing::TempDir;
using cli::testing::WriteBytes;

constexpr const char* kUri = "file:///work/doc.txt";

json Open(const std::string& uri, const std::string& language, const std::string& text) {
  return {{"textDocument",
           {{"uri", uri}, {"languageId", language}, {"version", 1}, {"text", text}}}};
}

json Change(const std::string& uri, int version, const json& range, const std::string& text) {
  return {{"textDocument", {{"uri", uri}, {"version", version}}},
          {"contentChanges", json::array({{{"range", range}, {"text", text}}})}};
}

json ErrorCode(const json& answer) { return answer.value(json::json_pointer("/error/code"), json()); }

class ProtocolTest : public ::testing::Test {
 protected:
  std::string Personal() const { return home_.File("personal.dic"); }
  std::vector<std::string> Args() const { return {"--personal", Personal()}; }

  TempDir home_;
};

TEST_F(ProtocolTest, LifecycleAnswersAsTheProtocolSays) {
  LspSession session(Args());
  EXPECT_EQ(ErrorCode(session.Request("textDocument/codeAction", json::object())), -32002);
  const json initialized = session.Initialize();
  const json& capabilities = initialized["result"]["capabilities"];
  EXPECT_EQ(capabilities["positionEncoding"], "utf-16");
  EXPECT_EQ(capabilities["textDocumentSync"]["change"], 2);
  EXPECT_EQ(capabilities["executeCommandProvider"]["commands"],
            json::array({"quenvarspell.addToDictionary", "quenvarspell.ignoreWord"}));
  EXPECT_EQ(ErrorCode(session.Request("initialize", json::object())), -32600);
  session.Notify("$/someNotification", json::object());
  EXPECT_EQ(ErrorCode(session.Request("textDocument/hover", json::object())), -32601);
  EXPECT_EQ(ErrorCode(session.Request("textDocument/codeAction", json::object())), -32602);
  EXPECT_EQ(session.Request("shutdown", nullptr)["result"], nullptr);
  EXPECT_EQ(ErrorCode(session.Request("shutdown", nullptr)), -32600);
  session.Notify("exit", nullptr);
  EXPECT_EQ(session.Wait(), 0);

  LspSession unannounced(Args());
  unannounced.Initialize();
  unannounced.Notify("exit", nullptr);
  EXPECT_EQ(unannounced.Wait(), 1);
  LspSession abandoned(Args());
  abandoned.Initialize();
  EXPECT_EQ(abandoned.CloseAndWait(), 1);
}

// Each change is applied where the client says, and the diagnostics that
// follow name the words where they now stand.
TEST_F(ProtocolTest, DiagnosticsFollowIncrementalChanges) {
  LspSession session(Args());
  session.Initialize();
  std::string text = "The wrld is round.\nI recieve it.\n";
  session.Notify("textDocument/didOpen", Open(kUri, "plaintext", text));
  json published = session.Diagnostics(kUri);
  EXPECT_THAT(MarkedWords(published, text), ElementsAre("wrld", "recieve"));
  const json& first = published["params"]["diagnostics"][0];
  EXPECT_EQ(first["range"], Range(0, 4, 0, 8));
  EXPECT_EQ(first["severity"], 3);
  EXPECT_EQ(first["source"], "quenvarspell");
  EXPECT_EQ(published["params"]["version"], 1);

  session.Notify("textDocument/didChange", Change(kUri, 2, Range(0, 4, 0, 8), "world"));
  text = "The world is round.\nI recieve it.\n";
  EXPECT_THAT(MarkedWords(session.Diagnostics(kUri), text), ElementsAre("recieve"));

  // A line break typed, a line joined, and an edit past the end.
  session.Notify("textDocument/didChange", Change(kUri, 3, Range(0, 9, 0, 9), "\nA tommorow"));
  session.Notify("textDocument/didChange", Change(kUri, 4, Range(1, 20, 2, 0), " "));
  session.Notify("textDocument/didChange", Change(kUri, 5, Range(40, 0, 41, 7), "seperate"));
  text = "The world\nA tommorow is round. I recieve it.\nseperate";
  EXPECT_THAT(MarkedWords(session.Diagnostics(kUri, 5), text),
              ElementsAre("tommorow", "recieve", "seperate"));

  session.Notify("textDocument/didClose", {{"textDocument", {{"uri", kUri}}}});
  EXPECT_FALSE(session
                   .WaitFor([](const json& m) {
                     return m.value("method", "") == "textDocument/publishDiagnostics" &&
                            m["params"]["diagnostics"].empty();
                   })
                   .is_null());
}

TEST_F(ProtocolTest, ColumnsAreUtf16UnitsOrUtf8BytesWhenTheClientOffersThem) {
  const std::string text = "\xF0\x9F\x98\x80 caf\xC3\xA9 wrld\n";  // 😀 café wrld
  LspSession utf16(Args());
  utf16.Initialize();
  utf16.Notify("textDocument/didOpen", Open(kUri, "plaintext", text));
  EXPECT_EQ(utf16.Diagnostics(kUri)["params"]["diagnostics"][0]["range"], Range(0, 8, 0, 12));

  LspSession utf8(Args());
  const json answer = utf8.Initialize(
      {{"capabilities", {{"general", {{"positionEncodings", {"utf-8", "utf-16"}}}}}}});
  EXPECT_EQ(answer["result"]["capabilities"]["positionEncoding"], "utf-8");
  utf8.Notify("textDocument/didOpen", Open(kUri, "plaintext", text));
  EXPECT_EQ(utf8.Diagnostics(kUri)["params"]["diagnostics"][0]["range"], Range(0, 11, 0, 15));
  // "café" (bytes 5 to 10) becomes "the": the mark moves back two bytes.
  utf8.Notify("textDocument/didChange", Change(kUri, 2, Range(0, 5, 0, 10), "the"));
  EXPECT_EQ(utf8.Diagnostics(kUri)["params"]["diagnostics"][0]["range"], Range(0, 9, 0, 13));
}

// Only comments and strings are prose in code; a block left open on one
// line reaches the next, and closing or opening it rechecks the lines after.
TEST_F(ProtocolTest, SourceFilesAreCheckedInCommentsAndStrings) {
  LspSession session(Args());
  session.Initialize();
  const std::string uri = "file:///work/tool.py";
  std::string text =
      "def parse_inptu(valeu):  # retrun the fileNmae\n"
      "    return \"helo\" + valeu\n"
      "\"\"\"\n"
      "A long string with a goverment\n"
      "\"\"\"\n";
  session.Notify("textDocument/didOpen", Open(uri, "python", text));
  EXPECT_THAT(MarkedWords(session.Diagnostics(uri), text),
              ElementsAre("retrun", "Nmae", "helo", "goverment"));
  session.Notify("textDocument/didChange", Change(uri, 2, Range(2, 0, 2, 3), "x = 1"));
  text = "def parse_inptu(valeu):  # retrun the fileNmae\n"
         "    return \"helo\" + valeu\n"
         "x = 1\n"
         "A long string with a goverment\n"
         "\"\"\"\n";
  EXPECT_THAT(MarkedWords(session.Diagnostics(uri), text), ElementsAre("retrun", "Nmae", "helo"));
}

TEST_F(ProtocolTest, CodeActionsOfferCorrectionsAddAndIgnore) {
  LspSession session(Args());
  session.Initialize();
  session.Notify("textDocument/didOpen", Open(kUri, "plaintext", "I recieve it.\n"));
  session.Diagnostics(kUri);
  const json actions = session.Request(
      "textDocument/codeAction",
      {{"textDocument", {{"uri", kUri}}}, {"range", Range(0, 4, 0, 4)},
       {"context", {{"diagnostics", json::array()}}}})["result"];
  ASSERT_EQ(actions.size(), 7u);
  EXPECT_EQ(actions[0]["title"], "Replace with \"receive\"");
  EXPECT_EQ(actions[0]["isPreferred"], true);
  EXPECT_EQ(actions[0]["edit"]["changes"][kUri][0],
            json({{"range", Range(0, 2, 0, 9)}, {"newText", "receive"}}));
  EXPECT_FALSE(actions[1].contains("isPreferred"));
  EXPECT_EQ(actions[5]["title"], "Add \"recieve\" to dictionary");
  EXPECT_EQ(actions[5]["command"]["command"], "quenvarspell.addToDictionary");
  EXPECT_EQ(actions[5]["command"]["arguments"], json::array({"recieve"}));
  EXPECT_EQ(actions[6]["command"]["command"], "quenvarspell.ignoreWord");
  EXPECT_EQ(actions[6]["diagnostics"][0]["range"], Range(0, 2, 0, 9));

  const json refactorings = session.Request(
      "textDocument/codeAction",
      {{"textDocument", {{"uri", kUri}}}, {"range", Range(0, 4, 0, 4)},
       {"context", {{"diagnostics", json::array()}, {"only", {"refactor"}}}}});
  EXPECT_THAT(refactorings["result"], IsEmpty());
}

// Add goes into the personal dictionary at once, merged under its lock,
// and every open document loses the mark; Ignore lasts for the session.
TEST_F(ProtocolTest, AddAndIgnoreRepublishEveryDocument) {
  WriteBytes(Personal(), "Zorblax\r\n");
  LspSession session(Args());
  session.Initialize();
  const std::string other = "file:///work/other.md";
  session.Notify("textDocument/didOpen", Open(kUri, "plaintext", "Quenvarish wrld Zorblax\n"));
  session.Notify("textDocument/didOpen", Open(other, "markdown", "Quenvarish\n"));
  EXPECT_EQ(session.Diagnostics(kUri)["params"]["diagnostics"].size(), 2u);
  session.Diagnostics(other);

  const json added = session.Request(
      "workspace/executeCommand",
      {{"command", "quenvarspell.addToDictionary"}, {"arguments", {"Quenvarish"}}});
  EXPECT_EQ(added["result"], nullptr);
  EXPECT_EQ(ReadBytes(Personal()), "Zorblax\r\nQuenvarish\r\n");
  EXPECT_THAT(MarkedWords(session.Diagnostics(kUri), "Quenvarish wrld Zorblax\n"),
              ElementsAre("wrld"));
  EXPECT_THAT(session.Diagnostics(other)["params"]["diagnostics"], IsEmpty());

  session.Request("workspace/executeCommand",
                  {{"command", "quenvarspell.ignoreWord"}, {"arguments", {"WRLD"}}});
  EXPECT_THAT(session.Diagnostics(kUri)["params"]["diagnostics"], IsEmpty());
  EXPECT_EQ(ReadBytes(Personal()), "Zorblax\r\nQuenvarish\r\n");

  EXPECT_EQ(ErrorCode(session.Request("workspace/executeCommand",
                                      {{"command", "quenvarspell.addToDictionary"},
                                       {"arguments", json::array()}})),
            -32602);
  EXPECT_EQ(ErrorCode(session.Request("workspace/executeCommand",
                                      {{"command", "quenvarspell.format"}, {"arguments", {"x"}}})),
            -32602);
}

// A personal dictionary that cannot be written refuses the word with an
// error answer, and the word stays accepted until the server ends.
TEST_F(ProtocolTest, AddThatCannotBeSavedIsAnsweredWithAnError) {
  WriteBytes(home_.File("file"), "");
  LspSession session({"--personal", home_.File("file") + "/personal.dic"});
  session.Initialize();
  session.Notify("textDocument/didOpen", Open(kUri, "plaintext", "Quenvarish\n"));
  session.Diagnostics(kUri);
  const json refused = session.Request(
      "workspace/executeCommand",
      {{"command", "quenvarspell.addToDictionary"}, {"arguments", {"Quenvarish"}}});
  EXPECT_EQ(ErrorCode(refused), -32803);
  EXPECT_THAT(refused["error"]["message"].get<std::string>(), HasSubstr("personal.dic"));
  EXPECT_THAT(session.Diagnostics(kUri)["params"]["diagnostics"], IsEmpty());
}

TEST_F(ProtocolTest, SettingsAndTheProjectWordList) {
  const std::string root = home_.File("project");
  ::mkdir(root.c_str(), 0755);
  WriteBytes(root + "/.quenvarspell-words", "Zorblax\n  \n");
  LspSession session(Args());
  const json options = {{"severity", "warning"},
                        {"formats", {{"rst", "python"}, {"svelte", "cobol"}}}};
  session.Initialize({{"rootUri", "file://" + root}, {"initializationOptions", options}});
  const json warning = session.WaitFor(
      [](const json& m) { return m.value("method", "") == "window/logMessage"; });
  EXPECT_THAT(warning["params"]["message"].get<std::string>(), HasSubstr("svelte"));

  const std::string text = "Zorblax wrld  # tommorow\n";
  session.Notify("textDocument/didOpen", Open(kUri, "rst", text));
  json published = session.Diagnostics(kUri);
  EXPECT_THAT(MarkedWords(published, text), ElementsAre("tommorow"));
  EXPECT_EQ(published["params"]["diagnostics"][0]["severity"], 2);

  session.Notify("workspace/didChangeConfiguration",
                 {{"settings", {{"quenvarspell", {{"severity", "hint"}, {"formats", json::object()}}}}}});
  published = session.Diagnostics(kUri);
  EXPECT_EQ(published["params"]["diagnostics"][0]["severity"], 4);

  // Rewritten beside the server, the list is read again.
  WriteBytes(root + "/.quenvarspell-words", "Zorblax\ntommorow\n");
  EXPECT_THAT(session.Diagnostics(kUri)["params"]["diagnostics"], IsEmpty());
}

// The spelling comes from the command line until the setting "language"
// names another; marks and corrections follow it, and a tag no spelling
// has is refused and leaves it as it was.
TEST_F(ProtocolTest, LanguageChoosesTheSpellingOfMarksAndCorrections) {
  std::vector<std::string> args = Args();
  args.insert(args.end(), {"-d", "en_US"});
  LspSession session(args);
  session.Initialize();
  const std::string text = "The colour, the color.\n";
  session.Notify("textDocument/didOpen", Open(kUri, "plaintext", text));
  EXPECT_THAT(MarkedWords(session.Diagnostics(kUri), text), ElementsAre("colour"));
  const auto first_correction = [&](int column) {
    return session.Request("textDocument/codeAction",
                           {{"textDocument", {{"uri", kUri}}},
                            {"range", Range(0, column, 0, column)},
                            {"context", {{"diagnostics", json::array()}}}})["result"][0]["title"];
  };
  EXPECT_EQ(first_correction(5), "Replace with \"color\"");

  session.Notify("workspace/didChangeConfiguration",
                 {{"settings", {{"quenvarspell", {{"language", "en_GB"}}}}}});
  EXPECT_THAT(MarkedWords(session.Diagnostics(kUri), text), ElementsAre("color"));
  EXPECT_EQ(first_correction(17), "Replace with \"colour\"");

  session.Notify("workspace/didChangeConfiguration", {{"settings", {{"language", "en_XX"}}}});
  EXPECT_THAT(session.WaitFor([](const json& m) { return m.value("method", "") == "window/logMessage"; })
                  ["params"]["message"].get<std::string>(),
              HasSubstr("language"));
  EXPECT_THAT(MarkedWords(session.Diagnostics(kUri), text), ElementsAre("color"));
}

// Broken frames are answered with an error and the stream goes on; none
// ends the server, and a cancellation overtakes its request.
TEST_F(ProtocolTest, BrokenInputIsAnsweredAndSkipped) {
  LspSession session(Args());
  const std::string good = R"({"jsonrpc":"2.0","id":"after","method":"shutdown"})";
  const auto frame = [](const std::string& body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
  };
  const auto expect_recovery = [&](const std::string& bytes, const char* what) {
    session.SendBytes(bytes + frame(good));
    const json error = session.Next();
    EXPECT_EQ(error["id"], nullptr) << what;
    EXPECT_EQ(ErrorCode(error), -32700) << what;
    const json answer = session.WaitFor([](const json& m) { return m.value("id", json()) == "after"; });
    EXPECT_EQ(ErrorCode(answer), -32002) << what;
  };
  expect_recovery(frame("{\"jsonrpc\": \"2.0\", oops"), "malformed JSON");
  expect_recovery("Content-Type: application/json\r\n\r\n" + good, "no Content-Length");
  expect_recovery("Content-Length: 7\r\n\r\n" + good, "a short Content-Length");
  expect_recovery("Content-Length: 100000000\r\n\r\n" + std::string(100000000, ' '),
                  "a message of 100 MB");

  session.Initialize();
  // A line of 10 MB, with a misspelling at its end.
  std::string line;
  while (line.size() < 10000000) line += "the world is round ";
  session.Notify("textDocument/didOpen", Open(kUri, "plaintext", "A\n" + line + "recieve\n"));
  EXPECT_EQ(session.Diagnostics(kUri)["params"]["diagnostics"][0]["range"]["start"],
            json({{"line", 1}, {"character", line.size()}}));
  session.Notify("textDocument/didChange", Change("file:///not/open", 2, Range(0, 0, 0, 0), "x"));
  EXPECT_THAT(session.WaitFor([](const json& m) { return m.value("method", "") == "window/logMessage"; })
                  ["params"]["message"].get<std::string>(),
              HasSubstr("not/open"));

  const std::string request =
      R"({"jsonrpc":"2.0","id":77,"method":"textDocument/codeAction","params":{}})";
  const std::string cancel =
      R"({"jsonrpc":"2.0","method":"$/cancelRequest","params":{"id":77}})";
  session.SendBytes(frame(request) + frame(cancel));
  EXPECT_EQ(ErrorCode(session.WaitFor([](const json& m) { return m.value("id", json()) == 77; })),
            -32800);
  EXPECT_EQ(session.CloseAndWait(), 1);
}

}  // namespace
}  // namespace quenvar::lsp::testing
