// Forms over the deck: every field is one item of one deck line, so an edit in a form rewrites
// that item in the deck text, an edit of the text redraws the forms, and an engine message that
// names a line lands beside the field of that line. Blocks without a form of their own
// (sections, LRFD data and the optional blocks) are edited as text in the same place.
const KEYWORDS = ['TITLE', 'OPTIONS', 'SECTIONS', 'AXIAL THRUST LOADS', 'SOIL LAYERS', 'LOADING',
  'TIP SHEAR', 'PILE BATTER AND SLOPE', 'GROUP EFFECT FACTORS', 'GROUPEFF', 'SOIL MOVEMENTS',
  'LRFD LOADS', 'LRFD FACTORS AND CASES', 'DEPTHS OF PRINTED P-Y CURVES', 'END'];

// Units of the input by unit system (USCS, SI, GENERAL).
const UNITS = {
  depth: ['ft', 'm', 'L'], gamma: ['pcf', 'kN/m³', 'F/L³'], stress: ['psf', 'kPa', 'F/L²'],
  rockstress: ['psi', 'kPa', 'F/L²'], k: ['pci', 'kN/m³', 'F/L³'], force: ['lb', 'kN', 'F'],
  moment: ['in-lb', 'kN-m', 'F·L'], deflection: ['in', 'm', 'L'], rotk: ['in-lb/rad', 'kN-m/rad', 'F·L/rad'],
  distload: ['lb/in', 'kN/m', 'F/L'], distdepth: ['in', 'm', 'L'], deg: ['deg', 'deg', 'deg'],
  rad: ['rad', 'rad', 'rad'], none: ['', '', ''], pct: ['%', '%', '%'], tolerance: ['in', 'm', 'L'],
};

export const PY_TYPES = {
  1: ['soft clay', ['cohesion', 'stress'], ['eps50', 'none']],
  2: ['stiff clay with free water', ['cohesion', 'stress'], ['eps50', 'none'], ['subgrade modulus k', 'k']],
  3: ['stiff clay without free water', ['cohesion', 'stress'], ['eps50', 'none']],
  4: ['stiff clay without free water, with k', ['cohesion', 'stress'], ['eps50', 'none'], ['subgrade modulus k', 'k']],
  5: ['sand', ['friction angle', 'deg'], ['subgrade modulus k', 'k']],
  6: ['API sand', ['friction angle', 'deg'], ['subgrade modulus k', 'k']],
  7: ['liquefied sand'],
  8: ['weak rock', ['uniaxial compressive strength', 'rockstress'], ['initial modulus of rock', 'rockstress'], ['RQD', 'pct'], ['k_rm', 'none']],
  9: ['vuggy limestone', ['uniaxial compressive strength', 'rockstress']],
  10: ['Piedmont residual soil', ['field-test type', 'none'], ['SPT blow count', 'none'], ['CPT tip resistance', 'stress'], ['dilatometer modulus', 'stress'], ['pressuremeter modulus', 'stress']],
  11: ['cemented silt', ['cohesion', 'stress'], ['friction angle', 'deg'], ['eps50', 'none'], ['subgrade modulus k', 'k']],
  12: ['loess', ['cone tip resistance', 'stress']],
  13: ['elastic subgrade', ['elastic subgrade modulus', 'k']],
  14: ['user-input p-y curves'],
  15: ['soft clay with J', ['cohesion', 'stress'], ['eps50', 'none'], ['J factor', 'none']],
  16: ['massive rock', ['uniaxial compressive strength of intact rock', 'rockstress'], ['rock type index', 'none'], ['geological strength index', 'none'], ['rock mass modulus', 'rockstress']],
  18: ['PISA Cowden stiff clay (monopile)', ['undrained shear strength', 'stress'], ['small-strain shear modulus G0', 'stress']],
  19: ['PISA Dunkirk sand (monopile)', ['relative density', 'pct'], ['small-strain shear modulus G0', 'stress']],
  20: ['PISA Bothkennar soft clay (monopile)', ['undrained shear strength', 'stress'], ['small-strain shear modulus G0', 'stress']],
};
const PY_COLOURS = { 1: '#9ec5e8', 2: '#6d9fcf', 3: '#7fb0a0', 4: '#5d9585', 5: '#f2d48a', 6: '#e8c15e', 7: '#f0e3b6',
  8: '#b7a48f', 9: '#a39282', 10: '#c9a27a', 11: '#d8c39c', 12: '#e0cf9a', 13: '#c5cbd3', 14: '#d3b8d9', 15: '#8fb7dc', 16: '#8b7d70',
  18: '#4f86b8', 19: '#d9b54a', 20: '#a9cfe8' };

