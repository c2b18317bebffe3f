// The engine's worker: loads the WebAssembly engine once and runs analyses on request, so
// that the page never waits on a run. Messages in: {id, op: 'run', deck, name}.
// Messages out: {op: 'ready', ms} once, then {id, ok: true, value, ms} or {id, ok: false, error}.
import createZarnoEngine from './zarno_engine.mjs';

const started = performance.now();
let engine = null;
const queue = [];

createZarnoEngine({ print: () => {}, printErr: () => {} }).then(
  (module) => {
    engine = module;
    self.postMessage({ op: 'ready', ms: performance.now() - started });
    while (queue.length > 0) handle(queue.shift());
  },
  (err) => self.postMessage({ op: 'failed', error: String(err) }),
);

function handle(request) {
  const t0 = performance.now();
  try {
    let value;
    if (request.op === 'run') {
      value = JSON.parse(engine.runDeck(request.deck, request.name || 'deck'));
    } else {
      throw new Error(`unknown request ${request.op}`);
    }
    self.postMessage({ id: request.id, ok: true, value, ms: performance.now() - t0 });
  } catch (err) {
    // An abort inside the engine leaves the module unusable: report it and stop, so that
    // the page starts a fresh worker for the next request.
    self.postMessage({ id: request.id, ok: false, error: String(err && err.message || err), fatal: true });
    self.close();
  }
}

self.onmessage = (event) => {
  if (engine) handle(event.data);
  else queue.push(event.data);
};
