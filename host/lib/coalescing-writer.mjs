// Coalesces a stream of values into writes: at most one write starts in any
// interval, writes never overlap, and the last value offered is always the last
// one written. A host may report progress thousands of times a second; the
// dialog reads four times a second, so only the newest version matters.

/**
 * @template T
 */
export class CoalescingWriter {
  #write;
  #intervalMs;
  #now;
  #setTimer;
  #clearTimer;

  /** @type {{ value: T } | undefined} */
  #pending;
  /** @type {Promise<void> | undefined} */
  #inFlight;
  #timer;
  #lastStart = -Infinity;
  #stopped = false;
  /** @type {unknown} the error of the last write, when it failed */
  #lastError;
  /** @type {{ resolve: () => void, reject: (error: unknown) => void }[]} */
  #flushWaiters = [];

  /**
   * @param {(value: T) => Promise<void>} write writes one value
   * @param {{ intervalMs?: number, now?: () => number,
   *           setTimer?: (callback: () => void, ms: number) => unknown,
   *           clearTimer?: (timer: unknown) => void }} [options]
   *   the interval and the clock and timers, replaceable for tests
   */
  constructor(
    write,
    {
      intervalMs = 50,
      now = () => performance.now(),
      setTimer = (callback, ms) => setTimeout(callback, ms),
      clearTimer = (timer) => clearTimeout(timer),
    } = {},
  ) {
    this.#write = write;
    this.#intervalMs = intervalMs;
    this.#now = now;
    this.#setTimer = setTimer;
    this.#clearTimer = clearTimer;
  }

  /**
   * Makes `value` the next one to write, replacing any that waits.
   *
   * @param {T} value
   */
  offer(value) {
    if (this.#stopped) return;
    this.#pending = { value };
    this.#kick();
  }

  /**
   * Resolves once every value offered so far has been written (the newest
   * one, that is), or rejects with the error of the write that failed.
   *
   * @returns {Promise<void>}
   */
  flush() {
    if (this.#idle()) return this.#settledResult();
    return new Promise((resolve, reject) => this.#flushWaiters.push({ resolve, reject }));
  }

  /**
   * Starts no more writes, drops the value that waits and resolves once the
   * write in flight, if any, has ended.
   *
   * @returns {Promise<void>}
   */
  async stop() {
    this.#stopped = true;
    this.#pending = undefined;
    if (this.#timer !== undefined) this.#clearTimer(this.#timer);
    this.#timer = undefined;
    await this.#inFlight;
    this.#settleWaiters();
  }

  #idle() {
    return this.#pending === undefined && this.#inFlight === undefined;
  }

  #settledResult() {
    return this.#lastError === undefined ? Promise.resolve() : Promise.reject(this.#lastError);
  }

  #kick() {
    if (this.#stopped || this.#inFlight !== undefined || this.#timer !== undefined) return;
    if (this.#pending === undefined) {
      this.#settleWaiters();
      return;
    }
    const wait = this.#lastStart + this.#intervalMs - this.#now();
    if (wait > 0) {
      this.#timer = this.#setTimer(() => {
        this.#timer = undefined;
        this.#kick();
      }, wait);
      return;
    }
    const { value } = this.#pending;
    this.#pending = undefined;
    this.#lastStart = this.#now();
    this.#inFlight = this.#startWrite(value).then(
      () => {
        this.#lastError = undefined;
      },
      (error) => {
        // Not retried by itself: the next value offered is the next attempt.
        this.#lastError = error;
      },
    );
    this.#inFlight.then(() => {
      this.#inFlight = undefined;
      this.#kick();
    });
  }

  #startWrite(value) {
    try {
      return Promise.resolve(this.#write(value));
    } catch (error) {
      return Promise.reject(error);
    }
  }

  #settleWaiters() {
    if (!this.#idle() && !this.#stopped) return;
    const waiters = this.#flushWaiters;
    this.#flushWaiters = [];
    for (const { resolve, reject } of waiters) {
      if (this.#lastError === undefined) resolve();
      else reject(this.#lastError);
    }
  }
}
