// Placing the engine's input errors where the user can act on them: the deck line in the text
// editor (its line number marked, the message above the editor, the line selected), and,
// through the 'deck-error' event, the form field that wrote that line.
const deckText = document.querySelector('#deck-text');
const gutter = document.querySelector('#deck-gutter');
const box = document.querySelector('#deck-error');

// Messages of the checks made after reading name a value, not a line: the option line that
// holds it is found by its keyword.
const optionPhrases = [
  [/number of pile increments/, 'Increments'],
  [/iterations limit|maximum number of iterations/, 'MaxIterations'],
  [/excess deflection|maximum allowable deflection/i, 'ExcessDeflection'],
  [/convergence tolerance/, 'Tolerance'],
  [/number of cycles of loading|Cyclic loading type/, 'Loading'],
  [/printing increment/, 'PrintIncrement'],
  [/General units have been selected/, 'Units'],
];

// The input line that an engine message concerns: the line it names ("at line 12 of the input
// file", "after line 40", "Line 9 of the input file"), else the option line of the value it
// names, or null.
export function errorLine(text, deck = '') {
  const m = /\b(?:at|after) line (\d+)\b/.exec(text) || /\bLine (\d+) of the input file/.exec(text);
  if (m) return Number(m[1]);
  // A message about one load case, layer or section is placed by that name, even when its
  // advice mentions an option ("increase the number of pile increments").
  if (/\b(?:load case|soil layer|pile section) \d+/i.test(text)) return null;
  const lines = deck.split('\n');
  for (const [phrase, keyword] of optionPhrases) {
    if (!phrase.test(text)) continue;
    const at = lines.findIndex((l) => l.startsWith(`${keyword} `) || l.trimEnd() === keyword);
    if (at >= 0) return at + 1;
  }
  return null;
}

export function clearDeckErrors() {
  delete gutter.dataset.bad;
  box.hidden = true;
  box.textContent = '';
  for (const el of gutter.querySelectorAll('.bad')) el.classList.remove('bad');
  document.dispatchEvent(new CustomEvent('deck-error', { detail: null }));
}

export function placeDeckError(error, line) {
  const text = error.text.join('\n');
  box.textContent = (line ? `Line ${line}: ` : '') + text;
  box.hidden = false;
  if (line) {
    gutter.dataset.bad = String(line);
    const spans = gutter.textContent.split('\n');
    if (line <= spans.length) {
      gutter.innerHTML = spans.map((s, i) => (i + 1 === line ? `<span class="bad">${s}</span>` : s)).join('\n');
    }
    selectLine(line);
  }
  document.dispatchEvent(new CustomEvent('deck-error', { detail: { error, line, text } }));
}

function selectLine(line) {
  const lines = deckText.value.split('\n');
  let start = 0;
  for (let i = 0; i < line - 1 && i < lines.length; i++) start += lines[i].length + 1;
  const end = start + (lines[line - 1] || '').length;
  deckText.setSelectionRange(start, end);
  deckText.scrollTop = Math.max(0, (line - 5) * 16);
  deckText.dispatchEvent(new Event('scroll'));
}