const LOAD_TYPES = {
  1: ['shear and moment', ['shear', 'force'], ['moment', 'moment']],
  2: ['shear and slope', ['shear', 'force'], ['slope', 'rad']],
  3: ['shear and rotational stiffness', ['shear', 'force'], ['rotational stiffness', 'rotk']],
  4: ['deflection and moment', ['deflection', 'deflection'], ['moment', 'moment']],
  5: ['deflection and slope', ['deflection', 'deflection'], ['slope', 'rad']],
};
const YES_NO = ['UseLRFD', 'ComputeKmatrix', 'UseTipShear', 'UseSoilMovement', 'UsePYModifiers',
  'ComputeEIOnly', 'PrintSummaryOnly', 'PrintPYCurves', 'ComputeInteraction'];
const OPTION_UNITS = { ExcessDeflection: 'deflection', Tolerance: 'tolerance' };

// ---- the deck as lines and items ------------------------------------------------------------
export function tokens(line) {
  const out = [];
  const re = /[^\s,]+/g;
  let m;
  while ((m = re.exec(line)) !== null) out.push({ text: m[0], start: m.index, end: m.index + m[0].length });
  return out;
}

export function splitBlocks(lines) {
  const blocks = [];
  lines.forEach((line, i) => {
    const key = line.replace(/\s+$/, '');
    if (i > 0 && KEYWORDS.includes(key)) {
      if (blocks.length) blocks[blocks.length - 1].end = i;
      blocks.push({ keyword: key, start: i, end: lines.length });
    }
  });
  return blocks;
}

function unitSystem(lines) {
  const line = lines.find((l) => l.startsWith('Units '));
  const u = line ? line.split(/\s+/)[1] : 'USCS';
  return u === 'SI' ? 1 : u === 'GENERAL' ? 2 : 0;
}

// ---- building the forms ------------------------------------------------------------------------
export class DeckForms {
  constructor(root, { getText, setText }) {
    this.root = root;
    this.getText = getText;
    this.setText = setText;
  }

  render() {
    const lines = this.getText().split('\n');
    this.lines = lines;
    this.system = unitSystem(lines);
    this.fields = [];
    this.root.innerHTML = '';
    if (!lines[0] || !lines[0].startsWith('ZARNOK6')) {
      this.root.innerHTML = '<p>Open a deck or choose an example: its blocks appear here as forms.</p>';
      return;
    }
    for (const block of splitBlocks(lines)) {
      const fs = this.fieldset(block.keyword);
      fs.dataset.block = block.keyword;
      const body = { TITLE: this.title, OPTIONS: this.options, SECTIONS: this.sectionsBlock, 'SOIL LAYERS': this.soil, LOADING: this.loading,
        'DEPTHS OF PRINTED P-Y CURVES': this.printed }[block.keyword];
      if (block.keyword === 'END') continue;
      try {
        if (body) body.call(this, fs, block);
        else this.raw(fs, block);
      } catch {
        fs.innerHTML = `<legend>${block.keyword}</legend>`;
        this.raw(fs, block);
      }
      this.root.append(fs);
    }
  }

  fieldset(title) {
    const fs = document.createElement('fieldset');
    fs.innerHTML = `<legend>${title}</legend>`;
    return fs;
  }

  unit(kind) {
    return kind ? UNITS[kind][this.system] : '';
  }

