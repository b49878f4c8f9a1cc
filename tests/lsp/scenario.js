// A whole editing session with `scrutinette --lsp`, driven through Microsoft's
// LSP protocol library: every answer and every diagnostic is compared with
// what the rules give, derived by hand.
//   node scenario.js CHEMIN/scrutinette
'use strict';

const assert = require('assert/strict');
const { demarrer } = require('./commun');

const uri = 'file:///tmp/essai.mwscript';

// Version 1: an "endif" too many (the depth is 0 at line index 1, so the
// fault lies between lines 3 and 6), and a Tribunal command without the
// dependency. The emoji counts two UTF-16 units in the range of line 6.
const v1 = [
  'Begin Essai',
  'short compteur',
  'if ( compteur == 1 )',
  'set compteur to 2',
  'endif',
  'endif ; fin 🙂',
  'EnableLevitation',
  'End',
  '',
].join('\r\n');
const attendus1 = [
  [5, 0, 14, 1, 'LT101',
    "un 'endif' en trop (l'erreur a probablement été faite entre la ligne 3 et la ligne 6)."],
  [6, 0, 16, 1, 'LT801', 'fonction Tribunal-dépendante !'],
];

// Version 2: a tab after the first character (an alert), the Tribunal command
// again, and an "if" never closed: a whole-script finding, listed last and
// shown on the "Begin" line.
const v2 = [
  'Begin Essai',
  'short compteur',
  'if ( compteur == 1 )',
  'set compteur to 2\t; deux',
  'EnableLevitation',
  'End',
].join('\n');
const tabulation =
  'alerte, 1 tabulation a été detectée après le premier caractère (risques de plantage in-game).';
const attendus2 = [
  [3, 0, 24, 2, 'LT206', tabulation],
  [4, 0, 16, 1, 'LT801', 'fonction Tribunal-dépendante !'],
  [0, 0, 11, 1, 'LT108', "Il y a 1 'endif' manquant dans le script."],
];

// Version 4: well chained, to be formatted (one tab per open block, one
// blank on each side of a parenthesis).
const v4 = 'Begin Essai\nshort compteur\nif (compteur == 1)\nset compteur to 2\nendif\nEnd\n';
const v4formate =
  'Begin Essai\nshort compteur\nif ( compteur == 1 )\n\tset compteur to 2\nendif\nEnd\n';

function comparer(publication, attendus) {
  const vus = publication.diagnostics.map((d) => [
    d.range.start.line, d.range.start.character, d.range.end.character, d.severity, d.code,
    d.message]);
  assert.deepEqual(vus, attendus);
  for (const d of publication.diagnostics) {
    assert.equal(d.source, 'lintaro');
    assert.equal(d.range.end.line, d.range.start.line);
  }
}

function textDocument(version) {
  return { textDocument: { uri, version } };
}

