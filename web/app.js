// The page: deck in (forms or text), one engine run in the worker, results out (summary,
// plots, report, downloads). Nothing the user typed is replaced by a run's outcome.
import { EngineClient } from './engine-client.js';
import { drawResponsePlots, drawCurvePlots } from './plots.js';
import { placeDeckError, clearDeckErrors, errorLine } from './errors.js';
import { DeckForms, SectionForms } from './forms.js';

const $ = (sel) => document.querySelector(sel);
const deckText = $('#deck-text');
const gutter = $('#deck-gutter');
const state = { name: 'deck', run: null };

const engine = new EngineClient({
  onReady: (ms) => {
    $('#engine-state').textContent = `engine ready (${ms.toFixed(0)} ms)`;
    $('#run').disabled = false;
    document.body.dataset.engine = 'ready';
  },
});
window.zarnoEngine = engine; // for the browser console and the end-to-end test
engine.ready.catch((err) => {
  $('#engine-state').textContent = err.message;
  document.body.dataset.engine = 'failed';
});

// ---- tabs ---------------------------------------------------------------------------------
for (const nav of document.querySelectorAll('nav.tabs')) {
  nav.addEventListener('click', (event) => {
    const tab = event.target.dataset.tab;
    if (tab) showTab(nav, tab);
  });
}
export function showTab(nav, tab) {
  if (typeof nav === 'string') nav = document.querySelector(`nav.tabs[data-group="${nav}"]`);
  for (const b of nav.querySelectorAll('button')) b.classList.toggle('active', b.dataset.tab === tab);
  for (const t of nav.parentElement.querySelectorAll(':scope > .tab')) {
    t.classList.toggle('active', t.dataset.tab === tab);
  }
  if (nav.dataset.group === 'results' && state.run) redrawPlots();
  if (nav.dataset.group === 'input' && tab === 'forms' && formsStale) refreshForms();
}

// ---- the deck text editor -------------------------------------------------------------------
function updateGutter() {
  const lines = deckText.value.split('\n').length;
  const bad = Number(gutter.dataset.bad || 0);
  let html = '';
  for (let i = 1; i <= lines; i++) html += i === bad ? `<span class="bad">${i}</span>\n` : `${i}\n`;
  gutter.innerHTML = html;
  gutter.scrollTop = deckText.scrollTop;
}
// The forms edit the same text; they are redrawn from it when the text changes elsewhere.
const forms = new DeckForms($('#forms'), {
  getText: () => deckText.value,
  setText: (text) => { deckText.value = text; updateGutter(); },
});
forms.sections = new SectionForms({
  engine,
  schema: fetch('deck-schema.json').then((r) => r.json()),
  onText: (text) => {
    deckText.value = text;
    updateGutter();
    refreshForms();
  },
});
let formsStale = true;
function refreshForms() {
  formsStale = false;
  forms.render();
  if (state.error) forms.showError(state.error.line, state.error.text);
  if (state.warnings) forms.showWarnings(state.warnings);
}
deckText.addEventListener('input', () => {
  updateGutter();
  formsStale = true;
});
document.addEventListener('deck-error', (event) => {
  state.error = event.detail;
  if (formsStale) refreshForms();
  forms.showError(event.detail?.line, event.detail?.text || '');
});
deckText.addEventListener('scroll', () => { gutter.scrollTop = deckText.scrollTop; });

export function setDeck(text, name) {
  deckText.value = text;
  if (name) state.name = name;
  state.warnings = null;
  clearDeckErrors();
  updateGutter();
  refreshForms();
  document.dispatchEvent(new CustomEvent('deck-changed', { detail: { source: 'load' } }));
}
export function currentDeck() {
  return deckText.value;
}

