// The expansions a plugin may use, from its masters and from the masters of
// the masters found beside it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/Expansions.h"
#include "plugin/Writer.h"
#include "tests/TestSupport.h"

namespace lintaro::plugin {
namespace {

// Writes a plugin with these masters; returns its header.
Header plugin(const std::string& name, const std::vector<std::string>& masters) {
  writer::PluginSpec spec;
  for (const std::string& master : masters)
    spec.masters.push_back(Master{master, 1});
  test::writeFile(name, writer::writePlugin(spec).bytes);
  Header header;
  header.masters = spec.masters;
  return header;
}

TEST(Masters, ExpansionsComeFromTheMastersAndTheirOwnMasters) {
  test::TempDir dir;
  // Direct masters, in any case; nothing beside the plugin.
  Expansions found =
      findExpansions("Mod.esp", plugin("Mod.esp", {"Morrowind.esm", "TRIBUNAL.ESM"}));
  EXPECT_TRUE(found.tribunal);
  EXPECT_FALSE(found.bloodmoon);
  EXPECT_EQ(found.reasons, std::vector<std::string>{"Tribunal : maître TRIBUNAL.ESM"});

  // Through masters beside the plugin, matched ignoring case; the shortest
  // chain is told.
  plugin("patch.ESP", {"Morrowind.esm", "Base.esm"});
  plugin("base.esm", {"Bloodmoon.esm", "Tribunal.esm"});
  found = findExpansions(std::filesystem::current_path() / "Mod.esp",
                         plugin("Mod.esp", {"Morrowind.esm", "Patch.esp", "Base.esm"}));
  EXPECT_TRUE(found.tribunal && found.bloodmoon);
  EXPECT_EQ(found.reasons, (std::vector<std::string>{"Tribunal : par Base.esm → Tribunal.esm",
                                                     "Bloodmoon : par Base.esm → Bloodmoon.esm"}));
  EXPECT_TRUE(found.notes.empty());

  // Overrides win, both ways.
  found = findExpansions("Mod.esp", plugin("Mod.esp", {"Patch.esp"}), {false, true});
  EXPECT_FALSE(found.tribunal);
  EXPECT_TRUE(found.bloodmoon);
  EXPECT_EQ(found.reasons, (std::vector<std::string>{"Tribunal : écarté par l'option",
                                                     "Bloodmoon : imposé par l'option"}));

  // The expansion itself.
  found = findExpansions("bloodmoon.esm", Header{});
  EXPECT_EQ(found.reasons, std::vector<std::string>{"Bloodmoon : le fichier est Bloodmoon.esm"});

  // Names shown from the plugin's code page.
  plugin("квест.esp", {"Tribunal.esm"});
  found = findExpansions("Mod.esp", plugin("Mod.esp", {"\xCA\xE2\xE5\xF1\xF2.esp"}), {},
                         CodePage::kWindows1251);
  EXPECT_EQ(found.reasons, std::vector<std::string>{"Tribunal : par Квест.esp → Tribunal.esm"});
}

TEST(Masters, LoopsEndAndDepthIsLimited) {
  test::TempDir dir;
  // Masters that name each other, and the plugin itself.
  plugin("A.esp", {"B.esp"});
  plugin("B.esp", {"A.esp", "Mod.esp", "b.ESP"});
  EXPECT_FALSE(findExpansions("Mod.esp", plugin("Mod.esp", {"A.esp"})).tribunal);

  // A chain of masters M1 → M2 → … → Mn → Tribunal.esm: Tribunal stands at
  // depth n + 1.
  const auto chain = [](int n) {
    const auto name = [](int i) { return std::string(1, 'M').append(std::to_string(i)) + ".esp"; };
    for (int i = 1; i <= n; ++i)
      plugin(name(i), {i == n ? std::string("Tribunal.esm") : name(i + 1)});
    return findExpansions("Mod.esp", plugin("Mod.esp", {"M1.esp"}));
  };
  const Expansions deepest = chain(kMasterDepthMax - 1);
  EXPECT_TRUE(deepest.tribunal);
  EXPECT_TRUE(deepest.notes.empty());
  const Expansions tooDeep = chain(kMasterDepthMax);
  EXPECT_FALSE(tooDeep.tribunal);
  EXPECT_EQ(tooDeep.notes, std::vector<std::string>{
                               "M8.esp : les maîtres ne sont pas suivis au-delà de 8 niveaux."});

  // A master beside that cannot be read is told, and the search goes on.
  test::writeFile("Casse.esm", "TES3");
  const Expansions broken =
      findExpansions("Mod.esp", plugin("Mod.esp", {"Casse.esm", "Bloodmoon.esm"}));
  EXPECT_TRUE(broken.bloodmoon);
  EXPECT_EQ(broken.notes, std::vector<std::string>{
                              "Casse.esm : en-tête d'enregistrement tronqué à l'octet 0 (16 "
                              "octets attendus, 4 restants). Ses maîtres ne sont pas suivis."});
}

}  // namespace
}  // namespace lintaro::plugin
