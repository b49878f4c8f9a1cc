#include "plugin/Plugin.h"

#include <bit>
#include <fstream>
#include <string>

#include "core/ScriptInput.h"

namespace lintaro::plugin {

namespace {

// What ends the reading of a faulty file.
struct Fault {
  ReadStatus status;
  std::size_t offset;
  std::string message;  // without the file name
};

std::uint32_t u32At(std::string_view bytes, std::size_t at) {
  const auto b = [&](std::size_t k) {
    return std::uint32_t{static_cast<unsigned char>(bytes[at + k])};
  };
  return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}

std::uint64_t u64At(std::string_view bytes, std::size_t at) {
  return std::uint64_t{u32At(bytes, at)} | std::uint64_t{u32At(bytes, at + 4)} << 32;
}

std::string_view upToNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

std::string_view withoutTrailingNuls(std::string_view text) {
  while (!text.empty() && text.back() == '\0')
    text.remove_suffix(1);
  return text;
}

// A tag as it may be printed: characters outside printable ASCII become '?'.
std::string tagText(std::string_view tag) {
  std::string text(tag);
  for (char& c : text) {
    if (c < 0x20 || c > 0x7E) c = '?';
  }
  return text;
}

std::string number(std::uint64_t value) {
  return std::to_string(value);
}

struct Subrecord {
  std::string_view tag;
  std::string_view data;
  std::size_t offset;  // of the subrecord's header
};

class Parser {
 public:
  Parser(std::string_view bytes, bool headerOnly) : bytes_(bytes), headerOnly_(headerOnly) {}

  // Throws Fault.
  void run(Plugin& plugin) {
    plugin_ = &plugin;
    if (bytes_.empty())
      throw Fault{ReadStatus::kNotPlugin, 0, "fichier vide, ce n'est pas un plugin de Morrowind."};
    if (bytes_.size() < 4 || bytes_.substr(0, 4) != "TES3") {
      throw Fault{ReadStatus::kNotPlugin, 0,
                  "ce n'est pas un plugin de Morrowind : l'octet 0 porte « " +
                      tagText(bytes_.substr(0, 4)) + " » au lieu de « TES3 »."};
    }
    std::size_t at = 0;
    while (at < bytes_.size()) {
      const std::size_t left = bytes_.size() - at;
      if (left < kRecordHeaderBytes) {
        throw Fault{ReadStatus::kCorrupt, at,
                    "en-tête d'enregistrement tronqué à l'octet " + number(at) +
                        " (16 octets attendus, " + number(left) + " restants)."};
      }
      const std::string_view tag = bytes_.substr(at, 4);
      const std::uint32_t size = u32At(bytes_, at + 4);
      const std::uint32_t flags = u32At(bytes_, at + 12);
      const std::size_t dataStart = at + kRecordHeaderBytes;
      if (size > left - kRecordHeaderBytes) {
        throw Fault{ReadStatus::kCorrupt, at,
                    "enregistrement " + tagText(tag) + " tronqué à l'octet " + number(at) +
                        " (taille annoncée " + number(size) + ", " +
                        number(left - kRecordHeaderBytes) + " octets restants)."};
      }
      const Record record{tag, at, flags, dataStart, dataStart + size};
      ++plugin.counts.records;
      if ((flags & kFlagDeleted) != 0) ++plugin.counts.deletedRecords;
      if (at == 0) {
        readHeader(record);
        if (headerOnly_) return;
      } else if (tag == "TES3") {
        throw Fault{ReadStatus::kCorrupt, at, "second en-tête TES3 à l'octet " + number(at) + "."};
      } else if (tag == "SCPT") {
        readScript(record);
      } else if (tag == "DIAL") {
        readDialogue(record);
      } else if (tag == "INFO") {
        readInfo(record);
      }
      at = record.end;
    }
  }

 private:
  struct Record {
    std::string_view tag;
    std::size_t offset;
    std::uint32_t flags;
    std::size_t begin;  // of the data
    std::size_t end;
  };

