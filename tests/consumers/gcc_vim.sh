#!/usr/bin/env bash
# --sortie gcc read by its consumers: Vim's default 'errorformat' (the
# quickfix list of :cgetfile) and the VS Code problem matcher of
# docs/vscode/tasks.json (its regular expression applied by node, as VS Code
# applies it, line by line).
# shellcheck source=tests/consumers/commun.sh
source "$(dirname "${BASH_SOURCE[0]}")/commun.sh" "$1"
command -v vim >/dev/null || sauter "vim absent (apt-get install vim)"
preparer_dossier

statut=0
"$SCRUTINETTE" --sortie gcc dossier >gcc.txt 2>err.txt || statut=$?
[ "$statut" -eq 2 ] || echec "code de sortie $statut au lieu de 2 (fichier illisible)"
diff -u - err.txt <<'FIN' || echec "sortie d'erreur"
Impossible d'ouvrir le fichier "dossier/illisible.txt" !
5 scripts vérifiés : 1 avec erreurs, 2 avec alertes seulement, 1 non vérifié
FIN
[ ! -e "Correction de propre.TXT" ] || echec "un rapport a été écrit"

# Vim: file, line, validity and text of each entry. A finding about the whole
# script has no line: Vim keeps it as a text entry.
vim -Nes -u NONE -i NONE -c 'cgetfile gcc.txt' \
  -c 'call writefile(map(getqflist(), {_, e -> printf("%s|%d|%d|%s", bufname(e.bufnr), e.lnum, e.valid, e.text)}), "vim.txt")' \
  -c 'qa!'
codes_masques <vim.txt | diff -u - <(cat <<'FIN'
dossier/a b/l'été.txt|7|1| error: un 'endif' en trop (l'erreur a probablement été faite entre la ligne 4 et la ligne 7). [LT…]
|0|0|dossier/a b/l'été.txt: warning: Le premier caractère de "_secret" est un underscore, risques de bugs in-game. [LT…]
dossier/z/directive.txt|3|1| warning: alerte, le code "LT99999" de la directive lintaro n'existe pas. [LT901]
|0|0|dossier/Ünïcode.MWSCRIPT: warning: Le premier caractère de "_drapeau" est un underscore, risques de bugs in-game. [LT…]
FIN
) || echec "liste quickfix de Vim"

# VS Code: every line is matched, with the fields the matcher names.
lire_vscode() {
  node - "$RACINE/docs/vscode/tasks.json" "$1" <<'FIN'
const fs = require('fs');
const [tasks, lines] = process.argv.slice(2);
const pattern = JSON.parse(fs.readFileSync(tasks, 'utf8')).tasks[0].problemMatcher.pattern;
const regexp = new RegExp(pattern.regexp);
for (const line of fs.readFileSync(lines, 'utf8').split('\n').filter((l) => l !== '')) {
  const m = regexp.exec(line);
  if (!m) throw new Error('ligne non reconnue : ' + line);
  const f = (k) => m[pattern[k]] ?? '';
  console.log([f('file'), f('line'), f('severity'), f('code'), f('message')].join('|'));
}
FIN
}
lire_vscode gcc.txt >vscode.txt
diff -u - <(codes_masques <vscode.txt) <<'FIN' || echec "problem matcher de VS Code"
dossier/a b/l'été.txt|7|error|LT…|un 'endif' en trop (l'erreur a probablement été faite entre la ligne 4 et la ligne 7).
dossier/a b/l'été.txt||warning|LT…|Le premier caractère de "_secret" est un underscore, risques de bugs in-game.
dossier/z/directive.txt|3|warning|LT901|alerte, le code "LT99999" de la directive lintaro n'existe pas.
dossier/Ünïcode.MWSCRIPT||warning|LT…|Le premier caractère de "_drapeau" est un underscore, risques de bugs in-game.
FIN

# A plugin's scripts: PLUGIN:SCRIPT is the file for both, the line is the
# script's; a finding about the whole script stays a text entry in Vim.
preparer_plugin
statut=0
"$SCRUTINETTE" --sortie gcc plugins/Mod.esp >plugin.txt 2>/dev/null || statut=$?
[ "$statut" -eq 1 ] || echec "plugin : code de sortie $statut au lieu de 1"
vim -Nes -u NONE -i NONE -c 'cgetfile plugin.txt' \
  -c 'call writefile(map(getqflist(), {_, e -> printf("%s|%d|%d|%s", bufname(e.bufnr), e.lnum, e.valid, e.text)}), "vim.txt")' \
  -c 'qa!'
codes_masques <vim.txt | diff -u - <(cat <<'FIN'
plugins/Mod.esp:Saut|3|1| error: fonction Tribunal-dépendante ! [LT…]
|0|0|plugins/Mod.esp:Mon alerte: warning: Le premier caractère de "_drapeau" est un underscore, risques de bugs in-game. [LT…]
plugins/Mod.esp:dialogue "Sujet" / info 12345|1|1| error: une variable ne peut pas être déclarée dans le résultat d'une réplique. [LT…]
FIN
) || echec "liste quickfix de Vim (plugin)"
lire_vscode plugin.txt | codes_masques | diff -u - <(cat <<'FIN'
plugins/Mod.esp:Saut|3|error|LT…|fonction Tribunal-dépendante !
plugins/Mod.esp:Mon alerte||warning|LT…|Le premier caractère de "_drapeau" est un underscore, risques de bugs in-game.
plugins/Mod.esp:dialogue "Sujet" / info 12345|1|error|LT…|une variable ne peut pas être déclarée dans le résultat d'une réplique.
FIN
) || echec "problem matcher de VS Code (plugin)"
echo "gcc : Vim et VS Code lisent les 4 constats des scripts et les 3 du plugin"
