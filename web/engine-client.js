// The page's side of the engine worker: one request at a time is answered in order, a
// request that takes too long or crashes the engine ends that worker and a fresh one is
// started, so no input can freeze the page.
export class EngineClient {
  constructor({ timeoutMs = 30000, onReady = () => {} } = {}) {
    this.timeoutMs = timeoutMs;
    this.onReady = onReady;
    this.nextId = 1;
    this.pending = new Map();
    this.readyMs = null;
    this.start();
  }

  start() {
    this.worker = new Worker(new URL('./worker.js', import.meta.url), { type: 'module' });
    this.ready = new Promise((resolve, reject) => {
      this.worker.onmessage = (event) => {
        const msg = event.data;
        if (msg.op === 'ready') {
          this.readyMs = msg.ms;
          this.onReady(msg.ms);
          resolve();
          return;
        }
        if (msg.op === 'failed') {
          reject(new Error(`The engine could not be loaded: ${msg.error}`));
          return;
        }
        const entry = this.pending.get(msg.id);
        if (!entry) return;
        this.pending.delete(msg.id);
        clearTimeout(entry.timer);
        if (msg.ok) entry.resolve({ value: msg.value, ms: msg.ms });
        else entry.reject(new Error(msg.error));
        if (msg.fatal) this.restart();
      };
      this.worker.onerror = (event) => {
        event.preventDefault();
        const error = new Error(`The engine stopped: ${event.message || 'unknown failure'}`);
        reject(error);
        this.failAll(error);
        this.restart();
      };
    });
    this.ready.catch(() => {});
  }

  restart() {
    this.worker.terminate();
    this.start();
  }

  failAll(error) {
    for (const entry of this.pending.values()) {
      clearTimeout(entry.timer);
      entry.reject(error);
    }
    this.pending.clear();
  }

  request(message) {
    const id = this.nextId++;
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => {
        this.pending.delete(id);
        reject(new Error(`The engine did not answer within ${this.timeoutMs / 1000} s; it was stopped and restarted.`));
        this.failAll(new Error('The engine was restarted.'));
        this.restart();
      }, this.timeoutMs);
      this.pending.set(id, { resolve, reject, timer });
      this.worker.postMessage({ id, ...message });
    });
  }

  run(deck, name) {
    return this.request({ op: 'run', deck, name });
  }

  // The deck as data (docs/deck-schema.json) as the engine's reader reads it.
  read(deck, name) {
    return this.request({ op: 'read', deck, name });
  }

  // Deck text written by the engine from the deck as data.
  write(json) {
    return this.request({ op: 'write', json });
  }
}
