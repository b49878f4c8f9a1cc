#include "bench/ScriptGenerator.h"

#include <array>
#include <cstdlib>
#include <vector>

namespace lintaro::bench {

namespace {

// Collects the lines of a script of a fixed length.
class ScriptBuilder {
 public:
  explicit ScriptBuilder(int lines) : target_(lines > 0 ? lines : 1) {
    lines_.reserve(static_cast<std::size_t>(target_));
  }

  // Room for how many more lines before the closing "End".
  int room() const { return target_ - 1 - static_cast<int>(lines_.size()); }
  bool full() const { return room() <= 0; }

  // Adds a line unless only the closing "End" still fits.
  void add(std::string line) {
    if (!full()) lines_.push_back(std::move(line));
  }

  // Fills the remaining lines with `filler` and closes with "End"; the text
  // has exactly the requested number of lines, CR LF between them.
  std::string finish(const std::string& filler = "") {
    while (!full())
      lines_.push_back(filler);
    if (static_cast<int>(lines_.size()) < target_) lines_.push_back("End");
    std::string text;
    std::size_t size = 0;
    for (const std::string& line : lines_)
      size += line.size() + 2;
    text.reserve(size);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      text += lines_[i];
      if (i + 1 < lines_.size()) text += "\r\n";
    }
    return text;
  }

