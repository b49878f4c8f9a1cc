// The signature checkers run as chain entries on line index 4: the entry
// builders, the messages several checkers share, and a fixture that runs
// tables of lines.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/MainSyntaxeChain.h"
#include "tests/CheckRun.h"

namespace lintaro::test {

constexpr int kSigLine = 4;  // printed as "Ligne 5"

inline Finding E(std::string_view message) {
  return errorAt(kSigLine, message);
}
inline Finding A(std::string_view message) {
  return alertAt(kSigLine, message);
}
inline std::string str(std::string_view text) {
  return std::string(text);
}

inline Finding callerQuotes(std::string_view name) {
  return E(" : erreur dans la syntaxe de l'appelant de la fonction " + str(name) +
           ". Rajoutez des guillemets.");
}
inline Finding afterId(std::string_view name, std::string_view id) {
  return E(" : erreur, la fonction " + str(name) +
           " ne doit contenir aucun paramètre après l'ID \"" + str(id) + "\" !");
}
inline Finding lastNotANumber(std::string_view name) {
  return E(" : erreur dans le dernier paramètre. Attention, " + str(name) +
           " ne prend pas de variables en entrée !");
}
inline Finding lastMissing(std::string_view name) {
  return E(" : impossible de détecter le dernier paramètre de la fonction " + str(name) + " !");
}
inline const Finding kNoCalled = E(" : impossible de détecter l'appelé !");

// The chain entries, by checker.
using N = std::string_view;
using enum Checker;
inline ChainEntry seule(N n) {
  return {n, kFonctionSeule, {}};
}
inline ChainEntry optCall(N n, int caller) {
  return {n, kFonctionSeule_OptCall, {.caller = caller}};
}
inline ChainEntry idApp(N n, int caller, int called) {
  return {n, kFoncIDApp, {.caller = caller, .called = called}};
}
inline ChainEntry id(N n, int called) {
  return {n, kFoncID, {.called = called}};
}
inline ChainEntry optId(N n, int caller, int called, int choice) {
  return {n, kFonc_optID_choiceApp, {caller, called, 0, choice}};
}
inline ChainEntry idId(N n, int caller, int first, int second, int choice) {
  return {n, kFoncIDID_choiceApp, {caller, first, second, choice}};
}
inline ChainEntry valShortApp(N n, int caller) {
  return {n, kFoncValShortApp, {.caller = caller}};
}
inline ChainEntry valShort(N n) {
  return {n, kFoncValShort, {}};
}
inline ChainEntry statApp(N n) {
  return {n, kFoncValShortStatApp, {.caller = 15}};
}
inline ChainEntry valFloat(N n, int choice) {
  return {n, kFoncValFloat_choiceApp, {.caller = 19, .choice = choice}};
}
inline ChainEntry shortShort(N n, int caller, int choice) {
  return {n, kFoncShortShort_choiceApp, {.caller = caller, .choice = choice}};
}
inline ChainEntry idShort(N n, int caller, int called, int choice) {
  return {n, kFoncIDshort_choiceApp, {caller, called, 0, choice}};
}
inline ChainEntry idOptShort(N n, int caller, int called, int choice) {
  return {n, kFoncID_optShort_choiceApp, {caller, called, 0, choice}};
}
inline ChainEntry idIdShort(N n, int first, int second) {
  return {n, kFoncIDIDshort, {0, first, second, 0}};
}
inline ChainEntry axe(N n) {
  return {n, kFoncAxe, {.caller = 19}};
}
inline ChainEntry axeFloat(N n) {
  return {n, kFoncAxeFloat, {.caller = 19}};
}

class SignatureTest : public ::testing::Test {
 protected:
  // Every case leaves the line lower-cased.
  static void expectCases(const ChainEntry& entry, const std::vector<LineCase>& cases,
                          int tribunal = 0, const std::vector<Record>& known = {}) {
    expectLineCases([&entry](CheckContext& ctx, std::string& line,
                             int* handled) { runEntry(ctx, entry, line, handled, kSigLine); },
                    cases, true, tribunal, known);
  }

  TempDir dir;
};

}  // namespace lintaro::test
