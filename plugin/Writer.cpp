#include "plugin/Writer.h"

#include <bit>
#include <stdexcept>

namespace lintaro::plugin::writer {

namespace {

std::string padded(std::string_view text, std::size_t field) {
  std::string out(text.substr(0, field));
  out.resize(field, '\0');
  return out;
}

std::string nulTerminated(std::string_view text) {
  return std::string(text) + '\0';
}

}  // namespace

std::string u32(std::uint32_t value) {
  std::string out(4, '\0');
  for (std::size_t i = 0; i < 4; ++i)
    out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

std::string u64(std::uint64_t value) {
  return u32(static_cast<std::uint32_t>(value)) + u32(static_cast<std::uint32_t>(value >> 32));
}

std::string subrecord(std::string_view tag, std::string_view data) {
  return std::string(tag.substr(0, 4)) + u32(static_cast<std::uint32_t>(data.size())) +
         std::string(data);
}

std::string record(std::string_view tag, std::string_view data, std::uint32_t flags) {
  return std::string(tag.substr(0, 4)) + u32(static_cast<std::uint32_t>(data.size())) + u32(0) +
         u32(flags) + std::string(data);
}

void putU32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  if (offset > bytes.size() || bytes.size() - offset < 4) throw std::out_of_range("putU32");
  bytes.replace(offset, 4, u32(value));
}

Written writePlugin(const PluginSpec& spec) {
  std::vector<std::string> records;
  for (const Item& item : spec.items) {
    if (const auto* script = std::get_if<ScriptSpec>(&item)) {
      std::string data = subrecord("SCHD", padded(script->name, kScriptNameField) +
                                               std::string(kSchdBytes - kScriptNameField, '\0'));
      if (script->dele) data += subrecord("DELE", u32(0));
      data += subrecord("SCTX", script->text + std::string(script->trailingNuls, '\0'));
      records.push_back(record("SCPT", data, script->flags));
    } else if (const auto* dialogue = std::get_if<DialogueSpec>(&item)) {
      records.push_back(
          record("DIAL", subrecord("NAME", nulTerminated(dialogue->topic)) +
                             subrecord("DATA", std::string(1, static_cast<char>(dialogue->type)))));
      for (const InfoSpec& info : dialogue->infos) {
        std::string data = subrecord("INAM", nulTerminated(info.id)) +
                           subrecord("PNAM", std::string(1, '\0')) +
                           subrecord("NNAM", std::string(1, '\0'));
        if (info.dele) data += subrecord("DELE", u32(0));
        if (!info.result.empty()) data += subrecord("BNAM", info.result);
        records.push_back(record("INFO", data, info.flags));
      }
    } else {
      records.push_back(std::get<RawRecord>(item).bytes);
    }
  }

  std::string header;
  if (spec.form) header += subrecord("FORM", u32(1));
  header += subrecord("HEDR", u32(std::bit_cast<std::uint32_t>(spec.version)) + u32(spec.fileType) +
                                  padded(spec.author, kAuthorField) +
                                  padded(spec.description, kDescriptionField) +
                                  u32(static_cast<std::uint32_t>(records.size())));
  for (const Master& master : spec.masters) {
    header += subrecord("MAST", nulTerminated(master.name));
    header += subrecord("DATA", u64(master.size));
  }

  Written written;
  written.bytes = record("TES3", header);
  written.offsets.push_back(0);
  for (const std::string& bytes : records) {
    written.offsets.push_back(written.bytes.size());
    written.bytes += bytes;
  }
  return written;
}

}  // namespace lintaro::plugin::writer
