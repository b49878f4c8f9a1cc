#include "analysis/MainSyntaxe.h"

#include "core/Encoding.h"
#include "core/MainDivers.h"

namespace lintaro {

namespace {

constexpr std::string_view kBadTabFailure =
    "Impossible d'ouvrir le fichier \"DbTempTES3\" depuis le fichier source \"typeScript\".\n\n";
constexpr std::string_view kUnderscoreFailure =
    "Impossible d'ouvrir le fichier temporaire \"DbTempTES3\" depuis le fichier source "
    "\"MainSyntaxe\"\n\n";

constexpr Cp1252Text kTabulation{" : alerte, "};
constexpr Cp1252Text kTabulations{" tabulations ont été detectées"};
constexpr Cp1252Text kTabulationUne{" tabulation a été detectée"};
constexpr Cp1252Text kApresPremier{" après le premier caractère (risques de plantage in-game)."};
constexpr Cp1252Text kPremierCaractere{"    - Le premier caractère de \""};
constexpr Cp1252Text kEstUnderscore{"\" est un underscore, risques de bugs in-game."};

}  // namespace

void synDetectBadTab(std::string& line, int lineIndex, Journal& journal) {
  foldLower(line);
  std::size_t p = 0;
  while (p < line.size() && isBlank(line[p]))
    ++p;
  int tabs = 0;
  for (; p < line.size(); ++p) {
    if (line[p] == '\t') ++tabs;
  }
  if (tabs >= 1) {
    journal.finding(lineIndex, kAlert, kBadTabFailure, kTabulation, int2str(tabs),
                    tabs > 1 ? kTabulations.view() : kTabulationUne.view(), kApresPremier);
  }
}

void synDetectUnderscore(Journal& journal, const InfoStore& info) {
  for (const INFO& record : info.records()) {
    if (record.name.starts_with('_')) {
      std::string text(kPremierCaractere.view());
      text += record.name;
      text += kEstUnderscore.view();
      journal.append(kWholeScript, text, kAlert, kUnderscoreFailure);
    }
  }
}

}  // namespace lintaro
