// How updater events become dialog states, played from event sequences
// recorded from the real electron-updater (and shaped after Electron's own
// updater's documentation), and when the updater is told to install.
import assert from "node:assert/strict";
import { EventEmitter } from "node:events";
import { describe, test } from "node:test";

import { followElectronUpdater, oneLineMessage } from "../index.mjs";
import { failureKind, failureSentences } from "../lib/update-errors.mjs";
import * as recorded from "./fixtures/updater-events.mjs";

const situations = recorded.electronUpdater;

// An updater stand-in with the same events, counting quitAndInstall calls.
class FakeUpdater extends EventEmitter {
  installs = 0;
  constructor({ autoDownload } = {}) {
    super();
    if (autoDownload !== undefined) this.autoDownload = autoDownload;
  }
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

// What the module shows for the recorded progress events of a sequence.
const progressShown = (events, latest) =>
  events
    .filter(([name]) => name === "download-progress")
    .map(([, { transferred, total, percent }]) => ({
      state: "downloading",
      latest,
      downloaded: transferred,
      total,
      progress: percent,
    }));

const checking = { state: "checking" };
const failure = (kind) => ({ state: "error", message: failureSentences[kind] });

describe("electron-updater's events become dialog states", () => {
  const cases = [
    {
      name: "a whole update, with progress once a second",
      play: [situations.update],
      shown: [
        checking,
        { state: "downloading", latest: "2.0.0" },
        ...progressShown(situations.update, "2.0.0"),
        { state: "available", latest: "2.0.0" },
      ],
    },
    { name: "nothing new", play: [situations.upToDate], shown: [checking, { state: "up-to-date" }] },
    {
      name: "a check while the offer shows leaves the offer, never shows checking",
      play: [situations.update, situations.recheckWhileOffered, situations.recheckWhileOffered],
      after: 1,
      shown: [
        { state: "available", latest: "2.0.0" },
        { state: "available", latest: "2.0.0" },
      ],
    },
    {
      name: "a failed check while the offer shows leaves the offer",
      play: [situations.update, situations.failedRecheckWhileOffered],
      after: 1,
      shown: [],
    },
    {
      name: "a newer version found later is downloaded, then offered",
      play: [situations.update, situations.newerVersionLater],
      after: 1,
      shown: [
        { state: "downloading", latest: "2.1.0" },
        ...progressShown(situations.newerVersionLater, "2.1.0"),
        { state: "available", latest: "2.1.0" },
      ],
    },
    {
      name: "a cancelled download leaves the download",
      play: [situations.cancelled],
      shown: [
        checking,
        { state: "downloading", latest: "2.0.0" },
        ...progressShown(situations.cancelled, "2.0.0"),
        failure("cancelled"),
      ],
    },
    {
      name: "without autoDownload, no download shows until the host starts one",
      autoDownload: false,
      play: [situations.autoDownloadOffCheck, situations.autoDownloadOffDownload],
      shown: [
        checking,
        ...progressShown(situations.autoDownloadOffDownload, "2.0.0"),
        { state: "available", latest: "2.0.0" },
      ],
    },
  ];
  for (const { name, play, after = 0, autoDownload, shown } of cases) {
    test(name, () => {
      const updater = new FakeUpdater({ autoDownload });
      const dialog = fakeDialog();
      followElectronUpdater(updater, dialog);
      for (const events of play.slice(0, after)) updater.play(events);
      const before = dialog.shown.length;
      for (const events of play.slice(after)) updater.play(events);
      assert.deepEqual(dialog.shown.slice(before), shown);
    });
  }

  // A check made while a download runs: the library goes on with that download.
  const [firstHalf, secondHalf] = (() => {
    const update = situations.update;
    const firstProgress = update.findIndex(([name]) => name === "download-progress");
    return [update.slice(0, firstProgress + 1), update.slice(firstProgress + 1)];
  })();
  const checksDuringDownload = [
    { name: "a check", check: situations.recheckWhileOffered.slice(0, 2) },
    { name: "a failed check", check: situations.failedRecheckWhileOffered },
  ];
  for (const { name, check } of checksDuringDownload) {
    test(`${name} during a download leaves the download and its bytes`, () => {
      const updater = new FakeUpdater();
      const dialog = fakeDialog();
      followElectronUpdater(updater, dialog);
      updater.play(firstHalf);
      const before = dialog.shown.length;
      updater.play(check);
      assert.equal(dialog.shown.length, before, "nothing new shown");
      updater.play(secondHalf);
      assert.deepEqual(dialog.shown.at(-1), { state: "available", latest: "2.0.0" });
    });
  }
});

describe("each kind of failure reads as a sentence of its own", () => {
  const cases = [
    { situation: "feedMissing", kind: "no-release" },
    { situation: "serverError", kind: "server-error" },
    { situation: "garbledFeed", kind: "bad-release" },
    { situation: "unreachable", kind: "unreachable" },
    { situation: "interrupted", kind: "interrupted" },
    { situation: "damaged", kind: "damaged" },
    { situation: "noSpace", kind: "no-space" },
    { situation: "noPermission", kind: "no-permission" },
  ];
  for (const { situation, kind } of cases) {
    test(`${situation}: "${failureSentences[kind]}"`, () => {
      const updater = new FakeUpdater();
      const dialog = fakeDialog();
      followElectronUpdater(updater, dialog);
      updater.play(situations[situation]);
      assert.deepEqual(dialog.shown.at(-1), failure(kind));
    });
  }

  test("a failed download shows no download after it, and the next check starts afresh", () => {
    const updater = new FakeUpdater();
    const dialog = fakeDialog();
    followElectronUpdater(updater, dialog);
    updater.play(situations.interrupted);
    updater.play(situations.update);
    assert.deepEqual(dialog.shown.at(-1), { state: "available", latest: "2.0.0" });
    assert.deepEqual(dialog.shown[3], checking);
  });

  test("the sentences differ from each other", () => {
    const sentences = Object.values(failureSentences);
    assert.equal(new Set(sentences).size, sentences.length);
  });

  // Shapes the recordings do not hold: Electron's net errors, Node's own, and
  // the phase that tells a lost connection during a download from a check's.
  const shapes = [
    [new Error("net::ERR_INTERNET_DISCONNECTED"), {}, "unreachable"],
    [
      Object.assign(new Error("connect ETIMEDOUT 10.0.0.1:443"), { code: "ETIMEDOUT" }),
      { during: "check" },
      "unreachable",
    ],
    [Object.assign(new Error("read ECONNRESET"), { code: "ECONNRESET" }), { during: "download" }, "interrupted"],
    [new Error("net::ERR_CONNECTION_RESET"), { during: "download" }, "interrupted"],
    [
      new Error('Cannot download "https://updates.example/Tessary-2.0.0.AppImage", status 503: Service Unavailable'),
      { during: "download" },
      "server-error",
    ],
    [
      new Error('Cannot download "https://updates.example/Tessary-2.0.0.AppImage", status 404: Not Found'),
      { during: "download" },
      "no-release",
    ],
    [
      Object.assign(new Error("EROFS: read-only file system, mkdir '/opt/cache'"), { code: "EROFS" }),
      {},
      "no-permission",
    ],
    [
      Object.assign(new Error("New version 2.0.0 is not signed by the application owner"), {
        code: "ERR_UPDATER_INVALID_SIGNATURE",
      }),
      {},
      "unsigned",
    ],
    [Object.assign(new Error("cancelled"), { name: "CancellationError" }), {}, "cancelled"],
    ["a plain string", {}, "unknown"],
    [undefined, {}, "unknown"],
  ];
  test("other shapes of failure", () => {
    for (const [error, phase, kind] of shapes)
      assert.equal(failureKind(error, phase), kind, String(error?.message ?? error));
  });
});

describe("Electron's own autoUpdater", () => {
  const cases = [
    {
      name: "a whole update, the version from the release name",
      events: recorded.electronBuiltInUpdate,
      shown: [checking, { state: "downloading" }, { state: "available", latest: "1.5.0" }],
    },
    { name: "nothing new", events: recorded.electronBuiltInNothingNew, shown: [checking, { state: "up-to-date" }] },
    { name: "a signature error", events: recorded.electronBuiltInError, shown: [checking, failure("unsigned")] },
    { name: "offline", events: recorded.electronBuiltInOffline, shown: [checking, failure("unreachable")] },
    {
      name: "a check while the offer shows leaves the offer",
      events: [...recorded.electronBuiltInUpdate, ...recorded.electronBuiltInUpdate],
      shown: [
        checking,
        { state: "downloading" },
        { state: "available", latest: "1.5.0" },
        { state: "available", latest: "1.5.0" },
      ],
    },
  ];
  for (const { name, events, shown } of cases) {
    test(name, () => {
      const updater = new FakeUpdater();
      const dialog = fakeDialog();
      followElectronUpdater(updater, dialog);
      updater.play(events);
      assert.deepEqual(dialog.shown, shown);
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

test("error messages become one line, for a host's log", () => {
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
