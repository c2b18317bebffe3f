// Plots of a run's results with Plotly: response against depth (depth downwards, one trace per
// load case, values on hover) and the curves of the run (p-y, moment-curvature, EI, head
// stiffness, pile-length sweep).
const config = { responsive: true, displaylogo: false, modeBarButtonsToRemove: ['select2d', 'lasso2d'] };
const margin = { l: 55, r: 10, t: 34, b: 42 };

function plotInto(container, key, traces, { displayModeBar = 'hover', ...layout }) {
  let div = container.querySelector(`[data-plot="${key}"]`);
  if (!div) {
    div = document.createElement('div');
    div.dataset.plot = key;
    container.append(div);
  }
  return Plotly.react(div, traces, { margin, font: { size: 11 }, showlegend: true,
    legend: { orientation: 'h', y: -0.12 }, hovermode: 'closest', ...layout }, { ...config, displayModeBar });
}

export function drawResponsePlots(container, r) {
  const u = r.units;
  if (r.load_cases.length === 0) {
    container.innerHTML = '<p>No load cases in this run.</p>';
    return;
  }
  if (container.querySelector('p')) container.innerHTML = '';
  const quantities = [
    ['deflection', 'Deflection', u.length],
    ['slope', 'Slope', u.slope],
    ['moment', 'Bending moment', u.moment],
    ['shear', 'Shear', u.force],
    ['soil_reaction', 'Soil reaction', u.force_per_length],
  ];
  // Runs with monopile (PISA) layers also give the distributed moment on the pile.
  if (r.load_cases.some((c) => c.nodes.length > 0 && 'distributed_moment' in c.nodes[0])) {
    quantities.push(['distributed_moment', 'Distributed moment', `${u.moment}/${u.length}`]);
  }
  for (const [key, title, unit] of quantities) {
    const traces = r.load_cases.map((c) => ({
      x: c.nodes.map((n) => n[key]),
      y: c.nodes.map((n) => n.depth),
      name: `case ${c.number}`,
      mode: 'lines',
      hovertemplate: `${title} %{x:.4g} ${unit}<br>depth %{y:.4g} ${u.length}<extra>case ${c.number}</extra>`,
    }));
    plotInto(container, key, traces, {
      title: { text: `${title} (${unit})`, font: { size: 13 } },
      displayModeBar: false,
      xaxis: { zeroline: true, zerolinecolor: '#888' },
      yaxis: { autorange: 'reversed', title: { text: `depth (${u.length})` } },
    });
  }
}

export function drawCurvePlots(container, r) {
  const u = r.units;
  container.innerHTML = '';
  let drawn = 0;
  if (r.py_curves.length > 0) {
    plotInto(container, 'py', r.py_curves.map((c) => ({
      x: c.points.map((p) => p.y), y: c.points.map((p) => p.p), mode: 'lines',
      name: `${formatDepth(c.depth)} ${u.length} (${c.soil.trim()})`,
    })), {
      title: { text: 'p-y curves at the printed depths', font: { size: 13 } },
      xaxis: { title: { text: `y (${u.length})` } },
      yaxis: { title: { text: `p (${u.force_per_length})` } },
    });
    drawn++;
  }
  if (r.section_curves.length > 0) {
    const cu = r.section_curves[0].units;
    const label = (c) => `section ${c.section}, thrust ${formatDepth(c.axial_thrust)} ${cu.thrust}`;
    plotInto(container, 'mphi', r.section_curves.map((c) => ({
      x: c.points.map((p) => p.curvature), y: c.points.map((p) => p.moment), mode: 'lines', name: label(c),
    })), {
      title: { text: 'Moment against curvature', font: { size: 13 } },
      xaxis: { title: { text: `curvature (${cu.curvature})` } },
      yaxis: { title: { text: `moment (${cu.moment})` } },
    });
    plotInto(container, 'ei', r.section_curves.map((c) => ({
      x: c.points.map((p) => p.moment), y: c.points.map((p) => p.bending_stiffness), mode: 'lines', name: label(c),
    })), {
      title: { text: 'Bending stiffness EI against moment', font: { size: 13 } },
      xaxis: { title: { text: `moment (${cu.moment})` } },
      yaxis: { title: { text: `EI (${cu.bending_stiffness})` } },
    });
    drawn += 2;
  }
  if (r.head_stiffness.length > 0) {
    const h = r.head_stiffness;
    const x = h.map((row) => row.shear);
    plotInto(container, 'kmatrix', [
      { x, y: h.map((row) => row.k22), name: 'K22 (shear/deflection)', mode: 'lines+markers' },
      { x, y: h.map((row) => row.k33), name: 'K33 (moment/rotation)', mode: 'lines+markers', yaxis: 'y2' },
    ], {
      title: { text: 'Pile-head stiffness against head shear', font: { size: 13 } },
      xaxis: { title: { text: `head shear (${u.force})` } },
      yaxis: { title: { text: `K22 (${u.force}/${u.length})` }, rangemode: 'tozero' },
      yaxis2: { title: { text: `K33 (${u.rotational_stiffness})` }, overlaying: 'y', side: 'right', rangemode: 'tozero' },
    });
    drawn++;
  }
  if (r.length_sweeps.length > 0) {
    plotInto(container, 'length', r.length_sweeps.map((s) => ({
      x: s.points.map((p) => p.pile_length), y: s.points.map((p) => p.head_deflection),
      mode: 'lines+markers', name: `case ${s.load_case}`,
    })), {
      title: { text: 'Pile-head deflection against pile length', font: { size: 13 } },
      xaxis: { title: { text: `pile length (${u.length})` } },
      yaxis: { title: { text: `head deflection (${u.length})` } },
    });
    drawn++;
  }
  if (drawn === 0) container.innerHTML = '<p>This run printed no p-y curves, moment-curvature tables, head stiffness or length sweep.</p>';
}

function formatDepth(v) {
  return String(Number(v.toPrecision(5)));
}
