#include "lsp/Commands.h"

#include <algorithm>
#include <unordered_map>

#include "commands/MainSyntaxeChain.h"
#include "core/MainTriInfo.h"
#include "expression/MainExpression.h"
#include "lsp/Text.h"

namespace lintaro::lsp {

namespace {

// How a checker reads its line: whether a caller ("objet->") may stand
// before the command, and what its arguments are. `%1` and `%2` stand for
// the labels of the row's called and second types.
enum class Caller : std::uint8_t { kNone, kOptional, kByChoice };

struct CheckerText {
  Checker checker;
  Caller caller;
  std::string_view arguments;
};

constexpr CheckerText kCheckerTexts[] = {
    {Checker::kSetTo, Caller::kNone, "une variable, « to », puis une expression"},
    {Checker::kTest, Caller::kNone, "une condition entre parenthèses"},
    {Checker::kFonctionSeule, Caller::kNone, "aucun argument"},
    {Checker::kFonctionSeule_OptCall, Caller::kOptional, "aucun argument"},
    {Checker::kFoncUndocumented, Caller::kNone, "aucun argument (fonction non documentée)"},
    {Checker::kFoncBroken, Caller::kNone,
     "aucun argument (fonction qui ne marche pas dans le jeu)"},
    {Checker::kFoncIDApp, Caller::kOptional, "un identifiant (%1)"},
    {Checker::kFoncID, Caller::kNone, "un identifiant (%1)"},
    {Checker::kFonc_optID_choiceApp, Caller::kByChoice, "un identifiant facultatif (%1)"},
    {Checker::kFoncIDID_choiceApp, Caller::kByChoice, "deux identifiants (%1, puis %2)"},
    {Checker::kFoncValShortApp, Caller::kOptional, "un nombre entier"},
    {Checker::kFoncValShort, Caller::kNone, "un nombre entier"},
    {Checker::kFoncValShortStatApp, Caller::kOptional,
     "une valeur : nombre, variable ou expression"},
    {Checker::kFoncValShortStat, Caller::kNone, "une valeur : nombre, variable ou expression"},
    {Checker::kFoncValFloat_choiceApp, Caller::kByChoice, "un nombre décimal"},
    {Checker::kFoncShortShort_choiceApp, Caller::kByChoice, "deux nombres entiers"},
    {Checker::kFoncIDshort_choiceApp, Caller::kByChoice,
     "un identifiant (%1) puis un nombre entier"},
    {Checker::kFoncID_optShort_choiceApp, Caller::kByChoice,
     "un identifiant (%1) puis un nombre entier facultatif"},
    {Checker::kFoncIDIDshort, Caller::kNone,
     "deux identifiants (%1, puis %2) puis un nombre entier"},
    {Checker::kFoncAxe, Caller::kOptional, "un axe : X, Y ou Z"},
    {Checker::kFoncAxeFloat, Caller::kOptional,
     "un axe (X, Y ou Z) puis un nombre (SetAngle et SetPos acceptent aussi une variable)"},
    {Checker::kMessageBox, Caller::kNone,
     "un texte entre guillemets, les variables qu'il affiche, puis les boutons entre "
     "guillemets"},
    {Checker::kChoice, Caller::kNone, "des paires : texte entre guillemets, numéro de réponse"},
    {Checker::kSay, Caller::kOptional,
     "un fichier son entre guillemets puis le texte affiché entre guillemets"},
    {Checker::kPlaceAtMe, Caller::kOptional,
     "un objet, un nombre d'exemplaires, une distance, une direction (0 à 3)"},
    {Checker::kPlaceAtPC, Caller::kNone,
     "un objet, un nombre d'exemplaires, une distance, une direction (0 à 3)"},
    {Checker::kPosition, Caller::kOptional, "x, y, z, angle"},
    {Checker::kPositionCell, Caller::kOptional, "x, y, z, angle, cellule entre guillemets"},
    {Checker::kPlaceItem, Caller::kNone, "un objet, x, y, z, angle"},
    {Checker::kPlaceItemCell, Caller::kNone, "un objet, une cellule, x, y, z, angle"},
    {Checker::kFadeTo, Caller::kNone, "une opacité puis une durée"},
    {Checker::kModRegion, Caller::kNone, "une région puis les pourcentages de chaque temps"},
    {Checker::kPlaySoundVP, Caller::kNone, "un son, un volume, une hauteur"},
    {Checker::kPlaySound3DVP, Caller::kOptional, "un son, un volume, une hauteur"},
    {Checker::kPlayLoopSound3DVP, Caller::kOptional, "un son, un volume, une hauteur"},
    {Checker::kLoopGroup, Caller::kOptional,
     "un groupe d'animation, un nombre de répétitions, des options facultatives"},
    {Checker::kModPCFacRep, Caller::kNone, "une valeur puis une faction facultative"},
    {Checker::kSetPCFacRep, Caller::kNone, "une valeur puis une faction facultative"},
    {Checker::kJournal, Caller::kNone, "une quête puis un indice"},
    {Checker::kAIActivate, Caller::kOptional, "un objet, une reprise facultative"},
    {Checker::kAIEscort, Caller::kOptional, "un personnage, une durée, x, y, z, une reprise"},
    {Checker::kAIEscortCell, Caller::kOptional,
     "un personnage, une cellule, une durée, x, y, z, une reprise"},
    {Checker::kAIFollow, Caller::kOptional, "un personnage, une durée, x, y, z, une reprise"},
    {Checker::kAIFollowCell, Caller::kOptional,
     "un personnage, une cellule, une durée, x, y, z, une reprise"},
    {Checker::kAITravel, Caller::kOptional, "x, y, z, une reprise"},
    {Checker::kAIWander, Caller::kOptional,
     "une distance, une durée, une heure, puis jusqu'à huit pourcentages d'inactivité"},
};

const CheckerText& textOf(Checker checker) {
  for (const CheckerText& text : kCheckerTexts) {
    if (text.checker == checker) return text;
  }
  return kCheckerTexts[2];  // no argument
}

struct TypeLabel {
  int code;
  std::string_view label;
};

constexpr TypeLabel kTypeLabels[] = {
    {code::SHORT, "variable short"},
    {code::FLOAT, "variable float"},
    {code::LONG, "variable long"},
    {code::GLOBALE_SHORT, "variable globale"},
    {code::GLOBALE, "variable globale"},
    {code::CONTENANT, "contenant"},
    {code::CONTENU, "objet transportable"},
    {code::PERSONNE, "personnage ou créature"},
    {code::OBJET_EQUIPABLE, "objet équipable"},
    {code::OBJET, "objet"},
    {code::SORT, "sort"},
    {code::EFFET, "effet magique"},
    {code::EXTERNE, "variable d'un autre script"},
    {code::PNJ, "PNJ"},
    {code::ARME, "arme"},
    {code::INSTRUMENT_DE_REPARATION, "instrument de réparation"},
    {code::MISC, "objet divers"},
    {code::PORTE_OU_COFFRE, "porte ou coffre"},
    {code::CREATURE, "créature"},
    {code::LEVELED_CREATURE, "liste de créatures"},
    {code::LEVELED_ITEM, "liste d'objets"},
    {code::TOPIC, "sujet de dialogue"},
    {code::QUETE, "quête"},
    {code::REGION, "région"},
    {code::FACTION, "faction"},
    {code::FICHIER, "fichier"},
    {code::SON, "son"},
    {code::ANIMATION, "animation"},
    {code::CELLULE, "cellule"},
    {code::SCRIPT, "script"},
    {code::RACE, "race"},
    {code::NOM_DU_SCRIPT, "nom du script"},
};

bool isKeyword(std::string_view lowerName) {
  for (const std::string_view word :
       {"set", "if", "elseif", "while", "else", "endif", "endwhile", "end", "return"}) {
    if (lowerName == word) return true;
  }
  return false;
}

void replaceAll(std::string& text, std::string_view hole, std::string_view value) {
  for (std::size_t at = text.find(hole); at != std::string::npos;
       at = text.find(hole, at + value.size())) {
    text.replace(at, hole.size(), value);
  }
}

struct Index {
  std::vector<CommandInfo> list;
  std::unordered_map<std::string, std::size_t> byName;
};

const Index& index() {
  static const Index built = [] {
    Index idx;
    const auto add = [&](std::span<const ChainEntry> table, bool function) {
      for (const ChainEntry& row : table) {
        const std::string key = lowerAscii(row.name);
        const auto [it, fresh] = idx.byName.try_emplace(key, idx.list.size());
        if (fresh) {
          idx.list.push_back({row.name, function, isKeyword(key), {}});
        }
        idx.list[it->second].rows.push_back(&row);
      }
    };
    add(commandChain(), false);
    add(expressionFunctions(), true);
    return idx;
  }();
  return built;
}

}  // namespace

const std::vector<CommandInfo>& commands() {
  return index().list;
}

const CommandInfo* findCommand(std::string_view name) {
  const Index& idx = index();
  const auto it = idx.byName.find(lowerAscii(name));
  return it == idx.byName.end() ? nullptr : &idx.list[it->second];
}

bool allowed(const CommandInfo& info, bool tribunal, bool bloodmoon) {
  for (const ChainEntry* row : info.rows) {
    if (row->expansion == Expansion::kNone) return true;
    if (row->expansion == Expansion::kTribunal && tribunal) return true;
    if (row->expansion == Expansion::kBloodmoon && bloodmoon) return true;
  }
  return false;
}

std::string_view typeLabel(int code) {
  for (const TypeLabel& label : kTypeLabels) {
    if (label.code == code) return label.label;
  }
  return "objet";
}

namespace {

// The caller a row accepts ("" for none) and its arguments.
struct Form {
  std::string caller;
  std::string arguments;
  bool operator==(const Form&) const = default;
};

Form formOf(const ChainEntry& row) {
  const CheckerText& text = textOf(row.checker);
  Form form;
  if (text.caller == Caller::kOptional ||
      (text.caller == Caller::kByChoice && row.args.choice == 1)) {
    form.caller = typeLabel(row.args.caller);
  }
  form.arguments = text.arguments;
  replaceAll(form.arguments, "%1", typeLabel(row.args.called));
  replaceAll(form.arguments, "%2", typeLabel(row.args.second));
  return form;
}

}  // namespace

std::string argumentHint(const ChainEntry& row) {
  const Form form = formOf(row);
  return form.caller.empty() ? form.arguments : "[" + form.caller + "->] " + form.arguments;
}

std::string commandHover(const CommandInfo& info) {
  std::string text = "**";
  text += info.name;
  text +=
      info.keyword ? "** (mot du langage)" : (info.function ? "** (fonction)" : "** (commande)");
  std::vector<Form> forms;
  bool tribunal = false;
  bool bloodmoon = false;
  for (const ChainEntry* row : info.rows) {
    tribunal = tribunal || row->expansion == Expansion::kTribunal;
    bloodmoon = bloodmoon || row->expansion == Expansion::kBloodmoon;
    const Form form = formOf(*row);
    if (std::find(forms.begin(), forms.end(), form) == forms.end()) forms.push_back(form);
  }
  for (std::size_t i = 0; i < forms.size(); ++i) {
    text += "\n\n";
    if (forms.size() > 1) text += "Forme " + std::to_string(i + 1) + " : ";
    text += "Arguments : " + forms[i].arguments + ".";
    text += forms[i].caller.empty() ? " Sans appelant."
                                    : " Appelant permis : " + forms[i].caller + " (`objet->" +
                                          std::string(info.name) + "`).";
  }
  if (tribunal) text += "\n\nDemande Tribunal (réglage « tribunal »).";
  if (bloodmoon) text += "\n\nDemande Bloodmoon (réglage « bloodmoon »).";
  return text;
}

}  // namespace lintaro::lsp
