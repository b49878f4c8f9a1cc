// Prints docs/diagnostics.md: the catalogue of diagnostics as French Markdown.
// `tools/docs.sh` writes the file; a test fails when it is out of date.
#include <iostream>
#include <string>
#include <string_view>

#include "core/Diagnostics.h"

namespace {

std::string_view kindWord(std::int32_t kind) {
  return kind == lintaro::kAlert ? "alerte" : "erreur";
}

// Inline code that may hold backticks.
std::string inlineCode(std::string_view text) {
  const bool tick = text.find('`') != std::string_view::npos;
  std::string out = tick ? "`` " : "`";
  out += text;
  out += tick ? " ``" : "`";
  return out;
}

void block(std::ostream& out, std::string_view label, std::string_view example) {
  out << label << " :\n\n```mwscript\n" << example << "\n```\n\n";
}

}  // namespace

int main() {
  std::ostream& out = std::cout;
  out << "# Les diagnostics de Lintaro\n\n"
         "<!-- Produit par tools/docs.sh à partir de core/diagnostics/*.def : ne pas modifier "
         "à la main. -->\n\n"
         "Chaque constat que Lintaro peut écrire a un code stable (jamais réutilisé), une sorte "
         "(erreur ou alerte), un nom court et un message. Dans le rapport, un constat sur une "
         "ligne s'écrit « Ligne N : message » ; un constat sur tout le script s'écrit sans "
         "numéro de ligne. Les parties entre accolades du message, comme `{fonction}`, sont "
         "remplacées par ce que le script contient.\n\n"
         "Pour faire taire un code : l'option `--ignorer CODE` de `scrutinette`, ou un "
         "commentaire `; lintaro: ignorer CODE` au bout de la ligne (pour cette ligne) ou sur "
         "une ligne à lui avant `Begin` (pour tout le script). "
         "`scrutinette --expliquer CODE` affiche une entrée de cette liste.\n\n"
         "| code | sorte | nom | message |\n|---|---|---|---|\n";
  for (const lintaro::DiagnosticRow& row : lintaro::catalogue()) {
    std::string message(row.message);
    for (std::size_t i = 0; (i = message.find('|', i)) != std::string::npos; i += 2)
      message.replace(i, 1, "\\|");
    out << "| [" << row.code << "](#" << row.code << ") | " << kindWord(row.kind) << " | "
        << row.name << " | " << inlineCode(message) << " |\n";
  }
  out << '\n';
  for (const lintaro::DiagnosticRow& row : lintaro::catalogue()) {
    out << "## <a id=\"" << row.code << "\"></a>" << row.code << " : " << row.name << "\n\n"
        << (row.scope == lintaro::Scope::kScript ? "Sur tout le script, " : "Sur une ligne, ")
        << kindWord(row.kind) << ". Message : " << inlineCode(row.message) << "\n\n"
        << row.explanation << "\n\n";
    block(out, "Fautif", row.wrong);
    block(out, "Correct", row.right);
  }
  return 0;
}
