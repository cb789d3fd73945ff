// One fact, one place: image positions, ranges and command codes are stated in the catalogue
// (src/core/params) and the block layouts, never again in a page table, the main window or
// the command-line tool. This test reads their sources and fails on a number where a
// catalogue row should be named.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace tavelo {
namespace {

namespace fs = std::filesystem;

struct Rule {
  const char* what;
  std::regex pattern;
};

const std::vector<Rule>& Rules() {
  static const std::vector<Rule> rules = {
      {"an image byte or word by number", std::regex(R"(\b(Byte|Word|byte|word)\(\s*[0-9]+\s*\))")},
      {"an image field by index", std::regex(R"(\.(bytes|words)\[\s*[0-9]+\s*\])")},
      {"a command code by number", std::regex(R"((PostBlock\(|Block\{)\s*[0-9]+)")},
      {"a table of command codes", std::regex(R"(namespace\s+code\b)")},
      {"a slider range in a page table",
       std::regex(R"(\{\s*k\w+,\s*k\w+,\s*-?[0-9]+,\s*-?[0-9]+,)")},
  };
  return rules;
}

// Files that state such numbers today and are being rebuilt on the catalogue by the page
// framework work: each may keep at most its present count, so nothing new creeps in, and
// an entry goes once its file is converted.
const std::map<std::string, int>& PendingConversion() {
  static const std::map<std::string, int> pending = {};
  return pending;
}

bool IsSource(const fs::path& p) {
  const auto ext = p.extension();
  return ext == ".cpp" || ext == ".h";
}

std::string WithoutComment(const std::string& line) {
  const auto at = line.find("//");
  return at == std::string::npos ? line : line.substr(0, at);
}

TEST(OneTable, PagesWindowsAndToolsNameCatalogueRowsInsteadOfNumbers) {
  const fs::path root = TAVELO_SOURCE_DIR;
  int files = 0;
  for (const char* dir : {"src/ui", "apps"}) {
    ASSERT_TRUE(fs::is_directory(root / dir)) << root / dir;
    for (const auto& entry : fs::recursive_directory_iterator(root / dir)) {
      if (!entry.is_regular_file() || !IsSource(entry.path())) continue;
      ++files;
      const std::string rel = fs::relative(entry.path(), root).generic_string();
      std::ifstream in(entry.path());
      std::string line;
      int lineNo = 0;
      int hits = 0;
      std::string report;
      while (std::getline(in, line)) {
        ++lineNo;
        const std::string code = WithoutComment(line);
        for (const Rule& rule : Rules()) {
          if (std::regex_search(code, rule.pattern)) {
            ++hits;
            report += "  " + rel + ":" + std::to_string(lineNo) + ": " + rule.what + "\n";
          }
        }
      }
      const auto pending = PendingConversion().find(rel);
      const int allowed = pending == PendingConversion().end() ? 0 : pending->second;
      EXPECT_LE(hits, allowed) << "name catalogue rows (params/Catalogue.h) and CommandCode "
                                  "instead:\n"
                               << report;
    }
  }
  EXPECT_GT(files, 20);
}

}  // namespace
}  // namespace tavelo
