// Every row of the state table as the Windows dialog shows it under Wine:
// the headline and the detail exactly, the buttons and the one Return
// presses, and the bar (hidden, marquee, or its position in tenths of a
// percent), read through the inspector.
import assert from "node:assert/strict";
import { describe, test } from "node:test";

import { useWineSession } from "./lib/session.mjs";

const session = useWineSession();

const offerText =
  "Your conversations and drafts will be restored when Tessary reopens. Active turns controlled by Tessary may be " +
  "interrupted; other agents keep working.";
const marquee = { marquee: true };
const close = { buttons: ["Close"], defaultButton: 1000 };

const rows = [
  {
    name: "checking",
    status: { state: "checking", message: "Looking for a newer release" },
    look: { headline: "Checking for updates…", detail: "Looking for a newer release", ...close, bar: marquee },
  },
  {
    name: "up-to-date, whose message is never shown",
    status: { state: "up-to-date", message: "ignored" },
    look: {
      headline: "Tessary is up to date",
      detail: "You’re running Tessary 1.2.3. No newer release is available.",
      ...close,
      bar: null,
    },
  },
  {
    name: "available",
    status: { state: "available", latest: "2.0.0", message: "ignored" },
    look: { headline: "Tessary 2.0.0 is available", detail: offerText, buttons: ["Install & Relaunch", "Later"], bar: null },
  },
  {
    name: "waiting-for-agents, exactly as available",
    status: { state: "waiting-for-agents", latest: "2.0.0" },
    look: { headline: "Tessary 2.0.0 is available", detail: offerText, buttons: ["Install & Relaunch", "Later"], bar: null },
  },
  {
    name: "available without latest: two blanks",
    status: { state: "available" },
    look: { headline: "Tessary  is available", detail: offerText, buttons: ["Install & Relaunch", "Later"], bar: null },
  },
  {
    name: "downloading without byte counts",
    status: { state: "downloading", latest: "2.0.0", message: "ignored", downloaded: 5 },
    look: {
      headline: "Downloading Tessary 2.0.0…",
      detail: "You can keep using Tessary while the update downloads.",
      ...close,
      bar: marquee,
    },
  },
  {
    name: "downloading without latest: a blank before the ellipsis",
    status: { state: "downloading", progress: 10 },
    look: {
      headline: "Downloading Tessary …",
      detail: "You can keep using Tessary while the update downloads.",
      ...close,
      bar: { marquee: false, position: 100, low: 0, high: 1000 },
    },
  },
  {
    name: "verifying",
    status: { state: "verifying", message: "Checking the signature" },
    look: { headline: "Verifying the update…", detail: "Checking the signature", ...close, bar: marquee },
  },
  {
    name: "extracting",
    status: { state: "extracting" },
    look: { headline: "Preparing the update…", detail: "Tessary 1.2.3", ...close, bar: marquee },
  },
  {
    name: "installing",
    status: { state: "installing", progress: 42.5 },
    look: {
      headline: "Installing and relaunching Tessary…",
      detail: "Tessary 1.2.3",
      ...close,
      bar: { marquee: false, position: 425, low: 0, high: 1000 },
    },
  },
  {
    name: "updated",
    status: { state: "updated", message: "Restart to finish" },
    look: { headline: "Tessary is updated", detail: "Restart to finish", ...close, bar: null },
  },
  ...["error", "release-unavailable", "recovery-required"].map((state) => ({
    name: state,
    status: { state, message: "The download failed" },
    look: { headline: "Tessary couldn’t update", detail: "The download failed", ...close, bar: null },
  })),
  {
    name: "error without a message",
    status: { state: "error" },
    look: { headline: "Tessary couldn’t update", detail: "Tessary 1.2.3", ...close, bar: null },
  },
  ...["Checking", "Available", "something-new", ""].map((state) => ({
    name: `a state outside the table: ${JSON.stringify(state)}`,
    status: { state, message: "Still here" },
    look: { headline: "Checking for updates…", detail: "Still here", ...close, bar: null },
  })),
];

