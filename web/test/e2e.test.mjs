// End-to-end test of the page in a real browser: the WebAssembly engine in its worker, the
// summary against the native command line, the plots, the placement of input errors, and
// that the page survives bad input. Run by scripts/test-web.sh, which builds the site and
// gives the native results of the pipe example in ZARNO_PIPE_JSON.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { serve, launch } from './support/browser.mjs';

const site = process.env.ZARNO_SITE;
const native = JSON.parse(fs.readFileSync(process.env.ZARNO_PIPE_JSON, 'utf8'));
const shots = process.env.ZARNO_SHOTS;
let server, url, chrome, page;
const pageErrors = [];

before(async () => {
  ({ server, url } = await serve(path.resolve(site)));
  chrome = await launch();
  page = await chrome.browser.newPage();
  await page.setViewport({ width: 1500, height: 900 });
  page.on('pageerror', (err) => pageErrors.push(String(err)));
});
after(async () => {
  await chrome?.close();
  server?.close();
});

async function shot(name) {
  if (shots) await page.screenshot({ path: path.join(shots, `${name}.png`) });
}
async function loadExample(name) {
  await page.$eval('#deck-text', (t) => { t.value = ''; });
  await page.select('#example', name);
  await page.waitForFunction(() => document.querySelector('#deck-text').value.includes('ZARNOK6'));
}
async function run() {
  await page.evaluate(() => { document.body.dataset.run = ''; });
  await page.click('#run');
  await page.waitForFunction(() => ['done', 'error', 'failed', 'empty'].includes(document.body.dataset.run), { timeout: 30000 });
  return page.evaluate(() => document.body.dataset.run);
}
async function tab(group, name) {
  await page.click(`nav[data-group="${group}"] button[data-tab="${name}"]`);
}
// Numbers as the summary shows them, for one column.
function shown(cls) {
  return page.$$eval(`#summary td.${cls}`, (cells) => cells.map((c) => c.textContent));
}

test('the page loads and the engine becomes ready', async () => {
  const t0 = Date.now();
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForFunction(() => document.body.dataset.engine === 'ready', { timeout: 20000 });
  const ms = Date.now() - t0;
  console.log(`# page interactive with the engine loaded after ${ms} ms`);
  assert.ok(ms < 10000, `page took ${ms} ms to become interactive`);
});

test('the pipe example shows the head deflection and maximum moment of the command line', async () => {
  await loadExample('pipe_pile');
  assert.equal(await run(), 'done');
  const deflections = (await shown('head-deflection')).map(Number);
  const moments = (await shown('max-moment')).map(Number);
  assert.equal(deflections.length, native.load_cases.length);
  native.load_cases.forEach((c, i) => {
    // Six significant digits are shown: the shown value is the native one to within half a
    // unit of the sixth digit.
    assert.ok(Math.abs(deflections[i] - c.head_deflection) <= 5e-6 * Math.abs(c.head_deflection),
      `case ${i + 1}: deflection ${deflections[i]} shown, ${c.head_deflection} native`);
    assert.ok(Math.abs(moments[i] - c.max_moment) <= 5e-6 * Math.abs(c.max_moment),
      `case ${i + 1}: moment ${moments[i]} shown, ${c.max_moment} native`);
  });
  // The full-precision values behind the table are the native ones to rounding of the last bits.
  const exact = await page.$$eval('#summary td.head-deflection', (cells) => cells.map((c) => Number(c.dataset.value)));
  exact.forEach((v, i) => assert.ok(Math.abs(v - native.load_cases[i].head_deflection) <= 1e-9 * Math.abs(v)));
  const ms = Number(await page.$eval('#run-status', (el) => el.dataset.ms));
  console.log(`# pipe example ran in ${ms.toFixed(1)} ms in the browser`);
  assert.ok(ms < 500, `run took ${ms} ms`);
  await shot('summary');
});

