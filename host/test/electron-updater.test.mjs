// How updater events become dialog states, for both updater shapes, and when
// the updater is told to install.
import assert from "node:assert/strict";
import { EventEmitter } from "node:events";
import { describe, test } from "node:test";

import { followElectronUpdater, oneLineMessage } from "../index.mjs";
import * as recorded from "./fixtures/updater-events.mjs";

// An updater stand-in with the same events, counting quitAndInstall calls.
class FakeUpdater extends EventEmitter {
  installs = 0;
  quitAndInstall() {
    this.installs++;
  }
  play(events) {
    for (const [name, ...args] of events) this.emit(name, ...args);
  }
}

// A dialog stand-in that records what it is shown and ends when told.
function fakeDialog() {
  let end;
  const shown = [];
  return {
    shown,
    show: (status) => shown.push(status),
    result: new Promise((resolve, reject) => (end = { resolve, reject })),
    end,
  };
}

const settle = () => new Promise((resolve) => setImmediate(resolve));

describe("updater events become dialog states", () => {
  const cases = [
    {
      name: "electron-updater: a whole update",
      events: recorded.electronUpdaterUpdate,
      shown: [
        { state: "checking" },
        { state: "downloading", latest: "1.5.0" },
        { state: "downloading", latest: "1.5.0", downloaded: 1048576, total: 48318382, progress: (1048576 / 48318382) * 100 },
        { state: "downloading", latest: "1.5.0", downloaded: 24159191, total: 48318382, progress: 50 },
        { state: "downloading", latest: "1.5.0", downloaded: 48318382, total: 48318382, progress: 100 },
        { state: "available", latest: "1.5.0" },
      ],
    },
    {
      name: "electron-updater: nothing new",
      events: recorded.electronUpdaterNothingNew,
      shown: [{ state: "checking" }, { state: "up-to-date" }],
    },
    {
      name: "electron-updater: an error with a multi-line message",
      events: recorded.electronUpdaterError,
      shown: [
        { state: "checking" },
        {
          state: "error",
          message: /^Cannot find latest-mac\.yml in the latest release artifacts \(\S+\): HttpError: 404 "method: GET .{20,}…$/,
        },
      ],
    },
    {
      name: "Electron's autoUpdater: a whole update, the version from the release name",
      events: recorded.electronBuiltInUpdate,
      shown: [{ state: "checking" }, { state: "downloading" }, { state: "available", latest: "1.5.0" }],
    },
    {
      name: "Electron's autoUpdater: nothing new",
      events: recorded.electronBuiltInNothingNew,
      shown: [{ state: "checking" }, { state: "up-to-date" }],
    },
    {
      name: "Electron's autoUpdater: an error",
      events: recorded.electronBuiltInError,
      shown: [{ state: "checking" }, { state: "error", message: "Could not get code signature for running application" }],
    },
  ];
  for (const { name, events, shown } of cases) {
    test(name, () => {
      const updater = new FakeUpdater();
      const dialog = fakeDialog();
      followElectronUpdater(updater, dialog);
      updater.play(events);
      assert.equal(dialog.shown.length, shown.length);
      shown.forEach((expected, i) => {
        const { message, ...rest } = dialog.shown[i];
        if (expected.message instanceof RegExp) {
          assert.match(message, expected.message);
          assert.ok(Array.from(message).length <= 200, "short enough for the dialog");
          assert.deepEqual(rest, { state: expected.state });
        } else assert.deepEqual(dialog.shown[i], expected);
      });
    });
  }
});

describe("installing", () => {
  const cases = [
    { answer: "install", installs: 1 },
    { answer: "closed", installs: 0 },
    { answer: new Error("killed"), installs: 0 },
  ];
  for (const { answer, installs } of cases) {
    test(`a dialog that ends with ${answer} calls quitAndInstall ${installs} times`, async () => {
      const updater = new FakeUpdater();
      const dialog = fakeDialog();
      followElectronUpdater(updater, dialog);
      updater.play(recorded.electronUpdaterUpdate);
      if (answer instanceof Error) dialog.end.reject(answer);
      else dialog.end.resolve(answer);
      await settle();
      assert.equal(updater.installs, installs);
      assert.equal(updater.listenerCount("download-progress"), 0, "detached once the dialog ended");
    });
  }

  test("a failing quitAndInstall is reported as the updater's error event", async () => {
    const updater = new FakeUpdater();
    const failure = new Error("No update available, can't quit and install");
    updater.quitAndInstall = () => {
      throw failure;
    };
    const reported = [];
    updater.on("error", (error) => reported.push(error));
    const dialog = fakeDialog();
    followElectronUpdater(updater, dialog);
    dialog.end.resolve("install");
    await settle();
    assert.deepEqual(reported, [failure]);
  });
});

test("error messages become one line", () => {
  const cases = [
    [new Error("first\r\nsecond\n\n  third\t\tpart"), "first second third part"],
    [{ message: "Error: boom\n    at update (main.js:1:2)\n    at run (main.js:3:4)" }, "Error: boom"],
    ["a string\u2028with\u0000controls", "a string with controls"],
    [new Error("x".repeat(300)), `${"x".repeat(199)}…`],
    [new Error(""), undefined],
    [42, undefined],
  ];
  for (const [error, expected] of cases) assert.equal(oneLineMessage(error), expected, String(error?.message ?? error));
});
