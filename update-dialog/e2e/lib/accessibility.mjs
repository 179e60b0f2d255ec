// The dialog as a screen reader finds it: its accessible tree read through
// AT-SPI by a small Python reader (atspi_reader.py, on Debian's own python3,
// which has the bindings), the buttons pressed through their accessible
// action, and the events a screen reader hears.
import { spawn, spawnSync } from "node:child_process";
import { fileURLToPath } from "node:url";

import { waitFor } from "./dialog.mjs";

const readerScript = fileURLToPath(new URL("./atspi_reader.py", import.meta.url));
// Another python3 first on PATH (pyenv and the like) lacks Debian's bindings.
const python = "/usr/bin/python3";

/**
 * Why the tree cannot be read here, or undefined when it can.
 * @returns {string | undefined}
 */
export function accessibilityUnavailable() {
  if (!process.env.DBUS_SESSION_BUS_ADDRESS) return "no session bus: run the test under dbus-run-session";
  const load = "import gi; gi.require_version('Atspi', '2.0'); from gi.repository import Atspi";
  const probe = spawnSync(python, ["-c", load], { encoding: "utf8" });
  if (probe.error || probe.status !== 0) {
    const reason = (probe.stderr || probe.error?.message || "").trim();
    return `${python} cannot load the AT-SPI bindings (gir1.2-atspi-2.0, python3-gi): ${reason}`;
  }
  return undefined;
}

/**
 * One reader process for a test file: requests go out as JSON lines, answers
 * and events come back as JSON lines.
 * @typedef {{ role: string, name: string, description: string, states: string[], actions: string[],
 *   value: { current: number, minimum: number, maximum: number } | null, children: AccessibleNode[] }} AccessibleNode
 * @typedef {{ event: string, pid: number, source: { role: string, name: string, description: string },
 *   detail: number }} AccessibleEvent
 */
export class AccessibilityReader {
  /** @returns {Promise<AccessibilityReader>} once the reader listens */
  static async start() {
    const reader = new AccessibilityReader();
    await reader.ready;
    return reader;
  }

  constructor() {
    this.events = [];
    this.pending = new Map();
    this.nextId = 1;
    this.process = spawn(python, [readerScript], { stdio: ["pipe", "pipe", "inherit"] });
    this.process.stdout.setEncoding("utf8");
    let buffered = "";
    let announceReady;
    this.ready = new Promise((resolve, reject) => {
      announceReady = resolve;
      this.process.once("error", reject);
      this.process.once("exit", (status) => reject(new Error(`the AT-SPI reader ended with status ${status}`)));
    });
    this.process.stdout.on("data", (chunk) => {
      buffered += chunk;
      let newline;
      while ((newline = buffered.indexOf("\n")) >= 0) {
        const line = buffered.slice(0, newline);
        buffered = buffered.slice(newline + 1);
        if (line.trim()) this.#receive(JSON.parse(line), announceReady);
      }
    });
    this.process.once("exit", () => {
      for (const { reject } of this.pending.values()) reject(new Error("the AT-SPI reader ended"));
      this.pending.clear();
    });
  }

  #receive(message, announceReady) {
    if (message.ready) return announceReady();
    if (message.event) return void this.events.push(message);
    const waiting = this.pending.get(message.id);
    if (!waiting) return;
    this.pending.delete(message.id);
    if (message.error) waiting.reject(new Error(`AT-SPI reader: ${message.error}`));
    else waiting.resolve(message.result);
  }

  #request(op, fields) {
    const id = this.nextId++;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject });
      this.process.stdin.write(`${JSON.stringify({ id, op, ...fields })}\n`);
    });
  }

  /**
   * The accessible tree of process `pid`'s application, or null.
   * @param {number} pid
   * @returns {Promise<AccessibleNode | null>}
   */
  tree(pid) {
    return this.#request("tree", { pid });
  }

  /**
   * Runs the "Press" action of the push button named `name`; true when pressed.
   * @param {number} pid
   * @param {string} name
   * @returns {Promise<boolean>}
   */
  press(pid, name) {
    return this.#request("press", { pid, name });
  }

  /**
   * Waits for an event of process `pid` that `matches` accepts, seen since the reader started.
   * @param {string} what
   * @param {number} pid
   * @param {(event: AccessibleEvent) => boolean} matches
   * @returns {Promise<AccessibleEvent>}
   */
  waitForEvent(what, pid, matches, options) {
    return waitFor(what, () => this.events.find((event) => event.pid === pid && matches(event)), options);
  }

  async stop() {
    if (this.process.exitCode !== null || this.process.signalCode !== null) return;
    const ended = new Promise((resolve) => this.process.once("exit", resolve));
    this.process.stdin.end();
    await ended;
  }
}

const findAll = (node, predicate, found = []) => {
  if (predicate(node)) found.push(node);
  for (const child of node.children) findAll(child, predicate, found);
  return found;
};

/**
 * What a screen reader user learns of the dialog, from its tree: the headline
 * and the details (told apart by their descriptions), the buttons in the
 * order they were added, and the bar (null when it is not shown; `busy` for
 * an indeterminate one, else its value in percent).
 * @param {AccessibleNode | null} tree
 * @returns {{ shown: boolean, headline?: string, details?: string, buttons: string[],
 *   bar: "busy" | number | null } | null}
 */
export function dialogLook(tree) {
  const dialog = tree && findAll(tree, (node) => node.role === "dialog")[0];
  if (!dialog) return null;
  const showing = (node) => node.states.includes("showing");
  const label = (description) =>
    findAll(dialog, (node) => node.role === "label" && node.description === description)[0]?.name;
  const bar = findAll(dialog, (node) => node.role === "progress bar" && showing(node))[0];
  let barLook = null;
  if (bar) {
    const { current, minimum, maximum } = bar.value;
    barLook = minimum === maximum ? "busy" : (100 * (current - minimum)) / (maximum - minimum);
  }
  return {
    shown: showing(dialog),
    headline: label("Update status"),
    details: label("Details"),
    buttons: findAll(dialog, (node) => node.role === "push button" && showing(node)).map((node) => node.name),
    bar: barLook,
  };
}

/**
 * The first node of `tree` with the given role (and name, when given).
 * @param {AccessibleNode} tree
 * @param {string} role
 * @param {string} [name]
 * @returns {AccessibleNode | undefined}
 */
export function findNode(tree, role, name) {
  return findAll(tree, (node) => node.role === role && (name === undefined || node.name === name))[0];
}
