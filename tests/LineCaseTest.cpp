// Line cases: every file of tests/cases holds lines given to one checker and
// what each call must leave behind (format in tests/cases/README.md).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/MainEnchaineTests.h"
#include "analysis/MainSyntaxe.h"
#include "commands/MainSyntaxeChain.h"
#include "core/Encoding.h"
#include "core/MainDivers.h"
#include "core/ScriptText.h"
#include "expression/MainExpression.h"
#include "tests/CheckRun.h"

namespace lintaro::test {
namespace {

namespace fs = std::filesystem;
using enum Checker;

constexpr int kCaseLine = 4;  // findings print "Ligne 5"

// The kinds of checker a row may have, by name; the special checkers are named
// after their command, as their row of the chain.
// clang-format off
constexpr std::pair<std::string_view, Checker> kKinds[] = {
    {"SetTo", kSetTo}, {"Test", kTest}, {"FonctionSeule", kFonctionSeule},
    {"FonctionSeule_OptCall", kFonctionSeule_OptCall}, {"FoncUndocumented", kFoncUndocumented},
    {"FoncBroken", kFoncBroken}, {"FoncIDApp", kFoncIDApp}, {"FoncID", kFoncID},
    {"Fonc_optID_choiceApp", kFonc_optID_choiceApp}, {"FoncIDID_choiceApp", kFoncIDID_choiceApp},
    {"FoncValShortApp", kFoncValShortApp}, {"FoncValShort", kFoncValShort},
    {"FoncValShortStatApp", kFoncValShortStatApp}, {"FoncValShortStat", kFoncValShortStat},
    {"FoncValFloat_choiceApp", kFoncValFloat_choiceApp},
    {"FoncShortShort_choiceApp", kFoncShortShort_choiceApp},
    {"FoncIDshort_choiceApp", kFoncIDshort_choiceApp},
    {"FoncID_optShort_choiceApp", kFoncID_optShort_choiceApp}, {"FoncIDIDshort", kFoncIDIDshort},
    {"FoncAxe", kFoncAxe}, {"FoncAxeFloat", kFoncAxeFloat}};
// clang-format on

Checker kindNamed(std::string_view name) {
  for (const auto& [kindName, kind] : kKinds) {
    if (kindName == name) return kind;
  }
  for (const ChainEntry& row : commandChain()) {
    if (row.name == name && row.checker >= kMessageBox) return row.checker;
  }
  throw std::runtime_error("unknown checker " + std::string(name));
}

struct Case {
  int at = 0;  // line of the file
  std::string text;
  int handled = 0;
  std::vector<Finding> findings;
  std::vector<Record> records;
};

// What the cases of one "entry" line share.
struct Section {
  enum class Target { kEntry, kChain, kExpression, kBlocks, kLines } target = Target::kEntry;
  std::string name;
  Checker kind = kSetTo;
  ChainArgs args;
  int tribunal = 0;
  int bloodmoon = 0;
  bool records = true;
  std::vector<Record> known;
  std::vector<Case> cases;
};

// A text field: UTF-8 turned into Windows-1252, then the escapes \n \t \r \v
// \f \0 \s (a space) \\ \xHH and \{N:text} (text N times).
std::string unescape(std::string_view utf8) {
  const std::string in = utf8ToCp1252(utf8);
  std::string out;
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '\\' || i + 1 == in.size()) {
      out += in[i];
      continue;
    }
    const char e = in[++i];
    // Each escape letter followed by the byte it stands for.
    constexpr std::string_view kSimple{"n\nt\tr\rv\vf\f0\0s \\\\", 16};
    if (const std::size_t k = kSimple.find(e); k != std::string_view::npos && k % 2 == 0) {
      out += kSimple[k + 1];
    } else if (e == 'x' && i + 2 < in.size()) {
      out += static_cast<char>(std::stoi(in.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else if (e == '{') {
      const std::size_t colon = in.find(':', i);
      const std::size_t close = in.find('}', colon);
      if (colon == std::string::npos || close == std::string::npos) throw std::runtime_error("\\{");
      const std::string piece = unescape(in.substr(colon + 1, close - colon - 1));
      for (int n = std::stoi(in.substr(i + 1, colon - i - 1)); n > 0; --n)
        out += piece;
      i = close;
    } else {
      throw std::runtime_error(std::string("unknown escape \\") + e);
    }
  }
  return out;
}

// "E : message" or "A : message", a finding on the case's line, or with the
// line number it prints ("E3 : message"); with "-" after the number, or alone
// ("E- text"), a sentence of its own listed at that line or for the whole script.
Finding findingOf(std::string_view line) {
  std::size_t end = 1;
  while (end < line.size() && isDigit(line[end]))
    ++end;
  const int number = end > 1 ? std::stoi(std::string(line.substr(1, end - 1))) : kCaseLine + 1;
  const int kind = line[0] == 'A' ? kAlert : kError;
  if (end < line.size() && line[end] == '-') {
    return {end > 1 ? number - 1 : kWholeScript, kind,
            std::string(kScriptPrefix) + unescape(line.substr(std::min(end + 2, line.size())))};
  }
  return {number - 1, kind,
          std::string(kLinePrefix) + std::to_string(number) + unescape(line.substr(end))};
}

std::vector<Section> parse(const fs::path& path) {
  std::vector<Section> sections;
  std::ifstream in(path);
  std::string line;
  for (int at = 1; std::getline(in, line); ++at) {
    try {
      const std::string_view l(line);
      const std::string_view trimmed = l.substr(std::min(l.find_first_not_of(' '), l.size()));
      if (trimmed.empty() || trimmed[0] == '#') continue;
      if (l.back() == ' ' || l.back() == '\t') throw std::runtime_error("blank at the end");
      std::istringstream words{std::string(trimmed)};
      std::string word;
      words >> word;
      if (word == "entry") {
        Section s;
        std::string kind;
        words >> kind >> s.name;
        if (kind == "expression") {
          s.target = Section::Target::kExpression;
        } else if (kind == "chain") {
          s.target = Section::Target::kChain;
        } else if (kind == "blocks" || kind == "lines") {
          s.target = kind == "blocks" ? Section::Target::kBlocks : Section::Target::kLines;
        } else {
          s.kind = kindNamed(kind);
          if (s.name.empty()) s.name = kind;
          words >> s.args.caller >> s.args.called >> s.args.second >> s.args.choice;
        }
        sections.push_back(s);
        continue;
      }
      if (sections.empty()) throw std::runtime_error("no entry line before");
      Section& section = sections.back();
      std::vector<Case>& cases = section.cases;
      std::string rest;
      std::getline(words >> std::ws, rest);
      if (word == "tribunal" || word == "bloodmoon") {
        (word == "tribunal" ? section.tribunal : section.bloodmoon) = std::stoi(rest);
      } else if (word == "records") {
        section.records = rest != "off";
      } else if (word == "known") {
        section.known.emplace_back(std::stoi(rest), unescape(rest.substr(rest.find(' ') + 1)));
      } else if (trimmed.size() >= 2 && trimmed[1] == '>' &&
                 (trimmed[0] == '0' || trimmed[0] == '1')) {
        Case c;
        c.at = at;
        c.handled = trimmed[0] - '0';
        c.text = unescape(trimmed.size() > 2 ? trimmed.substr(3) : "");
        cases.push_back(c);
      } else if (cases.empty()) {
        throw std::runtime_error("no case before");
      } else if ((word[0] == 'E' || word[0] == 'A') &&
                 word.find_first_not_of("0123456789-", 1) == std::string::npos) {
        cases.back().findings.push_back(findingOf(trimmed));
      } else if (word == "R") {
        cases.back().records.emplace_back(std::stoi(rest),
                                          unescape(rest.substr(rest.find(' ') + 1)));
      } else {
        throw std::runtime_error("cannot read the line");
      }
    } catch (const std::exception& e) {
      ADD_FAILURE() << path.string() << ":" << at << ": " << e.what() << ": " << line;
    }
  }
  return sections;
}

void runCase(const fs::path& path, const Section& s, const Case& c) {
  CheckRun run(s.tribunal, s.bloodmoon);
  for (const auto& [code, name] : s.known)
    run.info.triInfo(INFO{code, name});
  std::string line = c.text;
  int handled = 0;
  const ChainEntry entry{s.name, s.kind, s.args};
  switch (s.target) {
    case Section::Target::kEntry:
      runEntry(run.ctx, entry, line, &handled, kCaseLine);
      break;
    case Section::Target::kExpression:
      handled = expression(run.ctx, line, kCaseLine);
      break;
    case Section::Target::kChain:
      runCommandChain(run.ctx, line, &handled, kCaseLine);
      break;
    case Section::Target::kBlocks: {
      const ScriptText script(c.text);
      handled = checkTest(script.lineCount() + 1, script, run.journal);
      break;
    }
    case Section::Target::kLines: {
      const ScriptText script(c.text);
      syntaxe(script.lineCount(), script, run.ctx);
      break;
    }
  }
  const std::string where = path.filename().string() + ":" + std::to_string(c.at) + " \"" +
                            cp1252ToUtf8(c.text.substr(0, 80)) + "\"";
  EXPECT_EQ(handled, c.handled) << where;
  EXPECT_EQ(run.findings(), c.findings) << where;
  if (s.records) {
    EXPECT_EQ(run.records(), c.records) << where;
  }
  if (s.target <= Section::Target::kChain) {
    EXPECT_EQ(line, lowered(c.text)) << where << ": the line is lowered in place";
  }
}

std::vector<std::string> caseFiles() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(fs::path(LINTARO_GOLDEN_DIR) / ".." / "cases")) {
    if (e.path().extension() == ".cases") names.push_back(e.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class LineCases : public ::testing::TestWithParam<std::string> {};

TEST_P(LineCases, EveryCaseLeavesWhatItSays) {
  const fs::path path = fs::path(LINTARO_GOLDEN_DIR) / ".." / "cases" / (GetParam() + ".cases");
  std::size_t count = 0;
  for (const Section& section : parse(path)) {
    for (const Case& c : section.cases)
      runCase(path, section, c);
    count += section.cases.size();
  }
  EXPECT_GT(count, 0u) << path.string() << " holds no case";
}

INSTANTIATE_TEST_SUITE_P(Files, LineCases, ::testing::ValuesIn(caseFiles()),
                         [](const auto& param) { return param.param; });

}  // namespace
}  // namespace lintaro::test