 private:
  int target_;
  std::vector<std::string> lines_;
};

std::string tabs(int count) {
  return std::string(static_cast<std::size_t>(count), '\t');
}

// One block of twenty lines of the realistic script, with the names of
// block `k`. The findings that the checks of today report are noted at the
// end of each line: E error, A alert, U the underscore alert of the name
// declared there (a whole-script finding). 9 lines of 20 have a finding about
// the line, 12 of 20 counting the underscore alerts; the tabs after the first
// word are for the per-line checks.
void addBlock(ScriptBuilder& s, int k) {
  const std::string id = std::to_string(k);
  const std::string etat = "_etat" + id;
  const std::string vitesse = "vitesse" + id;
  const std::string total = "_Total" + id;
  // The comment is Windows-1252, as the Construction Set saves it.
  s.add("short " + etat + "\t; \xE9tat de la qu\xEAte");               // U
  s.add("float " + vitesse);                                           //
  s.add("long " + total + " ; compteur");                              // U
  s.add("if ( " + etat + " == 1 )");                                   //
  s.add("\tset " + vitesse + " to\t5.5");                              //
  s.add("else");                                                       //
  s.add("elseif ( " + total + " > 3 )");                               // A: after "else"
  s.add("\twhile ( " + vitesse + " < 10 )");                           //
  s.add("\t\tset " + vitesse + " to " + vitesse + " + 1\t; boucle");   //
  s.add("\tendwhile");                                                 //
  s.add("elseif ( " + total + " < 1 )");                               // A
  s.add("ElseIf ( GetJournalIndex \"Quete_" + id + "\" >= 10 )");      // A
  s.add("endif");                                                      //
  s.add("EndIf ; en trop");                                            // E: excess
  s.add("else");                                                       // E: no "if"
  s.add("elseif ( player->GetItemCount \"gold_001\" > " + id + " )");  // E: no "if"
  s.add("endwhile");                                                   // E: excess
  s.add("short _drapeau" + id);                                        // U
  s.add("endif ; encore en trop");                                     // E: excess
  s.add("Else ; encore");                                              // E: no "if"
}

// One block of twenty command lines with the names of block `k`: every
// family of the command chain (assignments and tests with value functions,
// signature checkers, texts, placement, AI packages, sounds, the journal and
// expansion commands, which the default preferences report).
void addCommandBlock(ScriptBuilder& s, int k) {
  const std::string id = std::to_string(k);
  s.add("set vitesse" + id + " to ( GetDistance player + 5 ) * GetSecondsPassed");
  s.add("if ( player->GetItemCount \"gold_001\" >= 10 ) && ( GetJournalIndex quete" + id +
        " < 20 )");
  s.add("\tMessageBox \"Or : %g, vitesse : %.2f\" vitesse" + id + " _Total" + id +
        " \"Oui\" \"Non\"");
  s.add("\tplayer->AddItem \"gold_001\" 25");
  s.add("\tplayer->ModHealth -10");
  s.add("\t\"fargoth\"->PositionCell -12 300 70 90 \"Balmora, Maison de Fargoth\"");
  s.add("\tPlaceAtPC \"ancestor_ghost\" 1 256 1");
  s.add("\tAIWander 512 5 0 40 30 20 0 0 0 0 0 0");
  s.add("\tAITravel 100 200 300");
  s.add("\tJournal \"quete" + id + "\" 10");
  s.add("\tPlaySound3DVP \"Door Open\" 1.0 0.8");
  s.add("\tplayer->SetPos x 128");
  s.add("\tChoice \"Oui\" 1 \"Non\" 2");
  s.add("\tModRegion \"Ascadian Isles Region\" 10 10 0 0 0 0 0 0 0 0");
  s.add("\tPlaceItem \"misc_com_bottle_01\" 100 200 300 0");  // Tribunal
  s.add("elseif ( GetScale > 1 )");                           // Tribunal
  s.add("\tFadeTo 50 2");
  s.add("\tStartScript bonus" + id);
  s.add("endif");
  s.add("GetDistance player");  // a value function alone is nobody's line
}

// Ten nested blocks: one nesting alert where the depth falls back to nine
// (the depth counts every opener and closer, excess ones included, so this
// only alerts before the excess closers of the blocks above).
void addDeepBlock(ScriptBuilder& s, int k) {
  const std::string vitesse = "vitesse" + std::to_string(k);
  for (int d = 0; d < 10; ++d) {
    s.add(tabs(d) + (d % 2 == 0 ? "if ( " : "while ( ") + vitesse + " > " + std::to_string(d) +
          " )");
  }
  s.add(tabs(10) + "set " + vitesse + " to 0");
  for (int d = 9; d >= 0; --d)
    s.add(tabs(d) + (d % 2 == 0 ? "endif" : "endwhile"));
}

constexpr std::array<WorstCaseInfo, 9> kWorstCases = {{
    {WorstCase::kElseChain, "else_chain"},
    {WorstCase::kExcessClosers, "excess_closers"},
    {WorstCase::kTopLevelElse, "top_level_else"},
    {WorstCase::kDeepNesting, "deep_nesting"},
    {WorstCase::kNestingFlicker, "nesting_flicker"},
    {WorstCase::kUnderscoreNames, "underscore_names"},
    {WorstCase::kLongLines, "long_lines"},
    {WorstCase::kBlankLines, "blank_lines"},
    {WorstCase::kNestedExpression, "nested_expression"},
}};

std::string repeated(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i)
    out += piece;
  return out;
}

// About 1000 characters, UTF-8 accented letters included (the reader decodes
// the whole file), tabs and a name far longer than a name field.
void addLongLines(ScriptBuilder& s, int i) {
  const std::string id = std::to_string(i);
  const std::string words = "àéèêëîïôöùûüç « guillemets » et l'œuvre du Nérévarine ";
  std::string comment = " ;";
  while (comment.size() < 900)
    comment += '\t' + words;
  std::string longName = "_";
  while (longName.size() < 300)
    longName += "nomTresLongDeVariable";
  switch (i % 6) {
    case 0:
      s.add("short " + longName + id + comment);
      break;
    case 1:
      s.add("if ( GetJournalIndex \"" + longName + "\" >= " + id + " )" + comment);
      break;
    case 2:
      s.add("else" + comment);
      break;
    case 3:
      s.add("elseif ( " + longName + id + " < 10 )" + comment);  // alert
      break;
    case 4:
      s.add("\tendif" + comment);
      break;
    default:
      s.add("endif" + comment);  // excess
      break;
  }
}

}  // namespace

std::string generateScript(int lines) {
  ScriptBuilder s(lines);
  s.add("Begin BenchScript");
  addDeepBlock(s, 0);
  for (int k = 0; !s.full(); ++k) {
    addBlock(s, k);
    addCommandBlock(s, k);
  }
  return s.finish();
}

