// Client of the Lintaro language server: starts `scrutinette --lsp` for the
// Morrowind scripts (language "mwscript") and hands it the "lintaro" settings.
'use strict';

const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function reglages() {
  const c = vscode.workspace.getConfiguration('lintaro');
  return {
    tribunal: c.get('tribunal', false),
    bloodmoon: c.get('bloodmoon', false),
    masquerAlertes: c.get('masquerAlertes', false),
    ignorer: c.get('ignorer', []),
  };
}

// With "lintaro.fichiersTxt", a .txt file opened as plain text becomes a script.
function adopter(document) {
  const txt = vscode.workspace.getConfiguration('lintaro').get('fichiersTxt', false);
  if (txt && document.languageId === 'plaintext' &&
      document.fileName.toLowerCase().endsWith('.txt')) {
    vscode.languages.setTextDocumentLanguage(document, 'mwscript');
  }
}

function activate(context) {
  const chemin = vscode.workspace.getConfiguration('lintaro').get('chemin') || 'scrutinette';
  const serveur = { command: chemin, args: ['--lsp'] };
  client = new LanguageClient('lintaro', 'Lintaro', { run: serveur, debug: serveur }, {
    documentSelector: [{ language: 'mwscript' }],
    initializationOptions: reglages(),
    synchronize: { configurationSection: 'lintaro' },
  });
  context.subscriptions.push(vscode.workspace.onDidOpenTextDocument(adopter));
  vscode.workspace.textDocuments.forEach(adopter);
  context.subscriptions.push(vscode.workspace.onDidChangeConfiguration((e) => {
    if (e.affectsConfiguration('lintaro.chemin')) {
      vscode.window.showInformationMessage(
        'Lintaro : rechargez la fenêtre pour utiliser le nouveau chemin de scrutinette.');
    }
  }));
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
