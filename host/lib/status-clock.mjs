// The time stamps of one dialog's status file. The dialog shows a version only
// when its `checkedAt` is at least the threshold it was started with; both are
// seconds since the epoch, with a fraction.

/**
 * Reads the wall clock once, for the threshold, and from then on advances by
 * the monotonic clock. Every time stamp is therefore at or above the threshold
 * and never smaller than the one before, even when the wall clock is stepped
 * back while the dialog is open (a time server correcting it, a user changing it).
 *
 * @param {{ wallClockMs?: () => number, monotonicMs?: () => number }} [clocks]
 *   the two clocks, replaceable for tests
 * @returns {{ threshold: number, next: () => number }}
 */
export function createStatusClock({ wallClockMs = Date.now, monotonicMs = () => performance.now() } = {}) {
  const threshold = wallClockMs() / 1000;
  const start = monotonicMs();
  let last = threshold;
  return {
    threshold,
    next() {
      // Adding a non-negative number never lowers a double, so the sum stays at
      // or above the threshold; the max guards against a monotonic clock that
      // is not (a replaced one in tests, a faulty platform).
      last = Math.max(last, threshold + Math.max(0, monotonicMs() - start) / 1000);
      return last;
    },
  };
}

/**
 * The threshold as the dialog's fourth argument. JavaScript prints the shortest
 * text that reads back as the same double, in plain decimal for times like
 * these, which the dialog reads exactly.
 *
 * @param {number} threshold
 * @returns {string}
 */
export const thresholdArgument = (threshold) => String(threshold);
