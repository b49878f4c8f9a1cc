// The three machine outputs of one run tell the same findings: for each,
// file, line, severity, code and message, in the same order. Also checks what
// a schema cannot: the counts of each JSON result, each SARIF result's rule
// index and its URI (which must name the file, relative to the current
// directory). A script of a plugin is named in gcc as PLUGIN:SCRIPT, in json
// by its "script" or "dialogue" and "info", in sarif by its logical location.
// Usage: node coherence.js GCC JSON SARIF
'use strict';
const fs = require('fs');
const [gccFile, jsonFile, sarifFile] = process.argv.slice(2);
const fail = (message) => {
  console.error('ÉCHEC : ' + message);
  process.exit(1);
};

const fromGcc = fs.readFileSync(gccFile, 'utf8').split('\n').filter((l) => l !== '').map((l) => {
  const m = /^(.+?)(?::(\d+))?: (error|warning): (.*) \[([A-Z]+\d+)\]$/.exec(l);
  if (!m) fail('ligne gcc illisible : ' + l);
  return [m[1], m[2] ?? null, m[3], m[5], m[4]].join('|');
});

const json = JSON.parse(fs.readFileSync(jsonFile, 'utf8'));
const fromJson = [];
for (const r of json.results) {
  const plugin = /\.(esp|esm|omwaddon)$/i.test(r.file);
  const where = !plugin ? r.file
    : r.dialogue === undefined ? r.file + ':' + r.script
    : `${r.file}:dialogue "${r.dialogue}" / info ${r.info}`;
  const count = (s) => r.findings.filter((f) => f.severity === s).length;
  if (count('error') !== r.errors || count('warning') !== r.warnings) fail('décomptes de ' + r.file);
  for (const f of r.findings) {
    fromJson.push([where, f.line === null ? null : String(f.line), f.severity, f.code, f.message].join('|'));
  }
}

const sarif = JSON.parse(fs.readFileSync(sarifFile, 'utf8'));
const run = sarif.runs[0];
const fromSarif = run.results.map((r) => {
  if (run.tool.driver.rules[r.ruleIndex].id !== r.ruleId) fail('ruleIndex de ' + r.ruleId);
  const physical = r.locations[0].physicalLocation;
  const uri = physical.artifactLocation.uri;
  const file = uri === undefined ? '-' : decodeURIComponent(uri);
  if (uri !== undefined && !fs.existsSync(file)) fail('URI sans fichier : ' + uri);
  const line = physical.region ? String(physical.region.startLine) : null;
  const logical = r.locations[0].logicalLocations;
  return [logical ? file + ':' + logical[0].name : file, line, r.level, r.ruleId, r.message.text].join('|');
});

const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);
if (fromGcc.length === 0) fail('aucun constat');
if (!same(fromGcc, fromJson)) fail('gcc et json diffèrent :\n' + fromGcc.join('\n') + '\n--\n' + fromJson.join('\n'));
if (!same(fromGcc, fromSarif)) fail('gcc et sarif diffèrent :\n' + fromSarif.join('\n'));
console.log(fromGcc.length + ' constats identiques en gcc, json et sarif');
