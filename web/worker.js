// The engine's worker: loads the WebAssembly engine once and runs analyses on request, so
// that the page never waits on a run. Messages in: {id, op: 'run', deck, name}.
// Messages out: {op: 'ready', ms} once, then {id, ok: true, value, ms} or {id, ok: false, error}.
import createZarnoEngine from './zarno_engine.mjs';

const started = performance.now();
let engine = null;
const queue = [];

// WebAssembly functions are compiled on their first call and optimised later, which makes a
// first analysis several times slower than the next. One run of the shipped pipe example,
// whose results are discarded, does that work right after the engine is announced ready.
async function warmUp(module) {
  try {
    const response = await fetch(new URL('./examples/pipe_pile.inp', import.meta.url));
    if (response.ok) module.runDeck(await response.text(), 'warm-up');
  } catch {
    // Without the example the first run simply takes longer.
  }
}

createZarnoEngine({ print: () => {}, printErr: () => {} }).then(
  async (module) => {
    self.postMessage({ op: 'ready', ms: performance.now() - started });
    await warmUp(module); // requests wait in the queue meanwhile
    engine = module;
    while (queue.length > 0) handle(queue.shift());
  },
  (err) => self.postMessage({ op: 'failed', error: String(err) }),
);

function handle(request) {
  const t0 = performance.now();
  try {
    let value;
    if (request.op === 'run') {
      const text = engine.runDeck(request.deck, request.name || 'deck');
      const t1 = performance.now();
      value = JSON.parse(text);
      value.timing = { engine_ms: t1 - t0, parse_ms: performance.now() - t1 };
    } else if (request.op === 'read') {
      value = JSON.parse(engine.readDeck(request.deck, request.name || 'deck'));
    } else if (request.op === 'write') {
      value = JSON.parse(engine.writeDeck(JSON.stringify(request.json)));
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
