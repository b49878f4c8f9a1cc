// Checking plugin scripts: result scripts as the body of a script, the
// declaration row of result scripts, raw single-byte text, and the code pages
// names are shown in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Encoding.h"
#include "plugin/CodePages.h"
#include "plugin/ScriptCheck.h"

namespace lintaro::plugin {
namespace {

// (line number as printed, code) of every finding, in journal order.
std::vector<std::pair<int, Diag>> findings(const CheckResult& result) {
  std::vector<std::pair<int, Diag>> out;
  for (std::size_t i = 0; i < result.journal.size(); ++i)
    out.emplace_back(result.journal[i].line + 1, result.journal[i].id);
  return out;
}

bool has(const CheckResult& result, Diag id) {
  for (const auto& [line, code] : findings(result)) {
    if (code == id) return true;
  }
  return false;
}

TEST(ScriptCheck, ResultScriptIsABodyWithoutDeclarations) {
  // Code without a header: the body of a script, nothing about "Begin".
  const std::string body = "Journal \"A1_Quete\" 10\r\nGoodbye";
  EXPECT_TRUE(has(checkPluginScript(body, {}), Diag::kCodeAvantBegin));
  const CheckResult plain = checkResultScript(body, {});
  EXPECT_TRUE(findings(plain).empty());
  EXPECT_EQ(plain.errors + plain.alerts, 0);

  // Declarations: each one its own error, on its own line; "declared after
  // code" gives way to it; other findings keep their lines.
  const std::string declaring =
      "short x\r\nset x to 1\r\n  Float y ; un commentaire\r\nset x to 2 ; short\r\nMesageBox "
      "\"a\"\r\nlong z ; lintaro: ignorer LT950";
  const CheckResult checked = checkResultScript(declaring, {});
  EXPECT_TRUE(has(checkPluginScript(declaring, {}), Diag::kDeclarationApresCode));
  EXPECT_EQ(findings(checked),
            (std::vector<std::pair<int, Diag>>{{5, Diag::kSyntaxeInconnue},
                                               {1, Diag::kDeclarationDansResultat},
                                               {3, Diag::kDeclarationDansResultat}}));
  EXPECT_EQ(checked.errors, 3);
  EXPECT_EQ(cp1252ToUtf8(checked.journal[1].text),
            "    - Ligne 1 : une variable ne peut pas être déclarée dans le résultat d'une "
            "réplique.");

  CheckOptions silenced;
  silenced.silenced = {Diag::kDeclarationDansResultat};
  EXPECT_FALSE(has(checkResultScript(declaring, silenced), Diag::kDeclarationDansResultat));

  // The catalogue's examples of the row, checked as result scripts.
  const DiagnosticRow& row = diagnostic(Diag::kDeclarationDansResultat);
  EXPECT_TRUE(has(checkResultScript(row.wrong, {}), row.id));
  EXPECT_FALSE(has(checkResultScript(row.right, {}), row.id));
}

TEST(ScriptCheck, PluginTextIsCheckedAsItsBytesNotAsUtf8) {
  // "Ã©" is valid UTF-8 for "é": a script file would be decoded, a plugin's
  // text is not. The unknown code is echoed as the check read it.
  const std::string text = "Begin x\r\nset a to 1 ; lintaro: ignorer LT\xC3\xA9\r\nEnd";
  const CheckResult checked = checkPluginScript(text, {});
  ASSERT_TRUE(has(checked, Diag::kDirectiveCodeInconnu));
  for (std::size_t i = 0; i < checked.journal.size(); ++i) {
    if (checked.journal[i].id == Diag::kDirectiveCodeInconnu) {
      EXPECT_NE(checked.journal[i].text.find("LT\xC3\xA9\""), std::string_view::npos);
    }
  }
}

TEST(CodePages, BytesBecomeUtf8AndNamesFoldAsWindowsDoes) {
  struct Case {
    CodePage page;
    std::string bytes;
    std::string utf8;
  };
  const std::vector<Case> cases = {
      {CodePage::kWindows1252, "a\x80\xE9\x81\xFF", "a€é\xC2\x81ÿ"},
      {CodePage::kWindows1250, "\x8A\xB9\xE8\xF9\x98", "Šąčů\xC2\x98"},
      {CodePage::kWindows1251, "\xC0\xFF\xB8\x88\x98", "Аяё€\xC2\x98"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toUtf8(c.bytes, c.page), c.utf8);
    EXPECT_EQ(fromUtf8(c.utf8, c.page), c.bytes);
  }
  EXPECT_EQ(fromUtf8("Жä", CodePage::kWindows1251), "\xC6?");  // no "ä" in Cyrillic

  EXPECT_EQ(codePageNamed("1250"), CodePage::kWindows1250);
  EXPECT_EQ(codePageNamed("CP1251"), CodePage::kWindows1251);
  EXPECT_EQ(codePageNamed("Windows-1252"), CodePage::kWindows1252);
  EXPECT_EQ(codePageNamed("win1250"), CodePage::kWindows1250);
  EXPECT_EQ(codePageNamed("utf-8"), std::nullopt);
  EXPECT_EQ(codePageNamed("cp"), std::nullopt);

  EXPECT_EQ(foldCase("AbÀÉ×ŠĹŸЖЁҐ\xFF"), "abàé×šĺÿжёґ\xFF");
}

}  // namespace
}  // namespace lintaro::plugin
