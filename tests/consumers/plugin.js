// Writes a TES3 plugin from a JSON description, for the consumer tests:
//   node plugin.js OUT.esp '{"masters": ["Tribunal.esm"],
//     "scripts": [{"name": "S", "text": "Begin S\r\nEnd\r\n", "deleted": false}],
//     "dialogues": [{"topic": "T", "infos": [{"id": "1", "result": "..."}]}]}'
// Texts are written as Windows-1252 (latin1) bytes.
'use strict';
const fs = require('fs');
const [out, json] = process.argv.slice(2);
const spec = JSON.parse(json);

const u32 = (n) => { const b = Buffer.alloc(4); b.writeUInt32LE(n); return b; };
const text = (s) => Buffer.from(s, 'latin1');
const field = (s, size) => { const b = Buffer.alloc(size); text(s).copy(b, 0, 0, size); return b; };
const sub = (tag, data) => Buffer.concat([text(tag), u32(data.length), data]);
const record = (tag, subs, flags = 0) => {
  const data = Buffer.concat(subs);
  return Buffer.concat([text(tag), u32(data.length), u32(0), u32(flags), data]);
};
const z = (s) => Buffer.concat([text(s), Buffer.alloc(1)]);

const hedr = Buffer.alloc(300);
hedr.writeFloatLE(1.3, 0);
const records = [];
for (const s of spec.scripts || []) {
  records.push(record('SCPT', [sub('SCHD', Buffer.concat([field(s.name, 32), Buffer.alloc(20)])),
    sub('SCTX', text(s.text))], s.deleted ? 0x20 : 0));
}
for (const d of spec.dialogues || []) {
  records.push(record('DIAL', [sub('NAME', z(d.topic)), sub('DATA', Buffer.alloc(1))]));
  for (const i of d.infos) {
    records.push(record('INFO', [sub('INAM', z(i.id)), sub('PNAM', z('')), sub('NNAM', z('')),
      sub('BNAM', text(i.result))]));
  }
}
hedr.writeUInt32LE(records.length, 296);
const masters = (spec.masters || []).flatMap((m) =>
  [sub('MAST', z(m)), sub('DATA', Buffer.alloc(8))]);
fs.writeFileSync(out, Buffer.concat([record('TES3', [sub('HEDR', hedr), ...masters]), ...records]));