  // One field: item `index` of deck line `line` (0-based).
  field(parent, line, index, label, kind = 'none', choices = null, onEdit = null) {
    const item = tokens(this.lines[line] || '')[index];
    const row = document.createElement('div');
    row.className = 'row';
    row.dataset.line = String(line + 1);
    const id = `f${this.fields.length}`;
    const input = document.createElement(choices ? 'select' : 'input');
    input.id = id;
    if (choices) {
      for (const [value, text] of choices) input.append(new Option(text, value));
      if (item && !choices.some(([v]) => v === item.text)) input.append(new Option(item.text, item.text));
    }
    input.value = item ? item.text : '';
    input.dataset.line = String(line);
    input.dataset.index = String(index);
    const lab = document.createElement('label');
    lab.htmlFor = id;
    lab.textContent = label;
    const unit = document.createElement('span');
    unit.className = 'unit';
    unit.textContent = this.unit(kind);
    row.append(lab, input, unit);
    parent.append(row);
    input.addEventListener(choices ? 'change' : 'input', onEdit || (() => this.edit(input, !!choices)));
    this.fields.push({ input, row, line: line + 1, label });
    return input;
  }

  textLine(parent, line, label) {
    const row = document.createElement('div');
    row.className = 'row';
    row.dataset.line = String(line + 1);
    row.style.gridTemplateColumns = '90px 1fr';
    const input = document.createElement('input');
    input.value = this.lines[line] || '';
    input.dataset.line = String(line);
    const lab = document.createElement('label');
    lab.textContent = label;
    row.append(lab, input);
    parent.append(row);
    input.addEventListener('input', () => this.replaceLine(line, input.value, false));
    this.fields.push({ input, row, line: line + 1, label });
  }

  // Writes an edited item back into its line of the deck.
  edit(input, structural) {
    const line = Number(input.dataset.line);
    const index = Number(input.dataset.index);
    const text = this.lines[line];
    const item = tokens(text)[index];
    const value = input.value.trim().replace(/[\s,]+/g, '') || '0';
    const next = item ? text.slice(0, item.start) + value + text.slice(item.end) : `${text}  ${value}`;
    this.replaceLine(line, next, structural);
  }

  replaceLine(line, text, structural) {
    this.lines[line] = text;
    this.setText(this.lines.join('\n'));
    if (structural) this.render();
  }

  title(fs, block) {
    for (let i = block.start + 1; i < block.end; i++) this.textLine(fs, i, `line ${i - block.start}`);
  }

  options(fs, block) {
    for (let i = block.start + 1; i < block.end; i++) {
      const t = tokens(this.lines[i]);
      if (t.length === 0) continue;
      const key = t[0].text;
      if (key === 'Units') this.field(fs, i, 1, 'Units', 'none', [['USCS', 'USCS (lb, in, ft)'], ['SI', 'SI (kN, m)'], ['GENERAL', 'general (F, L)']]);
      else if (YES_NO.includes(key)) this.field(fs, i, 1, key, 'none', [['YES', 'yes'], ['NO', 'no']]);
      else if (key === 'Loading') this.loadingOption(fs, i);
      else if (t.length >= 2) this.field(fs, i, 1, key, OPTION_UNITS[key] || 'none');
      else this.textLine(fs, i, key);
    }
  }

  // "Loading STATIC     0": the kind in columns 9-14 and the cycles in columns 15-20.
  loadingOption(fs, line) {
    const text = this.lines[line];
    const update = () => this.replaceLine(line, `Loading ${kind.value.padEnd(6)}${cycles.value.trim().padStart(6)}`, false);
    const kind = this.field(fs, line, 1, 'Loading', 'none', [['STATIC', 'static'], ['CYCLIC', 'cyclic']], update);
    const cycles = this.field(fs, line, 2, 'number of cycles', 'none', null, update);
    kind.value = text.slice(8, 14).trim() || 'STATIC';
    cycles.value = text.slice(14, 20).trim() || '0';
  }

