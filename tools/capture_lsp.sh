#!/usr/bin/env bash
# Capture d'écran des diagnostics du serveur de langage dans Neovim :
# Neovim (client LSP intégré) tourne dans tmux sur un script d'exemple, l'écran
# est relevé avec ses couleurs (capture-pane -e) puis dessiné en PNG par
# ImageMagick (police DejaVu Sans Mono).
#   tools/capture_lsp.sh CHEMIN/scrutinette [SORTIE.png]
# Paquets : neovim tmux imagemagick fonts-dejavu-core python3.
set -euo pipefail
programme=$(realpath "$1")
sortie=$(realpath -m "${2:-docs/captures/lsp-neovim.png}")
temporaire="$(mktemp -d)"
trap 'tmux kill-session -t lintaro-capture 2>/dev/null || true; rm -rf "$temporaire"' EXIT

cat >"$temporaire/init.lua" <<'EOF'
vim.o.termguicolors = true
vim.o.number = true
vim.o.signcolumn = 'yes'
vim.o.laststatus = 0
vim.o.ruler = false
vim.cmd('syntax off')
vim.cmd('highlight Normal guibg=#1e1e1e guifg=#d4d4d4')
vim.cmd('highlight LineNr guifg=#858585')
vim.cmd('highlight SignColumn guibg=#1e1e1e')
vim.cmd('highlight EndOfBuffer guifg=#1e1e1e')
for _, g in ipairs({ 'DiagnosticError', 'DiagnosticVirtualTextError', 'DiagnosticSignError' }) do
  vim.cmd('highlight ' .. g .. ' guifg=#f14c4c')
end
for _, g in ipairs({ 'DiagnosticWarn', 'DiagnosticVirtualTextWarn', 'DiagnosticSignWarn' }) do
  vim.cmd('highlight ' .. g .. ' guifg=#cca700')
end
vim.diagnostic.config({ virtual_text = { prefix = '●' }, severity_sort = true })
local client = vim.lsp.start_client({ name = 'lintaro',
  cmd = { os.getenv('LINTARO_SCRUTINETTE'), '--lsp' }, root_dir = vim.fn.getcwd() })
vim.api.nvim_create_autocmd('BufReadPost', {
  callback = function() vim.lsp.buf_attach_client(0, client) end })
EOF
printf '%s\n' 'Begin Essai' 'short compteur' 'float delai' '' 'if ( compteur == 1 )' \
  '	set compteur to 2' '	MessageBox "Étape franchie"' 'endif' 'endif ; fin' \
  'EnableLevitation' 'set delai to delai +	1' 'End' >"$temporaire/essai.mwscript"

cd "$temporaire"
LINTARO_SCRUTINETTE="$programme" tmux new-session -d -s lintaro-capture -x 118 -y 13 \
  "nvim -u init.lua -i NONE -n essai.mwscript"
sleep 3
tmux capture-pane -t lintaro-capture -p -e >ecran.ansi

# Les suites de caractères de même couleur deviennent des ordres « text »
# d'ImageMagick (MVG).
python3 - ecran.ansi ecran.mvg <<'EOF'
import re, sys
largeur, hauteur, marge = 8.4, 18, 10
couleur, lignes = '#d4d4d4', []
for y, ligne in enumerate(open(sys.argv[1], encoding='utf-8').read().split('\n')):
    x, morceau, debut = 0, '', 0
    def vider():
        if morceau.strip():
            texte = morceau.replace('\\', '\\\\').replace("'", "\\'")
            lignes.append(f"fill '{couleur}' text {marge + debut * largeur:.1f},"
                          f"{marge + (y + 1) * hauteur - 5} '{texte}'")
    for jeton in re.split(r'(\x1b\[[0-9;]*m)', ligne):
        m = re.fullmatch(r'\x1b\[([0-9;]*)m', jeton)
        if not m:
            for c in jeton.replace('\t', '    '):
                if not morceau:
                    debut = x
                morceau += c
                x += 1
            continue
        vider()
        morceau = ''
        codes = m.group(1).split(';')
        if codes[:2] == ['38', '2']:
            couleur = '#%02x%02x%02x' % tuple(int(v) for v in codes[2:5])
        elif codes == ['0'] or codes == ['39'] or codes == ['']:
            couleur = '#d4d4d4'
    vider()
open(sys.argv[2], 'w', encoding='utf-8').write('\n'.join(lignes) + '\n')
EOF
convert -size 1010x254 xc:'#1e1e1e' -font DejaVu-Sans-Mono -pointsize 14 \
  -draw "$(cat ecran.mvg)" "$sortie"
echo "Capture : $sortie"
