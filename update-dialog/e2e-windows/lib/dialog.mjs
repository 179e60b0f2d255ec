// The real Tessary Update.exe under Wine, driven as its host and its user
// would: four arguments, standard input a pipe (or the null device, or a
// file), the install request on standard output, keys typed on the X
// display, and its window read and pressed through the inspector.
import { execFileSync } from "node:child_process";
import { once } from "node:events";
import { closeSync, openSync } from "node:fs";
import { setTimeout as sleep } from "node:timers/promises";

import { waitFor } from "../../e2e/lib/dialog.mjs";
import { captureWindow, savePng } from "../../e2e/lib/screen.mjs";
import { programs, spawnWine } from "./wine.mjs";

export const dialogClass = "TessaryUpdateDialog";
export const controlIds = { icon: 100, headline: 101, detail: 102, bar: 103, firstButton: 1000 };

// A button's label as it reads on screen ("Install && Relaunch" shows "Install & Relaunch").
const labelAsShown = (text) => text.replace(/&(&?)/g, (_, literal) => literal);

/**
 * What a person sees of the dialog, from the inspector's description of its
 * window: the texts, the visible buttons in order (the first button first),
 * which one Return presses, and the bar (null when hidden).
 *
 * @param {any} window
 */
export function lookOf(window) {
  const control = (id) => window.children.find((child) => child.id === id);
  const buttons = window.children
    .filter((child) => child.class.toLowerCase() === "button" && child.id >= controlIds.firstButton)
    .sort((a, b) => a.id - b.id);
  const bar = control(controlIds.bar);
  const detail = control(controlIds.detail);
  return {
    title: window.title,
    headline: control(controlIds.headline)?.text,
    // An EDIT holds its line breaks as "\r\n".
    detail: detail?.text?.replaceAll("\r\n", "\n"),
    buttons: buttons.filter((button) => button.visible).map((button) => labelAsShown(button.text)),
    defaultButton: buttons.find((button) => button.visible && button.defaultButton)?.id ?? null,
    bar:
      bar && bar.visible
        ? { marquee: bar.marquee, position: bar.position, low: bar.low, high: bar.high }
        : null,
  };
}

let dialogCount = 0;

export class WindowsDialog {
  /**
   * @param {{ display: string, inspector: import("./inspector.mjs").Inspector, args: string[],
   *           match: string, stdin?: "pipe" | "null" | { file: string } }} options
   *   `match` is a part of the command line that no other process has (the status file's name)
   */
  constructor({ display, inspector, args, match, stdin = "pipe" }) {
    this.display = display;
    this.inspector = inspector;
    this.match = match;
    this.id = ++dialogCount;
    let stdinOption = "pipe";
    let fileDescriptor;
    if (stdin === "null") stdinOption = "ignore";
    else if (typeof stdin === "object") stdinOption = fileDescriptor = openSync(stdin.file, "r");
    this.process = spawnWine(programs.dialog, args, { display, stdio: [stdinOption, "pipe", "pipe"] });
    if (fileDescriptor !== undefined) closeSync(fileDescriptor);
    this.process.stdin?.on("error", () => {}); // a dialog that has gone while a line is written
    const stdout = [];
    const stderr = [];
    this.process.stdout.on("data", (chunk) => stdout.push(chunk));
    this.process.stderr.on("data", (chunk) => stderr.push(chunk));
    const stdoutEnded = once(this.process.stdout, "end").catch(() => {});
    this.exitStatus = null;
    this.exited = once(this.process, "exit").then(async ([status, signal]) => {
      // Standard output may still hold a chunk when the exit is seen.
      await Promise.race([stdoutEnded, sleep(2000)]);
      this.exitStatus = { status, signal, stdout: Buffer.concat(stdout), stderr: Buffer.concat(stderr) };
      return this.exitStatus;
    });
  }

  get running() {
    return this.exitStatus === null && this.process.exitCode === null && this.process.signalCode === null;
  }

  /** The dialog's window as the inspector describes it, or undefined while it has none. */
  async window() {
    const windows = await this.inspector.windows(this.match, dialogClass);
    return windows.find((window) => window.visible) ?? windows[0];
  }

  /** Waits until the window is on screen and `accept(look, window)` holds; returns the look. */
  async waitForLook(what, accept = () => true, { timeoutMs = 15000 } = {}) {
    let last;
    try {
      return await waitFor(
        what,
        async () => {
          if (!this.running) throw new Error(`the dialog ended early: ${JSON.stringify(await this.exited)}`);
          const window = await this.window();
          if (!window?.visible) return undefined;
          last = lookOf(window);
          return accept(last, window) && last;
        },
        { timeoutMs, intervalMs: 100 },
      );
    } catch (error) {
      if (last !== undefined) error.message += `; the dialog showed ${JSON.stringify(last)}`;
      throw error;
    }
  }

  /** Presses a button by control ID or label, through the inspector (BM_CLICK). */
  press(button) {
    return this.inspector.press(this.match, button, dialogClass);
  }

  minimize() {
    return this.inspector.minimize(this.match, dialogClass);
  }

  /** One line on standard input, as the host writes it. */
  writeLine(line) {
    this.process.stdin.write(`${line}\n`);
  }

  focus() {
    this.writeLine("focus");
  }

  /** Ends standard input: the host has gone. */
  endInput() {
    this.process.stdin.end();
  }

  xdotool(...args) {
    return execFileSync("xdotool", args.map(String), {
      env: { ...process.env, DISPLAY: this.display },
      encoding: "utf8",
    }).trim();
  }

  /** The dialog's X window (Wine sets _NET_WM_PID to the Linux pid, which wine64 keeps). */
  async xWindow() {
    this.xWindowId ??= await waitFor("the dialog's X window", () => {
      try {
        return this.xdotool("search", "--onlyvisible", "--pid", this.process.pid, "--name", "Tessary Update")
          .split("\n")[0];
      } catch {
        return undefined; // xdotool says "no window" with a failure status
      }
    });
    return this.xWindowId;
  }

  /**
   * Types a key into the dialog as a person would: the window activated by
   * the window manager, then a plain key press (never `key --window`, which
   * can leave the key held in the X server).
   */
  async key(name) {
    const window = await this.xWindow();
    this.xdotool("windowactivate", "--sync", window);
    await sleep(150);
    this.xdotool("key", name);
  }

  async screenshot() {
    return captureWindow(this.display, await this.xWindow());
  }

  async savePng(path) {
    savePng(this.display, await this.xWindow(), path);
  }

  async waitForExit(timeoutMs = 15000) {
    const timeout = sleep(timeoutMs).then(() => {
      throw new Error("the dialog did not end");
    });
    return Promise.race([this.exited, timeout]);
  }

  async stop() {
    if (this.running) this.process.kill("SIGKILL");
    await this.exited;
  }
}