  soil(fs, block) {
    const wrap = document.createElement('div');
    wrap.className = 'profile-wrap';
    const forms = document.createElement('div');
    wrap.append(forms);
    fs.append(wrap);
    let i = block.start + 1;
    this.field(forms, i, 0, 'number of soil layers');
    const count = Number(tokens(this.lines[i])[0]?.text);
    i++;
    const layers = [];
    for (let n = 1; n <= count && i < block.end; n++) {
      const head = tokens(this.lines[i]);
      const code = Number(head[0]?.text);
      const box = document.createElement('div');
      box.className = 'entity';
      box.dataset.layer = String(n);
      box.innerHTML = `<h4>Layer ${n}</h4>`;
      forms.append(box);
      const types = Object.entries(PY_TYPES).map(([c, d]) => [c, `${c}: ${d[0]}`]);
      this.field(box, i, 0, 'p-y type', 'none', types);
      this.field(box, i, 1, 'depth of the top', 'depth');
      this.field(box, i, 2, 'depth of the bottom', 'depth');
      layers.push({ code, top: Number(head[1]?.text), bottom: Number(head[2]?.text) });
      if (code === 14 || !PY_TYPES[code]) {
        // User curves: their point lines follow the layer line, edited as text.
        let j = i + 1;
        while (j < block.end && !(tokens(this.lines[j]).length === 3 && n < count && j > i + 2 && isLayerLine(this.lines[j]))) j++;
        for (let k = i + 1; k < j; k++) this.textLine(box, k, `line ${k + 1}`);
        i = j;
        continue;
      }
      const params = [['effective unit weight', 'gamma'], ...PY_TYPES[code].slice(1)];
      for (const [where, line] of [['top', i + 1], ['bottom', i + 2]]) {
        params.forEach(([name, kind], index) => this.field(box, line, index, `${name} at the ${where}`, kind));
      }
      i += 3;
    }
    this.layers = layers;
    wrap.append(this.profile(layers, null));
  }

  // The profile as typed; the pile is drawn once its length is known from the deck as the
  // engine's reader reads it (the sum of the section lengths).
  profile(layers, pile) {
    const ns = 'http://www.w3.org/2000/svg';
    const svg = document.createElementNS(ns, 'svg');
    svg.classList.add('profile');
    svg.setAttribute('viewBox', '0 0 150 400');
    const bottom = Math.max(pile || 0, ...layers.map((l) => l.bottom).filter(Number.isFinite), 1);
    const y = (d) => 10 + (380 * d) / bottom;
    let html = '';
    let above = null;
    for (const [k, l] of layers.entries()) {
      if (!Number.isFinite(l.top) || !Number.isFinite(l.bottom)) continue;
      const name = PY_TYPES[l.code] ? PY_TYPES[l.code][0] : `type ${l.code}`;
      // A gap or an overlap between layers as typed: the analysis moves this layer's top to
      // the bottom of the layer above (warning -717), so the drawing marks where it differs.
      if (above && Math.abs(l.top - above.bottom) > 1e-6) {
        const a = Math.min(l.top, above.bottom);
        const b = Math.max(l.top, above.bottom);
        const what = l.top > above.bottom ? 'gap' : 'overlap';
        html += `<rect class="layer-gap" data-layer="${k + 1}" x="0" y="${y(a)}" width="150" height="${Math.max(2, y(b) - y(a))}" fill="none" stroke="#c00" stroke-dasharray="4 2"><title>${what} of ${+(b - a).toPrecision(6)} ${this.unit('depth')} above layer ${k + 1}: the analysis starts layer ${k + 1} at ${above.bottom} ${this.unit('depth')}</title></rect>`;
        html += `<text x="120" y="${y(a) + 10}" fill="#c00">${what}</text>`;
      }
      above = l;
      html += `<rect x="0" y="${y(l.top)}" width="150" height="${Math.max(1, y(l.bottom) - y(l.top))}" fill="${PY_COLOURS[l.code] || '#ddd'}" stroke="#667"><title>${name}</title></rect>`;
      html += `<text x="4" y="${y(l.top) + 12}">${name}</text><text x="4" y="${y(l.bottom) - 3}">${l.bottom} ${this.unit('depth')}</text>`;
    }
    if (pile) html += `<rect x="98" y="${y(0) - 8}" width="12" height="${y(pile) - y(0) + 8}" fill="#555" opacity="0.85"><title>pile, ${pile} ${this.unit('depth')}</title></rect>`;
    svg.innerHTML = html;
    return svg;
  }


