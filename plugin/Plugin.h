// Reading a Morrowind plugin (.esp, .esm, .omwaddon: the TES3 format) for
// the scripts it holds: the SCPT records' source texts and the result scripts
// of its dialogue (INFO records' BNAM).
//
// The format, all little-endian: a sequence of records, each a 16-byte header
// (4-character tag, uint32 data size, uint32 unused, uint32 flags) followed by
// its subrecords (4-character tag, uint32 size, the data). The first record
// is TES3: HEDR (version, file type, author, description, record count), then
// MAST and DATA per master file. Every INFO belongs to the last DIAL before
// it.
//
// The reader takes any bytes: every size is checked against what remains of
// the file and of its record before anything is read, no allocation depends on
// a size the file claims, and a faulty file ends the reading with a French
// message naming the file and the byte offset. What was read before the fault
// is kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lintaro::plugin {

// Largest plugin read: the game's own Morrowind.esm is 79 MB, mods a few MB.
inline constexpr std::size_t kMaxPluginBytes = std::size_t{512} << 20;
inline constexpr std::size_t kRecordHeaderBytes = 16;
inline constexpr std::size_t kSubrecordHeaderBytes = 8;
inline constexpr std::size_t kHedrBytes = 300;
inline constexpr std::size_t kAuthorField = 32;
inline constexpr std::size_t kDescriptionField = 256;
inline constexpr std::size_t kSchdBytes = 52;
inline constexpr std::size_t kScriptNameField = 32;
// Largest TES3 record read when only a file's header is wanted: 255 masters
// with names of 260 characters take less than 70 KB.
inline constexpr std::size_t kMaxHeaderRecordBytes = std::size_t{1} << 20;

// Record flags.
inline constexpr std::uint32_t kFlagDeleted = 0x20;
inline constexpr std::uint32_t kFlagPersistent = 0x400;
inline constexpr std::uint32_t kFlagIgnored = 0x1000;
inline constexpr std::uint32_t kFlagBlocked = 0x2000;

// DIAL types (DATA's byte); kUnknownTopicType when the DIAL has no DATA.
inline constexpr std::uint8_t kTopicTypeTopic = 0;
inline constexpr std::uint8_t kTopicTypeVoice = 1;
inline constexpr std::uint8_t kTopicTypeGreeting = 2;
inline constexpr std::uint8_t kTopicTypePersuasion = 3;
inline constexpr std::uint8_t kTopicTypeJournal = 4;
inline constexpr std::uint8_t kUnknownTopicType = 0xFF;

// Names and texts below are the file's bytes (see CodePages.h to show them).
struct Master {
  std::string name;        // up to its first NUL
  std::uint64_t size = 0;  // DATA: the master's size when the plugin was saved
};

struct Header {
  float version = 0;
  std::uint32_t fileType = 0;  // 0 plugin, 1 master, 32 saved game
  std::string author;          // up to its first NUL
  std::string description;     // up to its first NUL
  std::uint32_t recordCount = 0;
  std::vector<Master> masters;
};

enum class ScriptKind {
  kScript,  // a SCPT record
  kResult,  // the result script (BNAM) of an INFO record
};

struct ScriptEntry {
  ScriptKind kind = ScriptKind::kScript;
  std::uint64_t offset = 0;  // of the record's header in the file
  std::uint32_t flags = 0;   // the record's flags
  // Deleted (flag 0x20 or a DELE subrecord) or ignored (flag 0x1000): the
  // game does not load it, so it is listed but not to be checked.
  bool skipped = false;
  std::string name;                            // kScript: the name in SCHD
  std::string topic;                           // kResult: the NAME of the DIAL before the INFO
  std::uint8_t topicType = kUnknownTopicType;  // kResult: the DIAL's type
  std::string infoId;                          // kResult: the INFO's INAM
  // The source: SCTX without its trailing NULs, or BNAM as stored.
  std::string text;
};

struct Counts {
  std::size_t records = 0;        // every record read, TES3 included
  std::size_t scripts = 0;        // SCPT records to check
  std::size_t resultScripts = 0;  // INFO records with a result script to check
  std::size_t skipped = 0;        // deleted or ignored SCPT and INFO records with a script
  std::size_t dialogues = 0;      // DIAL records
  std::size_t infos = 0;          // INFO records, with or without a result script
  // Records of any kind that the game does not load: flag 0x20, or a DELE
  // subrecord in SCPT, DIAL and INFO (the records the reader looks into).
  std::size_t deletedRecords = 0;
};

struct Plugin {
  Header header;
  std::vector<ScriptEntry> scripts;  // SCPT and result scripts in record order
  Counts counts;
};

enum class ReadStatus {
  kRead,
  kUnreadable,  // missing, a folder, no permission, a read error
  kTooLarge,    // more than kMaxPluginBytes
  kNotPlugin,   // empty, or does not begin with a TES3 record
  kCorrupt,     // a size past its bounds, a fixed-size field of another size,
                // a record without the subrecord that names it
};

struct ReadResult {
  ReadStatus status = ReadStatus::kUnreadable;
  // Complete when kRead; what came before the fault when kNotPlugin/kCorrupt.
  Plugin plugin;
  std::string error;  // French, UTF-8; empty when kRead
  std::uint64_t errorOffset = 0;
};

// Reads plugin bytes; `fileName` (UTF-8) names the file in messages.
ReadResult parsePlugin(std::string_view bytes, std::string_view fileName);

// Reads a plugin file (at most kMaxPluginBytes); messages name its file name.
ReadResult readPlugin(const std::filesystem::path& path);

// Reads only the TES3 record at the start of a file (at most
// kMaxHeaderRecordBytes of it): a master's header without reading the master.
ReadResult readPluginHeader(const std::filesystem::path& path);

// A path's file name as UTF-8, for messages.
std::string displayName(const std::filesystem::path& path);

}  // namespace lintaro::plugin
