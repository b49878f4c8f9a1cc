-- Neovim's own LSP client on a script: starts `scrutinette --lsp`, attaches
-- it to the buffer, waits for the diagnostics and writes them, one a line
-- ("line:first column-last column:severity:code:message", columns in bytes
-- as Neovim converts them), to the file LINTARO_SORTIE.
local programme = os.getenv('LINTARO_SCRUTINETTE')
local sortie = os.getenv('LINTARO_SORTIE')
vim.cmd('edit ' .. vim.fn.fnameescape(os.getenv('LINTARO_SCRIPT')))
local buffer = vim.api.nvim_get_current_buf()
local client = vim.lsp.start_client({
  name = 'lintaro',
  cmd = { programme, '--lsp' },
  root_dir = vim.fn.getcwd(),
  init_options = { tribunal = false, bloodmoon = false },
})
if not client or not vim.lsp.buf_attach_client(buffer, client) then
  vim.fn.writefile({ 'client LSP non démarré' }, sortie)
  vim.cmd('cquit 1')
end
vim.wait(10000, function() return #vim.diagnostic.get(buffer) > 0 end, 20)
local gravites = { [1] = 'erreur', [2] = 'alerte', [3] = 'info', [4] = 'conseil' }
local lignes = {}
for _, d in ipairs(vim.diagnostic.get(buffer)) do
  table.insert(lignes, string.format('%d:%d-%d:%s:%s:%s', d.lnum + 1, d.col, d.end_col,
    gravites[d.severity], tostring(d.code), d.message))
end
table.sort(lignes)
vim.fn.writefile(lignes, sortie)
vim.lsp.stop_client(client)
vim.wait(2000, function() return vim.lsp.client_is_stopped(client) end, 20)
vim.cmd('qall!')