  loading(fs, block) {
    let i = block.start + 1;
    this.field(fs, i, 0, 'number of pile-head loads');
    const count = Number(tokens(this.lines[i])[0]?.text);
    i++;
    for (let n = 1; n <= count && i < block.end; n++, i++) {
      const t = tokens(this.lines[i]);
      const type = Number(t[1]?.text);
      const def = LOAD_TYPES[type] || ['?', ['condition 1', 'none'], ['condition 2', 'none']];
      const box = document.createElement('div');
      box.className = 'entity';
      box.dataset.load = String(n);
      box.innerHTML = `<h4>Load ${n}</h4>`;
      fs.append(box);
      this.field(box, i, 1, 'pile-head condition', 'none', Object.entries(LOAD_TYPES).map(([c, d]) => [c, `${c}: ${d[0]}`]));
      this.field(box, i, 2, def[1][0], def[1][1]);
      this.field(box, i, 3, def[2][0], def[2][1]);
      this.field(box, i, 4, 'axial thrust', 'force');
      this.field(box, i, 5, 'length sweep (1 = none)');
    }
    if (i < block.end) {
      this.field(fs, i, 0, 'number of distributed load points');
      const points = Number(tokens(this.lines[i])[0]?.text);
      i++;
      for (let n = 1; n <= points && i < block.end; n++, i++) {
        this.field(fs, i, 1, `depth of point ${n}`, 'distdepth');
        this.field(fs, i, 2, `load of point ${n}`, 'distload');
      }
    }
  }

  printed(fs, block) {
    let i = block.start + 1;
    this.field(fs, i, 0, 'number of depths');
    const count = Number(tokens(this.lines[i])[0]?.text);
    for (let n = 1; n <= count && i + n < block.end; n++) this.field(fs, i + n, 1, `depth ${n}`, 'depth');
  }

  // Sections are many types with fields of their own: their form comes from the deck as the
  // engine's reader reads it, and edits are written back by the engine's deck writer. Until
  // then, or when the deck cannot be read, the block is edited line by line.
  sectionsBlock(fs, block) {
    this.raw(fs, block);
    if (this.sections) {
      const done = this.sections.fill(fs, this.lines.join('\n'), this.system).catch(() => false);
      done.then((filled) => {
        fs.dataset.filled = filled ? 'engine' : 'lines';
        // Messages placed before the section fields existed are placed again beside them.
        if (!filled || !fs.isConnected) return;
        const length = this.sections.deck.sections.reduce((sum, s) => sum + (Number(s.section_length) || 0), 0);
        const drawn = this.root.querySelector('svg.profile');
        if (drawn && this.layers && length > 0) drawn.replaceWith(this.profile(this.layers, length));
        this.replaceMessages();
      });
    }
  }

  raw(fs, block) {
    const note = document.createElement('p');
    note.className = 'unit';
    note.textContent = 'Edited line by line here (items as in the input reference).';
    fs.append(note);
    for (let i = block.start + 1; i < block.end; i++) this.textLine(fs, i, `line ${i + 1}`);
  }

  replaceMessages() {
    if (this.shownError) this.showError(...this.shownError);
    if (this.shownWarnings) this.showWarnings(this.shownWarnings);
  }

