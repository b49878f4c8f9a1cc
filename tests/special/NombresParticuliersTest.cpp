// The AI packages, fades, region weather, sounds with volume and pitch,
// animation groups, faction reputation and the quest journal: what each
// command of a family has of its own (its name in every message, its values,
// its codes), the optional parameters, and the journal opened on every call.
// The readings themselves are traced line by line in the golden cases
// "ia_paquets", "sons_fondus" and "factions_journal".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Encoding.h"
#include "core/MainDivers.h"
#include "core/WorkFiles.h"
#include "special/synFonctionsSpeciales.h"
#include "run/WorkFileMirrors.h"
#include "tests/CheckRun.h"
#include "tests/TestSupport.h"

namespace lintaro {
namespace {

using test::CheckRun;
using test::Finding;
using test::Record;

constexpr int kLine = 4;  // printed as "Ligne 5"

Finding E(const std::string& message) {
  return test::errorAt(kLine, message);
}

using SpecialChecker = void (*)(CheckContext&, std::string&, int*, int);

struct Outcome {
  int handled = 0;
  std::vector<Finding> findings;
  std::vector<Record> records;
  std::string line;  // the line after the call
};

Outcome run(SpecialChecker checker, const std::string& text) {
  CheckRun r;
  Outcome out;
  out.line = text;
  checker(r.ctx, out.line, &out.handled, kLine);
  out.findings = r.findings();
  out.records = r.records();
  return out;
}

struct Named {
  std::string name;
  SpecialChecker checker;
};

// The four packages with an actor, a duration and a destination.
const std::vector<Named> kActorPackages = {{"AIEscort", synDetectAIEscort},
                                           {"AIEscortCell", synDetectAIEscortCell},
                                           {"AIFollow", synDetectAIFollow},
                                           {"AIFollowCell", synDetectAIFollowCell}};

const std::vector<Named> kAllPackages = {
    {"AIActivate", synDetectAIActivate},     {"AIEscort", synDetectAIEscort},
    {"AIEscortCell", synDetectAIEscortCell}, {"AIFollow", synDetectAIFollow},
    {"AIFollowCell", synDetectAIFollowCell}, {"AITravel", synDetectAITravel},
    {"AIWander", synDetectAIWander}};

const Finding kResetAlert = test::alertAt(
    kLine,
    " : alerte, le paramètre Reset de la fonction AIActivate est mal programmé et fera buguer le "
    "jeu à l'appel de la fonction dans certains cas. Il est conseillé de ne pas s'en servir.");

bool hasCell(const std::string& name) {
  return name.ends_with("Cell");
}

TEST(AIPackageTest, ActorPackagesNameTheirMissingValue) {
  test::TempDir dir;
  for (const Named& p : kActorPackages) {
    const std::string head = p.name + " \"Mon Garde\" " + (hasCell(p.name) ? "Balmora " : "");
    const std::vector<Record> names = hasCell(p.name)
                                          ? std::vector<Record>{{15, "mon garde"}, {95, "balmora"}}
                                          : std::vector<Record>{{15, "mon garde"}};
    // Coordinates may be negative, the duration may not; every value is required.
    struct Row {
      std::string arguments;
      std::string fault;  // "" when the line passes
    };
    const std::vector<Row> rows = {
        {"30 -1 -2 -3", ""},
        {"30, 1, 2, 3, 1", ""},
        {"-30 1 2 3", "de la durée de " + p.name},
        {"x 1 2 3", "de la durée de " + p.name},
        {"30 x 2 3", "du X de " + p.name},
        {"30 1 2.5 3", "du Z de " + p.name},  // the point stops Y, then Z finds it
        {"30 1 - 3", "du Y de " + p.name},
        {"30 1 2", "du Z de " + p.name},
    };
    for (const Row& row : rows) {
      const Outcome o = run(p.checker, head + row.arguments);
      std::vector<Finding> expected;
      if (!row.fault.empty()) {
        expected.push_back(E(" : erreur, la valeur " + row.fault + " est incorrecte !"));
      }
      EXPECT_EQ(o.handled, 1) << head + row.arguments;
      EXPECT_EQ(o.findings, expected) << head + row.arguments;
      EXPECT_EQ(o.records, names) << head + row.arguments;
    }
  }
}

TEST(AIPackageTest, EveryPackageReadsItsCallerAndItsReset) {
  test::TempDir dir;
  for (const Named& p : kAllPackages) {
    std::string arguments = "1 2 3";
    std::vector<Record> names;
    if (p.name == "AIActivate") {
      arguments = "levier";
    } else if (p.name != "AITravel" && p.name != "AIWander") {
      arguments = std::string("garde ") + (hasCell(p.name) ? "vivec " : "") + "10 1 2 3";
    }
    const std::string line = "\"Mon Garde\"->" + p.name + " " + arguments;

    Outcome o = run(p.checker, line);
    EXPECT_EQ(o.findings, std::vector<Finding>{}) << line;
    ASSERT_FALSE(o.records.empty()) << line;
    EXPECT_EQ(o.records.front(), (Record{15, "mon garde"})) << line;

    // The Reset (AIWander: after its eight idles) with a comma and a word.
    const std::string wanderIdles = p.name == "AIWander" ? " 1 2 3 4 5 6 7 8" : "";
    const std::string label = p.name == "AIWander" ? " Reset" : "";
    o = run(p.checker, line + wanderIdles + ", reset");
    EXPECT_EQ(o.findings, std::vector<Finding>{E(" : erreur, impossible de détecter le paramètre "
                                                 "optionnel" +
                                                 label + " de la fonction " + p.name + ".")})
        << line;
    o = run(p.checker, line + wanderIdles + ",1");
    EXPECT_EQ(o.findings,
              std::vector<Finding>{E(" : impossible de détecter le paramètre optionnel" + label +
                                     " de " + p.name + " !")})
        << line;
    o = run(p.checker, line + wanderIdles + ", 1x");
    std::vector<Finding> variable;
    if (p.name == "AIActivate") variable.push_back(kResetAlert);  // a digit stands there
    variable.push_back(E(" : erreur dans le paramètre optionnel" + label + ". Attention, " +
                         p.name + " ne prend pas de variables en entrée !"));
    EXPECT_EQ(o.findings, variable) << line;

    // A caller with a blank and no quotes: nothing else is read.
    o = run(p.checker, "mon garde->" + p.name + " " + arguments);
    EXPECT_EQ(o.findings, std::vector<Finding>{E(" : erreur dans la syntaxe de l'appelant de la "
                                                 "fonction " +
                                                 p.name + ". Rajoutez des guillemets.")})
        << p.name;
    EXPECT_EQ(o.records, std::vector<Record>{}) << p.name;
  }
}

// A digit as AIActivate's Reset draws the alert; a word does not.
TEST(AIPackageTest, OnlyADigitResetWarns) {
  test::TempDir dir;
  EXPECT_EQ(run(synDetectAIActivate, "AIActivate levier, 0").findings,
            std::vector<Finding>{kResetAlert});
  EXPECT_EQ(run(synDetectAIActivate, "AIActivate levier reset").findings, std::vector<Finding>{});
}

TEST(AIPackageTest, WanderIdlesArePositional) {
  test::TempDir dir;
  std::string values;
  for (int n = 2; n <= 9; ++n) {
    // Idle n is the (n - 1)-th value after the time.
    const std::string line = "AIWander 100 5 6" + values + ", x";
    EXPECT_EQ(run(synDetectAIWander, line).findings,
              std::vector<Finding>{E(" : erreur, impossible de détecter le paramètre optionnel "
                                     "Idle" +
                                     std::to_string(n) + " de la fonction AIWander.")})
        << line;
    EXPECT_EQ(run(synDetectAIWander, "AIWander 100 5 6" + values + ",5").findings,
              std::vector<Finding>{E(" : impossible de détecter le paramètre optionnel Idle" +
                                     std::to_string(n) + " de AIWander !")})
        << line;
    values += n % 2 == 0 ? " 10" : ", 20";
  }
  // An idle needs a space after a comma (unlike the range, duration and time).
  EXPECT_EQ(run(synDetectAIWander, "AIWander 100,5,6 1,2").findings,
            std::vector<Finding>{E(" : impossible de détecter le paramètre optionnel Idle3 de "
                                   "AIWander !")});
  EXPECT_EQ(run(synDetectAIWander, "AIWander 100 5 6 1 2 3 4 5 6 7 8 1 0").findings,
            std::vector<Finding>{E(" : erreur dans le paramètre optionnel Reset de AIWander !")});
}

// The golden case "sons_fondus" gives each sound one faulty line; here each
// one takes the same lines.
TEST(SoundTest, TheThreeSoundsDifferOnlyByName) {
  test::TempDir dir;
  const std::vector<Named> sounds = {{"PlaySoundVP", synDetectPlaySoundVP},
                                     {"PlaySound3DVP", synDetectPlaySound3DVP},
                                     {"PlayLoopSound3DVP", synDetectPlayLoopSound3DVP}};
  for (const Named& s : sounds) {
    const Finding syntax =
        E(" : erreur, la syntaxe des paramètres de la fonction " + s.name + " est incorrecte !");
    for (const auto& [arguments, findings] :
         std::vector<std::pair<std::string, std::vector<Finding>>>{
             {"\"Cave Drip\", 1, 2", {}},
             {"\"Cave Drip\" x 1", {syntax}},
             {"\"Cave Drip\" 1 -1", {syntax}},
             {"\"Cave Drip\" 1 1 1",
              {E(" : erreur, la fonction " + s.name +
                 " ne prend que trois paramètres appelés !")}}}) {
      const Outcome o = run(s.checker, s.name + " " + arguments);
      EXPECT_EQ(o.handled, 1) << s.name << arguments;
      EXPECT_EQ(o.findings, findings) << s.name << arguments;
      EXPECT_EQ(o.records, std::vector<Record>{(Record{93, "cave drip"})}) << s.name << arguments;
    }
    EXPECT_EQ(run(s.checker, "\"x\"->" + s.name + " fire 1 1").handled, 0);  // no caller form
  }
}

TEST(ModRegionTest, EachValueIsNamed) {
  test::TempDir dir;
  const char* names[] = {"Clear",   "Cloudy", "Foggy",  "OverCast", "Rain",
                         "Thunder", "Ash",    "Blight", "Inconnu1", "Inconnu2"};
  std::string values;
  for (const char* name : names) {
    const Outcome o = run(synDetectModRegion, "ModRegion \"Red Mountain\"" + values + " x");
    EXPECT_EQ(o.findings, std::vector<Finding>{E(std::string(" : erreur, la valeur du ") + name +
                                                 " de la fonction ModRegion est incorrecte !")})
        << name;
    EXPECT_EQ(o.records, std::vector<Record>{(Record{90, "red mountain"})});
    values += " 5";
  }
  EXPECT_EQ(run(synDetectModRegion, "ModRegion \"Red Mountain\"" + values).findings,
            std::vector<Finding>{});
}

TEST(JournalTest, IndexAgainstTheStore) {
  test::TempDir dir;
  struct Row {
    int storedType;  // -1: the name is not stored
    std::vector<Finding> findings;
  };
  const Finding notShort = E(" : erreur, l'index de la fonction Journal doit être de type short !");
  // Only the float codes, local (1) and global (6), are refused.
  const std::vector<Row> rows = {{-1, {}}, {0, {}},         {1, {notShort}}, {2, {}},
                                 {5, {}},  {6, {notShort}}, {9, {}},         {19, {}}};
  for (const Row& row : rows) {
    CheckRun r;
    if (row.storedType >= 0) r.info.triInfo({row.storedType, "etape"});
    std::string line = "Journal \"Ma Quete\" Etape";
    int handled = 0;
    synDetectJournal(r.ctx, line, &handled, kLine);
    EXPECT_EQ(r.findings(), row.findings) << row.storedType;
    std::vector<Record> expected;
    if (row.storedType >= 0) expected.push_back({row.storedType, "etape"});
    expected.push_back({51, "ma quete"});
    if (row.storedType < 0) expected.push_back({5, "etape"});
    EXPECT_EQ(r.records(), expected) << row.storedType;
  }
  // An index name longer than 49 characters runs into its 50th.
  EXPECT_EQ(run(synDetectJournal, "Journal q " + std::string(50, 'v')).findings,
            std::vector<Finding>{E(" : erreur, la fonction Journal ne prend qu'une valeur "
                                   "d'index !")});
}

// A name left empty (a pair of quotes, or nothing before the next value)
// names nothing: the line is read on, and nothing is recorded for it.
TEST(ParticularNumbersTest, EmptyNamesAreNotRecorded) {
  test::TempDir dir;
  const std::vector<std::pair<SpecialChecker, std::string>> cases = {
      {synDetectAIActivate, "AIActivate \"\""},
      {synDetectAIEscortCell, "AIEscortCell \"\" \"\" 1 2 3 4"},
      {synDetectModRegion, "ModRegion \"\" 1 2 3 4 5 6 7 8 9 10"},
      {synDetectPlaySoundVP, "PlaySoundVP \"\" 1 1"},
      {synDetectLoopGroup, "LoopGroup \"\" 1"},
      {synDetectModPCFacRep, "ModPCFacRep 10"},
      {synDetectSetPCFacRep, "SetPCFacRep 10 \"\""},
      {synDetectJournal, "Journal \"\" 10"},
  };
  for (const auto& [checker, text] : cases) {
    const Outcome o = run(checker, text);
    EXPECT_EQ(o.handled, 1) << text;
    EXPECT_EQ(o.findings, std::vector<Finding>{}) << text;
    EXPECT_EQ(o.records, std::vector<Record>{}) << text;
  }
}

TEST(ParticularNumbersTest, UnrecognisedLinesAreLoweredAndLeftAlone) {
  test::TempDir dir;
  const std::vector<std::pair<SpecialChecker, std::string>> cases = {
      {synDetectAITravel, "AITravel,1 2 3"},
      {synDetectAIWander, "AIWanderer 1 2 3"},
      {synDetectFadeTo, "FadeTo\t1 2"},
      {synDetectModRegion, "MyModRegion x"},
      {synDetectPlaySoundVP, "PlaySound \"X\""},
      {synDetectLoopGroup, "Player-> LoopGroup a 1"},
      {synDetectJournal, "Player->Journal q 1"},
      {synDetectSetPCFacRep, "SetPCFacRepX 1"},
      {synDetectModPCFacRep, "GetPCFacRep \"A\""},
  };
  for (const auto& [checker, text] : cases) {
    const Outcome o = run(checker, text);
    EXPECT_EQ(o.handled, 0) << text;
    EXPECT_EQ(o.findings, std::vector<Finding>{}) << text;
    EXPECT_EQ(o.line, lowered(text)) << text;
  }
}

// Every checker of these families opens the journal before it looks at the
// line: a journal that cannot be opened stops the run even on another
// command's line, with the checker's own module in the message.
TEST(ParticularNumbersTest, JournalOpenedOnEveryCall) {
  test::TempDir dir;
  const std::vector<std::pair<std::string, SpecialChecker>> checkers = {
      {"synDetectAIActivate", synDetectAIActivate},
      {"synDetectAIEscort", synDetectAIEscort},
      {"synDetectAIEscortCell", synDetectAIEscortCell},
      {"synDetectAIFollow", synDetectAIFollow},
      {"synDetectAIFollowCell", synDetectAIFollowCell},
      {"synDetectAITravel", synDetectAITravel},
      {"synDetectAIWander", synDetectAIWander},
      {"synDetectFadeTo", synDetectFadeTo},
      {"synDetectModRegion", synDetectModRegion},
      {"synDetectPlaySoundVP", synDetectPlaySoundVP},
      {"synDetectPlaySound3DVP", synDetectPlaySound3DVP},
      {"synDetectPlayLoopSound3DVP", synDetectPlayLoopSound3DVP},
      {"synDetectLoopGroup", synDetectLoopGroup},
      {"synDetectModPCFacRep", synDetectModPCFacRep},
      {"synDetectSetPCFacRep", synDetectSetPCFacRep},
      {"synDetectJournal", synDetectJournal},
  };
  for (const auto& [module, checker] : checkers) {
    JournalFile journalFile("absent/DbTempTES3");
    InfoFiles infoFiles("absent/InfTempTES3", "absent/InfTempTES3.3");
    Journal journal;
    journal.setMirror(&journalFile);
    InfoStore info;
    info.setMirror(&infoFiles);
    CheckContext ctx{journal, info};
    std::string line = "Return";
    int handled = 0;
    try {
      checker(ctx, line, &handled, kLine);
      ADD_FAILURE() << module << " did not stop the run";
    } catch (const WorkFileError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source \"" +
                    module + "\".\n\n");
    }
    EXPECT_EQ(handled, 0);
  }
}

}  // namespace
}  // namespace lintaro