// ---- opening and saving -----------------------------------------------------------------------
$('#example').addEventListener('change', async (event) => {
  const name = event.target.value;
  if (!name) return;
  const response = await fetch(`examples/${name}.inp`);
  setDeck(await response.text(), name);
  event.target.value = ''; // the same example can be chosen again to start over
  checkDeck();
});
$('#open-file').addEventListener('change', async (event) => {
  const file = event.target.files[0];
  if (!file) return;
  setDeck(await file.text(), file.name.replace(/\.[^.]*$/, ''));
  event.target.value = '';
  checkDeck();
});
// An opened deck is read by the engine's reader at once: an input error shows at its line.
async function checkDeck() {
  const text = currentDeck();
  try {
    const { value } = await engine.read(text, state.name);
    if (value.status > 0 && value.results.error && currentDeck() === text) {
      placeDeckError(value.results.error, errorLine(value.results.error.text.join('\n'), text));
    }
  } catch {
    // The run reports the same error.
  }
}

function download(text, filename, type = 'text/plain') {
  const url = URL.createObjectURL(new Blob([text], { type }));
  const a = document.createElement('a');
  a.href = url;
  a.download = filename;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}
$('#save-deck').addEventListener('click', () => download(currentDeck(), `${state.name}.inp`));
for (const b of document.querySelectorAll('[data-download]')) {
  b.addEventListener('click', () => {
    const kind = b.dataset.download;
    if (kind === 'deck') return download(currentDeck(), `${state.name}.inp`);
    if (!state.run) return;
    const run = state.run;
    if (kind === 'report') download(run.report, `${state.name}.zro`);
    if (kind === 'plot') download(run.plot, `${state.name}.zrp`);
    if (kind === 'json') download(JSON.stringify(run.results, null, 1), `${state.name}.json`, 'application/json');
  });
}

// ---- running ----------------------------------------------------------------------------------
export function formatNumber(v) {
  if (v === null || v === undefined) return '–';
  if (v === 0) return '0';
  const a = Math.abs(v);
  if (a >= 1e6 || a < 1e-3) return v.toExponential(5);
  return String(Number(v.toPrecision(6)));
}

async function run() {
  const deck = currentDeck();
  if (!deck.trim()) {
    $('#run-status').textContent = 'The deck is empty: open a deck or choose an example.';
    document.body.dataset.run = 'empty';
    return;
  }
  $('#run').disabled = true;
  $('#run-status').textContent = 'running…';
  $('#run-status').className = 'status';
  document.body.dataset.run = 'running';
  try {
    const { value, ms } = await engine.run(deck, state.name);
    state.run = value;
    state.runMs = ms;
    showRun(value, ms);
    document.body.dataset.run = value.results.status > 0 ? 'error' : 'done';
  } catch (err) {
    state.run = null;
    $('#run-status').textContent = err.message;
    $('#run-status').className = 'status bad';
    document.body.dataset.run = 'failed';
  } finally {
    $('#run').disabled = false;
  }
}
$('#run').addEventListener('click', run);
document.addEventListener('keydown', (e) => {
  if ((e.ctrlKey || e.metaKey) && e.key === 'Enter') run();
});

function showRun(run, ms) {
  const r = run.results;
  const status = $('#run-status');
  // The results list each warning code's general text and, apart, each place it names:
  // the run is said to have as many warnings as distinct codes, which are given.
  const codes = [...new Set([...(r.notes || []), ...r.warnings].map((w) => w.code))];
  const nWarn = codes.length;
  if (r.status > 0) {
    status.textContent = `The run stopped: ${r.error.kind} ${r.error.code} (${ms.toFixed(1)} ms)`;
    status.className = 'status bad';
  } else {
    status.textContent = `Run ended normally${nWarn ? ` with ${nWarn} warning(s) (${codes.join(', ')})` : ''} in ${ms.toFixed(1)} ms` +
      ` · ${r.load_cases.length} load case(s) · units ${r.units.system}`;
    status.className = nWarn ? 'status warn' : 'status ok';
  }
  status.dataset.ms = ms.toFixed(3);
  $('#report-text').textContent = run.report;
  for (const b of document.querySelectorAll('[data-download]')) {
    if (b.dataset.download !== 'deck') b.disabled = false;
  }
  showError(r);
  showSummary(r);
  showWarnings(r);
  // Warnings that name a line, layer, section or load case also stand beside that field.
  state.warnings = r.warnings;
  if (formsStale) refreshForms();
  else forms.showWarnings(r.warnings);
  redrawPlots();
}

