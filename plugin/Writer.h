// Writing TES3 plugins, for tests, benchmarks and fuzz seeds: a plugin from a
// list of masters, scripts, dialogues and raw records, and the pieces to build
// faulty ones (a record or subrecord by hand, a field overwritten, a file cut
// short).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "plugin/Plugin.h"

namespace lintaro::plugin::writer {

std::string u32(std::uint32_t value);
std::string u64(std::uint64_t value);
// A subrecord: tag (4 characters), size, data.
std::string subrecord(std::string_view tag, std::string_view data);
// A record: tag, data size, 0, flags, then `data` (its subrecords).
std::string record(std::string_view tag, std::string_view data, std::uint32_t flags = 0);

struct ScriptSpec {
  std::string name;
  std::string text;
  std::uint32_t flags = 0;
  bool dele = false;             // a DELE subrecord
  std::size_t trailingNuls = 0;  // NULs written after the text in SCTX
};

struct InfoSpec {
  std::string id;
  std::string result;  // BNAM, written when not empty
  std::uint32_t flags = 0;
  bool dele = false;
};

struct DialogueSpec {
  std::string topic;
  std::uint8_t type = kTopicTypeTopic;
  std::vector<InfoSpec> infos;  // the INFO records that follow the DIAL
};

// Bytes written as they are: any record, well formed or not.
struct RawRecord {
  std::string bytes;
};

using Item = std::variant<ScriptSpec, DialogueSpec, RawRecord>;

struct PluginSpec {
  float version = 1.3f;
  std::uint32_t fileType = 0;
  std::string author;
  std::string description;
  std::vector<Master> masters;
  std::vector<Item> items;
  bool form = false;  // OpenMW-CS's FORM subrecord before HEDR
};

struct Written {
  std::string bytes;
  std::vector<std::size_t> offsets;  // of every record's header, TES3 first
};

Written writePlugin(const PluginSpec& spec);

// Overwrites the four bytes at `offset` (which must lie inside `bytes`).
void putU32(std::string& bytes, std::size_t offset, std::uint32_t value);

}  // namespace lintaro::plugin::writer
