// A Wayland session of the test's own: sway on wlroots' headless backend with
// the pixman renderer, no input devices and no X server. sway refuses to run
// as root, so under root it runs as the unprivileged user `nobody`, with a
// runtime folder of that user; its sockets are open to root all the same.
import { execFileSync, spawn, spawnSync } from "node:child_process";
import {
  chmodSync,
  chownSync,
  closeSync,
  mkdtempSync,
  openSync,
  readFileSync,
  readdirSync,
  rmSync,
  writeFileSync,
} from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

import { waitFor } from "./dialog.mjs";

const nobody = 65534;
const runningAsRoot = process.getuid() === 0;

const installed = (tool) => spawnSync("sh", ["-c", `command -v ${tool}`]).status === 0;

/**
 * Why no compositor can be started here, or undefined when one can.
 * @returns {string | undefined}
 */
export function swayUnavailable() {
  const tools = ["sway", "swaymsg", "wtype", ...(runningAsRoot ? ["setpriv"] : [])];
  const missing = tools.filter((tool) => !installed(tool));
  return missing.length ? `${missing.join(", ")} not installed` : undefined;
}

// sway under a small watchdog, as Xvfb is: it ends with the test process even
// when that is killed at a time-out.
const watchdog = `
  parent=$1; shift
  "$@" &
  server=$!
  trap 'kill $server 2>/dev/null; wait $server; exit 0' TERM
  while kill -0 "$parent" 2>/dev/null && kill -0 $server 2>/dev/null; do sleep 0.5 & wait $!; done
  kill $server 2>/dev/null
  wait $server
`;

const config = `output HEADLESS-1 resolution 1024x768
xwayland disable
`;

/**
 * Starts sway and waits for its sockets. Throws with the end of its log when
 * it does not come up.
 * @returns {Promise<Sway>}
 */
export async function startSway() {
  // Under root, a folder that `nobody` can reach whatever TMPDIR says.
  const runtimeFolder = mkdtempSync(join(runningAsRoot ? "/tmp" : tmpdir(), "tessary-sway-"));
  chmodSync(runtimeFolder, 0o700);
  const configPath = join(runtimeFolder, "config");
  writeFileSync(configPath, config);
  if (runningAsRoot) {
    chownSync(runtimeFolder, nobody, nobody);
    chownSync(configPath, nobody, nobody);
  }
  const logPath = `${runtimeFolder}.log`;
  const log = openSync(logPath, "w");
  const command = [
    ...(runningAsRoot ? ["setpriv", `--reuid=${nobody}`, `--regid=${nobody}`, "--clear-groups", "--"] : []),
    "sway",
    "-c",
    configPath,
  ];
  const server = spawn("sh", ["-c", watchdog, "sway-watchdog", String(process.pid), ...command], {
    env: {
      PATH: process.env.PATH,
      HOME: runtimeFolder,
      XDG_RUNTIME_DIR: runtimeFolder,
      WLR_BACKENDS: "headless",
      WLR_LIBINPUT_NO_DEVICES: "1",
      WLR_RENDERER: "pixman",
    },
    stdio: ["ignore", log, log],
  });
  closeSync(log);
  const remove = () => {
    rmSync(runtimeFolder, { recursive: true, force: true });
    rmSync(logPath, { force: true });
  };
  let ended = false;
  server.once("exit", () => (ended = true));

  const sockets = () => {
    const names = readdirSync(runtimeFolder);
    const display = names.find((name) => /^wayland-\d+$/.test(name));
    const ipc = names.find((name) => /^sway-ipc\..*\.sock$/.test(name));
    return display && ipc ? { display, ipc: join(runtimeFolder, ipc) } : undefined;
  };
  let found;
  try {
    found = await waitFor("sway's sockets", () => {
      if (ended) throw new Error("sway ended at once");
      return sockets();
    });
  } catch (error) {
    const tail = readFileSync(logPath, "utf8").trim().split("\n").slice(-5).join(" | ");
    server.kill("SIGTERM");
    remove();
    throw new Error(`${error.message}: ${tail}`, { cause: error });
  }
  const sway = new Sway(server, runtimeFolder, found, remove);
  try {
    await sway.addKeyboard();
  } catch (error) {
    await sway.stop();
    throw error;
  }
  return sway;
}

class Sway {
  constructor(server, runtimeFolder, { display, ipc }, remove) {
    this.server = server;
    this.runtimeFolder = runtimeFolder;
    this.display = display;
    this.ipc = ipc;
    this.remove = remove;
    this.keyboard = null;
  }

  /** What a client needs to find this compositor. */
  get clientEnv() {
    return { XDG_RUNTIME_DIR: this.runtimeFolder, WAYLAND_DISPLAY: this.display };
  }

  swaymsg(...args) {
    return execFileSync("swaymsg", ["-s", this.ipc, ...args], { encoding: "utf8" });
  }

  /**
   * The window of process `pid` as sway sees it (focused, urgent, shell, app_id, rect), or undefined.
   * @param {number} pid
   * @returns {object | undefined}
   */
  viewOf(pid) {
    const walk = (node) => {
      if (node.pid === pid) return node;
      for (const child of [...(node.nodes ?? []), ...(node.floating_nodes ?? [])]) {
        const found = walk(child);
        if (found) return found;
      }
      return undefined;
    };
    return walk(JSON.parse(this.swaymsg("-t", "get_tree", "-r")));
  }

  // A virtual keyboard that stays on the seat for the whole session, so that
  // every client finds a keyboard when it starts. Without one, a client binds
  // the keyboard only when the first typed key makes one appear, and that
  // key's press is lost.
  async addKeyboard() {
    this.keyboard = spawn("wtype", ["-s", "36000000", "-k", "F24"], {
      env: { ...process.env, ...this.clientEnv },
      stdio: "ignore",
    });
    await waitFor("a keyboard on the seat", () =>
      JSON.parse(this.swaymsg("-t", "get_inputs", "-r")).some((input) => input.type === "keyboard"),
    );
  }

  /** Types keys (xkb names such as "Escape" or "space") into the focused window. */
  type(...keys) {
    execFileSync("wtype", keys.flatMap((key) => ["-k", key]), { env: { ...process.env, ...this.clientEnv } });
  }

  async stop() {
    for (const child of [this.keyboard, this.server]) {
      if (!child || child.exitCode !== null || child.signalCode !== null) continue;
      const ended = new Promise((resolve) => child.once("exit", resolve));
      child.kill("SIGTERM");
      await ended;
    }
    this.remove();
  }
}