async function main() {
  const serveur = demarrer(process.argv[2]);
  const { connexion, rpc, attendre } = serveur;
  const requete = (type, params) => connexion.sendRequest(type, params);

  // Before "initialize", a request is refused.
  await assert.rejects(requete(rpc.HoverRequest.type,
    { textDocument: { uri }, position: { line: 0, character: 0 } }), { code: -32002 });

  const init = await requete(rpc.InitializeRequest.type, {
    processId: process.pid, rootUri: null, capabilities: {},
    initializationOptions: { tribunal: false, ignorer: [] },
  });
  const c = init.capabilities;
  assert.equal(c.textDocumentSync.change, rpc.TextDocumentSyncKind.Full);
  assert.ok(c.hoverProvider && c.documentFormattingProvider && c.documentSymbolProvider);
  assert.ok(c.completionProvider && c.codeActionProvider);
  connexion.sendNotification(rpc.InitializedNotification.type, {});

  connexion.sendNotification(rpc.DidOpenTextDocumentNotification.type,
    { textDocument: { uri, languageId: 'mwscript', version: 1, text: v1 } });
  comparer(await attendre(uri, 1), attendus1);

  // Hover: the command's arguments, its expansion and the explanation of the
  // finding of its line; a declared variable's type.
  const survol = async (line, character) => (await requete(rpc.HoverRequest.type,
    { textDocument: { uri }, position: { line, character } }))?.contents.value ?? '';
  const surEndif = await survol(5, 2);
  assert.match(surEndif, /\*\*Endif\*\*/);
  assert.match(surEndif, /\*\*LT101\*\* \(endif-en-trop\) : Ce « endif » ne ferme aucun « if »/);
  const surCommande = await survol(6, 3);
  assert.match(surCommande, /\*\*EnableLevitation\*\* \(commande\)/);
  assert.match(surCommande, /Arguments : aucun argument\. Sans appelant\./);
  assert.match(surCommande, /Demande Tribunal/);
  assert.match(surCommande, /LT801/);
  assert.match(await survol(3, 6), /\*\*compteur\*\* : variable locale de type `short`/);
  assert.match(await survol(0, 0), /^$/);

  // Completion: the names allowed without Tribunal, the script's variables.
  const noms = async () => {
    const items = await requete(rpc.CompletionRequest.type,
      { textDocument: { uri }, position: { line: 4, character: 0 } });
    return new Map(items.map((i) => [i.label, i]));
  };
  let items = await noms();
  assert.equal(items.get('compteur').detail, 'short');
  assert.equal(items.get('compteur').kind, rpc.CompletionItemKind.Variable);
  assert.ok(items.has('MessageBox') && items.has('GetDisabled'));
  assert.ok(!items.has('EnableLevitation'));
  assert.match(items.get('AddItem').detail, /^\[contenant->\] un identifiant/);

  // Symbols: the script and its variable, on their lines.
  const symboles = await requete(rpc.DocumentSymbolRequest.type, { textDocument: { uri } });
  assert.equal(symboles.length, 1);
  assert.equal(symboles[0].name, 'Essai');
  assert.deepEqual(symboles[0].children.map((s) => [s.name, s.detail, s.range.start.line]),
    [['compteur', 'short', 1]]);
  assert.equal(symboles[0].range.end.line, 7);

  connexion.sendNotification(rpc.DidChangeTextDocumentNotification.type,
    { ...textDocument(2), contentChanges: [{ text: v2 }] });
  const p2 = await attendre(uri, 2);
  comparer(p2, attendus2);
  assert.deepEqual(p2.diagnostics[2].data, { script: true });

  // The "if" is never closed: no formatting, the reason in French.
  await assert.rejects(requete(rpc.DocumentFormattingRequest.type,
    { textDocument: { uri }, options: { tabSize: 4, insertSpaces: false } }),
  { code: -32803, message: "Erreur dans l'enchainement des tests logiques." });

  // The code action silences LT801 on its line; applied, the finding goes.
  const actions = await requete(rpc.CodeActionRequest.type, {
    textDocument: { uri }, range: p2.diagnostics[1].range,
    context: { diagnostics: [p2.diagnostics[1]] },
  });
  const ligne = actions.find((a) => a.title === 'Ignorer LT801 sur cette ligne');
  assert.ok(ligne, JSON.stringify(actions));
  const [edition] = ligne.edit.changes[uri];
  assert.deepEqual(edition, { range: { start: { line: 4, character: 16 },
    end: { line: 4, character: 16 } }, newText: ' ; lintaro: ignorer LT801' });
  assert.ok(actions.some((a) => a.title === 'Ignorer LT801 dans tout le script'));
  const v3 = v2.replace('EnableLevitation', 'EnableLevitation ; lintaro: ignorer LT801');
  connexion.sendNotification(rpc.DidChangeTextDocumentNotification.type,
    { ...textDocument(3), contentChanges: [{ text: v3 }] });
  comparer(await attendre(uri, 3), [attendus2[0], attendus2[2]]);

  // Settings: alerts hidden, Tribunal allowed; the findings are published again.
  connexion.sendNotification(rpc.DidChangeConfigurationNotification.type,
    { settings: { lintaro: { masquerAlertes: true, tribunal: true } } });
  comparer(await attendre(uri, 3), [attendus2[2]]);
  items = await noms();
  assert.ok(items.has('EnableLevitation'));

  connexion.sendNotification(rpc.DidChangeTextDocumentNotification.type,
    { ...textDocument(4), contentChanges: [{ text: v4 }] });
  comparer(await attendre(uri, 4), []);
  const formatage = await requete(rpc.DocumentFormattingRequest.type,
    { textDocument: { uri }, options: { tabSize: 4, insertSpaces: false } });
  assert.deepEqual(formatage, [{ range: { start: { line: 0, character: 0 },
    end: { line: 6, character: 0 } }, newText: v4formate }]);

  // Past 5000 lines (here 6000 lines, 10 Mo) nothing is checked: one finding
  // says why; past 25 Mo likewise. The 6000-line document is refused on the
  // line count, whatever its size.
  const long = `${'x'.repeat(1700)}\n`.repeat(6000);
  const gros = 'x'.repeat(25000001);
  for (const [nom, texte, message] of [
    ['long', long, 'Plus de 5000 lignes dans votre script : le débugueur ne peut pas le gérer ! ' +
      'Scindez le en parties distinctes si vous souhaitez tout de même faire la vérification ' +
      'syntaxique.'],
    ['gros', gros, 'Le fichier "gros.mwscript" dépasse 25 Mo : ce n\'est pas un script ' +
      'Morrowind (5000 lignes de 4999 caractères au plus).'],
  ]) {
    const autre = `file:///tmp/${nom}.mwscript`;
    connexion.sendNotification(rpc.DidOpenTextDocumentNotification.type,
      { textDocument: { uri: autre, languageId: 'mwscript', version: 1, text: texte } });
    comparer(await attendre(autre, 1), [[0, 0, nom === 'long' ? 1700 : 25000001, 1, undefined,
      message]]);
  }

  // Closing the document clears its findings.
  connexion.sendNotification(rpc.DidCloseTextDocumentNotification.type, { textDocument: { uri } });
  await requete(rpc.HoverRequest.type, { textDocument: { uri }, position: { line: 0, character: 0 } });
  await requete(rpc.ShutdownRequest.type);
  connexion.sendNotification(rpc.ExitNotification.type);
  assert.equal(await serveur.fin, 0);
  const derniere = serveur.publications[serveur.publications.length - 1];
  assert.deepEqual([derniere.uri, derniere.diagnostics], [uri, []]);
  console.log('scénario LSP : tout est conforme');
}

main().catch((erreur) => {
  console.error(erreur);
  process.exit(1);
});