test('the response plots draw one trace per load case, depth downwards', async () => {
  await tab('results', 'plots');
  await page.waitForFunction(() => document.querySelectorAll('#response-plots .js-plotly-plot').length === 5, { timeout: 20000 });
  const plots = await page.$$eval('#response-plots .js-plotly-plot', (divs) => divs.map((d) => ({
    key: d.dataset.plot, traces: d.querySelectorAll('.scatterlayer .trace').length,
    reversed: d._fullLayout.yaxis.range[0] > d._fullLayout.yaxis.range[1],
    points: d.data[0].x.length,
  })));
  assert.deepEqual(plots.map((p) => p.key), ['deflection', 'slope', 'moment', 'shear', 'soil_reaction']);
  for (const p of plots) {
    assert.equal(p.traces, native.load_cases.length, p.key);
    assert.ok(p.reversed, `${p.key}: depth increases downwards`);
    assert.equal(p.points, native.load_cases[0].nodes.length, p.key);
  }
  await shot('plots');
  await tab('results', 'curves');
  await page.waitForFunction(() => document.querySelectorAll('#curve-plots .js-plotly-plot').length >= 2);
  const curves = await page.$$eval('#curve-plots .js-plotly-plot', (divs) => divs.map((d) => d.dataset.plot));
  assert.deepEqual(curves, ['mphi', 'ei']);
  await shot('curves');
});

test('an edited deck runs again and the plots follow without a reload', async () => {
  await tab('input', 'deck');
  const before = await page.$eval('[data-plot="deflection"]', (d) => d.data[1].x[0]);
  await page.$eval('#deck-text', (t) => {
    t.value = t.value.replace('2  1  40000.0', '2  1  30000.0');
    t.dispatchEvent(new Event('input'));
  });
  assert.equal(await run(), 'done');
  await tab('results', 'plots');
  await page.waitForFunction((b) => document.querySelector('[data-plot="deflection"]').data[1].x[0] !== b, {}, before);
  const after = await page.$eval('[data-plot="deflection"]', (d) => d.data[1].x[0]);
  assert.ok(after < before, `a smaller shear gives a smaller head deflection (${after} < ${before})`);
  assert.equal(await page.evaluate(() => performance.getEntriesByType('navigation').length), 1);
});

test('an out-of-range value shows the engine message at its deck line, and the deck is kept', async () => {
  await loadExample('pipe_pile');
  const deck = await page.$eval('#deck-text', (t) => {
    t.value = t.value.replace('Increments 100', 'Increments 5');
    t.dispatchEvent(new Event('input'));
    return t.value;
  });
  const line = deck.split('\n').findIndex((l) => l.startsWith('Increments')) + 1;
  assert.equal(await run(), 'error');
  await tab('input', 'deck');
  const marked = await page.$eval('#deck-gutter .bad', (el) => Number(el.textContent));
  assert.equal(marked, line);
  const message = await page.$eval('#deck-error', (el) => el.textContent);
  assert.match(message, new RegExp(`^Line ${line}: `));
  assert.match(message, /number of pile increments/);
  assert.equal(await page.$eval('#deck-text', (t) => t.value), deck, 'the deck as typed is kept');
  await shot('error');
});

