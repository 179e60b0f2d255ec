// The real electron-updater without Electron: the two parts of Electron it
// needs here, replaced by the smallest stand-ins. An app adapter gives it the
// app's version, name and folders; an HTTP executor on Node's `http` takes the
// place of Electron's `net`. Everything else (the feed, the download, the
// checksum, the events) is the library's own.
import { mkdirSync, writeFileSync } from "node:fs";
import { Agent, request as httpRequest } from "node:http";
import { createRequire } from "node:module";
import { join } from "node:path";

const require = createRequire(import.meta.url);
let electronUpdater;
try {
  electronUpdater = require("electron-updater");
} catch (error) {
  throw new Error("electron-updater is not installed: run `npm ci` in host/ (scripts/test does)", { cause: error });
}
// The library's own runtime, resolved from electron-updater as it resolves it.
const runtime = createRequire(require.resolve("electron-updater"))("builder-util-runtime");

export const { AppImageUpdater, CancellationToken } = electronUpdater;
export const { CancellationError } = runtime;

/** The version of electron-updater under test, from its package.json. */
export const libraryVersion = createRequire(require.resolve("electron-updater"))("../package.json").version;

/**
 * What electron-updater asks of Electron's `app` (its AppAdapter interface):
 * a packaged app of the given version whose folders lie in `folder`.
 *
 * @param {{ version: string, name?: string, folder: string }} options
 */
export function appAdapter({ version, name = "Tessary", folder }) {
  const quitHandlers = [];
  return {
    version,
    name,
    isPackaged: true,
    appUpdateConfigPath: join(folder, "app-update.yml"),
    userDataPath: join(folder, "user-data"),
    baseCachePath: join(folder, "cache"),
    whenReady: () => Promise.resolve(),
    relaunch() {},
    quit() {
      for (const handler of quitHandlers.splice(0)) handler(0);
    },
    onQuit: (handler) => quitHandlers.push(handler),
  };
}

/**
 * An HTTP executor on Node's `http`: the library's own HttpExecutor, whose
 * requests go through `http.request`, and the `download` that Electron's
 * executor adds (the same steps: the URL into request options, then the
 * library's own download with its progress and checksum).
 */
export class NodeHttpExecutor extends runtime.HttpExecutor {
  // A connection per request, as the library expects of Node's http: it
  // adds a time-out listener to the socket of each request it makes.
  #agent = new Agent({ keepAlive: false });

  createRequest(options, callback) {
    const request = httpRequest({ ...options, agent: this.#agent });
    request.on("response", callback);
    return request;
  }

  download(url, destination, options) {
    return options.cancellationToken.createPromise((resolve, reject, onCancel) => {
      const requestOptions = { headers: options.headers || undefined };
      runtime.configureRequestUrl(url, requestOptions);
      runtime.configureRequestOptions(requestOptions);
      this.doDownload(
        requestOptions,
        {
          destination,
          options,
          onCancel,
          callback: (error) => (error == null ? resolve(destination) : reject(error)),
          responseHandler: null,
        },
        0,
      );
    });
  }
}

/** A logger for the library that keeps its lines, so that tests stay quiet and can look at them. */
export function recordingLogger() {
  const lines = [];
  const keep = (level) => (message) => lines.push({ level, message: String(message) });
  return { lines, info: keep("info"), warn: keep("warn"), error: keep("error"), debug: keep("debug") };
}

/**
 * A packaged Linux app's updater, as electron-updater makes it for an
 * AppImage, with its generic feed at `feedUrl` (written to app-update.yml, as
 * electron-builder does) and its files in `folder`. `quitAndInstall` is a spy:
 * `updater.installs` counts its calls. The running AppImage is the file named
 * by APPIMAGE, which the caller sets.
 *
 * @param {{ folder: string, feedUrl: string, version?: string, autoDownload?: boolean }} options
 */
export function linuxUpdater({ folder, feedUrl, version = "1.4.2", autoDownload = true }) {
  mkdirSync(folder, { recursive: true });
  writeFileSync(
    join(folder, "app-update.yml"),
    `provider: generic\nurl: ${feedUrl}\nupdaterCacheDirName: tessary-updater\n`,
  );
  const updater = new AppImageUpdater(null, appAdapter({ version, folder }));
  updater.httpExecutor = new NodeHttpExecutor();
  updater.logger = recordingLogger();
  updater.autoDownload = autoDownload;
  updater.installs = 0;
  updater.quitAndInstall = () => {
    updater.installs++;
  };
  return updater;
}
