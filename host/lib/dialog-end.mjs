// What the end of a dialog process means for the host: an install the user
// confirmed, a dialog closed without one, or a failure with the evidence.

/** The whole of what the dialog writes on standard output when the user confirms. */
export const installRequest = '{"action":"install"}\n';

/** How much of standard error an error keeps (the end of it, where the cause usually is). */
export const stderrLimit = 64 * 1024;

/**
 * The dialog did not end with an answer: it could not be started, it failed,
 * or something ended it that the host did not ask for.
 */
export class UpdateDialogError extends Error {
  /**
   * @param {string} message
   * @param {{ exitCode?: number | null, signal?: NodeJS.Signals | null, stderr?: string, cause?: unknown }} details
   */
  constructor(message, { exitCode = null, signal = null, stderr = "", cause } = {}) {
    super(message, cause === undefined ? undefined : { cause });
    this.name = "UpdateDialogError";
    /** The dialog's exit status, or null when it did not exit by itself. */
    this.exitCode = exitCode;
    /** The signal that ended the dialog, or null. */
    this.signal = signal;
    /** What the dialog wrote on standard error (at most its last 64 KiB). */
    this.stderr = stderr;
  }
}

/**
 * The user confirmed the install, but the dialog could not deliver its
 * install request whole (standard output was a pipe nobody read any more, or
 * a full disk): it exited with status 1 and wrote nothing on standard error.
 * The install was asked for; whether to go ahead is the host's decision.
 */
export class InstallRequestUndeliveredError extends UpdateDialogError {
  /** @param {{ stderr?: string }} details */
  constructor({ stderr = "" } = {}) {
    super(
      "The user confirmed the install, but Tessary Update could not deliver its install request " +
        "(exit status 1: its standard output was not writable)",
      { exitCode: 1, stderr },
    );
    this.name = "InstallRequestUndeliveredError";
  }
}

// The last non-empty line of standard error, short enough for a message.
const stderrSummary = (stderr) => {
  const line = stderr
    .split("\n")
    .map((text) => text.trim())
    .filter(Boolean)
    .at(-1);
  if (line === undefined) return "";
  return `: ${line.length > 300 ? `${line.slice(0, 300)}…` : line}`;
};

/**
 * Turns how the dialog process ended into the dialog's result.
 *
 * @param {{ exitCode: number | null, signal: NodeJS.Signals | null, stdout: string, stderr: string,
 *           closeRequested: boolean, closeSignal: NodeJS.Signals }} end
 * @returns {"install" | "closed" | UpdateDialogError}
 */
export function interpretDialogEnd({ exitCode, signal, stdout, stderr, closeRequested, closeSignal }) {
  if (exitCode === 0) {
    if (stdout === installRequest) return "install";
    if (stdout === "") return "closed";
    return new UpdateDialogError(
      `Tessary Update exited 0 but wrote ${JSON.stringify(stdout.slice(0, 200))} instead of an install request`,
      { exitCode, stderr },
    );
  }
  if (signal !== null) {
    if (closeRequested && signal === closeSignal) return "closed";
    return new UpdateDialogError(`Tessary Update was ended by ${signal}${stderrSummary(stderr)}`, {
      signal,
      stderr,
    });
  }
  // The dialog says nothing of its own on standard error; a program that
  // failed to start with status 1 usually does (a display it cannot reach).
  if (exitCode === 1 && stderr.trim() === "") return new InstallRequestUndeliveredError({ stderr });
  if (exitCode === 2) {
    return new UpdateDialogError(
      "Tessary Update refused its command line (exit status 2): it was not given its four arguments, " +
        `a programming error in the host or a wrong executable${stderrSummary(stderr)}`,
      { exitCode, stderr },
    );
  }
  return new UpdateDialogError(`Tessary Update failed with exit status ${exitCode}${stderrSummary(stderr)}`, {
    exitCode,
    stderr,
  });
}

/**
 * Collects a stream's bytes, keeping at most `limit` bytes from its end.
 *
 * @param {NodeJS.ReadableStream} stream
 * @param {number} limit
 * @returns {() => string} the text collected so far
 */
export function collectTail(stream, limit) {
  let chunks = [];
  let length = 0;
  stream.on("data", (chunk) => {
    chunks.push(chunk);
    length += chunk.length;
    if (length > limit * 2) {
      const kept = Buffer.concat(chunks).subarray(-limit);
      chunks = [kept];
      length = kept.length;
    }
  });
  return () => {
    const all = Buffer.concat(chunks);
    return all.subarray(Math.max(0, all.length - limit)).toString("utf8");
  };
}
