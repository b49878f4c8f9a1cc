// What the LSP tests and the benchmark share: starting `scrutinette --lsp`
// and talking to it through Microsoft's protocol library over its pipes.
'use strict';

const { spawn } = require('child_process');
const rpc = require('vscode-languageserver-protocol/node');

// Starts the server and returns { connexion, processus, fin, publications }.
// `fin` resolves to the exit code; `publications` keeps every
// publishDiagnostics in order, and attendre(uri, version) waits for the one
// of a version.
function demarrer(programme) {
  const processus = spawn(programme, ['--lsp'], { stdio: ['pipe', 'pipe', 'inherit'] });
  const fin = new Promise((resolve) => processus.on('exit', (code) => resolve(code)));
  const connexion = rpc.createProtocolConnection(
    new rpc.StreamMessageReader(processus.stdout), new rpc.StreamMessageWriter(processus.stdin));
  const publications = [];
  const attentes = [];
  connexion.onNotification(rpc.PublishDiagnosticsNotification.type, (params) => {
    publications.push({ ...params, recue: process.hrtime.bigint() });
    for (const attente of [...attentes]) {
      if (attente.uri === params.uri && attente.version === params.version) {
        attentes.splice(attentes.indexOf(attente), 1);
        attente.resolve(publications[publications.length - 1]);
      }
    }
  });
  connexion.listen();
  const attendre = (uri, version, delai = 10000) => {
    const deja = publications.find((p) => p.uri === uri && p.version === version &&
                                         !p.consommee);
    if (deja) {
      deja.consommee = true;
      return Promise.resolve(deja);
    }
    return new Promise((resolve, reject) => {
      const minuterie = setTimeout(
        () => reject(new Error(`pas de diagnostics pour ${uri} version ${version}`)), delai);
      attentes.push({
        uri, version, resolve: (p) => {
          clearTimeout(minuterie);
          p.consommee = true;
          resolve(p);
        },
      });
    });
  };
  return { connexion, processus, fin, publications, attendre, rpc };
}

module.exports = { demarrer };
