// The plugin reader: what the writer writes reads back; every kind of faulty
// file (tests/plugin/corrupt.cases) gives its French message at its offset;
// files are found and named whatever their names.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "plugin/Plugin.h"
#include "plugin/Writer.h"
#include "tests/TestSupport.h"

namespace lintaro::plugin {
namespace {

using namespace writer;

Written basePlugin() {
  PluginSpec spec;
  spec.author = "Moi";
  spec.masters = {{"Morrowind.esm", 79837557}};
  spec.items = {ScriptSpec{"a", "Begin a\r\nEnd\r\n"}};
  return writePlugin(spec);
}

TEST(PluginReader, WhatTheWriterWritesReadsBack) {
  PluginSpec spec;
  spec.version = 1.3f;
  spec.fileType = 1;
  spec.author = "Auteur \xC9";
  spec.description = "Une description";
  spec.masters = {{"Morrowind.esm", 79837557}, {"Tribunal.esm", 4565686}};
  spec.form = true;
  spec.items = {
      DialogueSpec{"orphelin", kTopicTypeTopic, {}},
      ScriptSpec{"avec_nuls", "Begin avec_nuls\r\nEnd", 0, false, 3},
      RawRecord{record("GMST", "")},
      ScriptSpec{"supprime", "Begin supprime\r\nEnd", kFlagDeleted},
      ScriptSpec{"dele", "x", 0, true},
      ScriptSpec{"ignore", "x", kFlagIgnored},
      ScriptSpec{"bloque", "y", kFlagBlocked | kFlagPersistent},
      DialogueSpec{"Salutations",
                   kTopicTypeGreeting,
                   {InfoSpec{"11", "Goodbye"}, InfoSpec{"12", ""},
                    InfoSpec{"13", "x", kFlagDeleted}, InfoSpec{"14", "Journal \"q\" 10\r\n"}}},
      DialogueSpec{"q", kTopicTypeJournal, {InfoSpec{"21", std::string("y\0\0", 3)}}},
  };
  const Written written = writePlugin(spec);
  const ReadResult read = parsePlugin(written.bytes, "x.esp");
  ASSERT_EQ(read.status, ReadStatus::kRead) << read.error;
  const Header& header = read.plugin.header;
  EXPECT_EQ(header.version, 1.3f);
  EXPECT_EQ(header.fileType, 1u);
  EXPECT_EQ(header.author, "Auteur \xC9");
  EXPECT_EQ(header.description, "Une description");
  EXPECT_EQ(header.recordCount, 14u);
  ASSERT_EQ(header.masters.size(), 2u);
  EXPECT_EQ(header.masters[1].name, "Tribunal.esm");
  EXPECT_EQ(header.masters[1].size, 4565686u);

  struct Expected {
    ScriptKind kind;
    std::size_t record;  // index in written.offsets
    bool skipped;
    std::string name, topic;
    std::uint8_t type;
    std::string info, text;
  };
  const std::vector<Expected> expected = {
      {ScriptKind::kScript, 2, false, "avec_nuls", "", kUnknownTopicType, "",
       "Begin avec_nuls\r\nEnd"},
      {ScriptKind::kScript, 4, true, "supprime", "", kUnknownTopicType, "",
       "Begin supprime\r\nEnd"},
      {ScriptKind::kScript, 5, true, "dele", "", kUnknownTopicType, "", "x"},
      {ScriptKind::kScript, 6, true, "ignore", "", kUnknownTopicType, "", "x"},
      {ScriptKind::kScript, 7, false, "bloque", "", kUnknownTopicType, "", "y"},
      {ScriptKind::kResult, 9, false, "", "Salutations", kTopicTypeGreeting, "11", "Goodbye"},
      {ScriptKind::kResult, 11, true, "", "Salutations", kTopicTypeGreeting, "13", "x"},
      {ScriptKind::kResult, 12, false, "", "Salutations", kTopicTypeGreeting, "14",
       "Journal \"q\" 10\r\n"},
      {ScriptKind::kResult, 14, false, "", "q", kTopicTypeJournal, "21", "y"},
  };
  ASSERT_EQ(read.plugin.scripts.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const ScriptEntry& entry = read.plugin.scripts[i];
    EXPECT_EQ(entry.kind, expected[i].kind);
    EXPECT_EQ(entry.offset, written.offsets[expected[i].record]);
    EXPECT_EQ(entry.skipped, expected[i].skipped);
    EXPECT_EQ(entry.name, expected[i].name);
    EXPECT_EQ(entry.topic, expected[i].topic);
    EXPECT_EQ(entry.topicType, expected[i].type);
    EXPECT_EQ(entry.infoId, expected[i].info);
    EXPECT_EQ(entry.text, expected[i].text);
  }
  const Counts& counts = read.plugin.counts;
  EXPECT_EQ(counts.records, 15u);
  EXPECT_EQ(counts.scripts, 2u);
  EXPECT_EQ(counts.resultScripts, 3u);
  EXPECT_EQ(counts.skipped, 4u);
  EXPECT_EQ(counts.dialogues, 3u);
  EXPECT_EQ(counts.infos, 5u);
  EXPECT_EQ(counts.deletedRecords, 3u);
}

std::string trimmed(std::string text) {
  while (!text.empty() && text.back() == ' ')
    text.pop_back();
  while (!text.empty() && text.front() == ' ')
    text.erase(0, 1);
  return text;
}

TEST(PluginReader, EveryFaultHasItsMessageAndOffset) {
  std::ifstream cases(LINTARO_GOLDEN_DIR "/../plugin/corrupt.cases");
  ASSERT_TRUE(cases);
  const std::string base = basePlugin().bytes;
  ASSERT_EQ(base.size(), 460u);
  std::string line;
  int count = 0;
  while (std::getline(cases, line)) {
    if (line.empty() || line[0] == '#') continue;
    SCOPED_TRACE(line);
    std::vector<std::string> fields;
    std::stringstream split(line);
    for (std::string field; std::getline(split, field, '|');)
      fields.push_back(trimmed(field));
    ASSERT_EQ(fields.size(), 5u);
    std::stringstream change(fields[0]);
    std::string verb;
    change >> verb;
    std::string bytes = base;
    if (verb == "cut") {
      std::size_t size = 0;
      change >> size;
      bytes.resize(size);
    } else if (verb == "u32") {
      std::size_t at = 0;
      std::uint32_t value = 0;
      change >> at >> value;
      putU32(bytes, at, value);
    } else if (verb == "append") {
      std::string tag;
      change >> tag;
      bytes += record(tag, "");
    } else if (verb == "pad") {
      std::size_t size = 0;
      change >> size;
      bytes.append(size, '\0');
    } else {
      FAIL() << "unknown change";
    }
    const ReadResult read = parsePlugin(bytes, "Corrompu.esp");
    EXPECT_EQ(read.status,
              fields[1] == "NotPlugin" ? ReadStatus::kNotPlugin : ReadStatus::kCorrupt);
    EXPECT_EQ(read.errorOffset, std::stoull(fields[2]));
    EXPECT_EQ(read.plugin.scripts.size(), std::stoull(fields[3]));
    EXPECT_EQ(read.error, "Corrompu.esp : " + fields[4]);
    ++count;
  }
  EXPECT_EQ(count, 21);
}

TEST(PluginReader, FilesAreReadAndNamedWhateverTheirNames) {
  test::TempDir dir;
  const std::string good = basePlugin().bytes;
  for (const std::string name : {"Mon mod.esp", "L'île d'Ald'ruhn.ESP", "Patch (v1.2) [fr].esm",
                                 "Квест.omwaddon", "Été – ñ.esp"}) {
    SCOPED_TRACE(name);
    test::writeFile(name, good);
    const ReadResult read = readPlugin(std::filesystem::u8path(name));
    EXPECT_EQ(read.status, ReadStatus::kRead);
    EXPECT_EQ(read.plugin.scripts.size(), 1u);
    test::writeFile(name, good.substr(0, 400));
    EXPECT_EQ(readPlugin(std::filesystem::current_path() / std::filesystem::u8path(name)).error,
              name +
                  " : enregistrement SCPT tronqué à l'octet 362 (taille annoncée 82, 22 "
                  "octets restants).");
  }

  std::filesystem::create_directory("dossier.esp");
  for (const char* name : {"absent.esp", "dossier.esp"}) {
    const ReadResult read = readPlugin(name);
    EXPECT_EQ(read.status, ReadStatus::kUnreadable);
    EXPECT_EQ(read.error, "Impossible d'ouvrir le fichier \"" + std::string(name) + "\" !");
  }
  // A sparse file: refused for its size before anything is read.
  std::ofstream("grand.esm").close();
  std::filesystem::resize_file("grand.esm", kMaxPluginBytes + 1);
  const ReadResult large = readPlugin("grand.esm");
  EXPECT_EQ(large.status, ReadStatus::kTooLarge);
  EXPECT_EQ(large.error,
            "Le fichier \"grand.esm\" dépasse 512 Mo : ce n'est pas un plugin de Morrowind.");
}

TEST(PluginReader, HeaderAloneStopsAfterTheFirstRecord) {
  test::TempDir dir;
  // The first record is whole; what follows is not even read.
  test::writeFile("m.esm", basePlugin().bytes.substr(0, 362) + "garbage");
  const ReadResult read = readPluginHeader("m.esm");
  ASSERT_EQ(read.status, ReadStatus::kRead) << read.error;
  EXPECT_EQ(read.plugin.header.masters.size(), 1u);
  std::string huge = basePlugin().bytes;
  putU32(huge, 4, kMaxHeaderRecordBytes + 1);
  test::writeFile("h.esm", huge);
  EXPECT_EQ(readPluginHeader("h.esm").error,
            "h.esm : en-tête TES3 de 1048577 octets à l'octet 0, plus que le 1 Mo qu'un en-tête "
            "peut prendre.");
}

}  // namespace
}  // namespace lintaro::plugin