test('the forms show the deck, edit it, and carry the engine error beside the field', async () => {
  await loadExample('pipe_pile');
  await tab('input', 'forms');
  // Fields with their units in the deck's unit system, filled from the deck.
  const layerTop = await page.$eval('[data-layer="1"] .row:nth-of-type(2)', (r) => [r.querySelector('input').value, r.querySelector('.unit').textContent]);
  assert.deepEqual(layerTop, ['0.0', 'ft']);
  const cohesion = await page.$$eval('[data-layer="1"] .row', (rows) => rows.map((r) => [r.querySelector('label').textContent, r.querySelector('.unit').textContent]));
  assert.ok(cohesion.some(([l, u]) => l === 'cohesion at the top' && u === 'psf'), JSON.stringify(cohesion));
  await page.waitForFunction(() => document.querySelector('fieldset[data-block="SECTIONS"]')?.dataset.filled === 'engine');
  assert.deepEqual(await page.$$eval('svg.profile rect', (rs) => rs.map((r) => r.querySelector('title').textContent)),
    ['soft clay', 'stiff clay with free water', 'pile, 60 ft'], 'two layers and the pile');
  // A form edit rewrites the deck, and the run uses it.
  const shear = await page.$('[data-load="2"] .row:nth-of-type(2) input');
  await shear.click({ clickCount: 3 });
  await shear.type('10000.0');
  assert.match(await page.$eval('#deck-text', (t) => t.value), /^2  1  10000\.0  0\.0  150000\.0  1$/m);
  assert.equal(await run(), 'done');
  const moments = (await shown('max-moment')).map(Number);
  assert.ok(moments[1] < moments[0], 'the second load is now the smaller one');
  // An engine error lands beside the field whose line it names; the value typed stays.
  const increments = await page.$$eval('#forms .row', (rows) => rows.findIndex((r) => r.querySelector('label').textContent === 'Increments'));
  const input = (await page.$$('#forms .row'))[increments];
  const field = await input.$('input');
  await field.click({ clickCount: 3 });
  await field.type('12');
  assert.equal(await run(), 'error');
  const marked = await page.$eval('#forms .row.has-error', (r) => [r.querySelector('label').textContent, r.querySelector('input').value, r.querySelector('.field-error').textContent]);
  assert.equal(marked[0], 'Increments');
  assert.equal(marked[1], '12');
  assert.match(marked[2], /number of pile increments is less than 40/);
  await shot('form-error');
  // A value the reader cannot read is placed by its line and the text it found.
  const incrementsAgain = await (await page.$$('#forms .row'))[increments].$('input');
  await incrementsAgain.click({ clickCount: 3 });
  await incrementsAgain.type('100');
  const eps50Field = await page.$('[data-layer="1"] .row:nth-of-type(6) input');
  await eps50Field.click({ clickCount: 3 });
  await eps50Field.type('abc');
  assert.equal(await run(), 'error');
  const unreadable = await page.$eval('#forms .row.has-error', (r) => [r.querySelector('input').value, r.querySelector('.field-error').textContent]);
  assert.equal(unreadable[0], 'abc');
  assert.match(unreadable[1], /SOIL LAYERS block at line \d+/);
});

test('an error found after reading, which names a parameter and no line, is shown beside that field', async () => {
  await loadExample('drilled_shaft');
  await tab('input', 'forms');
  await page.$eval('#deck-text', (t) => {
    t.value = t.value.replace('18.0  32.0  24400.0', '18.0  0.0  24400.0');
    t.dispatchEvent(new Event('input'));
  });
  assert.equal(await run(), 'error');
  const marked = await page.$eval('#forms .row.has-error', (r) => [r.closest('[data-layer]').dataset.layer, r.querySelector('label').textContent, r.querySelector('input').value, r.querySelector('.field-error').textContent]);
  assert.deepEqual(marked.slice(0, 3), ['1', 'friction angle at the top', '0.0']);
  assert.match(marked[3], /Zero was input for the friction angle/);
});

