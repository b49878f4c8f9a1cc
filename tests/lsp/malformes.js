// The server on broken or unusual input, case by case from malformes.json:
// each case is a list of pieces written to `scrutinette --lsp` (a message
// framed as it should be, a body framed with its true length, raw bytes, or
// bytes repeated), then standard input is closed. The answers (notifications
// aside) must be those listed, in order, and the exit code the one given.
//   node malformes.js CHEMIN/scrutinette [malformes.json]
'use strict';

const assert = require('assert/strict');
const { spawn } = require('child_process');
const fs = require('fs');
const path = require('path');

function cadre(corps) {
  const octets = Buffer.from(corps, 'utf8');
  return Buffer.concat([Buffer.from(`Content-Length: ${octets.length}\r\n\r\n`), octets]);
}

function piece(p) {
  if (p.message) return cadre(JSON.stringify({ jsonrpc: '2.0', ...p.message }));
  if (p.corps !== undefined) return cadre(p.corps);
  if (p.brut !== undefined) return Buffer.from(p.brut, 'utf8');
  if (p.octets) return Buffer.from(p.octets, 'hex');
  if (p.repete) return Buffer.alloc(p.repete.fois, p.repete.octet);
  throw new Error(`pièce inconnue : ${JSON.stringify(p)}`);
}

// Splits the server's output into messages, checking its own framing.
function messages(sortie) {
  const liste = [];
  let reste = sortie;
  while (reste.length > 0) {
    const fin = reste.indexOf('\r\n\r\n');
    assert.ok(fin > 0, `en-tête de réponse mal formé : ${reste.slice(0, 80)}`);
    const entete = reste.slice(0, fin).toString('latin1');
    const taille = Number(/^Content-Length: (\d+)$/.exec(entete)[1]);
    liste.push(JSON.parse(reste.slice(fin + 4, fin + 4 + taille).toString('utf8')));
    reste = reste.slice(fin + 4 + taille);
  }
  return liste;
}

function lancer(programme, cas) {
  return new Promise((resolve, reject) => {
    const serveur = spawn(programme, ['--lsp'], { stdio: ['pipe', 'pipe', 'inherit'] });
    const morceaux = [];
    serveur.stdout.on('data', (d) => morceaux.push(d));
    const minuterie = setTimeout(() => {
      serveur.kill('SIGKILL');
      reject(new Error('le serveur ne répond plus (20 s)'));
    }, 20000);
    serveur.on('exit', (code) => {
      clearTimeout(minuterie);
      resolve({ code, sortie: Buffer.concat(morceaux) });
    });
    serveur.stdin.on('error', () => {});  // the server may exit before reading everything
    for (const p of cas.entree) serveur.stdin.write(piece(p));
    serveur.stdin.end();
  });
}

async function main() {
  const [programme, fichier = path.join(__dirname, 'malformes.json')] = process.argv.slice(2);
  const cas = JSON.parse(fs.readFileSync(fichier, 'utf8'));
  let echecs = 0;
  for (const c of cas) {
    try {
      const { code, sortie } = await lancer(programme, c);
      const reponses = messages(sortie).filter((m) => m.method === undefined).map((m) => {
        const r = { id: m.id };
        if (m.error) r.erreur = m.error.code;
        else r.resultat = m.result === null ? null : typeof m.result;
        return r;
      });
      assert.deepEqual(reponses, c.reponses);
      assert.equal(code, c.sortie, 'code de sortie');
      console.log(`ok     ${c.nom}`);
    } catch (erreur) {
      ++echecs;
      console.log(`ÉCHEC  ${c.nom}\n${erreur.message}`);
    }
  }
  console.log(`${cas.length - echecs} passed, ${echecs} failed`);
  process.exit(echecs === 0 ? 0 : 1);
}

main();