  // Shows an engine message beside the field of its line; returns whether a field was found.
  showError(line, text) {
    this.shownError = line || text ? [line, text] : null;
    for (const el of this.root.querySelectorAll('.row.has-error')) el.classList.remove('has-error');
    for (const el of this.root.querySelectorAll('.row > .field-error, .entity-error')) el.remove();
    if (!line) return this.showUnplacedError(text);
    const candidates = this.fields.filter((f) => f.line === line);
    if (candidates.length === 0) return false;
    const found = /but found "([^"]*)"/.exec(text);
    const lower = text.toLowerCase();
    const field = candidates.find((f) => found && f.input.value === found[1]) ||
      candidates.find((f) => lower.includes(f.label.toLowerCase().replace(/ at the (top|bottom)$/, ''))) ||
      candidates[0];
    this.markField(field, text);
    return true;
  }

  // Marks a form field as the place of an engine message and shows the message beside it.
  markField(field, text) {
    field.row.classList.add('has-error');
    const box = document.createElement('div');
    box.className = 'field-error';
    box.textContent = text;
    field.row.append(box);
    field.row.scrollIntoView({ block: 'center' });
  }

  // Messages of the checks made after reading name a layer, section or load, or a soil
  // parameter that is zero or negative, rather than a line: the message goes beside the field
  // of that parameter (in that layer when it is named), else beside the entity's heading.
  showUnplacedError(text) {
    // A message that names several places (a load case that exceeds a section's capacity)
    // belongs to the one it names first: that is what its problem is about.
    const names = [
      [/soil layer (\d+)/i.exec(text), 'layer'],
      [/\bsection (\d+)/i.exec(text), 'section'],
      [/(?:pile-head load|load case) (\d+)/i.exec(text), 'load'],
    ].filter(([m]) => m).sort(([a], [b]) => a.index - b.index);
    const [first, kind] = names[0] || [null, null];
    const layer = kind === 'layer' ? first[1] : undefined;
    const section = kind === 'section' ? first[1] : undefined;
    const load = kind === 'load' ? first[1] : undefined;
    const scope = layer ? `[data-layer="${layer}"]` : section ? `[data-section="${section}"]` : load ? `[data-load="${load}"]` : null;
    const inScope = (f) => !scope || f.row.closest(scope);
    const lower = text.toLowerCase().replace(/\s+/g, ' ');
    const named = this.fields.filter((f) => {
      const base = f.label.toLowerCase().replace(/ at the (top|bottom)$/, '');
      return inScope(f) && base.length > 3 && lower.includes(base);
    });
    const notPositive = named.filter((f) => Number(f.input.value) <= 0);
    const field = notPositive[0] || named[0];
    if (field) {
      this.markField(field, text);
      return true;
    }
    const entity = scope && this.root.querySelector(scope);
    if (!entity) return false;
    // Section fields come from the engine's reader and are found by the name the message gives.
    const row = section && rowNamedIn(entity, text);
    if (row) {
      this.markField({ row }, text);
      return true;
    }
    const box = document.createElement('div');
    box.className = 'field-error entity-error';
    box.textContent = text;
    entity.querySelector('h4').after(box);
    entity.scrollIntoView({ block: 'center' });
    return true;
  }

  // Recorded warnings that concern one place of the deck go beside it, as errors do, but
  // marked as warnings: a line ("at line 45" — beside the last field of that line, after
  // which left-over values stand, or at the head of its block when the line has no field of
  // its own), a layer gap or overlap (beside the top of the lower layer), a layer, section or
  // load case (beside the field the message names or whose value it quotes, else at the
  // head of that entity). Each code's general text stays in the run's list of warnings only.
  showWarnings(warnings) {
    this.shownWarnings = warnings;
    for (const el of this.root.querySelectorAll('.field-warning')) el.remove();
    for (const el of this.root.querySelectorAll('.has-warning')) el.classList.remove('has-warning');
    let placed = 0;
    for (const w of warnings || []) {
      const text = w.text.join(' ').replace(/\s+/g, ' ').trim();
      if (!text || text.startsWith('*')) continue;
      const place = this.warningPlace(text);
      if (!place) continue;
      const box = document.createElement('div');
      box.className = 'field-warning';
      box.dataset.code = String(w.code);
      box.textContent = `Warning ${w.code}: ${text}`;
      if (place.row) {
        place.row.classList.add('has-warning');
        place.row.append(box);
      } else {
        place.head.after(box);
      }
      if (placed++ === 0 && !this.root.querySelector('.has-error, .entity-error')) box.scrollIntoView({ block: 'center' });
    }
    return placed;
  }

  warningPlace(text) {
    const line = Number(/(?:\bat line|^Line) (\d+) of the input file/.exec(text)?.[1]);
    if (line) {
      const onLine = this.fields.filter((f) => f.line === line && f.row.isConnected);
      if (onLine.length) return { row: onLine[onLine.length - 1].row };
      const block = splitBlocks(this.lines).find((b) => line - 1 > b.start && line - 1 < b.end);
      const fs = block && this.root.querySelector(`fieldset[data-block="${block.keyword}"]`);
      return fs ? { head: fs.querySelector('legend') } : null;
    }
    const lower = /\blayer (\d+) starts at/.exec(text)?.[1];
    if (lower) {
      const row = this.root.querySelector(`[data-layer="${lower}"] .row:nth-of-type(2)`);
      if (row) return { row };
    }
    const scopes = [[/^SOIL LAYERS, layer (\d+)/, 'layer'], [/^Pile section (\d+)/, 'section'], [/^Load case (\d+)/, 'load']];
    const [, number, kind] = scopes.map(([re, k]) => [...(re.exec(text) || []), k]).find((m) => m.length === 3) || [];
    const entity = number && this.root.querySelector(`[data-${kind}="${number}"]`);
    if (!entity) return null;
    // A load case's warning concerns the solution of that case, not one of its fields.
    const row = kind !== 'load' && rowNamedIn(entity, text);
    return row ? { row } : { head: entity.querySelector('h4') };
  }
}

