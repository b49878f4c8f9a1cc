// Writes the TextMate grammar of Morrowind scripts from the engine's tables:
//   node genere-grammaire.js LINTARO_NOMS [SORTIE]
// LINTARO_NOMS is the program built from tools/lintaro_noms.cpp, which prints
// the command and function names as JSON; SORTIE defaults to
// syntaxes/mwscript.tmLanguage.json beside this script. The names are never
// written by hand.
'use strict';

const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');

const [programme, sortie] = process.argv.slice(2);
if (!programme) {
  console.error('usage : node genere-grammaire.js LINTARO_NOMS [SORTIE]');
  process.exit(2);
}
const noms = JSON.parse(execFileSync(programme, { encoding: 'utf8' }));

// Longest names first, so that a name never stops at a shorter one.
function alternative(liste) {
  const uniques = [...new Set(liste)];
  uniques.sort((a, b) => b.length - a.length || a.localeCompare(b));
  return uniques.join('|');
}

const grammaire = {
  name: 'Script Morrowind',
  scopeName: 'source.mwscript',
  comment: 'Généré par genere-grammaire.js depuis les tables de Lintaro : ne pas modifier.',
  patterns: [
    { include: '#commentaire' },
    { include: '#appelant' },
    { include: '#texte' },
    { include: '#motsCles' },
    { include: '#types' },
    { include: '#fonctions' },
    { include: '#commandes' },
    { include: '#nombres' },
    { include: '#operateurs' },
  ],
  repository: {
    commentaire: { name: 'comment.line.semicolon.mwscript', match: ';.*$' },
    texte: {
      name: 'string.quoted.double.mwscript',
      begin: '"',
      end: '"|$',
    },
    appelant: {
      match: '([A-Za-z0-9_]+|"[^"]*")\\s*(->)',
      captures: {
        1: { name: 'variable.other.object.mwscript' },
        2: { name: 'keyword.operator.accessor.mwscript' },
      },
    },
    motsCles: {
      name: 'keyword.control.mwscript',
      match: `(?i)\\b(${alternative([...noms.motsCles, 'Begin', 'to'])})\\b`,
    },
    types: { name: 'storage.type.mwscript', match: '(?i)\\b(short|long|float)\\b' },
    fonctions: {
      name: 'support.function.mwscript',
      match: `(?i)\\b(${alternative(noms.fonctions)})\\b`,
    },
    commandes: {
      name: 'support.function.command.mwscript',
      match: `(?i)\\b(${alternative(noms.commandes.filter((n) => !noms.fonctions.includes(n)))})\\b`,
    },
    nombres: { name: 'constant.numeric.mwscript', match: '\\b[0-9]+(\\.[0-9]+)?\\b' },
    operateurs: { name: 'keyword.operator.mwscript', match: '==|!=|<=|>=|<|>|\\+|-|\\*|/' },
  },
};

const cible = sortie || path.join(__dirname, 'syntaxes', 'mwscript.tmLanguage.json');
fs.writeFileSync(cible, JSON.stringify(grammaire, null, 2) + '\n');