const matches = (look, expected) =>
  Object.entries(expected).every(([key, value]) => {
    if (key === "bar" && value !== null && look.bar !== null) {
      return Object.entries(value).every(([field, wanted]) => look.bar[field] === wanted);
    }
    return JSON.stringify(look[key]) === JSON.stringify(value);
  });

describe("the state table", () => {
  test("before any reading: the first look", async () => {
    const dialog = session.start();
    const look = await dialog.waitForLook("the first look");
    assert.deepEqual(
      { ...look, bar: { marquee: look.bar?.marquee } },
      { title: "Tessary Update", headline: "Checking for updates…", detail: "Tessary 1.2.3", ...close, bar: marquee },
    );
  });

  for (const { name, status, look } of rows) {
    test(name, async () => {
      const dialog = session.start({ status });
      const shown = await dialog.waitForLook(name, (candidate) => matches(candidate, look));
      // Return never presses "Install & Relaunch".
      if (look.buttons?.[0] === "Install & Relaunch") assert.notEqual(shown.defaultButton, 1000);
    });
  }

  test("downloading with both byte counts shows them as Windows shows file sizes", async () => {
    const dialog = session.start({
      status: { state: "downloading", latest: "2.0.0", downloaded: 1536, total: 5 * 1024 * 1024, progress: 30 },
    });
    const look = await dialog.waitForLook("the byte counts", (candidate) => candidate.detail?.includes(" of "));
    assert.equal(look.headline, "Downloading Tessary 2.0.0…");
    assert.match(look.detail, /^1[.,]50 KB of 5[.,]00 MB$/);
  });
});

describe("what stays once shown", () => {
  test("Later stays once an offer was shown; the first button follows the state", async () => {
    const dialog = session.start({ status: { state: "available", latest: "2.0.0" } });
    await dialog.waitForLook("the offer", (look) => look.buttons.length === 2);
    const steps = [
      [{ state: "downloading", latest: "2.1.0", progress: 50 }, ["Close", "Later"], 1000],
      [{ state: "available", latest: "2.1.0" }, ["Install & Relaunch", "Later"]],
      [{ state: "installing" }, ["Close", "Later"], 1000],
      [{ state: "updated" }, ["Close", "Later"], 1000],
    ];
    for (const [status, buttons, defaultButton] of steps) {
      dialog.writeStatus(status);
      const look = await dialog.waitForLook(status.state, (candidate) => JSON.stringify(candidate.buttons) === JSON.stringify(buttons));
      if (defaultButton) assert.equal(look.defaultButton, defaultButton);
      else assert.notEqual(look.defaultButton, 1000);
    }
  });

  test("the bar: clamped to 0-100 %, a marquee without a progress value, hidden outside the busy states", async () => {
    const dialog = session.start({ status: { state: "downloading" } });
    const steps = [
      [{ progress: -5 }, { marquee: false, position: 0 }],
      [{ progress: 0 }, { marquee: false, position: 0 }],
      [{ progress: 42.5 }, { marquee: false, position: 425 }],
      [{ progress: 99.9 }, { marquee: false, position: 999 }],
      [{ progress: 100 }, { marquee: false, position: 1000 }],
      [{ progress: 250 }, { marquee: false, position: 1000 }],
      [{}, { marquee: true }],
      [{ progress: 60 }, { marquee: false, position: 600 }],
    ];
    for (const [fields, bar] of steps) {
      dialog.writeStatus({ state: "downloading", ...fields });
      const look = await dialog.waitForLook(`the bar at ${JSON.stringify(fields)}`, (candidate) =>
        matches(candidate, { bar }),
      );
      if (!look.bar.marquee) assert.deepEqual([look.bar.low, look.bar.high], [0, 1000]);
    }
    dialog.writeStatus({ state: "available", latest: "2.0.0", progress: 30 });
    await dialog.waitForLook("the bar hidden on an offer", (look) => look.buttons.length === 2 && look.bar === null);
  });
});
