// The tests' eyes and hands inside Wine: one tessary-inspector process per
// test file, asked one request per line (see inspector/arguments.h), plus a
// window of its own that a test can put in front of the dialog.
import { once } from "node:events";

import { waitFor } from "../../e2e/lib/dialog.mjs";
import { programs, spawnWine } from "./wine.mjs";

export class Inspector {
  #process;
  #waiting = [];
  #buffered = "";

  /** @param {string} display */
  constructor(display) {
    this.display = display;
    this.#process = spawnWine(programs.inspector, ["serve"], { display });
    this.#process.stdout.setEncoding("utf8");
    this.#process.stdout.on("data", (chunk) => {
      this.#buffered += chunk;
      for (let newline; (newline = this.#buffered.indexOf("\n")) >= 0; ) {
        const line = this.#buffered.slice(0, newline);
        this.#buffered = this.#buffered.slice(newline + 1);
        this.#waiting.shift()?.resolve(JSON.parse(line));
      }
    });
    this.#process.stderr.resume();
    this.#process.on("exit", (status) => {
      for (const { reject } of this.#waiting.splice(0)) reject(new Error(`the inspector ended (${status})`));
    });
  }

  /**
   * @param {string[]} words the inspector's command line
   * @returns {Promise<any>} its answer; throws when it is not ok
   */
  async request(words) {
    const answer = await new Promise((resolve, reject) => {
      this.#waiting.push({ resolve, reject });
      this.#process.stdin.write(`${JSON.stringify(words.map(String))}\n`);
    });
    if (!answer.ok) throw new Error(`inspector ${words[0]}: ${answer.error}`);
    return answer;
  }

  /** The top-level windows of the process whose command line holds `match`. */
  async windows(match, windowClass) {
    const classWords = windowClass ? ["--class", windowClass] : [];
    return (await this.request(["windows", "--command-line", match, ...classWords])).windows;
  }

  /** Presses the button with that control ID (a number) or label (a string). */
  press(match, button, windowClass) {
    const which = typeof button === "number" ? ["--id", button] : ["--text", button];
    return this.request(["press", "--command-line", match, "--class", windowClass, ...which]);
  }

  minimize(match, windowClass) {
    return this.request(["minimize", "--command-line", match, "--class", windowClass]);
  }

  /**
   * Shows a plain window of the inspector's own in front of the others.
   * @returns {Promise<{ handle: number, stop: () => Promise<void> }>}
   */
  async cover({ x = 0, y = 0, width = 1000, height = 700, title = "Tessary Inspector Cover" } = {}) {
    const child = spawnWine(programs.inspector, ["cover", "--title", title, "--rect", `${x},${y},${width},${height}`], {
      display: this.display,
    });
    child.stdout.setEncoding("utf8");
    child.stderr.resume();
    let text = "";
    child.stdout.on("data", (chunk) => (text += chunk));
    const ended = once(child, "exit");
    const answer = await waitFor("the covering window", () => {
      if (child.exitCode !== null) throw new Error(`the covering window ended: ${text}`);
      return text.includes("\n") && JSON.parse(text.slice(0, text.indexOf("\n")));
    });
    return {
      handle: answer.handle,
      pid: child.pid,
      stop: async () => {
        if (child.exitCode === null && child.signalCode === null) child.kill();
        await ended;
      },
    };
  }

  async stop() {
    if (this.#process.exitCode !== null || this.#process.signalCode !== null) return;
    const ended = once(this.#process, "exit");
    this.#process.stdin.end();
    await ended;
  }
}
