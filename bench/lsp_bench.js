// Language server benchmark, measured from the client's side through
// Microsoft's LSP protocol library (npm ci --prefix tests/lsp first):
//   node bench/lsp_bench.js CHEMIN/scrutinette [changements]
// - latency: a 5000-line script is changed one line at a time; for each
//   change, the time from sending didChange to receiving the
//   publishDiagnostics of that version (median, 95th percentile, worst);
// - burst: the same number of changes sent at once; the time until the
//   findings of the last version arrive and how many versions were checked;
// - memory: the server's resident size with 1 and with 20 such scripts open
//   and checked, and the difference per script.
'use strict';

const fs = require('fs');
const path = require('path');
const { demarrer } = require(path.join(__dirname, '..', 'tests', 'lsp', 'commun'));

const [programme, nombreTexte = '50'] = process.argv.slice(2);
if (!programme) {
  console.error('usage : node bench/lsp_bench.js CHEMIN/scrutinette [changements]');
  process.exit(2);
}
const changements = Number(nombreTexte);

// 5000 lines: declarations, then blocks of tests, assignments, calls and
// messages, as a long quest script has them; a Tribunal command every tenth
// block gives findings.
function script(graine) {
  const lignes = ['Begin Banc', 'short etape', 'short compteur', 'float delai', 'long somme'];
  let i = 0;
  while (lignes.length < 4990) {
    lignes.push(`if ( etape == ${i} )`);
    lignes.push(`\tset compteur to compteur + ${(i + graine) % 7}`);
    lignes.push(`\tset delai to GetSecondsPassed * 2.5 + delai`);
    lignes.push(`\tif ( player->GetItemCount "gold_001" > ${i} )`);
    lignes.push(`\t\tplayer->AddItem "gold_001" ${i % 50 + 1}`);
    lignes.push('\t\tMessageBox "Étape %g franchie" compteur');
    lignes.push('\telseif ( GetJournalIndex "MS_Banc" >= 10 )');
    lignes.push('\t\tJournal "MS_Banc" 20');
    if (i % 10 === 0) lignes.push('\t\tEnableLevitation');
    lignes.push('\tendif');
    lignes.push('endif');
    ++i;
  }
  while (lignes.length < 4999) lignes.push('; fin');
  lignes.push('End');
  return lignes;
}

function quantile(valeurs, q) {
  const triees = [...valeurs].sort((a, b) => a - b);
  return triees[Math.min(triees.length - 1, Math.ceil(q * triees.length) - 1)];
}

function rssKo(pid) {
  const status = fs.readFileSync(`/proc/${pid}/status`, 'utf8');
  return Number(/VmRSS:\s+(\d+) kB/.exec(status)[1]);
}

async function main() {
  const serveur = demarrer(programme);
  const { connexion, rpc, attendre, processus } = serveur;
  await connexion.sendRequest(rpc.InitializeRequest.type,
    { processId: process.pid, rootUri: null, capabilities: {} });
  connexion.sendNotification(rpc.InitializedNotification.type, {});

  const uri = 'file:///banc/0.mwscript';
  const lignes = script(0);
  connexion.sendNotification(rpc.DidOpenTextDocumentNotification.type,
    { textDocument: { uri, languageId: 'mwscript', version: 1, text: lignes.join('\r\n') } });
  const premiere = await attendre(uri, 1);
  const rss1 = rssKo(processus.pid);

  // Latency, one change at a time.
  const durees = [];
  let version = 1;
  for (let n = 0; n < changements; ++n) {
    lignes[6 + (n % 4000)] = `\tset compteur to compteur + ${n}`;
    ++version;
    const debut = process.hrtime.bigint();
    connexion.sendNotification(rpc.DidChangeTextDocumentNotification.type,
      { textDocument: { uri, version }, contentChanges: [{ text: lignes.join('\r\n') }] });
    const p = await attendre(uri, version);
    durees.push(Number(p.recue - debut) / 1e6);
  }

  // A burst: every change sent before any answer.
  const avant = serveur.publications.length;
  const debutRafale = process.hrtime.bigint();
  for (let n = 0; n < changements; ++n) {
    lignes[8 + (n % 4000)] = `\tset delai to ${n}`;
    ++version;
    connexion.sendNotification(rpc.DidChangeTextDocumentNotification.type,
      { textDocument: { uri, version }, contentChanges: [{ text: lignes.join('\r\n') }] });
  }
  const derniere = await attendre(uri, version);
  const rafale = Number(derniere.recue - debutRafale) / 1e6;
  const publiees = serveur.publications.length - avant;

  // Memory with 20 scripts open.
  for (let k = 1; k < 20; ++k) {
    const autre = `file:///banc/${k}.mwscript`;
    connexion.sendNotification(rpc.DidOpenTextDocumentNotification.type, {
      textDocument: { uri: autre, languageId: 'mwscript', version: 1, text: script(k).join('\r\n') },
    });
    await attendre(autre, 1);
  }
  const rss20 = rssKo(processus.pid);

  await connexion.sendRequest(rpc.ShutdownRequest.type);
  connexion.sendNotification(rpc.ExitNotification.type);
  await serveur.fin;

  const ms = (v) => `${v.toFixed(1)} ms`;
  console.log(`script de ${lignes.length} lignes, ${premiere.diagnostics.length} diagnostics`);
  console.log(`didChange -> publishDiagnostics (${changements} changements un à un) : ` +
    `médiane ${ms(quantile(durees, 0.5))}, p95 ${ms(quantile(durees, 0.95))}, ` +
    `pire ${ms(Math.max(...durees))}`);
  console.log(`rafale de ${changements} changements : dernière version publiée après ` +
    `${ms(rafale)}, ${publiees} publication(s)`);
  console.log(`mémoire résidente : ${(rss1 / 1024).toFixed(1)} Mo avec 1 script, ` +
    `${(rss20 / 1024).toFixed(1)} Mo avec 20, soit ${((rss20 - rss1) / 19 / 1024).toFixed(2)} ` +
    'Mo par script');
}

main().catch((erreur) => {
  console.error(erreur);
  process.exit(1);
});