// Each deck edit makes one input error or recorded warning; its message must stand beside the
// field it concerns (the row with that label inside that layer, section or load), or at the
// head of the entity or block when no single field holds it, and say where. `line` is the
// deck line of the edit, which the message must name.
const placements = [
  { name: 'gap between layers', example: 'drilled_shaft', edit: ['6  6.0  20.0', '6  7.0  20.0'], run: 'done',
    scope: '[data-layer="2"]', label: 'depth of the top', cls: 'field-warning',
    message: /layer 1 ends at 6 m and layer 2 starts at 7 m, leaving a gap of 1 m\. Layer 2 was analysed from 6 m/,
    mark: /^gap of 1 m above layer 2/ },
  { name: 'overlap of layers', example: 'drilled_shaft', edit: ['6  6.0  20.0', '6  5.0  20.0'], run: 'done',
    scope: '[data-layer="2"]', label: 'depth of the top', cls: 'field-warning',
    message: /layer 2 starts at 5 m, an overlap of 1 m/, mark: /^overlap of 1 m above layer 2/ },
  { name: 'value left over on a load line', example: 'pipe_pile', edit: ['2  1  40000.0  0.0  150000.0  1', '2  1  40000.0  0.0  150000.0  1  7'],
    run: 'done', scope: '[data-load="2"]', label: 'length sweep (1 = none)', cls: 'field-warning',
    message: /LOADING block at line (\d+) of the input file: "7" was left over/, line: true },
  { name: 'values left over on the number of sections', example: 'pipe_pile', edit: ['SECTIONS\n1\n', 'SECTIONS\n1  1  20\n'],
    run: 'done', scope: 'fieldset[data-block="SECTIONS"]', cls: 'field-warning', editLine: 1,
    message: /SECTIONS block at line (\d+) of the input file: "1 20" was left over .* put each value on a line of its own/, line: true,
    pile: 'pile, 60 ft' },
  { name: 'negative friction angle', example: 'drilled_shaft', edit: ['18.0  32.0  24400.0\n18.0', '18.0  -34.0  24400.0\n18.0'],
    run: 'error', scope: '[data-layer="1"]', label: 'friction angle at the top', cls: 'field-error',
    message: /friction angle at the top of layer 1 in the SOIL LAYERS block at line (\d+) of the input file is -34\.[\s\S]*at least 0/, line: true },
  { name: 'misspelt block keyword', example: 'pipe_pile', edit: ['SOIL LAYERS', 'SOIL LAYER'], run: 'error',
    scope: 'fieldset[data-block="SECTIONS"]', label: 'line 34', cls: 'field-error',
    message: /SOIL LAYER\nFound at line (\d+) of the input file: did you mean "SOIL LAYERS"\?/, line: true },
  { name: 'steel modulus in ksi', example: 'pipe_pile', edit: ['29000000.0', '29000.0'], run: 'error',
    scope: '[data-section="1"]', label: 'elastic modulus of casing or pipe', cls: 'field-warning',
    message: /Pile section 1: the elastic modulus of casing or pipe of 29000 psi .* probably entered in ksi/,
    error: ['[data-section="1"] .row.has-error .field-error', /Correct that modulus first/] },
  { name: 'cohesion in Pa', example: 'drilled_shaft',
    edit: ['5  0.0  6.0\n18.0  32.0  24400.0\n18.0  32.0  24400.0', '1  0.0  6.0\n18.0  40000.0  0.01\n18.0  40000.0  0.01'],
    run: 'done', scope: '[data-layer="1"]', label: 'cohesion at the top', cls: 'field-warning',
    message: /SOIL LAYERS, layer 1 \(soft clay\): the undrained shear strength of 40000 kPa .* was it entered in Pa\?/ },
  { name: 'unit weight in the wrong unit', example: 'drilled_shaft', edit: ['18.0  32.0  24400.0\n18.0  32.0', '1.8  32.0  24400.0\n1.8  32.0'],
    run: 'done', scope: '[data-layer="1"]', label: 'effective unit weight at the top', cls: 'field-warning',
    message: /SOIL LAYERS, layer 1: the effective unit weight of 1\.8 kN\/m3 is outside the usual range .* g\/cm3/ },
  { name: 'a load beyond the bending capacity', example: 'drilled_shaft', edit: ['2  2  250.0  0.0  1500.0  1', '2  2  20000.0  0.0  1500.0  1'],
    run: 'error', scope: '[data-load="2"]', label: 'axial thrust', cls: 'field-error',
    message: /Load case 2 exceeds the bending capacity of the pile: the pile lost its stability under the axial thrust/ },
  { name: 'misspelt option keyword', example: 'drilled_shaft', edit: ['MaxIterations 100', 'MaxIter 100'], run: 'done',
    scope: 'fieldset[data-block="OPTIONS"]', label: 'MaxIter', cls: 'field-warning',
    message: /Line (\d+) of the input file starts with "MaxIter" where the option keyword "MaxIterations" is expected/, line: true },
  { name: 'solution imbalance of the drilled-shaft example', example: 'drilled_shaft', edit: ['', ''], run: 'done',
    scope: '[data-load="2"]', cls: 'field-warning', message: /^Warning -5501: Load case 2: the solution leaves a moment imbalance/ },
];

