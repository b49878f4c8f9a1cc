#include "signatures/strFonctionsGeneralCommon.h"

namespace lintaro::signature {

namespace {

constexpr Cp1252Text kCallerSyntax{" : erreur dans la syntaxe de l'appelant de la fonction "};
constexpr Cp1252Text kAddQuotes{". Rajoutez des guillemets."};
constexpr Cp1252Text kNoCaller{" : impossible de détecter l'appelant !"};
constexpr Cp1252Text kTooManyQuotes{" : trop de guillemets."};
constexpr Cp1252Text kQuoteNotBeforeArrow{
    " : le guillemet final n'est pas avant l'opérateur '->'."};

// Length of the head pattern matched at `pos`, 0 when none.
std::size_t headAt(std::string_view line, std::size_t pos, std::string_view lowerName, Head head) {
  if (line.substr(pos, lowerName.size()) != lowerName) return 0;
  const std::size_t after = pos + lowerName.size();
  if (head == Head::kNameAlone) return lowerName.size();
  if (after < line.size() && line[after] == ' ') return lowerName.size() + 1;
  if (after + 1 < line.size() && line[after] == ',' && line[after + 1] == ' ') {
    return lowerName.size() + 2;
  }
  return 0;
}

}  // namespace

std::string lowerName(std::string_view name) {
  return lowered(name);
}

Located locate(std::string_view line, std::string_view lowerName, Head head, bool callerAllowed) {
  Located at;
  while (at.start < line.size() && isBlank(line[at.start]))
    ++at.start;
  if (const std::size_t len = headAt(line, at.start, lowerName, head); len > 0) {
    at.found = true;
    at.args = at.start + len;
    return at;
  }
  if (!callerAllowed) return at;
  for (std::size_t p = line.find("->", at.start); p != std::string_view::npos;
       p = line.find("->", p + 1)) {
    if (const std::size_t len = headAt(line, p + 2, lowerName, head); len > 0) {
      at.found = true;
      at.callerForm = true;
      at.arrow = p;
      at.args = p + 2 + len;
    }
  }
  return at;
}

void readCaller(Call& call, std::string_view line, const Located& at, std::string_view name,
                int callerType) {
  int quotes = 0;
  std::string caller;
  std::size_t pos = at.start;
  while (pos < at.arrow && quotes < 3 && caller.size() < kNameMax) {
    const char c = line[pos];
    if (c == '"') {
      ++quotes;
    } else if (isBlank(c) && quotes == 0) {
      call.error(kCallerSyntax, name, kAddQuotes);
      break;
    } else {
      caller.push_back(c);
    }
    ++pos;
  }
  if (caller.empty()) call.error(kNoCaller);
  if (quotes == 3) call.error(kCallerSyntax, name, kTooManyQuotes);
  if (quotes == 2 && pos > 0 && line[pos - 1] != '"') {
    call.error(kCallerSyntax, name, kQuoteNotBeforeArrow);
  }
  if (!call.failed()) call.record(callerType, std::move(caller));
}

Reading openReading(std::string_view line, std::size_t pos) {
  Reading r;
  while (pos < line.size() && r.text.size() < kNameMax) {
    const char c = line[pos];
    if (c == '"') {
      if (++r.quotes == 3) break;
    } else if (isBlank(c) && r.quotes != 1) {
      r.onBlank = true;
      break;
    } else {
      r.text.push_back(c);
    }
    ++pos;
  }
  r.stop = pos;
  return r;
}

namespace {

Reading boundedReading(std::string_view line, std::size_t pos, bool commaEnds) {
  Reading r;
  while (pos < line.size() && r.text.size() < kNameMax) {
    const char c = line[pos];
    if (c == '"') {
      ++pos;
      if (++r.quotes == 2) break;
      continue;
    }
    if (r.quotes == 0 && (isBlank(c) || (commaEnds && c == ','))) {
      r.onBlank = isBlank(c);
      break;
    }
    r.text.push_back(c);
    ++pos;
  }
  r.stop = pos;
  return r;
}

}  // namespace

Reading listReading(std::string_view line, std::size_t pos) {
  return boundedReading(line, pos, true);
}

Reading lastReading(std::string_view line, std::size_t pos) {
  return boundedReading(line, pos, false);
}

Separator separatorStep(std::string_view line, std::size_t& pos) {
  if (pos < line.size() && line[pos] == ',') ++pos;
  if (pos >= line.size()) return Separator::kMissing;
  if (line[pos] != ' ') return Separator::kNoSpace;
  ++pos;
  return Separator::kSpace;
}

bool hasTrailing(std::string_view line, std::size_t pos) {
  for (; pos < line.size(); ++pos) {
    if (!isWhite(line[pos])) return true;
  }
  return false;
}

bool minusRule(std::string_view lowerName) {
  return lowerName.starts_with("mod");
}

namespace {

// After the number: white space only to the end.
NumberReading whiteToEnd(std::string_view line, std::size_t pos) {
  for (; pos < line.size(); ++pos) {
    if (!isWhite(line[pos])) return {Number::kNotANumber, pos};
  }
  return {Number::kValid, pos};
}

std::size_t skipDigits(std::string_view line, std::size_t pos) {
  while (pos < line.size() && isDigit(line[pos]))
    ++pos;
  return pos;
}

}  // namespace

NumberReading integerDigits(std::string_view line, std::size_t pos) {
  if (pos >= line.size()) return {Number::kMissing, pos};
  if (!isDigit(line[pos])) return {Number::kNotANumber, pos};
  pos = skipDigits(line, pos);
  if (pos < line.size() && !isWhite(line[pos])) return {Number::kNotANumber, pos};
  return whiteToEnd(line, pos);
}

NumberReading integerLiteral(std::string_view line, std::size_t pos, bool skipMinus) {
  if (pos >= line.size()) return {Number::kMissing, pos};
  if (skipMinus && line[pos] == '-' && ++pos >= line.size()) return {Number::kMissing, pos};
  return integerDigits(line, pos);
}

NumberReading decimalDigits(std::string_view line, std::size_t pos) {
  pos = skipDigits(line, pos);
  if (pos + 1 < line.size() && line[pos] == '.' && isDigit(line[pos + 1])) {
    pos = skipDigits(line, pos + 1);
  }
  return whiteToEnd(line, pos);
}

NumberReading decimalLiteral(std::string_view line, std::size_t pos, bool skipMinus) {
  if (pos >= line.size()) return {Number::kMissing, pos};
  if (skipMinus && line[pos] == '-' && ++pos >= line.size()) return {Number::kMissing, pos};
  if (!isDigit(line[pos])) return {Number::kMissing, pos};
  return decimalDigits(line, pos);
}

}  // namespace lintaro::signature