  // Calls `each(subrecord)` for the subrecords of a record, in order.
  template <typename Each>
  void forEachSubrecord(const Record& record, Each each) const {
    std::size_t at = record.begin;
    while (at < record.end) {
      const std::size_t left = record.end - at;
      if (left < kSubrecordHeaderBytes) {
        throw Fault{ReadStatus::kCorrupt, at,
                    "en-tête de sous-enregistrement tronqué à l'octet " + number(at) +
                        " (8 octets attendus, " + number(left) +
                        " restants dans l'enregistrement " + tagText(record.tag) + " de l'octet " +
                        number(record.offset) + ")."};
      }
      const std::string_view tag = bytes_.substr(at, 4);
      const std::uint32_t size = u32At(bytes_, at + 4);
      if (size > left - kSubrecordHeaderBytes) {
        throw Fault{ReadStatus::kCorrupt, at,
                    "sous-enregistrement " + tagText(tag) + " tronqué à l'octet " + number(at) +
                        " (taille annoncée " + number(size) + ", " +
                        number(left - kSubrecordHeaderBytes) +
                        " octets restants dans l'enregistrement " + tagText(record.tag) +
                        " de l'octet " + number(record.offset) + ")."};
      }
      each(Subrecord{tag, bytes_.substr(at + kSubrecordHeaderBytes, size), at});
      at += kSubrecordHeaderBytes + size;
    }
  }

  static void expectSize(const Subrecord& sub, std::size_t expected) {
    if (sub.data.size() == expected) return;
    throw Fault{ReadStatus::kCorrupt, sub.offset,
                "sous-enregistrement " + tagText(sub.tag) + " de " + number(sub.data.size()) +
                    " octets à l'octet " + number(sub.offset) + " (" + number(expected) +
                    " attendus)."};
  }

  static void missing(const Record& record, std::string_view subrecord) {
    throw Fault{ReadStatus::kCorrupt, record.offset,
                "enregistrement " + tagText(record.tag) + " sans sous-enregistrement " +
                    std::string(subrecord) + " à l'octet " + number(record.offset) + "."};
  }

  void readHeader(const Record& record) {
    Header& header = plugin_->header;
    bool hedr = false;
    forEachSubrecord(record, [&](const Subrecord& sub) {
      if (sub.tag == "HEDR") {
        expectSize(sub, kHedrBytes);
        hedr = true;
        header.version = std::bit_cast<float>(u32At(sub.data, 0));
        header.fileType = u32At(sub.data, 4);
        header.author = upToNul(sub.data.substr(8, kAuthorField));
        header.description = upToNul(sub.data.substr(8 + kAuthorField, kDescriptionField));
        header.recordCount = u32At(sub.data, 8 + kAuthorField + kDescriptionField);
      } else if (sub.tag == "MAST") {
        header.masters.push_back(Master{std::string(upToNul(sub.data)), 0});
      } else if (sub.tag == "DATA") {
        expectSize(sub, 8);
        if (!header.masters.empty()) header.masters.back().size = u64At(sub.data, 0);
      }
    });
    if (!hedr) missing(record, "HEDR");
  }

  // A DELE subrecord deletes a record whose flags do not say so.
  void countDele(const Record& record, bool dele) {
    if (dele && (record.flags & kFlagDeleted) == 0) ++plugin_->counts.deletedRecords;
  }

  static bool skippedFlags(std::uint32_t flags) {
    return (flags & (kFlagDeleted | kFlagIgnored)) != 0;
  }

  void readScript(const Record& record) {
    ScriptEntry entry;
    entry.kind = ScriptKind::kScript;
    entry.offset = record.offset;
    entry.flags = record.flags;
    entry.skipped = skippedFlags(record.flags);
    bool schd = false;
    bool sctx = false;
    bool dele = false;
    forEachSubrecord(record, [&](const Subrecord& sub) {
      if (sub.tag == "SCHD" && !schd) {
        expectSize(sub, kSchdBytes);
        schd = true;
        entry.name = upToNul(sub.data.substr(0, kScriptNameField));
      } else if (sub.tag == "SCTX" && !sctx) {
        sctx = true;
        entry.text = withoutTrailingNuls(sub.data);
      } else if (sub.tag == "DELE") {
        dele = true;
      }
    });
    if (!schd) missing(record, "SCHD");
    countDele(record, dele);
    entry.skipped = entry.skipped || dele;
    Counts& counts = plugin_->counts;
    ++(entry.skipped ? counts.skipped : counts.scripts);
    plugin_->scripts.push_back(std::move(entry));
  }

  void readDialogue(const Record& record) {
    ++plugin_->counts.dialogues;
    bool name = false;
    bool dele = false;
    topicType_ = kUnknownTopicType;
    forEachSubrecord(record, [&](const Subrecord& sub) {
      if (sub.tag == "NAME" && !name) {
        name = true;
        topic_ = upToNul(sub.data);
      } else if (sub.tag == "DATA" && !sub.data.empty()) {
        topicType_ = static_cast<std::uint8_t>(sub.data[0]);
      } else if (sub.tag == "DELE") {
        dele = true;
      }
    });
    if (!name) missing(record, "NAME");
    countDele(record, dele);
  }

