// The report's fixed texts, in UTF-8 as the report file holds them.
#pragma once

#include <string>

namespace lintaro::test {

inline const std::string kTitle = "                     Scrivlex3 version 2.03";
// The title's underline without a script name: 20 + 4 hyphens.
inline const std::string kUnderline24 = "\n                    ------------------------";
inline const std::string kNoFindings = "\n\n\n\n   Aucun bug n'a été trouvé sur ce script.\n\n";
inline const std::string kErrorHeading = "\n\n\n Liste des erreurs :\n---------------------\n";
inline const std::string kAllHidden =
    "\tAucune erreur détectée, mais le débugueur a trouvé des failles au script.\n"
    "\tDécochez l'option \"Ne pas afficher les alertes\" dans le menu \"Préférences\" pour les "
    "voir.\n";
inline const std::string kLocal =
    "\n\n\n Liste des variables locales utilisées :\n-----------------------------------------\n";

}  // namespace lintaro::test
