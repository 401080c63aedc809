-- Run as: QUENVARSPELL_TOOL=... PERSONAL=... nvim --headless --clean -S neovim_session.lua FILE
-- Opens FILE as Markdown with the language server attached through
-- vim.lsp.start_client and buf_attach_client, then prints a line after each
-- step: the words marked, the line the first code action changed, the
-- words marked after that, after "Add" on the first word left, and after a
-- line edited to hold a new misspelling. Exits 3 when a step times out.

local function say(text) io.stdout:write(text .. '\n') end

local function wait_until(condition, what)
  if not vim.wait(20000, condition, 20) then
    say('timed out waiting for ' .. what)
    vim.cmd('cquit 3')
  end
end

local buffer = vim.api.nvim_get_current_buf()
vim.bo[buffer].filetype = 'markdown'
local client = vim.lsp.start_client({
  name = 'quenvarspell',
  cmd = { os.getenv('QUENVARSPELL_TOOL'), '--personal', os.getenv('PERSONAL'), 'lsp' },
  root_dir = vim.fn.expand('%:p:h'),
})
vim.lsp.buf_attach_client(buffer, client)

-- Each set of diagnostics the server publishes counts one.
local published = 0
vim.api.nvim_create_autocmd('DiagnosticChanged', {
  callback = function() published = published + 1 end,
})

local function diagnostics()
  local all = vim.diagnostic.get(buffer)
  table.sort(all, function(a, b) return a.lnum < b.lnum or (a.lnum == b.lnum and a.col < b.col) end)
  return all
end

local function marked()
  local words = {}
  for _, d in ipairs(diagnostics()) do
    local line = vim.api.nvim_buf_get_lines(buffer, d.lnum, d.lnum + 1, false)[1]
    table.insert(words, line:sub(d.col + 1, d.end_col))
  end
  return table.concat(words, ' ')
end

-- Runs the code action whose title starts with prefix on the first mark.
local function run_action(prefix)
  local first = diagnostics()[1]
  vim.api.nvim_win_set_cursor(0, { first.lnum + 1, first.col })
  vim.ui.select = function(items, _, choose)
    for _, item in ipairs(items) do
      if vim.startswith(item[2].title, prefix) then return choose(item) end
    end
    say('no action ' .. prefix)
    vim.cmd('cquit 3')
  end
  vim.lsp.buf.code_action()
end

wait_until(function() return #diagnostics() > 0 end, 'diagnostics')
say('marked: ' .. marked())

local first_line = diagnostics()[1].lnum
local before = vim.api.nvim_buf_get_lines(buffer, first_line, first_line + 1, false)[1]
local seen = published
run_action('Replace')
wait_until(function()
  return vim.api.nvim_buf_get_lines(buffer, first_line, first_line + 1, false)[1] ~= before
end, 'the correction')
say('corrected: ' .. vim.api.nvim_buf_get_lines(buffer, first_line, first_line + 1, false)[1])
wait_until(function() return published > seen end, 'the marks after the correction')
say('marked: ' .. marked())

seen = published
run_action('Add')
wait_until(function() return published > seen end, 'the marks after Add')
say('marked: ' .. marked())

seen = published
vim.api.nvim_buf_set_lines(buffer, 8, 9, false, { 'More at https://example.com/occured/wrld and in the mispeling guide.' })
wait_until(function() return published > seen end, 'the marks after the edit')
say('marked: ' .. marked())
vim.cmd('qall!')
