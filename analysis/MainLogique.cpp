#include "analysis/MainLogique.h"

#include <cstdint>
#include <vector>

#include "expression/MainExpression.h"
#include "core/Journal.h"
#include "core/MainDivers.h"

namespace lintaro {

namespace {

// Two-character operators, which win over "<" and ">" at the same position.
constexpr bool isComparison2(char a, char b) {
  return (a == '=' && b == '=') || (a == '>' && b == '=') || (a == '<' && b == '=') ||
         (a == '!' && b == '=');
}

// One test: the parts are checked from an explicit stack in the order of a
// left-to-right descent (a part, then the findings about what follows it,
// then the text after its operator), so deep nesting costs heap, not stack.
class LogiqueCheck {
 public:
  LogiqueCheck(CheckContext& ctx, std::string_view keyword, std::string_view text, int lineIndex)
      : ctx_(ctx), keyword_(keyword), text_(text), lineIndex_(lineIndex) {
    match_ = matchParentheses(text_);
  }

  void run() {
    pending_.push_back({Task::kTest, 0, text_.size()});
    while (!pending_.empty()) {
      const Task t = pending_.back();
      pending_.pop_back();
      switch (t.kind) {
        case Task::kTest:
          test(t.begin, t.end);
          break;
        case Task::kError:
          error(false);
          break;
        case Task::kNoRightSide:
          error(true);
          break;
      }
    }
  }

 private:
  struct Task {
    enum Kind : std::uint8_t { kTest, kError, kNoRightSide } kind;
    std::size_t begin;
    std::size_t end;
  };

  void error(bool noRightSide) {
    ctx_.journal.report(lineIndex_,
                        noRightSide ? Diag::kExpressionLogiqueSansDroite : Diag::kExpressionLogique,
                        journalFailure<"MainLogique">, keyword_);
  }

  void test(std::size_t begin, std::size_t end) {
    std::size_t p = begin;
    if (p < end && isWhite(text_[p])) ++p;
    if (p < end && text_[p] == '(') {
      group(end, p);
    } else {
      plain(begin, end, p);
    }
  }

  // No group first: split at the leftmost comparison ("&&" and "||" are not
  // operators here); quotes are not skipped.
  void plain(std::size_t begin, std::size_t end, std::size_t p) {
    for (std::size_t q = p; q < end; ++q) {
      const char c = text_[q];
      std::size_t length = 0;
      if (q + 1 < end && isComparison2(c, text_[q + 1])) {
        length = 2;
      } else if (c == '<' || (c == '>' && (q == begin || text_[q - 1] != '-'))) {
        length = 1;
      }
      if (length == 0) continue;
      std::size_t right = q + length;
      while (right < end && isWhite(text_[right]))
        ++right;
      pending_.push_back({Task::kTest, right, end});
      if (right == end) pending_.push_back({Task::kNoRightSide, 0, 0});
      pending_.push_back({Task::kTest, begin, q});
      return;
    }
    if (expression(ctx_, text_.substr(begin, end - begin), lineIndex_) < 1) error(false);
  }

  void group(std::size_t end, std::size_t open) {
    const std::size_t close = match_[open];
    if (close == std::string_view::npos || close >= end) {
      error(false);
      return;
    }
    // Pushed in reverse: the inside, then what follows the group.
    std::size_t pos = close + 1;
    if (pos < end) ++pos;  // passed over: the line analyser asks for white space
    if (pos < end && isWhite(text_[pos])) ++pos;
    if (pos < end) {
      if (isWhite(text_[pos])) {
        while (pos < end && isWhite(text_[pos]))
          ++pos;
        if (pos < end) pending_.push_back({Task::kError, 0, 0});
      } else {
        const char c = text_[pos];
        const char next = pos + 1 < end ? text_[pos + 1] : '\0';
        std::size_t length = 0;
        if ((c == '&' && next == '&') || (c == '|' && next == '|') || isComparison2(c, next)) {
          length = 2;
        } else if (c == '<' || c == '>') {
          length = 1;
        }
        if (length != 0) {
          pending_.push_back({Task::kTest, pos + length, end});
        } else {
          pending_.push_back({Task::kError, 0, 0});
        }
      }
    }
    pending_.push_back({Task::kTest, open + 1, close});
  }

  CheckContext& ctx_;
  std::string_view keyword_;
  std::string_view text_;
  int lineIndex_;
  std::vector<std::size_t> match_;  // matchParentheses(text_)
  std::vector<Task> pending_;
};

}  // namespace

void logique(CheckContext& ctx, std::string_view keyword, std::string_view test, int lineIndex) {
  LogiqueCheck(ctx, keyword, test, lineIndex).run();
}

}  // namespace lintaro