  void readInfo(const Record& record) {
    ++plugin_->counts.infos;
    bool inam = false;
    bool bnam = false;
    bool dele = false;
    std::string_view id;
    std::string_view result;
    forEachSubrecord(record, [&](const Subrecord& sub) {
      if (sub.tag == "INAM" && !inam) {
        inam = true;
        id = upToNul(sub.data);
      } else if (sub.tag == "BNAM" && !bnam) {
        bnam = true;
        result = withoutTrailingNuls(sub.data);
      } else if (sub.tag == "DELE") {
        dele = true;
      }
    });
    if (!inam) missing(record, "INAM");
    countDele(record, dele);
    if (result.empty()) return;
    ScriptEntry entry;
    entry.kind = ScriptKind::kResult;
    entry.offset = record.offset;
    entry.flags = record.flags;
    entry.skipped = dele || skippedFlags(record.flags);
    entry.topic = topic_;
    entry.topicType = topicType_;
    entry.infoId = id;
    entry.text = result;
    Counts& counts = plugin_->counts;
    ++(entry.skipped ? counts.skipped : counts.resultScripts);
    plugin_->scripts.push_back(std::move(entry));
  }

  std::string_view bytes_;
  bool headerOnly_;
  Plugin* plugin_ = nullptr;
  std::string topic_;
  std::uint8_t topicType_ = kUnknownTopicType;
};

ReadResult parse(std::string_view bytes, std::string_view fileName, bool headerOnly) {
  ReadResult result;
  try {
    Parser(bytes, headerOnly).run(result.plugin);
    result.status = ReadStatus::kRead;
  } catch (const Fault& fault) {
    result.status = fault.status;
    result.errorOffset = fault.offset;
    result.error = std::string(fileName) + " : " + fault.message;
  }
  return result;
}

std::string utf8Path(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

ReadResult inputFailure(ReadStatus status, const std::filesystem::path& path) {
  ReadResult result;
  result.status = status;
  const std::string name = displayName(path);
  result.error =
      status == ReadStatus::kTooLarge
          ? "Le fichier \"" + name + "\" dépasse 512 Mo : ce n'est pas un plugin de Morrowind."
          : "Impossible d'ouvrir le fichier \"" + name + "\" !";
  return result;
}

}  // namespace

std::string displayName(const std::filesystem::path& path) {
  return utf8Path(path.filename());
}

ReadResult parsePlugin(std::string_view bytes, std::string_view fileName) {
  return parse(bytes, fileName, false);
}

ReadResult readPlugin(const std::filesystem::path& path) {
  // A regular file's size refuses a large file before anything is read; the
  // bounded reading below catches what grows meanwhile, pipes and devices.
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error && size > kMaxPluginBytes) return inputFailure(ReadStatus::kTooLarge, path);
  ScriptInput input = readScriptInput(utf8Path(path), kMaxPluginBytes);
  switch (input.status) {
    case InputStatus::kRead:
      break;
    case InputStatus::kTooLarge:
      return inputFailure(ReadStatus::kTooLarge, path);
    case InputStatus::kUnreadable:
      return inputFailure(ReadStatus::kUnreadable, path);
  }
  return parsePlugin(input.bytes, displayName(path));
}

ReadResult readPluginHeader(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error))
    return inputFailure(ReadStatus::kUnreadable, path);
  std::ifstream in(path, std::ios::binary);
  if (!in) return inputFailure(ReadStatus::kUnreadable, path);
  std::string bytes(kRecordHeaderBytes, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (bytes.size() == kRecordHeaderBytes && bytes.starts_with("TES3")) {
    const std::uint32_t size = u32At(bytes, 4);
    if (size > kMaxHeaderRecordBytes) {
      ReadResult result;
      result.status = ReadStatus::kCorrupt;
      result.error = displayName(path) + " : en-tête TES3 de " + number(size) +
                     " octets à l'octet 0, plus que le 1 Mo qu'un en-tête peut prendre.";
      return result;
    }
    bytes.resize(kRecordHeaderBytes + size);
    in.read(bytes.data() + kRecordHeaderBytes, static_cast<std::streamsize>(size));
    bytes.resize(kRecordHeaderBytes + static_cast<std::size_t>(in.gcount()));
  }
  return parse(bytes, displayName(path), true);
}

}  // namespace lintaro::plugin
