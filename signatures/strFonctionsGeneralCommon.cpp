#include "signatures/strFonctionsGeneralCommon.h"

namespace lintaro::signature {

namespace {

Diag quoteBeforeRow(QuoteBefore quoteBefore) {
  switch (quoteBefore) {
    case QuoteBefore::kOperatorArrow:
      return Diag::kAppelantGuillemetAvantOperateurFleche;
    case QuoteBefore::kArrow:
      return Diag::kAppelantGuillemetAvantFleche;
    case QuoteBefore::kPoint:
      return Diag::kAppelantGuillemetAvantPoint;
  }
  return Diag::kAppelantGuillemetAvantOperateurFleche;
}

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

std::string readCaller(Call& call, std::string_view line, const Located& at, std::string_view name,
                       const CallerRule& rule) {
  int quotes = 0;
  std::string caller;
  std::size_t pos = at.start;
  while (pos < at.arrow && quotes < 3 && caller.size() < kNameMax) {
    const char c = line[pos];
    if (c == '"') {
      ++quotes;
    } else if (isBlank(c) && quotes == 0) {
      call.error(Diag::kAppelantSansGuillemets, name);
      return caller;
    } else {
      caller.push_back(c);
    }
    ++pos;
  }
  if (rule.emptyIsError && caller.empty()) call.error(Diag::kAppelantIntrouvable);
  if (quotes == 3) call.error(Diag::kAppelantTropDeGuillemets, name);
  if (quotes == 2 && pos > 0 && line[pos - 1] != '"') {
    call.error(quoteBeforeRow(rule.quoteBefore), name);
  }
  if (!call.failed()) call.recordName(rule.type, caller);
  return caller;
}

Reading readName(std::string_view line, std::size_t pos, const NameRule& rule) {
  Reading r;
  while (pos < line.size() && r.text.size() < rule.limit) {
    const char c = line[pos];
    if (c == '"') {
      ++r.quotes;
      if (rule.closing == Closing::kSecondQuote && r.quotes == 2) {
        ++pos;
        break;
      }
      if (rule.closing == Closing::kThirdQuote && r.quotes == 3) break;
    } else {
      const bool outside = rule.closing == Closing::kSecondQuote ? r.quotes == 0 : r.quotes != 1;
      if (outside && (isBlank(c) || (rule.commaEnds && c == ','))) {
        r.onBlank = isBlank(c);
        break;
      }
      r.text.push_back(c);
    }
    ++pos;
  }
  r.stop = pos;
  return r;
}

Separator separatorStep(std::string_view line, std::size_t& pos) {
  if (pos < line.size() && line[pos] == ',') ++pos;
  if (pos >= line.size()) return Separator::kMissing;
  if (line[pos] != ' ') return Separator::kNoSpace;
  ++pos;
  return Separator::kSpace;
}

IdentifierPair readIdentifierPair(Call& call, std::string_view line, std::size_t pos, int firstType,
                                  int secondType) {
  IdentifierPair ids;
  ids.first = listReading(line, pos);
  if (ids.first.text.empty()) {
    call.error(Diag::kPremierAppeleIntrouvable);
    return ids;
  }
  call.record(firstType, ids.first.text);
  ids.stop = ids.first.stop;
  ids.separator = separatorStep(line, ids.stop);
  if (ids.separator == Separator::kSpace) {
    ids.second = lastReading(line, ids.stop);
    if (ids.second->text.empty()) {
      call.error(Diag::kSecondAppeleIntrouvable);
    } else {
      call.record(secondType, ids.second->text);
    }
    ids.stop = ids.second->stop;
  }
  return ids;
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

SeparatedInteger separatedInteger(std::string_view line, std::size_t pos, bool minus) {
  SeparatedInteger n;
  n.separator = separatorStep(line, pos);
  if (minus && pos < line.size() && line[pos] == '-') ++pos;
  if (pos >= line.size()) n.separator = Separator::kMissing;
  n.stop = pos;
  if (n.separator == Separator::kSpace) {
    n.value = integerDigits(line, pos);
    n.stop = n.value.stop;
  }
  return n;
}

}  // namespace lintaro::signature