// The row of an entity that a message concerns: the row whose field name the message gives
// and that holds the value it quotes ("of 29000 psi"); else the row holding that value (the
// message may name the quantity otherwise: "undrained shear strength" for the cohesion);
// else the row of the longest name it gives ("elastic modulus of casing or pipe" wins over
// "elastic modulus").
function rowNamedIn(entity, text) {
  const lower = text.toLowerCase();
  const quoted = /\bof (-?\d[\d.]*(?:[eE][-+]?\d+)?) /.exec(text);
  const value = quoted ? Number(quoted[1]) : NaN;
  const rows = [...entity.querySelectorAll('.row')].map((row) => ({
    row,
    name: (row.querySelector('label')?.textContent || '').toLowerCase().replace(/ at the (top|bottom)$/, ''),
    value: Number(row.querySelector('input, select')?.value),
  }));
  const holds = (r) => Number.isFinite(value) && r.value === value;
  const named = rows.filter((r) => r.name.length > 3 && lower.includes(r.name));
  const longest = Math.max(0, ...named.map((r) => r.name.length));
  const best = named.filter((r) => r.name.length === longest);
  return (named.find(holds) || rows.find(holds) || best[0])?.row || null;
}

function isLayerLine(line) {
  const t = tokens(line);
  return t.length === 3 && Number.isInteger(Number(t[0].text)) && PY_TYPES[Number(t[0].text)] !== undefined;
}

// ---- sections, from the deck as the engine's reader reads it -----------------------------------
const SECTION_TYPES = {
  0: 'rectangular reinforced concrete', 1: 'drilled shaft', 2: 'cased drilled shaft',
  3: 'cased shaft, filled core', '-3': 'cased shaft, void core', 4: 'steel pipe',
  5: 'circular prestressed', 6: 'circular prestressed, hollow', 7: 'square prestressed',
  8: 'square prestressed, hollow', 9: 'octagonal prestressed', 10: 'octagonal prestressed, hollow',
  11: 'elastic', 12: 'elastic with moment capacity', 13: 'moment versus EI', '-13': 'moment versus curvature',
  14: 'micropile',
};

// Unit of a field from its description in the deck schema ("... in | mm | L").
function schemaUnit(description, system) {
  const m = /([^;:(]*?\S+) \| (\S+) \| ([^);]+)\)?\s*$/.exec(description || '');
  if (!m) return '';
  return [m[1].trim().split(/[ ,]/).pop(), m[2], m[3]][system];
}

