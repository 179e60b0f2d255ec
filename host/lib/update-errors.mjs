// What the dialog says when an update fails: one short sentence for each kind
// of failure, chosen from the error's code, status and message, never the
// library's own text (an internal URL, a stack, two base64 hashes). The
// updater's own `error` event still carries the error itself to the host.

/**
 * The sentence of each kind of failure. Each fits in two lines of the dialog's
 * details (about 48 characters a line on Linux) and reads differently from the
 * others, so that a user can tell them apart and a support person recognise them.
 */
export const failureSentences = Object.freeze({
  unreachable: "The update server can’t be reached. Check your internet connection.",
  "server-error": "The update server isn’t working right now. Try again later.",
  "no-release": "The update server has no release of Tessary for this system.",
  "bad-release": "The update server’s release information is incomplete or unreadable.",
  interrupted: "The download was interrupted. Check your internet connection.",
  damaged: "The downloaded update was damaged and has been discarded.",
  unsigned: "The update’s signature couldn’t be verified.",
  "no-space": "There isn’t enough free disk space to download the update.",
  "no-permission": "Tessary has no permission to save the update on this disk.",
  cancelled: "The download was cancelled.",
  unknown: "An unexpected problem stopped the update. Try again later.",
});

// electron-updater's codes for a feed that names no release for this app.
const noReleaseCodes = new Set([
  "ERR_UPDATER_CHANNEL_FILE_NOT_FOUND",
  "ERR_UPDATER_LATEST_VERSION_NOT_FOUND",
  "ERR_UPDATER_NO_PUBLISHED_VERSIONS",
  "ERR_UPDATER_RELEASE_NOT_FOUND",
  "ERR_UPDATER_ASSET_NOT_FOUND",
  "ERR_UPDATER_ZIP_FILE_NOT_FOUND",
]);
// ... and for one whose release cannot be used as it stands.
const badReleaseCodes = new Set([
  "ERR_UPDATER_INVALID_UPDATE_INFO",
  "ERR_UPDATER_INVALID_RELEASE_FEED",
  "ERR_UPDATER_NO_FILES_PROVIDED",
  "ERR_UPDATER_NO_CHECKSUM",
  "ERR_UPDATER_INVALID_VERSION",
]);

// Electron's `net` names its failures in the message: "net::ERR_CONNECTION_REFUSED".
const netErrors = (names) => new RegExp(`net::ERR_(${names.join("|")})\\b`);

// No connection could be made at all: the same whenever it happens.
const unreachableCodes = new Set(["ECONNREFUSED", "ENOTFOUND", "EAI_AGAIN", "EHOSTUNREACH", "ENETUNREACH", "ENETDOWN"]);
const unreachableTexts = [
  netErrors([
    "INTERNET_DISCONNECTED",
    "NAME_NOT_RESOLVED",
    "NAME_RESOLUTION_FAILED",
    "CONNECTION_REFUSED",
    "ADDRESS_UNREACHABLE",
    "PROXY_CONNECTION_FAILED",
    "NETWORK_ACCESS_DENIED",
  ]),
  // Squirrel's (Electron's own updater) texts, from the system's URL loading.
  /appears to be offline|could not connect to the server|hostname could not be found|no internet connection/i,
];
// A connection that was made and then lost: a broken download, or a check that got no answer.
const brokenCodes = new Set(["ECONNRESET", "EPIPE", "ECONNABORTED", "ETIMEDOUT", "ERR_STREAM_PREMATURE_CLOSE"]);
const brokenTexts = [
  /^(aborted|socket hang up|Request timed out|Request has been aborted by the server)$/,
  netErrors([
    "CONNECTION_RESET",
    "CONNECTION_CLOSED",
    "CONNECTION_ABORTED",
    "NETWORK_CHANGED",
    "TIMED_OUT",
    "CONTENT_LENGTH_MISMATCH",
    "HTTP2_PROTOCOL_ERROR",
  ]),
  /timed out|connection was lost/i,
];
const anyMatches = (patterns, message) => patterns.some((pattern) => pattern.test(message));

const codeOf = (error) => (typeof error?.code === "string" ? error.code : undefined);
const messageOf = (error) =>
  typeof error === "string" ? error : typeof error?.message === "string" ? error.message : "";

// The HTTP status of a failed request: the library's HttpError carries it, a
// failed download says it in its message ("Cannot download "…", status 503: …").
function httpStatusOf(error, message) {
  if (Number.isInteger(error?.statusCode) && error.statusCode >= 400) return error.statusCode;
  const status = /^Cannot download .*, status (\d{3})\b/s.exec(message);
  return status === null ? undefined : Number(status[1]);
}

/**
 * The kind of an updater's failure.
 *
 * @param {unknown} error what the updater's `error` event carried
 * @param {{ during?: "check" | "download" }} [phase] what was under way: a
 *   connection lost during a download interrupted it; during a check, the
 *   server could not be reached
 * @returns {keyof typeof failureSentences}
 */
export function failureKind(error, { during } = {}) {
  const code = codeOf(error);
  const message = messageOf(error);
  if (error?.name === "CancellationError" || message === "cancelled") return "cancelled";
  if (code === "ERR_CHECKSUM_MISMATCH" || /checksum mismatch/i.test(message)) return "damaged";
  if (code === "ERR_UPDATER_INVALID_SIGNATURE" || /signature/i.test(message)) return "unsigned";
  if (code === "ENOSPC" || code === "EDQUOT" || /\bENOSPC\b|no space left on device/i.test(message)) return "no-space";
  if (["EACCES", "EPERM", "EROFS"].includes(code) || /\b(EACCES|EPERM|EROFS)\b|read-only file system/.test(message)) {
    return "no-permission";
  }
  if (noReleaseCodes.has(code)) return "no-release";
  if (badReleaseCodes.has(code) || error?.name === "YAMLException") return "bad-release";
  const status = httpStatusOf(error, message);
  if (status === 404 || status === 410) return "no-release";
  if (status !== undefined) return "server-error";
  if (unreachableCodes.has(code) || anyMatches(unreachableTexts, message)) return "unreachable";
  if (brokenCodes.has(code) || anyMatches(brokenTexts, message)) {
    return during === "download" ? "interrupted" : "unreachable";
  }
  return "unknown";
}

/**
 * The sentence the dialog shows for an updater's failure. See {@link failureKind}.
 *
 * @param {unknown} error
 * @param {{ during?: "check" | "download" }} [phase]
 * @returns {string}
 */
export const failureSentence = (error, phase) => failureSentences[failureKind(error, phase)];