function showError(r) {
  const box = $('#run-error');
  clearDeckErrors();
  if (r.status <= 0 || !r.error) {
    box.hidden = true;
    box.textContent = '';
    return;
  }
  const text = r.error.text.join('\n');
  const line = errorLine(text, currentDeck());
  box.textContent = (line ? `Deck line ${line}:\n` : '') + text;
  box.hidden = false;
  placeDeckError(r.error, line);
}

function showSummary(r) {
  const table = $('#summary');
  const u = r.units;
  if (r.load_cases.length === 0) {
    table.innerHTML = r.status > 0 ? '' : '<tr><td class="text">No load cases in this run (bending stiffness only: see Curves).</td></tr>';
    return;
  }
  const head = ['Case', 'Load type', 'Condition 1', 'Condition 2', `Axial thrust (${u.force})`,
    `Head deflection (${u.length})`, `Head slope (${u.slope})`, `Max moment (${u.moment})`,
    `at depth (${u.length})`, `Max shear (${u.force})`, `at depth (${u.length})`, 'Iterations', 'Converged'];
  const names = { 1: 'shear, moment', 2: 'shear, slope', 3: 'shear, rot. stiffness', 4: 'deflection, moment', 5: 'deflection, slope' };
  let html = '<thead><tr>' + head.map((h) => `<th>${h}</th>`).join('') + '</tr></thead><tbody>';
  for (const c of r.load_cases) {
    const cell = (v, cls = '') => `<td class="${cls}" data-value="${v}">${formatNumber(v)}</td>`;
    html += `<tr data-case="${c.number}"><td>${c.number}</td><td class="text">${names[c.loading_type] || c.loading_type}</td>` +
      cell(c.condition_1) + cell(c.condition_2) + cell(c.axial_thrust) +
      cell(c.head_deflection, 'head-deflection') + cell(c.head_slope) + cell(c.max_moment, 'max-moment') +
      cell(c.max_moment_depth) + cell(c.max_shear) + cell(c.max_shear_depth) +
      `<td>${c.iterations}</td><td>${c.converged ? 'yes' : '<b>no</b>'}</td></tr>`;
  }
  table.innerHTML = html + '</tbody>';
}

function showWarnings(r) {
  const box = $('#warnings');
  const items = [...(r.notes || []), ...r.warnings];
  box.innerHTML = '';
  for (const w of items) {
    const p = document.createElement('div');
    p.textContent = `Warning ${w.code}${w.count > 1 ? ` (${w.count}×)` : ''}: ${w.text.join(' ').replace(/\s+/g, ' ')}`;
    box.append(p);
  }
}

function redrawPlots() {
  if (!state.run || !window.Plotly) return;
  const active = document.querySelector('#results-pane > .tab.active')?.dataset.tab;
  if (active === 'plots') drawResponsePlots($('#response-plots'), state.run.results);
  if (active === 'curves') drawCurvePlots($('#curve-plots'), state.run.results);
}
window.addEventListener('resize', () => redrawPlots());

// The plotting library is large: it loads after the page and the engine have started, so
// that neither waits for it.
function loadPlotly() {
  const script = document.createElement('script');
  script.src = 'vendor/plotly.min.js';
  script.async = true;
  script.onload = () => { document.body.dataset.plots = 'ready'; redrawPlots(); };
  document.head.append(script);
}

updateGutter();
refreshForms();
document.body.dataset.page = 'ready';
setTimeout(loadPlotly, 0);
