// The work files of a file run: the journal "DbTempTES3" and the info store's
// "InfTempTES3" and "InfTempTES3.3", each written as the records are made, in
// the layouts of the work files (see WorkFiles.h).
#pragma once

#include "core/Journal.h"
#include "core/MainTriInfo.h"
#include "core/WorkFiles.h"

namespace lintaro {

// 208-byte records: line (int32 LE), text (200 bytes, NUL terminated), kind.
class JournalFile : public DiagnosticSink {
 public:
  explicit JournalFile(std::string path = kJournalFileName) : file_(std::move(path), "ab") {}
  bool open() override { return file_.open(); }
  void add(std::int32_t line, Diag id, std::string_view text,
           std::string_view failureMessage) override;
  void close() { file_.close(); }

 private:
  WorkFile file_;
};

// 56-byte INFO records (rewritten in place when a merge changes a code) and
// 100-byte VAR_LOCALE records.
class InfoFiles : public InfoMirror {
 public:
  explicit InfoFiles(std::string infoPath = kInfoFileName, std::string pairPath = kPairFileName)
      : infoFile_(std::move(infoPath), "rb+"), pairFile_(std::move(pairPath), "rb+") {}
  bool open() override { return infoFile_.open(); }
  void openOrFail() override;
  void record(std::size_t index, const INFO& info, bool appended) override;
  void openPairsOrFail() override;
  void pair(const VAR_LOCALE& pair) override;
  void close() override;

 private:
  WorkFile infoFile_;
  WorkFile pairFile_;
};

}  // namespace lintaro
