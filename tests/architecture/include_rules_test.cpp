// Which library may include which: the core is Qt-free and its folders include only the
// folders they link; the platform layer knows no window and no venue service; the panel
// and the venue service know nothing of each other; and the engine's parts (link session,
// set transfer, mass upload) stay below the engine that wires them. This test reads every
// source's #include lines and fails on the first step the wrong way.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tavelo {
namespace {

namespace fs = std::filesystem;

struct Include {
  fs::path file;
  int line = 0;
  std::string target;  // as written between the quotes or brackets
  bool angled = false;
};

const fs::path& Root() {
  static const fs::path root = TAVELO_SOURCE_DIR;
  return root;
}

// The target of an #include line ("" when the line is none), and whether it is angled.
std::string IncludeTarget(const std::string& line, bool& angled) {
  std::size_t at = line.find_first_not_of(" \t");
  if (at == std::string::npos || line[at] != '#') return {};
  at = line.find_first_not_of(" \t", at + 1);
  if (at == std::string::npos || line.compare(at, 7, "include") != 0) return {};
  at = line.find_first_of("<\"", at + 7);
  if (at == std::string::npos) return {};
  angled = line[at] == '<';
  const auto end = line.find(angled ? '>' : '"', at + 1);
  return end == std::string::npos ? std::string() : line.substr(at + 1, end - at - 1);
}

std::vector<Include> IncludesUnder(const fs::path& dir) {
  std::vector<Include> out;
  if (!fs::is_directory(dir)) return out;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    std::ifstream in(entry.path());
    std::string text;
    for (int n = 1; std::getline(in, text); ++n) {
      bool angled = false;
      std::string target = IncludeTarget(text, angled);
      if (!target.empty()) out.push_back({entry.path(), n, std::move(target), angled});
    }
  }
  return out;
}

// The top folder an include names: "core/text/X.h" and "text/X.h" are both "text".
std::string Layer(const std::string& target) {
  std::string t = target.rfind("core/", 0) == 0 ? target.substr(5) : target;
  const auto slash = t.find('/');
  return slash == std::string::npos ? std::string() : t.substr(0, slash);
}

std::string Where(const Include& i) {
  return fs::relative(i.file, Root()).string() + ":" + std::to_string(i.line) + " includes " +
         i.target;
}

// The core folders each core folder may include, its own included: what it links, and
// what those link in turn (a header of a linked folder may name its own dependencies).
const std::map<std::string, std::set<std::string>>& CoreRules() {
  static const auto rules = [] {
    const std::map<std::string, std::vector<std::string>> links = {
        {"text", {}},
        {"link", {"text"}},
        {"params", {"text", "link"}},
        {"eq", {"params"}},
        {"presets", {"params", "eq"}},
        {"sim", {"link", "params", "presets"}},
        {"engine", {"link", "params", "presets", "text"}},
        {"fleet", {"params", "presets"}},
        {"edits", {"params"}},
        {"eqfit", {"eq", "params", "presets", "text"}},
    };
    std::map<std::string, std::set<std::string>> closure;
    for (const auto& [area, direct] : links) {
      std::set<std::string> reach{area};
      std::vector<std::string> todo(direct.begin(), direct.end());
      while (!todo.empty()) {
        const std::string next = todo.back();
        todo.pop_back();
        if (!reach.insert(next).second) continue;
        for (const auto& more : links.at(next)) todo.push_back(more);
      }
      closure[area] = reach;
    }
    return closure;
  }();
  return rules;
}

TEST(IncludeRules, TheCoreIsQtFreeAndEachFolderIncludesOnlyWhatItLinks) {
  const auto& rules = CoreRules();
  int checked = 0;
  for (const auto& [area, allowed] : rules) {
    const fs::path dir = Root() / "src/core" / area;
    if (area != "eqfit") {  // built only where its optimiser library is
      ASSERT_TRUE(fs::is_directory(dir)) << dir;
    }
    for (const Include& i : IncludesUnder(dir)) {
      ++checked;
      if (i.angled) {
        EXPECT_NE(i.target.rfind("Q", 0), 0u) << Where(i) << ": the core does not use Qt";
        continue;
      }
      const std::string layer = Layer(i.target);
      if (layer.empty()) continue;  // a neighbour in the same folder
      EXPECT_TRUE(allowed.count(layer)) << Where(i) << ": " << area << " does not link " << layer;
    }
  }
  EXPECT_GT(checked, 100);  // the sources were found
}

TEST(IncludeRules, UpperLayersIncludeOnlyWhatLiesBelowThem) {
  struct Rule {
    const char* dir;
    std::set<std::string> refused;  // top folders it must not name
    const char* qtRefused;          // an angled include prefix it must not use, or ""
  };
  const Rule rules[] = {
      {"src/platform", {"ui", "hub"}, "QtWidgets"},
      {"src/ui", {"hub"}, ""},
      {"src/hub", {"ui"}, "QtWidgets"},
  };
  const std::set<std::string> widgets = {"QWidget", "QApplication", "QDialog", "QLabel",
                                         "QPushButton"};
  for (const Rule& rule : rules) {
    const auto includes = IncludesUnder(Root() / rule.dir);
    if (std::string(rule.dir) != "src/hub") {
      EXPECT_FALSE(includes.empty()) << rule.dir;
    }
    for (const Include& i : includes) {
      if (i.angled) {
        if (*rule.qtRefused) {
          EXPECT_TRUE(i.target.rfind(rule.qtRefused, 0) != 0 && !widgets.count(i.target))
              << Where(i) << ": no widgets here";
        }
        continue;
      }
      EXPECT_FALSE(rule.refused.count(Layer(i.target))) << Where(i);
    }
  }
}

// The engine wires its parts together; a part that reached back for the engine, its
// messages or its observer would pull the whole engine into every user of that part.
TEST(IncludeRules, TheEnginesPartsKnowNeitherTheEngineNorItsObserver) {
  const std::set<std::string> engineOnly = {"engine/Engine.h", "engine/EngineMessages.h",
                                            "engine/EngineObserver.h", "engine/StatusDecode.h"};
  const std::vector<std::string> parts = {"LinkSession", "SetTransfer", "MassUploadRun",
                                          "MassUploadReport", "PendingRequests"};
  int seen = 0;
  for (const Include& i : IncludesUnder(Root() / "src/core/engine")) {
    const std::string stem = i.file.stem().string();
    if (std::find(parts.begin(), parts.end(), stem) == parts.end()) continue;
    ++seen;
    EXPECT_FALSE(engineOnly.count(i.target)) << Where(i);
  }
  EXPECT_GT(seen, 0);
}

}  // namespace
}  // namespace tavelo
