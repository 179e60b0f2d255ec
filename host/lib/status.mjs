// One version of the status file as the host describes it: the state and the
// optional details the dialog shows. Checked in full before anything is written,
// so a mistake in the host shows up at the call that made it.

/** The keys a caller may give, in the order they are written. */
const statusKeys = ["state", "latest", "message", "downloaded", "total", "progress"];

const isPlainObject = (value) =>
  value !== null && typeof value === "object" && !Array.isArray(value) && !(value instanceof Date);

const describe = (value) => (value === null ? "null" : Array.isArray(value) ? "an array" : typeof value);

function requireText(status, key) {
  const value = status[key];
  if (typeof value !== "string") {
    throw new TypeError(`status.${key} must be a string, not ${describe(value)}`);
  }
  return value;
}

// Byte counts: whole, not negative, and small enough to be written exactly.
function requireByteCount(status, key) {
  const value = status[key];
  if (typeof value !== "number" || !Number.isSafeInteger(value)) {
    throw new TypeError(`status.${key} must be a whole number of bytes, not ${describe(value)} ${String(value)}`);
  }
  if (value < 0) throw new RangeError(`status.${key} must not be negative, got ${value}`);
  return value;
}

function requirePercent(status, key) {
  const value = status[key];
  if (typeof value !== "number" || !Number.isFinite(value)) {
    throw new TypeError(`status.${key} must be a finite number (percent), not ${describe(value)} ${String(value)}`);
  }
  return value;
}

const checks = {
  state: requireText,
  latest: requireText,
  message: requireText,
  downloaded: requireByteCount,
  total: requireByteCount,
  progress: requirePercent,
};

/**
 * Checks a status given to `UpdateDialog.show` and returns a fresh object with
 * only the keys the dialog reads, in a fixed order. A key whose value is
 * `undefined` counts as absent. Throws a `TypeError` (or a `RangeError` for a
 * negative byte count) that names the offending field.
 *
 * @param {unknown} status
 * @returns {import("../index.js").UpdateStatus}
 */
export function normalizeStatus(status) {
  if (!isPlainObject(status)) throw new TypeError(`status must be an object, not ${describe(status)}`);
  for (const key of Object.keys(status)) {
    if (!statusKeys.includes(key)) {
      const hint = key === "checkedAt" ? " (the time stamp is written by the module)" : "";
      throw new TypeError(`status.${key} is not a field of the status file${hint}`);
    }
  }
  if (status.state === undefined) throw new TypeError("status.state is required");
  const normalized = {};
  for (const key of statusKeys) {
    if (status[key] !== undefined) normalized[key] = checks[key](status, key);
  }
  return normalized;
}