std::string worstExpressionLine(int variant) {
  constexpr int kMax = 4999;
  switch (variant) {
    case 0:  // "( ( getscale ) + b ) + b": every group is examined again on the left
      return "set x to " + repeated("( ", 622) + "getscale" + repeated(" ) + b", 622);
    case 1:  // nested tests
      return "if " + repeated("( ", 1247) + "x == 1" + repeated(" )", 1247);
    case 2:  // a chain of operators
      return "set x to a" + repeated(" + a", (kMax - 10) / 4);
    case 3:  // a chain of comparisons
      return "while x" + repeated(" < x", (kMax - 7) / 4);
    case 4: {  // one operand: every value function after a "->"
      std::string line = "set x to p";
      static constexpr std::array<const char*, 8> kNames = {
          "->getpos x ",    "->getangle y ", "->getdistance d ", "->getitemcount i ",
          "->getpcrank f ", "->getscale ",   "->getstandingpc ", "->hasitemequipped h "};
      for (std::size_t i = 0; line.size() + 24 < kMax; ++i)
        line += kNames[i % kNames.size()];
      return line;
    }
    default: {  // groups and operators mixed, in a test
      std::string line = "if ( ( a + ( b * ( c - d ) ) ) == 1 )";
      while (line.size() + 40 < kMax)
        line += " && ( ( a + ( b * ( c - d ) ) ) == 1 )";
      return line;
    }
  }
}

std::span<const WorstCaseInfo> worstCases() {
  return kWorstCases;
}

std::string generateWorstCase(WorstCase kind, int lines) {
  ScriptBuilder s(lines);
  s.add("Begin PireCas");
  switch (kind) {
    case WorstCase::kElseChain: {
      s.add("if ( x == 0 )");
      s.add("else");
      for (int i = 0; s.room() > 1; ++i)
        s.add(i % 2 == 0 ? "elseif ( x == " + std::to_string(i) + " )" : "else");
      s.add("endif");
      break;
    }
    case WorstCase::kExcessClosers:
      for (int i = 0; !s.full(); ++i)
        s.add(i % 2 == 0 ? "endif" : "endwhile");
      break;
    case WorstCase::kTopLevelElse:
      for (int i = 0; !s.full(); ++i)
        s.add(i % 2 == 0 ? "else" : "elseif ( x )");
      break;
    case WorstCase::kDeepNesting: {
      const int opens = s.room() / 2;
      for (int i = 0; i < opens; ++i)
        s.add(i % 2 == 0 ? "if ( x )" : "while ( x )");
      for (int i = opens - 1; i >= 0; --i)
        s.add(i % 2 == 0 ? "endif" : "endwhile");
      break;
    }
    case WorstCase::kNestingFlicker: {
      for (int d = 0; d < 9; ++d)
        s.add(tabs(d) + "if ( x )");
      while (s.room() > 9) {
        s.add(tabs(9) + "while ( x )");
        s.add(tabs(9) + "endwhile");  // an alert: back to nine open blocks
      }
      for (int d = 8; d >= 0; --d)
        s.add(tabs(d) + "endif");
      break;
    }
    case WorstCase::kUnderscoreNames: {
      constexpr std::array<const char*, 3> kKeywords = {"short ", "float ", "long "};
      for (int i = 0; !s.full(); ++i) {
        s.add(std::string(kKeywords[static_cast<std::size_t>(i) % 3]) +
              "_unNomDeVariableAssezLongPourLeTest" + std::to_string(i));
      }
      break;
    }
    case WorstCase::kLongLines:
      for (int i = 0; !s.full(); ++i)
        addLongLines(s, i);
      break;
    case WorstCase::kBlankLines:
      break;
    case WorstCase::kNestedExpression:
      for (int i = 0; !s.full(); ++i)
        s.add(worstExpressionLine(i % kWorstExpressionVariants));
      break;
  }
  return s.finish();
}

}  // namespace lintaro::bench
