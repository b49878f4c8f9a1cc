#include "run/WorkFileMirrors.h"

#include <array>
#include <cstring>

namespace lintaro {

namespace {
constexpr std::string_view kInfoFailure =
    "Impossible d'ouvrir le fichier \"InfTempTES3\" depuis le fichier source \"MainTriInfo\".\n\n";
}

void JournalFile::add(std::int32_t line, Diag id, std::string_view text,
                      std::string_view failureMessage) {
  file_.openOrFail(failureMessage);
  std::array<unsigned char, kJournalRecordSize> record{};
  putInt32(record.data(), line);
  std::memcpy(record.data() + 4, text.data(), std::min(text.size(), kJournalTextMax));
  putInt32(record.data() + 4 + kJournalTextField, diagnostic(id).kind);
  file_.append(record.data(), record.size());
}

void InfoFiles::openOrFail() {
  infoFile_.openOrFail(kInfoFailure);
}

void InfoFiles::record(std::size_t index, const INFO& info, bool appended) {
  std::array<unsigned char, kInfoRecordSize> record{};
  putInt32(record.data(), info.type);
  std::memcpy(record.data() + 4, info.name.data(), std::min(info.name.size(), kInfoNameMax));
  if (appended) {
    infoFile_.append(record.data(), record.size());
  } else {
    infoFile_.overwrite(index * kInfoRecordSize, record.data(), record.size());
  }
}

void InfoFiles::openPairsOrFail() {
  pairFile_.openOrFail(kInfoFailure);
}

void InfoFiles::pair(const VAR_LOCALE& pair) {
  std::array<unsigned char, kPairRecordSize> record{};
  std::memcpy(record.data(), pair.variable.data(), std::min(pair.variable.size(), kPairNameMax));
  std::memcpy(record.data() + kPairNameField, pair.object.data(),
              std::min(pair.object.size(), kPairNameMax));
  pairFile_.append(record.data(), record.size());
}

void InfoFiles::close() {
  infoFile_.close();
  pairFile_.close();
}

}  // namespace lintaro
