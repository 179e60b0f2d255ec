// Runs the real `Tessary Update` on a virtual display and drives it as a
// person would: it waits for the window, looks at it, presses keys and clicks.
import { execFileSync, spawn } from "node:child_process";
import { setTimeout as sleep } from "node:timers/promises";

import { captureWindow, findButtons } from "./screen.mjs";

export const dialogBinary = () => {
  const path = process.env.TESSARY_UPDATE;
  if (!path) throw new Error("TESSARY_UPDATE must name the Tessary Update binary");
  return path;
};

// Polls until `probe` returns something truthy; generous, since screens and
// loaded machines can be slow. Throws with `what` when the time is up.
export async function waitFor(what, probe, { timeoutMs = 10000, intervalMs = 50 } = {}) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const value = await probe();
    if (value) return value;
    if (Date.now() > deadline) throw new Error(`timed out waiting for ${what}`);
    await sleep(intervalMs);
  }
}

export class RunningDialog {
  // `shell`, when given, is a sh script that starts the dialog in the same
  // process: the binary is "$0" and the arguments "$@" (say, to close a
  // descriptor first: 'exec "$0" "$@" >&-'). With `stdoutReaderGone`, nobody
  // reads the dialog's standard output: the pipe's reading end is closed at
  // once, as when the host has crashed.
  constructor(display, args, env, { shell, stdoutReaderGone = false } = {}) {
    this.display = display;
    this.stdout = [];
    this.stderr = [];
    const [command, commandArgs] = shell
      ? ["/bin/sh", ["-c", shell, dialogBinary(), ...args]]
      : [dialogBinary(), args];
    this.process = spawn(command, commandArgs, {
      env: { ...process.env, ...env, DISPLAY: display },
      stdio: ["ignore", "pipe", "pipe"],
    });
    if (stdoutReaderGone) this.process.stdout.destroy();
    else this.process.stdout.on("data", (chunk) => this.stdout.push(chunk));
    this.process.stderr.on("data", (chunk) => this.stderr.push(chunk));
    this.exited = new Promise((resolve) => {
      this.process.on("close", (status, signal) =>
        resolve({ status, signal, stdout: Buffer.concat(this.stdout), stderr: Buffer.concat(this.stderr) }),
      );
    });
    this.exitStatus = null;
    this.exited.then((result) => (this.exitStatus = result));
  }

  get running() {
    return this.exitStatus === null;
  }

  xdotool(...args) {
    return execFileSync("xdotool", args.map(String), {
      env: { ...process.env, DISPLAY: this.display },
      encoding: "utf8",
    }).trim();
  }

  // The dialog's window once it is mapped.
  async window() {
    if (this.windowId) return this.windowId;
    this.windowId = await waitFor("the dialog window", () => {
      if (!this.running) throw new Error(`the dialog ended early: ${JSON.stringify(this.exitStatus)}`);
      try {
        return this.xdotool("search", "--onlyvisible", "--pid", this.process.pid, "--name", "Tessary Update")
          .split("\n")[0];
      } catch {
        return undefined;  // xdotool reports "no window" with a failure status
      }
    });
    // Until its first paint a new window shows whatever lay beneath it (the
    // black root window at first); the dialog's own background is light.
    await waitFor("the dialog painted", async () => {
      const [r, g, b] = (await this.screenshot()).rgb(1, 1);
      return r + g + b > 450;
    });
    return this.windowId;
  }

  async screenshot() {
    return captureWindow(this.display, this.windowId ?? (await this.window()));
  }

  async buttons() {
    return findButtons(await this.screenshot());
  }

  // Presses a key with the dialog focused, as typed on the keyboard.
  async key(name) {
    const window = await this.window();
    this.xdotool("windowfocus", "--sync", window);
    this.xdotool("key", name);
  }

  // Clicks the index-th button counted from the right (0 is the first button).
  async clickButton(index) {
    const buttons = await waitFor(`button ${index + 1}`, async () => {
      const found = await this.buttons();
      return found.length > index ? found : undefined;
    });
    const { x, y } = buttons[index];
    this.xdotool("mousemove", "--window", await this.window(), x, y, "click", "1");
  }

  async waitForExit(timeoutMs = 10000) {
    const cancel = new AbortController();
    const timeout = sleep(timeoutMs, undefined, { signal: cancel.signal }).then(
      () => {
        throw new Error("the dialog did not end");
      },
      () => undefined,
    );
    try {
      return await Promise.race([this.exited, timeout]);
    } finally {
      cancel.abort();
    }
  }

  async stop() {
    if (this.running) this.process.kill("SIGKILL");
    await this.exited;
  }
}