test('gaps, overlaps, left-over values, bad strengths, keywords and units are shown beside their field', async () => {
  for (const c of placements) {
    await loadExample(c.example);
    await tab('input', 'forms');
    const deck = await page.$eval('#deck-text', (t, [from, to]) => {
      t.value = t.value.replace(from, to);
      t.dispatchEvent(new Event('input'));
      return t.value;
    }, c.edit);
    assert.equal(await run(), c.run, c.name);
    let text;
    try {
      text = await (await page.waitForFunction(({ scope, label, cls }) => {
        const root = document.querySelector(`#forms ${scope}`);
        const host = root && (label ? [...root.querySelectorAll('.row')].find((r) => r.querySelector('label')?.textContent === label) : root);
        const boxes = host ? [...host.querySelectorAll(`:scope > .${cls}`)] : [];
        return boxes.length ? boxes.map((b) => b.textContent).join('\n') : null;
      }, { timeout: 5000 }, c)).jsonValue();
    } catch {
      const all = await page.$$eval('#forms .field-warning, #forms .field-error', (bs) => bs.map((b) => b.textContent));
      assert.fail(`${c.name}: no message in ${c.scope} ${c.label || ''}; shown: ${JSON.stringify(all)}`);
    }
    const m = c.message.exec(text);
    assert.ok(m, `${c.name}: ${text}`);
    if (c.line) {
      const edited = c.edit[1].split('\n')[c.editLine || 0];
      const at = deck.split('\n').findIndex((l) => l === edited || (c.editLine === undefined && l.startsWith(edited))) + 1;
      assert.equal(Number(m[1]), at, `${c.name}: the message names the line of the edit`);
    }
    if (c.error) {
      // The run's error stands where it belongs as well (the warning's field, or elsewhere).
      const error = await page.$eval(`#forms ${c.error[0]}`, (b) => b.textContent);
      assert.match(error, c.error[1], c.name);
    }
    if (c.mark) {
      // The profile drawing keeps the layers as typed and marks where they were closed up.
      const marks = await page.$$eval('svg.profile rect.layer-gap', (rs) => rs.map((r) => [r.dataset.layer, r.querySelector('title').textContent]));
      assert.equal(marks.length, 1, c.name);
      assert.equal(marks[0][0], '2');
      assert.match(marks[0][1], c.mark);
    }
    if (c.pile) {
      // The pile is drawn at the length the engine read, not from the numbers on the lines.
      assert.equal(await page.$eval('svg.profile rect:last-of-type title', (t) => t.textContent), c.pile, c.name);
    }
    await shot(c.name.replace(/\W+/g, '-'));
  }
  // The recorded warnings of the example are listed with the run as well.
  assert.match(await page.$eval('#run-status', (el) => el.textContent), /Run ended normally with 1 warning\(s\) \(-5501\)/);
  assert.match(await page.$eval('#warnings', (el) => el.textContent), /Warning -5501: Load case 1: .*Warning -5501: Load case 2: .*Possible Solution Error 5501/s);
});

test('the section form comes from the engine reader and writes the deck through the engine writer', async () => {
  await loadExample('pipe_pile');
  await tab('input', 'forms');
  await page.waitForFunction(() => document.querySelector('fieldset[data-block="SECTIONS"]')?.dataset.filled === 'engine');
  const rows = await page.$$eval('[data-section="1"] .row', (rs) => rs.map((r) => [r.querySelector('label').textContent, r.querySelector('input, select').value, r.querySelector('span')?.textContent || '']));
  const byName = Object.fromEntries(rows.map(([l, v, u]) => [l, [v, u]]));
  assert.equal(byName['section type'][0], '4');
  assert.deepEqual(byName['outer diameter'], ['24', 'in']);
  assert.deepEqual(byName['section length'], ['60', 'ft']);
  assert.deepEqual(byName['yield stress of casing or pipe'], ['36000', 'psi']);
  // A thicker wall, written by the engine's deck writer, makes a stiffer pile.
  await loadExample('pipe_pile');
  assert.equal(await run(), 'done');
  const thin = (await shown('head-deflection')).map(Number);
  await page.waitForFunction(() => document.querySelector('fieldset[data-block="SECTIONS"]')?.dataset.filled === 'engine');
  const wall = await page.$('[data-section="1"] .row[data-path="/sections/0/wall_thickness"] input');
  await wall.click({ clickCount: 3 });
  await wall.type('0.75');
  await page.keyboard.press('Tab');
  await page.waitForFunction(() => /^0\.75$/m.test(document.querySelector('#deck-text').value));
  assert.equal(await run(), 'done');
  const thick = (await shown('head-deflection')).map(Number);
  thick.forEach((d, i) => assert.ok(d < thin[i], `case ${i + 1}: ${d} < ${thin[i]}`));
});