// Section types a field belongs to, from its description ("types 2, 3, 4", "type 3",
// "types 7 to 10"); null when it does not say.
function fieldTypes(description) {
  const m = /\btypes? ([-\d ,]+(?:to \d+)?)/.exec(description || '');
  if (!m) return null;
  const range = /(\d+) to (\d+)/.exec(m[1]);
  if (range) {
    const out = [];
    for (let t = Number(range[1]); t <= Number(range[2]); t++) out.push(t);
    return out;
  }
  return m[1].split(/[ ,]+/).filter(Boolean).map(Number);
}

export class SectionForms {
  // engine: {read(text), write(json)}; onText(text): the deck text written from the forms.
  constructor({ engine, schema, onText }) {
    this.engine = engine;
    this.schema = schema;
    this.onText = onText;
  }

  async fill(fs, text, system) {
    const { value } = await this.engine.read(text, 'deck');
    if (!value.deck) return false;
    this.deck = value.deck;
    this.system = system;
    const defs = (await this.schema).$defs;
    fs.querySelectorAll('.row, .entity, p').forEach((el) => el.remove());
    this.deck.sections.forEach((section, k) => {
      const box = document.createElement('div');
      box.className = 'entity';
      box.dataset.section = String(k + 1);
      box.innerHTML = `<h4>Section ${k + 1}</h4>`;
      fs.append(box);
      this.typeRow(box, section, defs.section);
      for (const [name, prop] of Object.entries(defs.section.properties)) {
        if (name === 'section_type_code' || !(name in section)) continue;
        if (typeof section[name] === 'number') this.numberRow(box, section, name, prop.description, [`/sections/${k}/${name}`]);
      }
      for (const part of ['concrete', 'rebar', 'strands']) {
        if (!section[part] || typeof section[part] !== 'object') continue;
        const sub = document.createElement('div');
        sub.className = 'unit';
        sub.textContent = part;
        box.append(sub);
        for (const [name, prop] of Object.entries(defs[part].properties)) {
          if (typeof section[part][name] === 'number') this.numberRow(box, section[part], name, prop.description, [`/sections/${k}/${part}/${name}`]);
        }
      }
    });
    return true;
  }

  typeRow(box, section, def) {
    const row = document.createElement('div');
    row.className = 'row';
    const select = document.createElement('select');
    for (const [code, name] of Object.entries(SECTION_TYPES)) select.append(new Option(`${code}: ${name}`, code));
    select.value = String(section.section_type_code);
    const label = document.createElement('label');
    label.textContent = 'section type';
    row.append(label, select, document.createElement('span'));
    box.append(row);
    select.addEventListener('change', () => {
      const type = Number(select.value);
      section.section_type_code = type;
      // Fields of the new type start at zero for the user to fill; fields of other types go.
      for (const [name, prop] of Object.entries(def.properties)) {
        const types = fieldTypes(prop.description);
        if (!types || prop.type !== 'number') continue;
        if (types.includes(Math.abs(type)) && !(name in section)) section[name] = 0;
        if (!types.includes(Math.abs(type)) && name in section) delete section[name];
      }
      this.write(row);
    });
  }

  numberRow(box, owner, name, description, path) {
    const row = document.createElement('div');
    row.className = 'row';
    row.dataset.path = path[0];
    const input = document.createElement('input');
    input.value = String(owner[name]);
    const label = document.createElement('label');
    label.textContent = name.replace(/_/g, ' ');
    const unit = document.createElement('span');
    unit.className = 'unit';
    unit.textContent = schemaUnit(description, this.system);
    row.append(label, input, unit);
    box.append(row);
    input.addEventListener('change', () => {
      const v = Number(input.value);
      if (input.value.trim() === '' || !Number.isFinite(v)) {
        showRowError(row, `Give a number for the ${label.textContent}.`);
        return;
      }
      owner[name] = v;
      this.write(row);
    });
  }

  async write(row) {
    const { value } = await this.engine.write(this.deck);
    if (!value.ok) {
      showRowError(row, `The deck cannot be written: ${value.error}`);
      return;
    }
    this.onText(value.text);
  }
}

function showRowError(row, text) {
  row.classList.add('has-error');
  row.querySelector('.field-error')?.remove();
  const box = document.createElement('div');
  box.className = 'field-error';
  box.textContent = text;
  row.append(box);
}