test('printed p-y curves, head stiffness and the length sweep are plotted', async () => {
  await loadExample('pipe_pile');
  await page.$eval('#deck-text', (t) => {
    t.value = t.value.replace('ComputeKmatrix NO', 'ComputeKmatrix YES').replace('PrintPYCurves NO', 'PrintPYCurves YES')
      .replace('2  1  40000.0  0.0  150000.0  1', '2  1  40000.0  0.0  150000.0  0')
      .replace(/^END$/m, 'DEPTHS OF PRINTED P-Y CURVES\n2\n1  5.0\n2  30.0\nEND');
    t.dispatchEvent(new Event('input'));
  });
  assert.equal(await run(), 'done');
  await tab('results', 'curves');
  await page.waitForFunction(() => document.querySelectorAll('#curve-plots .js-plotly-plot').length === 5);
  const plots = await page.$$eval('#curve-plots .js-plotly-plot', (divs) => Object.fromEntries(divs.map((d) => [d.dataset.plot, d.data.map((t) => ({ name: t.name, n: t.x.length }))])));
  assert.deepEqual(Object.keys(plots), ['py', 'mphi', 'ei', 'kmatrix', 'length']);
  // Curves at 5 ft and 30 ft, given in inches like every depth of the results.
  assert.deepEqual(plots.py.map((t) => t.name), ['60 in (soft clay)', '360 in (static stiff clay with free water)']);
  assert.ok(plots.py.every((t) => t.n > 5));
  assert.equal(plots.length.length, 1, 'one load case asks for the sweep');
  assert.ok(plots.length[0].n > 2);
  assert.equal(plots.kmatrix.length, 2);
  await shot('all-curves');
});

test('an engine that crashes or stops answering is replaced and the next run works', async () => {
  await loadExample('pipe_pile');
  const crashed = await page.evaluate(() => window.zarnoEngine.request({ op: 'no such request' }).then(() => 'answered', (e) => e.message));
  assert.match(crashed, /unknown request/);
  assert.equal(await run(), 'done');
  // The engine stops answering: its replies are dropped, so only the time limit ends the
  // request (a short limit alone races a run that is now faster than it).
  await page.evaluate(() => {
    window.zarnoEngine.timeoutMs = 300;
    window.zarnoEngine.worker.onmessage = () => {};
  });
  assert.equal(await run(), 'failed');
  assert.match(await page.$eval('#run-status', (el) => el.textContent), /did not answer/);
  await page.evaluate(() => { window.zarnoEngine.timeoutMs = 30000; });
  assert.equal(await run(), 'done');
  assert.ok((await page.$eval('#deck-text', (t) => t.value)).startsWith('ZARNOK6'), 'the deck is kept');
});

test('garbage input ends in an input error and leaves a working page', async () => {
  const bad = ['', 'ZARNOK6\n', '\u0000\u00ff\u00fe garbage \n\n', 'ZARNOK6\nTITLE\n' + 'x'.repeat(5000) + '\nEND\n'];
  for (const text of bad) {
    await page.$eval('#deck-text', (t, v) => { t.value = v; t.dispatchEvent(new Event('input')); }, text);
    const outcome = await run();
    if (text === '') {
      // An empty deck is not sent to the engine; the page says so.
      assert.match(await page.$eval('#run-status', (el) => el.textContent), /empty/);
      continue;
    }
    assert.equal(outcome, 'error', JSON.stringify(text.slice(0, 20)));
    assert.match(await page.$eval('#run-error', (el) => el.textContent), /Error|ERROR/);
  }
  await loadExample('pipe_pile');
  assert.equal(await run(), 'done');
  assert.deepEqual(pageErrors, []);
});
